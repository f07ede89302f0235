// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Checks every character's stroke order, as the store is built from it (the stroke data with
// the reviewed corrections applied), against the reference, and sorts the outcomes.

#include <array>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "tools/order_checker/order_comparison.h"
#include "tools/order_checker/order_rules.h"
#include "tools/order_checker/reference_order.h"
#include "tools/order_checker/rule_exceptions.h"
#include "tools/store_builder/character_set.h"
#include "tools/store_builder/order_corrections.h"

namespace qir::tools {

enum class OrderStatus {
    Agree,         // agrees as the data has it
    Corrected,     // agrees once its correction is applied
    Reviewed,      // disagrees, and its entry in the correction file says why
    OrderFault,    // the same strokes in another order; not reviewed
    Doubt,         // a classification doubt; not reviewed
    NoReference,   // the reference has no entry for it; not reviewed
    CountDiffers,  // the reference has another number of strokes; not reviewed
    Unreadable,    // its data file cannot be used
};
inline constexpr std::size_t kOrderStatusCount = 8;

const char* statusName(OrderStatus status);
// Whether the status needs a look: a disagreement without an entry, or unusable data.
bool isUnresolved(OrderStatus status);

struct CharacterCheck {
    CharacterEntry character;
    bool inCatalogue = false;
    OrderStatus status = OrderStatus::Agree;
    std::vector<StrokeClassSet> strokes;  // classified, in the order the store draws them
    std::string letters;                  // the reference's, "" when it has none
    OrderComparison comparison;
    const OrderCorrection* entry = nullptr;  // the character's line in the correction file
    std::string problem;                     // why its data could not be read
    RuleCheck rules;                         // the order rules, on the order the store draws
    // Per rule, the entry in the rule exceptions that explains its warnings; null for none.
    std::array<const RuleException*, kOrderRuleCount> explained{};

    bool corrected() const { return entry != nullptr && entry->reorders(); }
    // Whether a rule warns without an exception explaining it.
    bool hasUnexplainedWarning() const;
};

// Per rule, how many characters it judged, warned about (explained or not), found explained
// and could not judge.
struct RuleTally {
    int checked = 0;
    int warned = 0;
    int explained = 0;
    int undecided = 0;
};
using RuleTallies = std::array<RuleTally, kOrderRuleCount>;

// The groups the rule tallies are kept for.
enum class RuleGroup { Catalogue, Corrected, Rest, All };
inline constexpr std::size_t kRuleGroupCount = 4;
const char* groupName(RuleGroup group);

using StatusCounts = std::array<int, kOrderStatusCount>;

struct OrderCheckResult {
    std::vector<CharacterCheck> characters;             // in the order asked for
    StatusCounts catalogue{};                           // over the catalogue's characters
    StatusCounts all{};                                 // over every character checked
    std::vector<const OrderCorrection*> staleEntries;   // "keep" entries that now agree
    std::array<RuleTallies, kRuleGroupCount> rules{};   // by RuleGroup
    std::vector<const RuleException*> staleExceptions;  // explaining a rule that does not warn
    int unresolvedInCatalogue() const;
    // Catalogue characters with a rule warning no exception explains.
    int unexplainedRuleWarningsInCatalogue() const;
};

// Checks `characters`. A character is in the catalogue when its key is in `catalogue`. The
// corrections are applied exactly as the store builder applies them.
OrderCheckResult checkOrder(const std::vector<CharacterEntry>& characters,
                            const std::set<std::string>& catalogue,
                            const std::filesystem::path& dataFolder,
                            const ReferenceOrders& reference, const OrderCorrections& corrections,
                            const RuleExceptions& exceptions = RuleExceptions());

// The classes of every stroke of `data`, in its order.
std::vector<StrokeClassSet> classifyStrokes(const CharacterData& data);

// The GB2312 keys of the characters of a catalogue text: lines "LABEL: CHARACTERS", "#"
// comment lines. Throws CharacterListError for a character outside GB2312.
std::set<std::string> catalogueKeys(const std::string& text);

}  // namespace qir::tools
