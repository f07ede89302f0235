// SPDX-License-Identifier: GPL-3.0-or-later
#include "animation/show_animation.h"

#include "platform/errors.h"
#include "platform/file_io.h"
#include "platform/gb2312.h"

namespace qir::animation {
namespace {

// Larger than any clip of the store (they are tens of kilobytes).
constexpr std::size_t kClipBytesKept = 1 << 20;

}  // namespace

void ShowAnimation(store::Query& query2, MediaPlayer& mediaPlayer1, const std::string& currentHanzi,
                   bool& aviToggle) {
    query2.close();
    // Only the first row's clip is ever played. A key that matches many rows (a "%" in it
    // matches every clip) would otherwise keep tens of megabytes of clips nobody plays for
    // as long as the query stays open; the first clip is fetched again should it not fit.
    query2.setBlobMemoryLimit(kClipBytesKept);
    std::string pattern = "%";
    pattern += gb2312::trimmed(currentHanzi);
    pattern += '%';
    query2.setParamAsString(std::move(pattern));
    query2.open();

    const std::size_t size = query2.blobSize("Photo");
    if (size == 0) {
        return;  // no clip: the player keeps whatever it shows
    }
    // The toggle moves before anything is written, so after a failed write the next clip
    // goes to the other file.
    const char* const target = aviToggle ? "tmp1.avi" : "tmp2.avi";
    aviToggle = !aviToggle;

    const Bytes clip = query2.blob("Photo");
    if (clip.size() != size) {
        throw StreamReadError();
    }
    writeFileBytes(target, clip);

    mediaPlayer1.setFileName(target);
    mediaPlayer1.open();
    mediaPlayer1.play();
}

}  // namespace qir::animation
