// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Turns the current character into a playing animation: its clip from the animation table is
// written to one of two temporary files, so the file being written is never the one the
// player still holds, and the player opens and plays it.

#include <string>

#include "animation/media_player.h"

namespace qir::store {
class CharacterStore;
}  // namespace qir::store

namespace qir::animation {

// `aviToggle` (false at start) picks the file: true means "tmp1.avi", false "tmp2.avi"; it
// flips before each write. A character without a clip (no row, or an empty Photo) changes
// nothing. Errors of the table engine, the file and the player pass out to the caller.
void ShowAnimation(store::CharacterStore& store, MediaPlayer& mediaPlayer1,
                   const std::string& currentHanzi, bool& aviToggle);

}  // namespace qir::animation
