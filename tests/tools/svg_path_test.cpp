// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/store_builder/svg_path.h"

#include <gtest/gtest.h>

namespace qir::tools {
namespace {

using V = PathVerb;

TEST(SvgPath, ReadsEachCommandWithItsPoints) {
    const auto commands = parseSvgPath("M 1 2 L 3 4 Q 5 6 7 8 C 9 10 11 12 13 14 Z");
    const std::vector<PathCommand> expected{
        {V::MoveTo, {{1, 2}}},
        {V::LineTo, {{3, 4}}},
        {V::QuadTo, {{5, 6}, {7, 8}}},
        {V::CubicTo, {{9, 10}, {11, 12}, {13, 14}}},
        {V::Close, {}},
    };
    EXPECT_EQ(commands, expected);
}

TEST(SvgPath, AcceptsCommasSignsDecimalsAndLettersAgainstNumbers) {
    const auto commands = parseSvgPath("M-1.5,+2.25L.5 -0.75Z M0 0L1 1");
    const std::vector<PathCommand> expected{
        {V::MoveTo, {{-1.5, 2.25}}}, {V::LineTo, {{0.5, -0.75}}}, {V::Close, {}},
        {V::MoveTo, {{0, 0}}},       {V::LineTo, {{1, 1}}},
    };
    EXPECT_EQ(commands, expected);
}

TEST(SvgPath, FurtherPointGroupsRepeatTheCommandAndFollowMoveAsLines) {
    const auto commands = parseSvgPath("M 0 0 10 0 10 10 Q 1 1 2 2 3 3 4 4");
    const std::vector<PathCommand> expected{
        {V::MoveTo, {{0, 0}}},         {V::LineTo, {{10, 0}}},        {V::LineTo, {{10, 10}}},
        {V::QuadTo, {{1, 1}, {2, 2}}}, {V::QuadTo, {{3, 3}, {4, 4}}},
    };
    EXPECT_EQ(commands, expected);
}

TEST(SvgPath, ReadsARealOutline) {
    const auto commands = parseSvgPath("M 518 382 Q 572 385 623 389 Q 758 399 900 383 Z");
    ASSERT_EQ(commands.size(), 4u);
    EXPECT_EQ(commands[2].points[1], (PathPoint{900, 383}));
}

TEST(SvgPath, RejectsMalformedPathsSayingWhere) {
    struct Case {
        const char* path;
        const char* message;
    };
    const Case cases[] = {
        {"", "empty path at offset 0"},
        {"   ", "empty path at offset 3"},
        {"M 1 2 H 5", "unknown path command 'H' at offset 6"},
        {"M 1 2 l 3 4", "unknown path command 'l' at offset 6"},
        {"M 1 2 A 1 1 0 0 1 3 3", "unknown path command 'A' at offset 6"},
        {"M 1 2 \x01", "unknown path command '\\x01' at offset 6"},
        {"L 1 2", "path does not start with M at offset 0"},
        {"Z", "path does not start with M at offset 0"},
        {"M 1", "path ends inside a command at offset 3"},
        {"Q 1 2", "path does not start with M at offset 0"},
        {"M 1 2 Q 3 4 5", "path ends inside a command at offset 13"},
        {"M 1 2 C 1 2 3 4 x 6", "number expected at offset 16"},
        {"M 1 2 L", "command 'L' without coordinates at offset 6"},
        {"M 1 2 L Z", "command 'L' without coordinates at offset 6"},
        {"M - 2", "number expected at offset 2"},
        {"M 1e5 2", "number expected at offset 3"},
    };
    for (const Case& c : cases) {
        try {
            parseSvgPath(c.path);
            ADD_FAILURE() << "accepted: " << c.path;
        } catch (const PathSyntaxError& e) {
            EXPECT_STREQ(e.what(), c.message) << c.path;
        }
    }
}

TEST(SvgPath, RejectsNumbersBeyondDoubleRange) {
    EXPECT_THROW(parseSvgPath("M " + std::string(400, '9') + " 1"), PathSyntaxError);
}

}  // namespace
}  // namespace qir::tools
