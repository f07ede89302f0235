// SPDX-License-Identifier: GPL-3.0-or-later
// Every test binary runs with a QApplication, so widget tests and logic tests share one main.
#include "tests/support/qt_test_runner.h"

int main(int argc, char** argv) {
    return qir::testing::runQtTests(argc, argv);
}
