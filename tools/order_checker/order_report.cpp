// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/order_checker/order_report.h"

#include <iomanip>

namespace qir::tools {
namespace {

// Appends `word` to `text`, a blank between.
void append(std::string& text, const std::string& word) {
    if (!text.empty()) {
        text += ' ';
    }
    text += word;
}

std::string steps(const std::vector<int>& list) {
    std::string text;
    for (const int step : list) {
        append(text, std::to_string(step + 1));
    }
    return text;
}

std::string dataSequence(const CharacterCheck& check) {
    std::string text;
    for (std::size_t i = 0; i < check.strokes.size(); ++i) {
        append(text, std::to_string(i + 1));
        text += check.strokes[i].name();
    }
    return text;
}

std::string referenceSequence(const CharacterCheck& check) {
    std::string text;
    for (std::size_t i = 0; i < check.letters.size(); ++i) {
        append(text, std::to_string(i + 1));
        text += letterName(check.letters[i]);
    }
    return text;
}

// "9→12→9": the stroke drawn at step 9 belongs at step 12, and the one at 12 at step 9.
std::string cycleText(const std::vector<int>& cycle) {
    std::string text;
    for (const int step : cycle) {
        text += std::to_string(step + 1);
        text += "→";
    }
    text += std::to_string(cycle.front() + 1);
    return text;
}

void writeRuleWarnings(std::ostream& out, const CharacterCheck& check) {
    for (const RuleWarning& warning : check.rules.warnings) {
        const auto index = static_cast<std::size_t>(warning.rule);
        out << "    rule:      " << ruleKey(warning.rule) << " (" << ruleText(warning.rule)
            << "): step " << warning.late + 1 << " " << check.strokes[warning.late].name()
            << " belongs before step " << warning.early + 1 << " "
            << check.strokes[warning.early].name();
        if (const RuleException* exception = check.explained[index]) {
            out << "; explained (line " << exception->line << "): " << exception->reason;
        }
        out << "\n";
    }
}

void writeRuleSection(std::ostream& out, const OrderCheckResult& result, bool corrected,
                      bool explained, const char* title) {
    const auto belongs = [&](const CharacterCheck& check) {
        return !check.rules.warnings.empty() && check.corrected() == corrected &&
               check.hasUnexplainedWarning() != explained;
    };
    int count = 0;
    for (const CharacterCheck& check : result.characters) {
        count += belongs(check) ? 1 : 0;
    }
    if (count == 0) {
        return;
    }
    out << "\n== " << title << " (" << count << ") ==\n";
    for (const CharacterCheck& check : result.characters) {
        if (belongs(check)) {
            writeCharacter(out, check);
        }
    }
}

void writeSection(std::ostream& out, const OrderCheckResult& result, OrderStatus status,
                  const char* title) {
    int count = 0;
    for (const CharacterCheck& check : result.characters) {
        count += check.status == status ? 1 : 0;
    }
    if (count == 0) {
        return;
    }
    out << "\n== " << title << " (" << count << ") ==\n";
    for (const CharacterCheck& check : result.characters) {
        if (check.status == status) {
            writeCharacter(out, check);
        }
    }
}

}  // namespace

void writeCounts(std::ostream& out, const OrderCheckResult& result) {
    out << std::left << std::setw(11) << "";
    for (std::size_t status = 0; status < kOrderStatusCount; ++status) {
        out << std::right << std::setw(15) << statusName(static_cast<OrderStatus>(status));
    }
    out << "\n";
    const auto row = [&](const char* label, const StatusCounts& counts) {
        int total = 0;
        out << std::left << std::setw(11) << label;
        for (const int count : counts) {
            out << std::right << std::setw(15) << count;
            total += count;
        }
        out << "   (" << total << " characters)\n";
    };
    row("catalogue", result.catalogue);
    row("all", result.all);
}

void writeRuleCounts(std::ostream& out, const OrderCheckResult& result) {
    out << std::left << std::setw(18) << "rule";
    for (std::size_t g = 0; g < kRuleGroupCount; ++g) {
        out << std::left << std::setw(28) << groupName(static_cast<RuleGroup>(g));
    }
    out << "\n" << std::setw(18) << "";
    for (std::size_t g = 0; g < kRuleGroupCount; ++g) {
        out << std::left << std::setw(28) << "checked warned expl. undec.";
    }
    out << "\n";
    for (std::size_t r = 0; r < kOrderRuleCount; ++r) {
        out << std::left << std::setw(18) << ruleKey(static_cast<OrderRule>(r));
        for (std::size_t g = 0; g < kRuleGroupCount; ++g) {
            const RuleTally& t = result.rules[g][r];
            out << std::right << std::setw(7) << t.checked << std::setw(7) << t.warned
                << std::setw(6) << t.explained << std::setw(7) << t.undecided << " ";
        }
        out << "\n";
    }
}

void writeCharacter(std::ostream& out, const CharacterCheck& check) {
    out << check.character.text.toStdString() << (check.inCatalogue ? "  [catalogue]" : "") << "  "
        << statusName(check.status) << "\n";
    if (!check.problem.empty()) {
        out << "    data: " << check.problem << "\n";
        return;
    }
    out << "    data:      " << dataSequence(check) << "\n";
    if (check.letters.empty()) {
        out << "    reference: none\n";
    } else {
        out << "    reference: " << referenceSequence(check) << "  (" << check.letters << ")\n";
    }
    const OrderComparison& comparison = check.comparison;
    if (comparison.verdict == OrderVerdict::CountDiffers) {
        out << "    differ:    " << check.strokes.size() << " strokes against "
            << check.letters.size() << "\n";
    } else if (comparison.verdict == OrderVerdict::UnknownLetter) {
        out << "    differ:    the reference uses a letter it does not define\n";
    } else if (!comparison.differing.empty()) {
        out << "    differ:    steps " << steps(comparison.differing);
        for (const std::vector<int>& cycle : comparison.cycles) {
            out << "; moved " << cycleText(cycle);
        }
        if (!comparison.unexplained.empty()) {
            out << "; in doubt " << steps(comparison.unexplained);
        }
        out << "\n";
    }
    writeRuleWarnings(out, check);
    if (check.entry != nullptr) {
        out << "    reviewed:  " << (check.entry->reorders() ? "reordered" : "kept") << " ("
            << "line " << check.entry->line << "): " << check.entry->reason << "\n";
    }
}

void writeReport(std::ostream& out, const OrderCheckResult& result, const ReportSources& sources) {
    out << "Stroke order of " << sources.data;
    if (!sources.corrections.empty()) {
        out << " with the corrections of " << sources.corrections;
    }
    out << ", checked against " << sources.reference << "\n\n";
    writeCounts(out, result);
    out << "\nA step lists each stroke's class as its median shows it, and the reference's "
           "stroke name. \"moved a→b→a\": the stroke drawn at step a fits step b and the one "
           "at b fits a.\n";
    out << "\nThe order rules, per character: checked (judged), warned (explained or not), "
           "explained (by the rule exceptions), undec. (a shape the rule speaks of that the "
           "geometry cannot judge). \"corrected\" are the reordered characters, \"rest\" "
           "the others.\n";
    writeRuleCounts(out, result);
    writeRuleSection(out, result, true, false,
                     "Rule warnings in corrected characters, not explained");
    writeRuleSection(out, result, false, false, "Rule warnings, not explained");
    writeSection(out, result, OrderStatus::OrderFault, "Order faults, not reviewed");
    writeSection(out, result, OrderStatus::Doubt, "Classification doubts, not reviewed");
    writeSection(out, result, OrderStatus::CountDiffers, "Stroke counts differ, not reviewed");
    writeSection(out, result, OrderStatus::NoReference, "No reference entry, not reviewed");
    writeSection(out, result, OrderStatus::Unreadable, "Unreadable stroke data");
    writeSection(out, result, OrderStatus::Reviewed, "Reviewed: disagreements kept, with reasons");
    writeSection(out, result, OrderStatus::Corrected, "Corrected: agree after reordering");
    writeRuleSection(out, result, true, true, "Rule warnings in corrected characters, explained");
    writeRuleSection(out, result, false, true, "Rule warnings, explained");
    if (!result.staleExceptions.empty()) {
        out << "\n== Rule exceptions for rules that do not warn ==\n";
        for (const RuleException* exception : result.staleExceptions) {
            out << exception->text << " " << ruleKey(exception->rule) << "  (line "
                << exception->line << ")\n";
        }
    }
    if (!result.staleEntries.empty()) {
        out << "\n== Reviewed entries that now agree without them ==\n";
        for (const OrderCorrection* entry : result.staleEntries) {
            out << entry->text << "  (line " << entry->line << ")\n";
        }
    }
}

}  // namespace qir::tools
