// SPDX-License-Identifier: GPL-3.0-or-later
#include "bench/app/app_bench_process.h"

#include <cstdio>
#include <cstdlib>

#include "animation/clip.h"
#include "desktop/fonts.h"

namespace qir::bench {

AppBenchProcess::AppBenchProcess(int& argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime_.path()));
    application_.emplace(argc, argv);
    // Decoded in the process, where the program loads the decoder as a module.
    animation::setClipDecoder(&animation::decodeClip);
    installFontSubstitutions();
}

std::optional<std::filesystem::path> AppBenchProcess::stage() const {
    const char* variable = std::getenv("QIR_STAGE_DIR");
    const std::filesystem::path stage =
        std::filesystem::absolute(variable != nullptr ? variable : QIR_DEFAULT_STAGE_DIR);
    if (!std::filesystem::exists(stage / "donghua.db")) {
        std::fprintf(stderr, "no character store in %s\n", stage.c_str());
        return std::nullopt;
    }
    return stage;
}

StoreDirectory::StoreDirectory(const std::filesystem::path& stage) {
    for (const char* table : {"donghua.db", "bishun.db"}) {
        std::filesystem::create_symlink(stage / table, table);
    }
    std::filesystem::copy_file(stage / "bishunbmp.db", "bishunbmp.db");
}

BenchWindow::BenchWindow(const std::filesystem::path& stage)
    : store(stage),
      application(desktop, InstanceAddress::ofThisUser(QStringLiteral("QirBench"))),
      form(application) {
    form.show();
    QApplication::processEvents();
}

QLineEdit& BenchWindow::edit() const {
    return *form.findChild<QLineEdit*>(QStringLiteral("Edit1"));
}

}  // namespace qir::bench
