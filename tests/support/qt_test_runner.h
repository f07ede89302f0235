// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What every test main does: a headless platform unless one is asked for, a runtime folder of
// the tests' own, a QApplication with the program's font names, then every test.

namespace qir::testing {

int runQtTests(int argc, char** argv);

}  // namespace qir::testing
