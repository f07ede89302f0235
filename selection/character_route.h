// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the current character's sequences ask of the rest of the program, each operation with
// the character it is for: the store's answers and the window's steps that show it. The
// application wires one implementation; the selection needs no window to be tested.

#include <string>

namespace qir::selection {

class CharacterRoute {
  public:
    virtual ~CharacterRoute() = default;

    // Query2 with the exact key: whether the store holds `hanzi`.
    virtual bool holds(const std::string& hanzi) = 0;
    // The character before / after `hanzi` in the animation table's own order.
    virtual std::string PriorCharacter(const std::string& hanzi) = 0;
    virtual std::string NextCharacter(const std::string& hanzi) = 0;

    // Looks up the clip of `hanzi`, writes it out and has the player open and play it.
    virtual void ShowAnimation(const std::string& hanzi) = 0;
    // The player's play operation once more, for typed characters and steps: the clip just
    // opened keeps playing, an older one plays again, and with none open it fails.
    virtual void playAgain() = 0;
    // Rebuilds the stroke display table, and so the grid, for `hanzi`.
    virtual void ShowStrokeOrder(const std::string& hanzi) = 0;

    // Tells the user the store lacks `hanzi` and waits: true when they answer Yes (go back
    // to the character before), false when they close the dialog.
    virtual bool askToGoBack(const std::string& hanzi) = 0;
};

}  // namespace qir::selection
