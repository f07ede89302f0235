// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/order_checker/order_check.h"

#include <QString>

#include "tools/store_builder/character_reading.h"

namespace qir::tools {
namespace {

OrderStatus statusOf(const CharacterCheck& check) {
    const bool reorders = check.entry != nullptr && check.entry->reorders();
    switch (check.comparison.verdict) {
        case OrderVerdict::Agree:
            return reorders ? OrderStatus::Corrected : OrderStatus::Agree;
        case OrderVerdict::OrderFault:
            return check.entry != nullptr ? OrderStatus::Reviewed : OrderStatus::OrderFault;
        case OrderVerdict::Doubt:
        case OrderVerdict::UnknownLetter:
            return check.entry != nullptr ? OrderStatus::Reviewed : OrderStatus::Doubt;
        case OrderVerdict::CountDiffers:
            return check.entry != nullptr ? OrderStatus::Reviewed : OrderStatus::CountDiffers;
    }
    return OrderStatus::Doubt;
}

void tally(RuleTally& tally, RuleVerdict verdict, bool explained) {
    tally.checked += verdict == RuleVerdict::Obeyed || verdict == RuleVerdict::Broken ? 1 : 0;
    tally.warned += verdict == RuleVerdict::Broken ? 1 : 0;
    tally.explained += verdict == RuleVerdict::Broken && explained ? 1 : 0;
    tally.undecided += verdict == RuleVerdict::Undecided ? 1 : 0;
}

void tallyRules(CharacterCheck& check, const RuleExceptions& exceptions, OrderCheckResult& result) {
    const std::string text = check.character.text.toStdString();
    for (std::size_t i = 0; i < kOrderRuleCount; ++i) {
        const auto rule = static_cast<OrderRule>(i);
        const RuleVerdict verdict = check.rules.verdict(rule);
        const RuleException* exception = exceptions.find(text, rule);
        if (exception != nullptr && verdict != RuleVerdict::Broken) {
            result.staleExceptions.push_back(exception);
        }
        check.explained[i] = verdict == RuleVerdict::Broken ? exception : nullptr;
        const bool explained = check.explained[i] != nullptr;
        const auto group = [&](RuleGroup g) -> RuleTally& {
            return result.rules[static_cast<std::size_t>(g)][i];
        };
        tally(group(RuleGroup::All), verdict, explained);
        tally(group(check.corrected() ? RuleGroup::Corrected : RuleGroup::Rest), verdict,
              explained);
        if (check.inCatalogue) {
            tally(group(RuleGroup::Catalogue), verdict, explained);
        }
    }
}

}  // namespace

const char* statusName(OrderStatus status) {
    switch (status) {
        case OrderStatus::Agree:
            return "agree";
        case OrderStatus::Corrected:
            return "corrected";
        case OrderStatus::Reviewed:
            return "reviewed";
        case OrderStatus::OrderFault:
            return "order fault";
        case OrderStatus::Doubt:
            return "doubt";
        case OrderStatus::NoReference:
            return "no reference";
        case OrderStatus::CountDiffers:
            return "count differs";
        case OrderStatus::Unreadable:
            return "unreadable";
    }
    return "?";
}

bool isUnresolved(OrderStatus status) {
    return status != OrderStatus::Agree && status != OrderStatus::Corrected &&
           status != OrderStatus::Reviewed;
}

const char* groupName(RuleGroup group) {
    switch (group) {
        case RuleGroup::Catalogue:
            return "catalogue";
        case RuleGroup::Corrected:
            return "corrected";
        case RuleGroup::Rest:
            return "rest";
        case RuleGroup::All:
            return "all";
    }
    return "?";
}

bool CharacterCheck::hasUnexplainedWarning() const {
    for (const RuleWarning& warning : rules.warnings) {
        if (explained[static_cast<std::size_t>(warning.rule)] == nullptr) {
            return true;
        }
    }
    return false;
}

int OrderCheckResult::unexplainedRuleWarningsInCatalogue() const {
    int count = 0;
    for (const CharacterCheck& check : characters) {
        count += check.inCatalogue && check.hasUnexplainedWarning() ? 1 : 0;
    }
    return count;
}

int OrderCheckResult::unresolvedInCatalogue() const {
    int count = 0;
    for (std::size_t status = 0; status < kOrderStatusCount; ++status) {
        if (isUnresolved(static_cast<OrderStatus>(status))) {
            count += catalogue[status];
        }
    }
    return count;
}

std::vector<StrokeClassSet> classifyStrokes(const CharacterData& data) {
    std::vector<StrokeClassSet> classes;
    classes.reserve(data.strokes.size());
    for (const StrokeData& stroke : data.strokes) {
        classes.push_back(classifyMedian(stroke.median));
    }
    return classes;
}

OrderCheckResult checkOrder(const std::vector<CharacterEntry>& characters,
                            const std::set<std::string>& catalogue,
                            const std::filesystem::path& dataFolder,
                            const ReferenceOrders& reference, const OrderCorrections& corrections,
                            const RuleExceptions& exceptions) {
    OrderCheckResult result;
    result.characters.reserve(characters.size());
    for (const CharacterEntry& character : characters) {
        CharacterCheck check;
        check.character = character;
        check.inCatalogue = catalogue.contains(character.key);
        check.entry = corrections.find(character.key);
        const std::string text = character.text.toStdString();
        try {
            const std::vector<StrokeShape> shapes =
                shapesOf(readCharacterData(character, dataFolder, corrections));
            for (const StrokeShape& shape : shapes) {
                check.strokes.push_back(shape.classes);
            }
            check.rules = checkRules(shapes);
            if (const std::string* letters = reference.find(text)) {
                check.letters = *letters;
                check.comparison = compareOrder(check.strokes, check.letters);
                check.status = statusOf(check);
            } else {
                check.status =
                    check.entry != nullptr ? OrderStatus::Reviewed : OrderStatus::NoReference;
            }
        } catch (const StrokeDataError& e) {
            check.status = OrderStatus::Unreadable;
            check.problem = e.what();
        }
        if (check.entry != nullptr && !check.entry->reorders() &&
            check.comparison.verdict == OrderVerdict::Agree && !check.letters.empty()) {
            result.staleEntries.push_back(check.entry);
        }
        tallyRules(check, exceptions, result);
        const auto index = static_cast<std::size_t>(check.status);
        ++result.all[index];
        if (check.inCatalogue) {
            ++result.catalogue[index];
        }
        result.characters.push_back(std::move(check));
    }
    return result;
}

std::set<std::string> catalogueKeys(const std::string& text) {
    std::set<std::string> keys;
    std::size_t at = 0;
    while (at < text.size()) {
        const auto end = std::min(text.find('\n', at), text.size());
        const std::string line = text.substr(at, end - at);
        at = end + 1;
        const auto colon = line.find(':');
        if (line.starts_with("#") || colon == std::string::npos) {
            continue;
        }
        for (const CharacterEntry& entry :
             charactersFromText(QString::fromUtf8(line.substr(colon + 1).c_str()))) {
            keys.insert(entry.key);
        }
    }
    return keys;
}

}  // namespace qir::tools
