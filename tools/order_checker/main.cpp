// SPDX-License-Identifier: GPL-3.0-or-later
// qir-order-checker: checks the stroke order the store is built with against an independent
// reference and reports every disagreement. Exits 1 when a catalogue character disagrees
// without a reviewed entry in the correction file, 2 when an input cannot be used.

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
#include <vector>

#include "commandline/command_line.h"
#include "commandline/version.h"
#include "platform/file_io.h"
#include "tools/order_checker/order_check.h"
#include "tools/order_checker/order_report.h"
#include "tools/order_checker/source_options.h"
#include "tools/store_builder/store_build.h"

namespace {
namespace fs = std::filesystem;
using namespace qir::tools;

qir::cli::CommandLine commandLine() {
    qir::cli::CommandLine line(
        QStringLiteral("qir-order-checker"), qir::cli::projectVersion(),
        QStringLiteral("Checks the stroke order the store is built with against an independent "
                       "reference and by the rules of stroke order, and reports every "
                       "disagreement. Exits 0 when every catalogue character agrees, is corrected "
                       "or is reviewed and breaks no order rule unexplained, 1 when one does not, "
                       "2 when an input cannot be used or the command line is wrong."));
    line.setUsualUsage(
        QStringLiteral("--data FOLDER --reference FILE [--corrections FILE] "
                       "[--rule-exceptions FILE] [--catalogue FILE] [--report FILE] "
                       "[--characters TEXT]"));
    line.addUsualOptions(orderSourceOptions());
    line.addUsualOptions({
        {QStringLiteral("corrections"), QStringLiteral("FILE"),
         QStringLiteral("the reviewed stroke-order corrections the store is built with")},
        {QStringLiteral("rule-exceptions"), QStringLiteral("FILE"),
         QStringLiteral("the reviewed exceptions to the order rules")},
        {QStringLiteral("catalogue"), QStringLiteral("FILE"),
         QStringLiteral("the program's catalogue (selection/catalogue.txt): its characters must "
                        "agree, be corrected or be reviewed, and break no order rule without an "
                        "exception")},
        {QStringLiteral("report"), QStringLiteral("FILE"),
         QStringLiteral("where the full report goes")},
        {QStringLiteral("characters"), QStringLiteral("TEXT"),
         QStringLiteral("check only these characters (UTF-8), instead of all of GB2312")},
    });
    line.requireUsualOptions({QStringLiteral("data"), QStringLiteral("reference")});
    return line;
}

struct Arguments {
    fs::path data;
    fs::path reference;
    fs::path corrections;
    fs::path ruleExceptions;
    fs::path catalogue;
    fs::path report;
    std::optional<std::vector<CharacterEntry>> characters;
};

// Throws UsageError.
Arguments readArguments(const qir::cli::Invocation& given) {
    Arguments arguments;
    arguments.data = given.bytes(QStringLiteral("data"));
    arguments.reference = given.bytes(QStringLiteral("reference"));
    arguments.corrections = given.bytes(QStringLiteral("corrections"));
    arguments.ruleExceptions = given.bytes(QStringLiteral("rule-exceptions"));
    arguments.catalogue = given.bytes(QStringLiteral("catalogue"));
    arguments.report = given.bytes(QStringLiteral("report"));
    if (given.isSet(QStringLiteral("characters"))) {
        try {
            arguments.characters = charactersFromText(given.text(QStringLiteral("characters")));
        } catch (const CharacterListError& e) {
            throw qir::cli::UsageError(e.what());
        }
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
        arguments.characters ? *arguments.characters : allGb2312Hanzi();

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
    return commandLine().runTool(qir::cli::argumentsOf(argc, argv), stdout, stderr,
                                 [&](const qir::cli::Invocation& given) {
                                     QCoreApplication application(argc, argv);
                                     const Arguments arguments = readArguments(given);
                                     try {
                                         return run(arguments);
                                     } catch (const std::exception& e) {
                                         std::fprintf(stderr, "qir-order-checker: %s\n", e.what());
                                         return 2;
                                     }
                                 });
}
