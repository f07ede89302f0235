// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A handful of simple characters with made-up medians in the writing box (side 1, y down),
// similar enough among themselves (一 二 三, 十 土 干 王, 人 大) that a recogniser must tell
// them apart; and helpers that draw them as a hand would and store them in a vector table.

#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include "handwriting/ink.h"
#include "store/stroke_vectors.h"
#include "tests/sheet/vector_table_file.h"

namespace qir::testing {

using handwriting::Ink;
using handwriting::Point;
using handwriting::Polyline;

// GB2312 bytes, spelled out so the files stay ASCII.
inline const std::string kYi = "\xD2\xBB";    // 一
inline const std::string kEr = "\xB6\xFE";    // 二
inline const std::string kSan = "\xC8\xFD";   // 三
inline const std::string kShi = "\xCA\xAE";   // 十
inline const std::string kTu = "\xCD\xC1";    // 土
inline const std::string kGan = "\xB8\xC9";   // 干
inline const std::string kWang = "\xCD\xF5";  // 王
inline const std::string kKou = "\xBF\xDA";   // 口
inline const std::string kRen = "\xC8\xCB";   // 人
inline const std::string kDa = "\xB4\xF3";    // 大

inline std::vector<std::pair<std::string, std::vector<Polyline>>> madeUpCharacters() {
    return {
        {kYi, {{{0.2, 0.5}, {0.8, 0.5}}}},
        {kEr, {{{0.3, 0.35}, {0.7, 0.35}}, {{0.2, 0.7}, {0.8, 0.7}}}},
        {kSan,
         {{{0.3, 0.25}, {0.7, 0.25}}, {{0.35, 0.5}, {0.65, 0.5}}, {{0.2, 0.78}, {0.8, 0.78}}}},
        {kShi, {{{0.2, 0.45}, {0.8, 0.45}}, {{0.5, 0.15}, {0.5, 0.85}}}},
        {kTu, {{{0.3, 0.45}, {0.7, 0.45}}, {{0.5, 0.2}, {0.5, 0.8}}, {{0.2, 0.8}, {0.8, 0.8}}}},
        {kGan,
         {{{0.25, 0.25}, {0.75, 0.25}}, {{0.2, 0.5}, {0.8, 0.5}}, {{0.5, 0.25}, {0.5, 0.88}}}},
        {kWang,
         {{{0.25, 0.22}, {0.75, 0.22}},
          {{0.3, 0.5}, {0.7, 0.5}},
          {{0.5, 0.22}, {0.5, 0.8}},
          {{0.2, 0.8}, {0.8, 0.8}}}},
        {kKou,
         {{{0.3, 0.3}, {0.3, 0.75}},
          {{0.3, 0.3}, {0.7, 0.3}, {0.7, 0.75}},
          {{0.3, 0.72}, {0.7, 0.72}}}},
        {kRen, {{{0.5, 0.15}, {0.45, 0.45}, {0.2, 0.85}}, {{0.5, 0.45}, {0.8, 0.85}}}},
        {kDa,
         {{{0.2, 0.4}, {0.8, 0.4}},
          {{0.5, 0.15}, {0.45, 0.5}, {0.2, 0.85}},
          {{0.5, 0.5}, {0.8, 0.85}}}},
    };
}

inline std::vector<Polyline> mediansOf(const std::string& hanzi) {
    for (auto& [name, medians] : madeUpCharacters()) {
        if (name == hanzi) {
            return medians;
        }
    }
    return {};
}

// `medians` as a hand draws them: the whole moved by `shift` and scaled by `scale` about the
// box's middle, each stroke walked in many points with a slight tremor.
inline Ink drawnByHand(const std::vector<Polyline>& medians, Point shift = {0.04, -0.03},
                       double scale = 0.9) {
    Ink ink;
    for (const Polyline& median : medians) {
        Polyline stroke;
        const Polyline even = practice::resampled(median, 24);
        for (std::size_t i = 0; i < even.size(); ++i) {
            const double tremor = 0.004 * std::sin(static_cast<double>(i) * 1.7);
            stroke.push_back({0.5 + (even[i].x - 0.5) * scale + shift.x + tremor,
                              0.5 + (even[i].y - 0.5) * scale + shift.y - tremor});
        }
        ink.push_back(std::move(stroke));
    }
    return ink;
}

// The characters in the data's coordinates (1024 box, y up), as the vector table keeps them.
inline void writeMadeUpTable(const std::filesystem::path& folder) {
    std::vector<std::pair<std::string, store::StrokeVectors>> rows;
    for (const auto& [hanzi, medians] : madeUpCharacters()) {
        store::StrokeVectors vectors;
        for (const Polyline& median : medians) {
            store::VectorStroke stroke;
            stroke.outline = {{store::OutlineVerb::MoveTo, {{0, 0}}},
                              {store::OutlineVerb::Close, {}}};
            for (const Point& point : median) {
                stroke.median.push_back({point.x * 1024, 900 - point.y * 1024});
            }
            vectors.strokes.push_back(stroke);
        }
        rows.emplace_back(hanzi, vectors);
    }
    writeVectorTable(folder, rows);
}

}  // namespace qir::testing
