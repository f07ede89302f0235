// SPDX-License-Identifier: GPL-3.0-or-later
// qir-order-sheet: draws contact sheets of characters' step pictures, as the data has them and
// as corrected, for reviewing stroke order by eye. The sheets are for the reviewer; they go
// nowhere near the store or the repository.

#include <QGuiApplication>
#include <QString>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "tools/order_checker/contact_sheet.h"
#include "tools/store_builder/store_build.h"

namespace {

constexpr const char* kUsage =
    "usage: qir-order-sheet --data FOLDER --reference FILE [--corrections FILE] [--cell PIXELS]\n"
    "                       --out FILE.png CHARACTERS\n";

}  // namespace

int main(int argc, char** argv) {
    // Text needs a GUI application; no window is shown.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QGuiApplication application(argc, argv);
    std::string data, reference, corrections, out, characters;
    int cell = 93;  // one and a half times the program's 62 pixels
    for (int i = 1; i < argc; ++i) {
        const std::string_view name = argv[i];
        const bool hasValue = i + 1 < argc;
        if (name == "--data" && hasValue) {
            data = argv[++i];
        } else if (name == "--reference" && hasValue) {
            reference = argv[++i];
        } else if (name == "--corrections" && hasValue) {
            corrections = argv[++i];
        } else if (name == "--cell" && hasValue) {
            cell = std::clamp(std::atoi(argv[++i]), 32, 400);
        } else if (name == "--out" && hasValue) {
            out = argv[++i];
        } else if (!name.starts_with("--")) {
            characters += argv[i];
        } else {
            std::fprintf(stderr, "qir-order-sheet: unknown option %s\n%s", argv[i], kUsage);
            return 2;
        }
    }
    if (data.empty() || reference.empty() || out.empty() || characters.empty()) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    try {
        using namespace qir::tools;
        const OrderCorrections fixes =
            corrections.empty() ? OrderCorrections() : loadCorrections(corrections, data);
        const QImage sheet =
            renderContactSheet(charactersFromText(QString::fromUtf8(characters.c_str())), data,
                               fixes, readReference(reference), cell);
        if (!sheet.save(QString::fromStdString(out), "PNG")) {
            std::fprintf(stderr, "qir-order-sheet: cannot write %s\n", out.c_str());
            return 1;
        }
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "qir-order-sheet: %s\n", e.what());
        return 1;
    }
}
