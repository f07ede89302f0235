// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/error_guard.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "platform/errors.h"
#include "tests/support/recording_desktop.h"

namespace qir {
namespace {

TEST(ErrorGuard, ShowsErrorsWithFullStopAndSwallowsSilentAborts) {
    testing::RecordingDesktop desktop;
    guarded(desktop, [] { throw FileOpenError("exityellow.bmp"); });
    guarded(desktop, [] { throw SilentAbort(); });
    guarded(desktop, [] { throw std::runtime_error("plain"); });
    bool ran = false;
    guarded(desktop, [&] { ran = true; });
    EXPECT_TRUE(ran);
    ASSERT_EQ(desktop.errors.size(), 2);
    EXPECT_EQ(desktop.errors[0], "Cannot open file exityellow.bmp.");
    EXPECT_EQ(desktop.errors[1], "plain.");
}

}  // namespace
}  // namespace qir
