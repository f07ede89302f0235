// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/store_builder/vector_record.h"

#include "store/vector_table.h"

namespace qir::tools {
namespace {

store::OutlineVerb verbOf(PathVerb verb) {
    switch (verb) {
        case PathVerb::MoveTo:
            return store::OutlineVerb::MoveTo;
        case PathVerb::LineTo:
            return store::OutlineVerb::LineTo;
        case PathVerb::QuadTo:
            return store::OutlineVerb::QuadTo;
        case PathVerb::CubicTo:
            return store::OutlineVerb::CubicTo;
        case PathVerb::Close:
            return store::OutlineVerb::Close;
    }
    return store::OutlineVerb::Close;
}

store::VectorPoint pointOf(const PathPoint& point) {
    return {point.x, point.y};
}

}  // namespace

store::StrokeVectors strokeVectorsOf(const CharacterData& data) {
    store::StrokeVectors vectors;
    vectors.strokes.reserve(data.strokes.size());
    for (const StrokeData& stroke : data.strokes) {
        store::VectorStroke out;
        for (const PathCommand& command : stroke.outline) {
            store::OutlineCommand converted{verbOf(command.verb), {}};
            for (const PathPoint& point : command.points) {
                converted.points.push_back(pointOf(point));
            }
            out.outline.push_back(std::move(converted));
        }
        for (const PathPoint& point : stroke.median) {
            out.median.push_back(pointOf(point));
        }
        vectors.strokes.push_back(std::move(out));
    }
    return vectors;
}

std::vector<unsigned char> vectorRow(const CharacterData& data) {
    return store::vectorRowBytes(strokeVectorsOf(data));
}

std::string vectorTableNotice(const std::string& storeNotice) {
    return storeNotice + " This table keeps each character's outlines and medians themselves, " +
           "in stroke order, coordinates rounded to an eighth of a unit, in version " +
           std::to_string(store::kStrokeVectorsVersion) +
           " of the program's stroke vector encoding, each row deflated as a zlib stream.";
}

}  // namespace qir::tools
