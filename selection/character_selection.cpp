// SPDX-License-Identifier: GPL-3.0-or-later
#include "selection/character_selection.h"

#include <utility>

#include "platform/gb2312.h"
#include "selection/group_labels.h"

namespace qir::selection {

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
        route_.ShowAnimation(currentHanzi_);
        route_.ShowStrokeOrder(currentHanzi_);
    });
}

void CharacterSelection::Edit1Change(const std::string& boxText) {
    if (boxText.size() != 2) {
        return;
    }
    runExclusive([this, boxText] {
        previousHanzi_ = currentHanzi_;
        // Set before the lookup, so a failing lookup leaves the typed character current.
        currentHanzi_ = gb2312::trimmed(boxText);
        if (route_.holds(currentHanzi_)) {
            showWithPlay();
        } else if (route_.askToGoBack(currentHanzi_)) {
            currentHanzi_ = previousHanzi_;
        }
    });
}

void CharacterSelection::ImagenextClick() {
    step(Direction::Next);
}

void CharacterSelection::ImageprevClick() {
    step(Direction::Prior);
}

void CharacterSelection::step(Direction direction) {
    if (currentHanzi_.empty()) {
        return;
    }
    runExclusive([this, direction] {
        // An earlier request run in between may have emptied it.
        if (currentHanzi_.empty()) {
            return;
        }
        currentHanzi_ = direction == Direction::Next ? route_.NextCharacter(currentHanzi_)
                                                     : route_.PriorCharacter(currentHanzi_);
        showWithPlay();
    });
}

void CharacterSelection::showWithPlay() {
    route_.ShowAnimation(currentHanzi_);
    route_.playAgain();
    route_.ShowStrokeOrder(currentHanzi_);
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
