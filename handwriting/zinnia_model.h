// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Debian's online handwriting recogniser, zinnia, with its Simplified Chinese model (6,763
// classes: GB2312's characters). The library's failures become the program's messages.

#include <filesystem>
#include <memory>
#include <span>

#include "handwriting/candidate.h"
#include "handwriting/ink.h"

namespace zinnia {
class Recognizer;
}

namespace qir::handwriting {

// Where tegaki-zinnia-simplified-chinese puts the model.
inline const std::filesystem::path kDebianModel =
    "/usr/share/tegaki/models/zinnia/handwriting-zh_CN.model";

class ZinniaModel {
  public:
    // Loads the model. Throws Error (kind "EHandwritingError"): "The handwriting model <path>
    // is missing.", "... cannot be read.", "... is damaged: <zinnia's reason>."
    explicit ZinniaModel(const std::filesystem::path& file = kDebianModel);
    ~ZinniaModel();
    ZinniaModel(const ZinniaModel&) = delete;
    ZinniaModel& operator=(const ZinniaModel&) = delete;

    // The `count` characters zinnia finds likeliest for `ink`, best first (highest score);
    // characters outside GB2312 are left out. Nothing for no ink or more than kMostStrokes.
    Candidates rank(std::span<const Polyline> ink, std::size_t count) const;

    std::size_t classes() const;

  private:
    struct Deleter {
        void operator()(zinnia::Recognizer* recognizer) const;
    };
    std::unique_ptr<zinnia::Recognizer, Deleter> recognizer_;
};

}  // namespace qir::handwriting
