// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The matcher's picture of every character: each stroke's median resampled to a few points,
// each pair of neighbouring strokes joined into one (as a cursive hand draws them), and the
// running weighted moments that give the frame of the character's first strokes. Built from the
// vector table when first needed; the store keeps no table of its own for it.

#include <cstddef>
#include <string>
#include <vector>

#include "handwriting/ink.h"
#include "store/vector_table.h"

namespace qir::handwriting {

// Points each stroke is resampled to, for drawn strokes and templates alike.
inline constexpr std::size_t kStrokePoints = 10;
// The length a dot counts with, so that a tap still weighs something.
inline constexpr double kLeastStrokeLength = 0.03;

// The weighted sums from which a frame follows; they add up stroke by stroke.
struct Moments {
    double weight = 0;
    double x = 0;
    double y = 0;
    double squares = 0;  // of x and y together
    Moments& operator+=(const Moments& other);
    Frame frame() const;
};

// The moments of one stroke resampled to kStrokePoints points, each weighing an equal share of
// the stroke's length (at least kLeastStrokeLength).
Moments strokeMoments(const Polyline& even, double length);

struct MedianTemplate {
    std::string hanzi;  // GB2312 bytes
    std::size_t strokes = 0;
    std::vector<float> points;   // strokes x kStrokePoints x (x, y), in the writing box
    std::vector<float> joined;   // (strokes - 1) x kStrokePoints x (x, y): stroke j run into j + 1
    std::vector<float> lengths;  // each stroke's
    // Per stroke, then per joined pair: the mean of the first and of the second half of its
    // points (x, y, x, y), from which a cheap bound on the strokes' distance follows.
    std::vector<float> halves;
    std::vector<float> joinedHalves;
    std::vector<Moments> prefix;  // strokes + 1 running sums: prefix[k] of the first k strokes
};

// The means of the first and second half of each stroke's kStrokePoints points in `points`.
std::vector<float> halfMeans(const std::vector<float>& points);

MedianTemplate medianTemplate(std::string hanzi, const std::vector<Polyline>& medians);

struct MedianTemplates {
    std::vector<MedianTemplate> characters;
    std::size_t bytes() const;  // the memory they take, roughly
};

// Every GB2312 Chinese character of `table` that has strokes. Throws the table's EngineError.
MedianTemplates templatesOf(store::VectorTable& table);

}  // namespace qir::handwriting
