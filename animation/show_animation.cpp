// SPDX-License-Identifier: GPL-3.0-or-later
#include "animation/show_animation.h"

#include "platform/errors.h"
#include "platform/file_io.h"
#include "store/character_store.h"

namespace qir::animation {

void ShowAnimation(store::CharacterStore& store, MediaPlayer& mediaPlayer1,
                   const std::string& currentHanzi, bool& aviToggle) {
    const store::CharacterStore::Clip clip = store.clipOf(currentHanzi);
    if (clip.size == 0) {
        return;  // no clip: the player keeps whatever it shows
    }
    // The toggle moves before anything is read out or written, so after a failed read or
    // write the next clip goes to the other file.
    const char* const target = aviToggle ? "tmp1.avi" : "tmp2.avi";
    aviToggle = !aviToggle;
    if (clip.bytes.size() != clip.size) {
        throw StreamReadError();
    }
    writeFileBytes(target, clip.bytes);

    mediaPlayer1.setFileName(target);
    mediaPlayer1.open();
    mediaPlayer1.play();
}

}  // namespace qir::animation
