// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the practice window asks of the store, from the window's menu and from the command
// line alike: the characters the record names, and the readings and gloss under the box.
#ifndef QIR_APP_INTERNALS
#error "app/practice_sources.h is private to app/"
#endif

#include <functional>

#include "practice_window/practice_window.h"
#include "store/character_facts.h"
#include "store/vector_table.h"

namespace qir::app {

// `vectors` and the facts table `facts` gives (made at its first call) outlive the window.
void givePracticeSources(practice_window::PracticeWindow& window, store::VectorTable& vectors,
                         std::function<store::FactsTable&()> facts);

}  // namespace qir::app
