// SPDX-License-Identifier: GPL-3.0-or-later
// qir-order-checker: checks the stroke order the store is built with against an independent
// reference and reports every disagreement. Exits 1 when a catalogue character disagrees
// without a reviewed entry in the correction file.

#include <QCoreApplication>
#include <QString>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <iomanip>
#include <iostream>
#include <optional>
#include <set>
#include <string>
#include <string_view>

#include "platform/file_io.h"
#include "tools/order_checker/order_check.h"
#include "tools/order_checker/order_report.h"
#include "tools/store_builder/store_build.h"

namespace {
namespace fs = std::filesystem;
using namespace qir::tools;

constexpr const char* kUsage =
    "usage: qir-order-checker --data FOLDER --reference FILE [--corrections FILE]\n"
    "                         [--rule-exceptions FILE] [--catalogue FILE] [--report FILE]\n"
    "                         [--characters TEXT]\n"
    "  --data FOLDER      the hanzi-writer-data package the store is built from\n"
    "  --reference FILE   cnchar-order's sequences as export_reference.js writes them\n"
    "  --corrections FILE the reviewed stroke-order corrections the store is built with\n"
    "  --rule-exceptions FILE  the reviewed exceptions to the order rules\n"
    "  --catalogue FILE   the program's catalogue (selection/catalogue.txt): its characters\n"
    "                     must agree, be corrected or be reviewed, and break no order rule\n"
    "                     without an exception\n"
    "  --report FILE      where the full report goes\n"
    "  --characters TEXT  check only these characters (UTF-8), instead of all of GB2312\n"
    "Exits 0 when every catalogue character agrees, is corrected or is reviewed and breaks no\n"
    "order rule unexplained, 1 when one does not, 2 when an input cannot be used.\n";

struct Arguments {
    fs::path data;
    fs::path reference;
    fs::path corrections;
    fs::path ruleExceptions;
    fs::path catalogue;
    fs::path report;
    std::optional<std::string> characters;
};

[[noreturn]] void usageError(const std::string& message) {
    std::fprintf(stderr, "qir-order-checker: %s\n%s", message.c_str(), kUsage);
    std::exit(2);
}

Arguments parseArguments(int argc, char** argv) {
    Arguments arguments;
    for (int i = 1; i < argc; ++i) {
        const std::string_view name = argv[i];
        if (name == "--help" || name == "-h") {
            std::fputs(kUsage, stdout);
            std::exit(0);
        }
        if (i + 1 >= argc) {
            usageError("unknown option or missing value: " + std::string(name));
        }
        const std::string value = argv[++i];
        if (name == "--data") {
            arguments.data = value;
        } else if (name == "--reference") {
            arguments.reference = value;
        } else if (name == "--corrections") {
            arguments.corrections = value;
        } else if (name == "--rule-exceptions") {
            arguments.ruleExceptions = value;
        } else if (name == "--catalogue") {
            arguments.catalogue = value;
        } else if (name == "--report") {
            arguments.report = value;
        } else if (name == "--characters") {
            arguments.characters = value;
        } else {
            usageError("unknown option " + std::string(name));
        }
    }
    if (arguments.data.empty() || arguments.reference.empty()) {
        usageError("--data and --reference are required");
    }
    return arguments;
}

std::string readText(const fs::path& file, const char* what) {
    std::optional<std::string> text = qir::readWholeFile(file);
    if (!text) {
        throw std::runtime_error(std::string("cannot read ") + what + " " + file.string());
    }
    return std::move(*text);
}

int run(const Arguments& arguments) {
    const auto started = std::chrono::steady_clock::now();
    const ReportSources sources{"hanzi-writer-data " + dataPackageVersion(arguments.data),
                                arguments.corrections.string(), ""};
    const ReferenceOrders reference = readReference(arguments.reference);
    const OrderCorrections corrections =
        arguments.corrections.empty() ? OrderCorrections()
                                      : loadCorrections(arguments.corrections, arguments.data);
    const RuleExceptions exceptions = arguments.ruleExceptions.empty()
                                          ? RuleExceptions()
                                          : RuleExceptions::read(arguments.ruleExceptions.string());
    const std::set<std::string> catalogue =
        arguments.catalogue.empty() ? std::set<std::string>()
                                    : catalogueKeys(readText(arguments.catalogue, "the catalogue"));
    const std::vector<CharacterEntry> characters =
        arguments.characters ? charactersFromText(QString::fromUtf8(arguments.characters->c_str()))
                             : allGb2312Hanzi();

    const OrderCheckResult result =
        checkOrder(characters, catalogue, arguments.data, reference, corrections, exceptions);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();

    ReportSources named = sources;
    named.reference = reference.name;
    if (!arguments.report.empty()) {
        std::ofstream out(arguments.report, std::ios::binary | std::ios::trunc);
        writeReport(out, result, named);
        if (!out) {
            throw std::runtime_error("cannot write the report " + arguments.report.string());
        }
    }
    std::cout << "Checked " << characters.size() << " characters against " << reference.name
              << " in " << std::fixed << std::setprecision(2) << seconds << " s.\n";
    writeCounts(std::cout, result);
    const int unresolved = result.unresolvedInCatalogue();
    if (unresolved > 0) {
        std::cout << "\n"
                  << unresolved << " catalogue characters disagree without a reviewed entry:\n";
        for (const CharacterCheck& check : result.characters) {
            if (check.inCatalogue && isUnresolved(check.status)) {
                writeCharacter(std::cout, check);
            }
        }
        std::cout << "Correct or review them in " << arguments.corrections.string() << ".\n";
    }
    std::cout << "\n";
    writeRuleCounts(std::cout, result);
    const int unexplained = result.unexplainedRuleWarningsInCatalogue();
    if (unexplained > 0) {
        std::cout << "\n"
                  << unexplained << " catalogue characters break an order rule unexplained:\n";
        for (const CharacterCheck& check : result.characters) {
            if (check.inCatalogue && check.hasUnexplainedWarning()) {
                writeCharacter(std::cout, check);
            }
        }
        std::cout << "Correct them in " << arguments.corrections.string() << " or explain them in "
                  << arguments.ruleExceptions.string() << ".\n";
    }
    if (!arguments.report.empty()) {
        std::cout << "Report: " << arguments.report.string() << "\n";
    }
    return unresolved > 0 || unexplained > 0 ? 1 : 0;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    const Arguments arguments = parseArguments(argc, argv);
    try {
        return run(arguments);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "qir-order-checker: %s\n", e.what());
        return 2;
    }
}
