// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/application_error.h"

#include <gtest/gtest.h>

#include "platform/errors.h"

namespace qir {
namespace {

TEST(ApplicationError, NamesKindModuleAddressAndMessage) {
    const QString text = app::applicationErrorText(FileOpenError("donghua.db"), "qir-stroke",
                                                   reinterpret_cast<const void*>(0x4A2F10));
    EXPECT_EQ(text, QString("Exception EFOpenError in module qir-stroke at %1.\n"
                            "Cannot open file donghua.db.")
                        .arg("4A2F10", static_cast<int>(2 * sizeof(void*)), QChar('0')));
}

TEST(ApplicationError, AddsNoSecondFullStop) {
    const QString text =
        app::applicationErrorText(Error("EDBEngineError", "Table is busy."), "qir-stroke", nullptr);
    EXPECT_TRUE(text.endsWith("\nTable is busy.")) << text.toStdString();
    const QString plain = app::applicationErrorText(std::runtime_error("boom!"), "m", nullptr);
    EXPECT_TRUE(plain.startsWith("Exception Exception in module m at "));
    EXPECT_TRUE(plain.endsWith("\nboom!."));
}

}  // namespace
}  // namespace qir
