// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The recogniser the pad and --recognise use: strokes go in one at a time, and after each the
// ranked candidates come out. Our matcher over the vector table's medians ranks; zinnia fills
// the list when ours is short (see combination.h). Nothing is read at construction: the
// matcher's templates are built from the vector table on a thread of their own, started by
// prepare() or by the first stroke, and the model is loaded when first needed. A source that
// fails is reported in problems() and the other goes on.

#include <filesystem>
#include <functional>
#include <future>
#include <memory>
#include <string>
#include <vector>

#include "handwriting/candidate.h"
#include "handwriting/ink.h"
#include "handwriting/median_matcher.h"
#include "handwriting/zinnia_model.h"

namespace qir::handwriting {

struct RecogniserSources {
    std::filesystem::path storeFolder;  // holds the vector table
    std::filesystem::path model = kDebianModel;
    // Builds the matcher's templates (on the build's own thread); by default from the vector
    // table in `storeFolder`. Tests put a slower or failing build in its place.
    std::function<std::shared_ptr<const MedianMatcher>()> buildMatcher = {};
};

class Recogniser {
  public:
    explicit Recogniser(RecogniserSources sources);
    ~Recogniser();
    Recogniser(const Recogniser&) = delete;
    Recogniser& operator=(const Recogniser&) = delete;

    // Starts building the matcher's templates, if not yet started, without waiting for them.
    void prepare();
    // Whether a stroke waits for the templates (the default, as a command line wants). A
    // window says no: a stroke drawn while they are being built then leaves the list empty
    // and pending() until refresh() once preparing() is over.
    void setWaitsForTemplates(bool waits) { waitsForTemplates_ = waits; }
    // The templates are being built.
    bool preparing() const;
    // The candidates were left out for the templates; refresh() gives them.
    bool pending() const { return pending_; }
    const Candidates& refresh();

    // Adds `stroke` (in the writing box; see cleaned()) and answers the candidates. A stroke
    // without a finite point is left out. Past kMostStrokes the list is empty.
    const Candidates& addStroke(const Polyline& stroke);
    // Takes back the last stroke.
    const Candidates& undo();
    void clear();

    const Candidates& candidates() const { return candidates_; }
    const Ink& ink() const { return ink_; }

    // What could not be loaded, one message each ("The handwriting model ... is missing.").
    std::vector<std::string> problems() const;

  private:
    void recognise();
    const MedianMatcher* matcher();
    const ZinniaModel* zinnia();

    RecogniserSources sources_;
    std::shared_future<std::shared_ptr<const MedianMatcher>> building_;
    bool waitsForTemplates_ = true;
    bool pending_ = false;
    bool matcherFailed_ = false;
    std::string matcherProblem_;
    std::unique_ptr<ZinniaModel> zinnia_;
    bool zinniaTried_ = false;
    std::string zinniaProblem_;
    Ink ink_;
    Candidates candidates_;
};

}  // namespace qir::handwriting
