// SPDX-License-Identifier: GPL-3.0-or-later
// qir-store-builder: builds the character store's table files from the stroke data package.

#include <QCoreApplication>
#include <QString>
#include <cstdint>
#include <cstdio>
#include <exception>

#include "commandline/command_line.h"
#include "commandline/version.h"
#include "tools/store_builder/progress.h"
#include "tools/store_builder/store_build.h"

namespace {

struct Arguments {
    qir::tools::StoreBuildOptions options;
    bool quiet = false;
};

qir::cli::CommandLine commandLine() {
    qir::cli::CommandLine line(
        QStringLiteral("qir-store-builder"), qir::cli::projectVersion(),
        QStringLiteral("Builds the character store's table files from the stroke data package."));
    line.setUsualUsage(
        QStringLiteral("--data FOLDER --out FOLDER [--unicode FOLDER] [--corrections FILE] "
                       "[--characters TEXT] [--jobs N] [--quiet]"));
    line.addUsualOptions({
        {QStringLiteral("data"), QStringLiteral("FOLDER"),
         QStringLiteral("the hanzi-writer-data package (node_modules/hanzi-writer-data)")},
        {QStringLiteral("out"), QStringLiteral("FOLDER"),
         QStringLiteral("where donghua.db, bishun.db, bishunbmp.db, bishunvec.db, "
                        "bishunzi.db and ARPHICPL.TXT go")},
        {QStringLiteral("unicode"), QStringLiteral("FOLDER"),
         QStringLiteral("the Unicode data the facts table bishunzi.db is made from "
                        "(/usr/share/unicode, Debian's unicode-data); without it, no facts")},
        {QStringLiteral("corrections"), QStringLiteral("FILE"),
         QStringLiteral("the reviewed stroke-order corrections (data/order_corrections.txt)")},
        {QStringLiteral("characters"), QStringLiteral("TEXT"),
         QStringLiteral("build only these characters (UTF-8), instead of all of GB2312")},
        {QStringLiteral("jobs"), QStringLiteral("N"),
         QStringLiteral("rendering threads (default: one per core)")},
        {QStringLiteral("quiet"), {}, QStringLiteral("no progress, only the summary and errors")},
    });
    line.requireUsualOptions({QStringLiteral("data"), QStringLiteral("out")});
    return line;
}

// Throws UsageError.
Arguments readArguments(const qir::cli::Invocation& given) {
    Arguments arguments;
    arguments.options.dataFolder = given.bytes(QStringLiteral("data"));
    arguments.options.outputFolder = given.bytes(QStringLiteral("out"));
    if (given.isSet(QStringLiteral("corrections"))) {
        arguments.options.corrections = given.bytes(QStringLiteral("corrections"));
    }
    if (given.isSet(QStringLiteral("unicode"))) {
        arguments.options.unicodeFolder = given.bytes(QStringLiteral("unicode"));
    }
    if (given.isSet(QStringLiteral("characters"))) {
        try {
            arguments.options.characters =
                qir::tools::charactersFromText(given.text(QStringLiteral("characters")));
        } catch (const qir::tools::CharacterListError& e) {
            throw qir::cli::UsageError(e.what());
        }
    }
    arguments.options.workers =
        given.number(QStringLiteral("jobs"), 1, 64, arguments.options.workers);
    arguments.quiet = given.isSet(QStringLiteral("quiet"));
    return arguments;
}

void printSummary(const qir::tools::StoreBuildSummary& summary) {
    std::printf("Built %d of %d characters from hanzi-writer-data %s in %s (%.1f s).\n",
                summary.built, summary.requested, summary.dataVersion.c_str(),
                qir::tools::Progress::formatDuration(summary.seconds).c_str(), summary.seconds);
    std::printf("  %zu clips, %.1f MB; %zu step pictures, %.1f MB\n", summary.clipCount,
                static_cast<double>(summary.clipBytes) / 1e6, summary.pictureCount,
                static_cast<double>(summary.pictureBytes) / 1e6);
    std::uintmax_t total = 0;
    for (const auto& [name, size] : summary.files) {
        std::printf("  %-13s %10.1f MB\n", name.c_str(), static_cast<double>(size) / 1e6);
        total += size;
    }
    std::printf("  %-13s %10.1f MB\n", "together", static_cast<double>(total) / 1e6);
    if (summary.facts) {
        const qir::tools::FactsSummary& facts = *summary.facts;
        std::printf(
            "Facts from Unicode %s (read in %.2f s): %d with a reading, %d with a gloss, "
            "%d with a radical, %d with a stroke count\n",
            facts.unicodeVersion.c_str(), facts.seconds, facts.withReading, facts.withGloss,
            facts.withRadical, facts.withStrokeCount);
        if (!facts.disagreements.empty()) {
            std::printf(
                "Unihan's stroke count (kTotalStrokes) disagrees with the stroke data's "
                "for %zu characters:\n",
                facts.disagreements.size());
            for (const qir::tools::StrokeCountDisagreement& entry : facts.disagreements) {
                std::printf("  %s: Unihan %d, data %d\n", entry.text.toStdString().c_str(),
                            entry.unihan, entry.data);
            }
        }
    }
    if (!summary.skipped.empty()) {
        std::printf("Skipped %zu characters:\n", summary.skipped.size());
        for (const auto& skipped : summary.skipped) {
            std::printf("  %s: %s\n", skipped.text.toStdString().c_str(), skipped.reason.c_str());
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    return commandLine().runTool(qir::cli::argumentsOf(argc, argv), stdout, stderr,
                                 [&](const qir::cli::Invocation& given) {
                                     // Qt's text codecs and image code want an application object;
                                     // no GUI is needed.
                                     QCoreApplication application(argc, argv);
                                     Arguments arguments = readArguments(given);
                                     if (arguments.quiet) {
                                         arguments.options.log = nullptr;
                                     }
                                     try {
                                         printSummary(qir::tools::buildStore(arguments.options));
                                         return 0;
                                     } catch (const std::exception& e) {
                                         std::fprintf(stderr, "qir-store-builder: %s\n", e.what());
                                         return 1;
                                     }
                                 });
}
