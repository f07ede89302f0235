// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The hover looks of the five image buttons: a hot flag each, the lit picture loaded on every
// movement over a button, the normal one when a panel that turns it back is crossed. Both
// looks are bitmap files read from the working directory at each change.

#include <QImage>
#include <array>
#include <functional>

namespace qir::app {

enum class HoverButton { Exit, Mini, Help, Next, Prev };
enum class HoverPanel { Panel4, Panel5, Panel7, Panel10 };

struct HotFlags {
    bool ExitHot = false;
    bool MiniHot = false;
    bool HelpHot = false;
    bool NextHot = false;
    bool PrevHot = false;
};

class HoverSkin {
  public:
    // Receives each picture that loaded; a failed load never reaches it.
    using PictureSink = std::function<void(HoverButton, QImage)>;
    explicit HoverSkin(PictureSink sink);

    void clearFlags();
    // Above 1, each bitmap's double-size twin is shown where there is a good one.
    void setDevicePixelRatio(qreal ratio) { ratio_ = ratio; }
    // Throws the bitmap load's error; the flag is set before the load.
    void pointerOverPicture(HoverButton button);
    // Turns back, in the panel's order, every lit button that the panel turns back.
    void pointerOverPanel(HoverPanel panel);

    const HotFlags& flags() const { return flags_; }

  private:
    bool& flag(HoverButton button);

    PictureSink sink_;
    HotFlags flags_;
    qreal ratio_ = 1.0;
};

}  // namespace qir::app
