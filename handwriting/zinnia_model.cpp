// SPDX-License-Identifier: GPL-3.0-or-later
#include "handwriting/zinnia_model.h"

#include <zinnia.h>

#include <QString>
#include <algorithm>
#include <cmath>
#include <fstream>

#include "platform/errors.h"
#include "platform/gb2312.h"

namespace qir::handwriting {
namespace {

// Zinnia reads integer points in a box of this side.
constexpr int kBox = 1000;
// A model's header: magic, version and class count, three 32-bit words; zinnia reads them
// before it checks the size, so a shorter file must not reach it.
constexpr std::uintmax_t kHeaderBytes = 12;

Error modelError(const std::filesystem::path& file, const std::string& what) {
    return Error("EHandwritingError", "The handwriting model " + file.string() + " " + what);
}

int boxed(double coordinate) {
    return static_cast<int>(std::lround(std::clamp(coordinate, 0.0, 1.0) * kBox));
}

}  // namespace

void ZinniaModel::Deleter::operator()(zinnia::Recognizer* recognizer) const {
    delete recognizer;
}

ZinniaModel::ZinniaModel(const std::filesystem::path& file)
    : recognizer_(zinnia::Recognizer::create()) {
    std::error_code error;
    if (!std::filesystem::exists(file, error)) {
        throw modelError(file, "is missing.");
    }
    const std::uintmax_t size = std::filesystem::file_size(file, error);
    if (error || !std::ifstream(file, std::ios::binary)) {
        throw modelError(file, "cannot be read.");
    }
    if (size < kHeaderBytes) {
        throw modelError(file, "is damaged: it is too short.");
    }
    if (!recognizer_ || !recognizer_->open(file.c_str())) {
        throw modelError(
            file,
            "is damaged: " + std::string(recognizer_ ? recognizer_->what() : "no memory") + ".");
    }
}

ZinniaModel::~ZinniaModel() = default;

std::size_t ZinniaModel::classes() const {
    return recognizer_->size();
}

Candidates ZinniaModel::rank(std::span<const Polyline> ink, std::size_t count) const {
    if (ink.empty() || ink.size() > kMostStrokes || count == 0) {
        return {};
    }
    const std::unique_ptr<zinnia::Character> character(zinnia::Character::create());
    character->set_width(kBox);
    character->set_height(kBox);
    std::size_t id = 0;  // zinnia numbers strokes without gaps
    for (const Polyline& stroke : ink) {
        if (stroke.empty()) {
            continue;
        }
        for (const Point& point : stroke) {
            character->add(id, boxed(point.x), boxed(point.y));
        }
        ++id;
    }
    if (id == 0) {
        return {};
    }
    // Asks for more than wanted: a few classes may lie outside GB2312.
    const std::unique_ptr<zinnia::Result> result(recognizer_->classify(*character, count + 8));
    Candidates candidates;
    for (std::size_t i = 0; result && i < result->size() && candidates.size() < count; ++i) {
        const auto bytes = gb2312::fromUnicode(QString::fromUtf8(result->value(i)));
        if (bytes && gb2312::isGb2312Hanzi(*bytes)) {
            candidates.push_back({*bytes, result->score(i)});
        }
    }
    return candidates;
}

}  // namespace qir::handwriting
