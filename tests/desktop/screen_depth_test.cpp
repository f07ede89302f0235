// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/screen_depth.h"

#include <gtest/gtest.h>

namespace qir {
namespace {

TEST(ScreenDepth, ScreensOfFewerThanThousandsOfColoursAreRefusedWithTheirDepth) {
    for (const int depth : {1, 4, 8}) {
        const auto refusal = screenDepthRefusal(depth);
        ASSERT_TRUE(refusal.has_value()) << depth;
        EXPECT_EQ(*refusal,
                  "QIR Demonstration of stroke order cannot run on this screen: it shows " +
                      std::to_string(depth) +
                      " bits per pixel, and at least 15 (thousands of colours) are needed.");
    }
    for (const int depth : {15, 16, 24, 30, 32}) {
        EXPECT_FALSE(screenDepthRefusal(depth).has_value()) << depth;
    }
}

}  // namespace
}  // namespace qir
