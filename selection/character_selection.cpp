// SPDX-License-Identifier: GPL-3.0-or-later
#include "selection/character_selection.h"

#include <stdexcept>
#include <utility>

#include "platform/gb2312.h"
#include "selection/group_labels.h"

namespace qir::selection {

CharacterSelection::CharacterSelection(DisplaySteps steps) : steps_(std::move(steps)) {
    if (!steps_.ShowAnimation || !steps_.play || !steps_.ShowStrokeOrder ||
        !steps_.PriorCharacter || !steps_.NextCharacter || !steps_.query2RecordCount ||
        !steps_.notFoundDialog) {
        throw std::invalid_argument("CharacterSelection needs every display step");
    }
}

void CharacterSelection::FormCreate() {
    previousHanzi_.clear();
    currentHanzi_.clear();
}

void CharacterSelection::TreeView1Click(const std::optional<std::string>& selectedNodeText) {
    if (!selectedNodeText) {
        return;
    }
    runExclusive([this, text = *selectedNodeText] {
        if (isGroupLabel(text)) {
            // The display keeps the last character; only the steps lose their starting point.
            currentHanzi_.clear();
            return;
        }
        // As stored: an entry with a trailing blank keeps it.
        currentHanzi_ = text;
        steps_.ShowAnimation(currentHanzi_);
        steps_.ShowStrokeOrder(currentHanzi_);
    });
}

void CharacterSelection::Edit1Change(const std::string& boxText) {
    if (boxText.size() != 2) {
        return;
    }
    runExclusive([this, boxText] {
        previousHanzi_ = currentHanzi_;
        const std::string typed(gb2312::trimmed(boxText));
        currentHanzi_ = typed;
        if (steps_.query2RecordCount(typed) != 0) {
            currentHanzi_ = typed;
            showWithPlay();
        } else if (steps_.notFoundDialog() == kDialogYes) {
            currentHanzi_ = previousHanzi_;
        }
    });
}

void CharacterSelection::ImagenextClick() {
    step(steps_.NextCharacter);
}

void CharacterSelection::ImageprevClick() {
    step(steps_.PriorCharacter);
}

void CharacterSelection::step(const std::function<std::string(const std::string&)>& move) {
    if (currentHanzi_.empty()) {
        return;
    }
    runExclusive([this, &move] {
        // An earlier request run in between may have emptied it.
        if (currentHanzi_.empty()) {
            return;
        }
        currentHanzi_ = move(currentHanzi_);
        showWithPlay();
    });
}

void CharacterSelection::showWithPlay() {
    steps_.ShowAnimation(currentHanzi_);
    steps_.play();
    steps_.ShowStrokeOrder(currentHanzi_);
}

void CharacterSelection::runExclusive(std::function<void()> request) {
    if (running_) {
        pending_ = std::move(request);
        return;
    }
    struct Running {
        CharacterSelection& selection;
        explicit Running(CharacterSelection& s) : selection(s) { selection.running_ = true; }
        ~Running() {
            selection.running_ = false;
            // A failed sequence ends its event; what queued behind it is dropped with it.
            selection.pending_ = nullptr;
        }
    } running(*this);
    request();
    while (pending_) {
        std::function<void()> next = std::exchange(pending_, nullptr);
        next();
    }
}

}  // namespace qir::selection
