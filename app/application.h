// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program apart from its window: the character store, the current character and the
// single-instance channel. It is made before the main window and outlives it, so the controls
// bound to its data sets let go of them in their own time; the window only wires.

#include <memory>

#include "desktop/desktop.h"
#include "desktop/single_instance.h"
#include "selection/character_selection.h"
#include "store/character_store.h"

namespace qir::app {

class Application {
  public:
    // `instance` is where later starts of the program find this one; main gives the user's,
    // tests a folder of their own.
    Application(Desktop& desktop, InstanceAddress instance);

    Desktop& desktop() { return desktop_; }
    store::CharacterStore& store() { return store_; }
    InstanceChannel& instanceChannel() { return instanceChannel_; }

    // From here on a later start finds this instance. A start that lost the race to an
    // instance starting at the same moment has handed over to it, and goes no further.
    InstanceClaim claimInstance();

    // Makes the current character, shown through `route` (the window's), which outlives
    // every use of the selection.
    selection::CharacterSelection& createSelection(selection::CharacterRoute& route);
    selection::CharacterSelection& selection() { return *selection_; }

  private:
    Desktop& desktop_;
    InstanceAddress instance_;
    InstanceChannel instanceChannel_;
    store::CharacterStore store_;
    std::unique_ptr<selection::CharacterSelection> selection_;
};

}  // namespace qir::app
