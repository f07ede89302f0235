// SPDX-License-Identifier: GPL-3.0-or-later
// qir-store-builder: builds the character store's table files from the stroke data package.

#include <QCoreApplication>
#include <QString>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>
#include <string_view>

#include "tools/store_builder/progress.h"
#include "tools/store_builder/store_build.h"

namespace {

constexpr const char* kUsage =
    "usage: qir-store-builder --data FOLDER --out FOLDER [--unicode FOLDER] "
    "[--corrections FILE] [--characters TEXT] [--jobs N] [--quiet]\n"
    "  --data FOLDER      the hanzi-writer-data package (node_modules/hanzi-writer-data)\n"
    "  --out FOLDER       where donghua.db, bishun.db, bishunbmp.db, bishunvec.db,\n"
    "                     bishunzi.db and ARPHICPL.TXT go\n"
    "  --unicode FOLDER   the Unicode data the facts table bishunzi.db is made from\n"
    "                     (/usr/share/unicode, Debian's unicode-data); without it, no facts\n"
    "  --corrections FILE the reviewed stroke-order corrections (data/order_corrections.txt)\n"
    "  --characters TEXT  build only these characters (UTF-8), instead of all of GB2312\n"
    "  --jobs N           rendering threads (default: one per core)\n"
    "  --quiet            no progress, only the summary and errors\n";

struct Arguments {
    qir::tools::StoreBuildOptions options;
    bool quiet = false;
};

[[noreturn]] void usageError(const std::string& message) {
    std::fprintf(stderr, "qir-store-builder: %s\n%s", message.c_str(), kUsage);
    std::exit(2);
}

Arguments parseArguments(int argc, char** argv) {
    Arguments arguments;
    bool haveData = false;
    bool haveOut = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view name = argv[i];
        if (name == "--help" || name == "-h") {
            std::fputs(kUsage, stdout);
            std::exit(0);
        }
        if (name == "--quiet") {
            arguments.quiet = true;
            continue;
        }
        if (i + 1 >= argc) {
            usageError("unknown option or missing value: " + std::string(name));
        }
        const std::string value = argv[++i];
        if (name == "--data") {
            arguments.options.dataFolder = value;
            haveData = true;
        } else if (name == "--unicode") {
            arguments.options.unicodeFolder = value;
        } else if (name == "--corrections") {
            arguments.options.corrections = value;
        } else if (name == "--out") {
            arguments.options.outputFolder = value;
            haveOut = true;
        } else if (name == "--characters") {
            try {
                arguments.options.characters =
                    qir::tools::charactersFromText(QString::fromUtf8(value.c_str()));
            } catch (const qir::tools::CharacterListError& e) {
                usageError(e.what());
            }
        } else if (name == "--jobs") {
            char* end = nullptr;
            const long jobs = std::strtol(value.c_str(), &end, 10);
            if (*end != '\0' || jobs < 1 || jobs > 64) {
                usageError("--jobs takes a number from 1 to 64");
            }
            arguments.options.workers = static_cast<int>(jobs);
        } else {
            usageError("unknown option " + std::string(name));
        }
    }
    if (!haveData || !haveOut) {
        usageError("--data and --out are required");
    }
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
    // Qt's text codecs and image code want an application object; no GUI is needed.
    QCoreApplication application(argc, argv);
    Arguments arguments = parseArguments(argc, argv);
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
}
