// SPDX-License-Identifier: GPL-3.0-or-later
// The main of the Chinese-locale tests: the process runs under zh_CN.UTF-8 from its start, as
// the program does for a Chinese user, so Qt's locale and fontconfig's language are Chinese
// before the application and its fonts exist. (It takes the place of the shared test main.)
#include <gtest/gtest.h>

#include <QApplication>
#include <QTemporaryDir>

#include "desktop/fonts.h"

int main(int argc, char** argv) {
    qputenv("LANG", "zh_CN.UTF-8");
    qputenv("LC_ALL", "zh_CN.UTF-8");
    qputenv("LANGUAGE", "zh_CN");
    qunsetenv("FC_LANG");
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QTemporaryDir runtime;
    if (!runtime.isValid()) {
        return 1;
    }
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
    QApplication application(argc, argv);
    qir::installFontSubstitutions();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
