// SPDX-License-Identifier: GPL-3.0-or-later
#include "handwriting/median_templates.h"

#include <algorithm>
#include <cmath>

#include "practice/character_medians.h"

namespace qir::handwriting {
namespace {

void append(std::vector<float>& to, const Polyline& even) {
    for (const Point& point : even) {
        to.push_back(static_cast<float>(point.x));
        to.push_back(static_cast<float>(point.y));
    }
}

}  // namespace

Moments& Moments::operator+=(const Moments& other) {
    weight += other.weight;
    x += other.x;
    y += other.y;
    squares += other.squares;
    return *this;
}

Frame Moments::frame() const {
    if (weight <= 0) {
        return {};
    }
    const Point centre{x / weight, y / weight};
    const double variance = squares / weight - centre.x * centre.x - centre.y * centre.y;
    // A single dot has no spread; the frame then keeps the pad's own size.
    return {centre, std::max(std::sqrt(std::max(variance, 0.0)), 0.05)};
}

Moments strokeMoments(const Polyline& even, double length) {
    Moments sum;
    if (even.empty()) {
        return sum;
    }
    const double each = std::max(length, kLeastStrokeLength) / static_cast<double>(even.size());
    for (const Point& point : even) {
        sum.weight += each;
        sum.x += each * point.x;
        sum.y += each * point.y;
        sum.squares += each * (point.x * point.x + point.y * point.y);
    }
    return sum;
}

std::vector<float> halfMeans(const std::vector<float>& points) {
    constexpr std::size_t half = kStrokePoints / 2;
    std::vector<float> means;
    means.reserve(points.size() / kStrokePoints * 2);
    for (std::size_t stroke = 0; stroke + 2 * kStrokePoints <= points.size();
         stroke += 2 * kStrokePoints) {
        for (const std::size_t from : {std::size_t{0}, half}) {
            const std::size_t to = from == 0 ? half : kStrokePoints;
            float x = 0;
            float y = 0;
            for (std::size_t k = from; k < to; ++k) {
                x += points[stroke + 2 * k];
                y += points[stroke + 2 * k + 1];
            }
            means.push_back(x / static_cast<float>(to - from));
            means.push_back(y / static_cast<float>(to - from));
        }
    }
    return means;
}

MedianTemplate medianTemplate(std::string hanzi, const std::vector<Polyline>& medians) {
    MedianTemplate result;
    result.hanzi = std::move(hanzi);
    result.strokes = medians.size();
    const std::size_t values = medians.size() * kStrokePoints * 2;
    result.points.reserve(values);
    result.joined.reserve(values);
    result.lengths.reserve(medians.size());
    result.prefix.reserve(medians.size() + 1);
    result.prefix.push_back({});
    for (std::size_t j = 0; j < medians.size(); ++j) {
        const Polyline even = practice::resampled(medians[j], kStrokePoints);
        const double length = practice::pathLength(medians[j]);
        append(result.points, even);
        result.lengths.push_back(static_cast<float>(length));
        Moments running = result.prefix.back();
        running += strokeMoments(even, length);
        result.prefix.push_back(running);
        if (j + 1 < medians.size()) {
            Polyline both = medians[j];
            both.insert(both.end(), medians[j + 1].begin(), medians[j + 1].end());
            append(result.joined, practice::resampled(both, kStrokePoints));
        }
    }
    result.halves = halfMeans(result.points);
    result.joinedHalves = halfMeans(result.joined);
    return result;
}

std::size_t MedianTemplates::bytes() const {
    std::size_t sum = characters.capacity() * sizeof(MedianTemplate);
    for (const MedianTemplate& character : characters) {
        sum += (character.points.capacity() + character.joined.capacity() +
                character.lengths.capacity() + character.halves.capacity() +
                character.joinedHalves.capacity()) *
                   sizeof(float) +
               character.prefix.capacity() * sizeof(Moments);
    }
    return sum;
}

MedianTemplates templatesOf(store::VectorTable& table) {
    MedianTemplates templates;
    for (int lead = 0xB0; lead <= 0xF7; ++lead) {
        for (int trail = 0xA1; trail <= 0xFE; ++trail) {
            std::string hanzi{static_cast<char>(lead), static_cast<char>(trail)};
            if (const auto vectors = table.find(hanzi)) {
                templates.characters.push_back(
                    medianTemplate(std::move(hanzi), practice::characterMedians(*vectors)));
            }
        }
    }
    return templates;
}

}  // namespace qir::handwriting
