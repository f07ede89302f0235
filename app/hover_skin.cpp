// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/hover_skin.h"

#include <span>

#include "app/sharp_picture.h"
#include "platform/bitmap.h"

namespace qir::app {
namespace {

struct SkinFiles {
    const char* lit;
    const char* normal;
};

SkinFiles filesOf(HoverButton button) {
    switch (button) {
        case HoverButton::Exit:
            return {"exityellow.bmp", "exitwhite.bmp"};
        case HoverButton::Mini:
            return {"miniyellow.bmp", "miniwhite.bmp"};
        case HoverButton::Help:
            return {"helpyellow.bmp", "helpwhite.bmp"};
        case HoverButton::Next:
            return {"nextgreen.bmp", "nextwhite.bmp"};
        case HoverButton::Prev:
            return {"pregreen.bmp", "prewhite.bmp"};
    }
    return {"", ""};
}

// The exit and minimise panels are neighbours and each turns back both buttons.
std::span<const HoverButton> turnedBackBy(HoverPanel panel) {
    static constexpr HoverButton kPanel4[] = {HoverButton::Exit, HoverButton::Mini};
    static constexpr HoverButton kPanel5[] = {HoverButton::Mini, HoverButton::Exit};
    static constexpr HoverButton kPanel7[] = {HoverButton::Help};
    static constexpr HoverButton kPanel10[] = {HoverButton::Next, HoverButton::Prev};
    switch (panel) {
        case HoverPanel::Panel4:
            return kPanel4;
        case HoverPanel::Panel5:
            return kPanel5;
        case HoverPanel::Panel7:
            return kPanel7;
        case HoverPanel::Panel10:
            return kPanel10;
    }
    return {};
}

}  // namespace

HoverSkin::HoverSkin(PictureSink sink) : sink_(std::move(sink)) {}

void HoverSkin::clearFlags() {
    flags_ = HotFlags{};
}

bool& HoverSkin::flag(HoverButton button) {
    switch (button) {
        case HoverButton::Exit:
            return flags_.ExitHot;
        case HoverButton::Mini:
            return flags_.MiniHot;
        case HoverButton::Help:
            return flags_.HelpHot;
        case HoverButton::Next:
            return flags_.NextHot;
        case HoverButton::Prev:
            break;
    }
    return flags_.PrevHot;
}

void HoverSkin::pointerOverPicture(HoverButton button) {
    // Read again on every movement, lit or not: the file may have changed.
    flag(button) = true;
    const std::string file = filesOf(button).lit;
    sink_(button, sharperBitmap(loadBitmapFile(file), file, ratio_));
}

void HoverSkin::pointerOverPanel(HoverPanel panel) {
    for (HoverButton button : turnedBackBy(panel)) {
        if (flag(button)) {
            flag(button) = false;
            const std::string file = filesOf(button).normal;
            sink_(button, sharperBitmap(loadBitmapFile(file), file, ratio_));
        }
    }
}

}  // namespace qir::app
