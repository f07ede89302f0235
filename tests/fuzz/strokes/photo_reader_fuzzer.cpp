// SPDX-License-Identifier: GPL-3.0-or-later
// A stored Photo field of any content reads as a picture or fails with one of the bitmap
// errors, never anything else.
#include <QGuiApplication>
#include <cstdint>

#include "platform/errors.h"
#include "strokes/pictures/photo_reader.h"

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    // QImage needs no application object, but keep its plugins and allocator set up once.
    static int qtArgc = 1;
    static char* qtArgv[] = {(*argv)[0], nullptr};
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication application(qtArgc, qtArgv);
    (void)argc;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    try {
        const QImage image = qir::strokes::readPhoto({data, size});
        (void)image.size();
    } catch (const qir::StreamReadError&) {
    } catch (const qir::InvalidGraphicError&) {
    }
    return 0;
}
