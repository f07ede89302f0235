// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The current character and the fixed sequences that show it, one for each way of choosing a
// character. Needs no window: the steps go through a CharacterRoute.

#include <functional>
#include <optional>
#include <string>

#include "selection/character_route.h"

namespace qir::selection {

class CharacterSelection {
  public:
    // Each operation of `route` may throw; the error ends the sequence at that step and
    // travels on to the caller. The route outlives the selection.
    explicit CharacterSelection(CharacterRoute& route) : route_(route) {}

    const std::string& CurrentHanzi() const { return currentHanzi_; }
    const std::string& PreviousHanzi() const { return previousHanzi_; }

    // Clears PreviousHanzi, then CurrentHanzi.
    void FormCreate();

    // A click in the catalogue. `selectedNodeText` is the selected node's text as stored, or
    // nothing when no node is selected (then nothing happens). A group label clears
    // CurrentHanzi; a character is shown without a play step of its own.
    void TreeView1Click(const std::optional<std::string>& selectedNodeText);

    // The input box's text changed. Only a text of exactly two bytes is looked up.
    void Edit1Change(const std::string& boxText);

    // Step forward / back and show; nothing while CurrentHanzi is empty.
    void ImagenextClick();
    void ImageprevClick();

  private:
    void showWithPlay();
    enum class Direction { Prior, Next };
    void step(Direction direction);
    // A request that arrives while a sequence is still running (an event handled from inside
    // one of its steps) runs after it; of several such requests only the last one runs.
    void runExclusive(std::function<void()> request);

    CharacterRoute& route_;
    std::string currentHanzi_;
    std::string previousHanzi_;
    bool running_ = false;
    std::function<void()> pending_;
};

}  // namespace qir::selection
