// SPDX-License-Identifier: GPL-3.0-or-later
#include "animation/show_animation.h"

#include "platform/file_io.h"
#include "store/character_store.h"

namespace qir::animation {

void ShowAnimation(store::CharacterStore& store, MediaPlayer& mediaPlayer1,
                   const std::string& currentHanzi, bool& aviToggle) {
    const Bytes clip = store.clipOf(currentHanzi);
    if (clip.empty()) {
        return;  // no clip: the player keeps whatever it shows
    }
    // The toggle moves before anything is written, so after a failed write the next clip
    // goes to the other file.
    const char* const target = aviToggle ? "tmp1.avi" : "tmp2.avi";
    aviToggle = !aviToggle;
    writeFileBytes(target, clip);

    mediaPlayer1.setFileName(target);
    mediaPlayer1.open();
    mediaPlayer1.play();
}

}  // namespace qir::animation
