// SPDX-License-Identifier: GPL-3.0-or-later
// The main of the Chinese-locale tests: the process runs under zh_CN.UTF-8 from its start, as
// the program does for a Chinese user, so Qt's locale and fontconfig's language are Chinese
// before the application and its fonts exist. (It takes the place of the shared test main.)
#include <QByteArray>

#include "tests/support/qt_test_runner.h"

int main(int argc, char** argv) {
    qputenv("LANG", "zh_CN.UTF-8");
    qputenv("LC_ALL", "zh_CN.UTF-8");
    qputenv("LANGUAGE", "zh_CN");
    qunsetenv("FC_LANG");
    return qir::testing::runQtTests(argc, argv);
}
