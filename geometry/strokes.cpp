// SPDX-License-Identifier: GPL-3.0-or-later
#include "geometry/strokes.h"

namespace qir::geometry {

int pointCount(OutlineVerb verb) {
    switch (verb) {
        case OutlineVerb::MoveTo:
        case OutlineVerb::LineTo:
            return 1;
        case OutlineVerb::QuadTo:
            return 2;
        case OutlineVerb::CubicTo:
            return 3;
        case OutlineVerb::Close:
            return 0;
    }
    return -1;
}

}  // namespace qir::geometry
