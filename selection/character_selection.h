// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The current character and the fixed sequences that show it, one for each way of choosing a
// character. Needs no window: the steps come from the main window and the application as
// functions.

#include <functional>
#include <optional>
#include <string>

namespace qir::selection {

// What the not-found dialog returns.
inline constexpr int kDialogYes = 6;
inline constexpr int kDialogClosed = 2;

// The steps the sequences run, given by the main window (the player and the dialog) and the
// application (the store). Each may throw; the error ends the sequence at that step and
// travels on to the caller.
struct DisplaySteps {
    // Looks up the clip of `hanzi`, writes it out and has the player open and play it.
    std::function<void(const std::string& hanzi)> ShowAnimation;
    // The play operation of MediaPlayer1.
    std::function<void()> play;
    // Rebuilds the stroke display table, and so the grid, for `hanzi`.
    std::function<void(const std::string& hanzi)> ShowStrokeOrder;
    // The character before / after `hanzi` in the animation table's own order.
    std::function<std::string(const std::string& hanzi)> PriorCharacter;
    std::function<std::string(const std::string& hanzi)> NextCharacter;
    // Closes Query2, sets its parameter to `hanzi`, opens it and gives its record count.
    std::function<int(const std::string& hanzi)> query2RecordCount;
    // Shows the not-found dialog and waits: kDialogYes or kDialogClosed.
    std::function<int()> notFoundDialog;
};

class CharacterSelection {
  public:
    // Throws std::invalid_argument when a step is missing.
    explicit CharacterSelection(DisplaySteps steps);

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
    void step(const std::function<std::string(const std::string&)>& move);
    // A request that arrives while a sequence is still running (an event handled from inside
    // one of its steps) runs after it; of several such requests only the last one runs.
    void runExclusive(std::function<void()> request);

    DisplaySteps steps_;
    std::string currentHanzi_;
    std::string previousHanzi_;
    bool running_ = false;
    std::function<void()> pending_;
};

}  // namespace qir::selection
