// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/support/qt_test_runner.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QTemporaryDir>

#include "animation/clip.h"
#include "desktop/fonts.h"

namespace qir::testing {

int runQtTests(int argc, char** argv) {
    // Tests run headless unless a platform is asked for explicitly.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    // A runtime folder of the tests' own, for the programs they start: their instance sockets
    // never meet the user's running program. (The windows the tests make claim no socket.)
    QTemporaryDir runtime;
    if (!runtime.isValid()) {
        return 1;
    }
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
    QApplication application(argc, argv);
    // The fonts the program itself maps its design's font names to.
    qir::installFontSubstitutions();
    // Clips decoded in the process, where the program loads the decoder as a module.
    qir::animation::setClipDecoder(&qir::animation::decodeClip);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

}  // namespace qir::testing
