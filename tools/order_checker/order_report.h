// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The checker's report: the counts, then every disagreement with both sequences and the steps
// that differ, the unresolved ones first.

#include <ostream>
#include <string>

#include "tools/order_checker/order_check.h"

namespace qir::tools {

struct ReportSources {
    std::string data;         // "hanzi-writer-data 2.0.1"
    std::string corrections;  // the correction file, "" for none
    std::string reference;    // "cnchar-order 3.2.6"
};

// The table of counts, catalogue and all characters checked, one status a column.
void writeCounts(std::ostream& out, const OrderCheckResult& result);

// Per rule and group (catalogue, corrected, rest, all): checked, warned, explained, could not
// judge.
void writeRuleCounts(std::ostream& out, const OrderCheckResult& result);

// The whole report: the sources, the counts and one paragraph per character that needs a look
// or was reviewed or corrected.
void writeReport(std::ostream& out, const OrderCheckResult& result, const ReportSources& sources);

// One character's lines: its status, both sequences, the steps that differ and the rules'
// warnings.
void writeCharacter(std::ostream& out, const CharacterCheck& check);

}  // namespace qir::tools
