// SPDX-License-Identifier: GPL-3.0-or-later
// qir-order-sheet: draws contact sheets of characters' step pictures, as the data has them and
// as corrected, for reviewing stroke order by eye. The sheets are for the reviewer; they go
// nowhere near the store or the repository.

#include <QBuffer>
#include <QByteArray>
#include <QGuiApplication>
#include <QString>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "commandline/command_line.h"
#include "commandline/version.h"
#include "tools/order_checker/contact_sheet.h"
#include "tools/order_checker/source_options.h"
#include "tools/store_builder/store_build.h"

namespace {
using namespace qir::tools;

qir::cli::CommandLine commandLine() {
    qir::cli::CommandLine line(
        QStringLiteral("qir-order-sheet"), qir::cli::projectVersion(),
        QStringLiteral("Draws a contact sheet of the CHARACTERS' step pictures, as the stroke data "
                       "has them and as corrected, beside the reference's stroke sequence, for "
                       "reviewing stroke order by eye. Exits 0 when the sheet is written, 1 when "
                       "an input cannot be used or the sheet cannot be written, 2 when the "
                       "command line is wrong."));
    line.setUsualUsage(
        QStringLiteral("--data FOLDER --reference FILE [--corrections FILE] [--cell PIXELS] "
                       "--out FILE.png CHARACTERS..."));
    line.addUsualOptions(orderSourceOptions());
    line.addUsualOptions({
        {QStringLiteral("corrections"), QStringLiteral("FILE"),
         QStringLiteral("the reviewed stroke-order corrections; without it, only the data's "
                        "order")},
        {QStringLiteral("cell"), QStringLiteral("PIXELS"),
         QStringLiteral("the size of one step picture, from 32 to 400 (default 93)")},
        {QStringLiteral("out"), QStringLiteral("FILE.png"), QStringLiteral("the sheet to write")},
    });
    line.requireUsualOptions(
        {QStringLiteral("data"), QStringLiteral("reference"), QStringLiteral("out")});
    line.setUsualArguments({QStringLiteral("CHARACTERS...")});
    return line;
}

// The sheet as a PNG file at `file`, whose name is kept byte for byte.
bool savePng(const QImage& sheet, const std::filesystem::path& file) {
    QByteArray png;
    QBuffer buffer(&png);
    if (!buffer.open(QIODevice::WriteOnly) || !sheet.save(&buffer, "PNG")) {
        return false;
    }
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(png.constData(), png.size());
    out.close();
    return static_cast<bool>(out);
}

int drawSheet(const qir::cli::Invocation& given) {
    const std::string data = given.bytes(QStringLiteral("data"));
    const std::string corrections = given.bytes(QStringLiteral("corrections"));
    const std::string out = given.bytes(QStringLiteral("out"));
    constexpr int kCell = 93;  // one and a half times the program's 62 pixels
    const int cell = given.number(QStringLiteral("cell"), 32, 400, kCell);
    const QString characters = given.argumentsText(0);
    if (characters.isEmpty()) {
        throw qir::cli::UsageError("CHARACTERS is missing");
    }
    try {
        const OrderCorrections fixes =
            corrections.empty() ? OrderCorrections() : loadCorrections(corrections, data);
        const QImage sheet =
            renderContactSheet(charactersFromText(characters), data, fixes,
                               readReference(given.bytes(QStringLiteral("reference"))), cell);
        if (!savePng(sheet, out)) {
            std::fprintf(stderr, "qir-order-sheet: cannot write %s\n", out.c_str());
            return 1;
        }
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "qir-order-sheet: %s\n", e.what());
        return 1;
    }
}

}  // namespace

int main(int argc, char** argv) {
    return commandLine().runTool(qir::cli::argumentsOf(argc, argv), stdout, stderr,
                                 [&](const qir::cli::Invocation& given) {
                                     // Text needs a GUI application; no window is shown.
                                     if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
                                         qputenv("QT_QPA_PLATFORM", "offscreen");
                                     }
                                     QGuiApplication application(argc, argv);
                                     return drawSheet(given);
                                 });
}
