// SPDX-License-Identifier: GPL-3.0-or-later
#include "handwriting/recogniser.h"

#include <chrono>

#include "handwriting/combination.h"
#include "store/vector_table.h"

namespace qir::handwriting {

Recogniser::Recogniser(RecogniserSources sources) : sources_(std::move(sources)) {}

// Waits for a build still running: it reads the table this object named.
Recogniser::~Recogniser() {
    if (building_.valid()) {
        building_.wait();
    }
}

void Recogniser::prepare() {
    if (building_.valid()) {
        return;
    }
    auto build = sources_.buildMatcher;
    if (!build) {
        build = [folder = sources_.storeFolder] {
            store::VectorTable table(folder);
            return std::make_shared<const MedianMatcher>(templatesOf(table));
        };
    }
    building_ = std::async(std::launch::async, std::move(build)).share();
}

bool Recogniser::preparing() const {
    return building_.valid() &&
           building_.wait_for(std::chrono::seconds(0)) != std::future_status::ready;
}

const Candidates& Recogniser::refresh() {
    recognise();
    return candidates_;
}

const MedianMatcher* Recogniser::matcher() {
    prepare();
    if (matcherFailed_) {
        return nullptr;
    }
    try {
        return building_.get().get();
    } catch (const std::exception& error) {
        matcherFailed_ = true;
        matcherProblem_ = error.what();
        return nullptr;
    }
}

const ZinniaModel* Recogniser::zinnia() {
    if (!zinniaTried_) {
        zinniaTried_ = true;
        try {
            zinnia_ = std::make_unique<ZinniaModel>(sources_.model);
        } catch (const std::exception& error) {
            zinniaProblem_ = error.what();
        }
    }
    return zinnia_.get();
}

std::vector<std::string> Recogniser::problems() const {
    std::vector<std::string> problems;
    for (const std::string* problem : {&matcherProblem_, &zinniaProblem_}) {
        if (!problem->empty()) {
            problems.push_back(*problem);
        }
    }
    return problems;
}

const Candidates& Recogniser::addStroke(const Polyline& stroke) {
    Polyline kept = cleaned(stroke);
    if (!kept.empty()) {
        ink_.push_back(std::move(kept));
    }
    recognise();
    return candidates_;
}

const Candidates& Recogniser::undo() {
    if (!ink_.empty()) {
        ink_.pop_back();
    }
    recognise();
    return candidates_;
}

void Recogniser::clear() {
    ink_.clear();
    candidates_.clear();
    pending_ = false;
}

void Recogniser::recognise() {
    candidates_.clear();
    pending_ = false;
    if (ink_.empty() || ink_.size() > kMostStrokes) {
        return;
    }
    prepare();
    if (!waitsForTemplates_ && preparing()) {
        pending_ = true;
        return;
    }
    const MedianMatcher* own = matcher();
    Candidates ours = own ? own->rank(ink_, kCandidatesShown) : Candidates{};
    Candidates theirs;
    if (ours.size() < kCandidatesShown) {
        if (const ZinniaModel* model = zinnia()) {
            theirs = model->rank(ink_, kCandidatesShown);
        }
    }
    candidates_ = combined(ours, theirs, kCandidatesShown);
}

}  // namespace qir::handwriting
