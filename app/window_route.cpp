// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/window_route.h"

#include <QCoreApplication>

#include "animation/media_player.h"
#include "animation/show_animation.h"
#include "desktop/screen_depth.h"
#include "platform/gb2312.h"
#include "selection/not_found_dialog.h"
#include "store/character_store.h"
#include "strokes/stroke_order.h"

namespace qir::app {

WindowRoute::WindowRoute(store::CharacterStore& store, animation::MediaPlayer& mediaPlayer1,
                         QWidget& dialogParent)
    : store_(store), mediaPlayer1_(mediaPlayer1), dialogParent_(dialogParent) {}

bool WindowRoute::holds(const std::string& hanzi) {
    return store_.holds(hanzi);
}

std::string WindowRoute::PriorCharacter(const std::string& hanzi) {
    return store_.priorCharacter(hanzi);
}

std::string WindowRoute::NextCharacter(const std::string& hanzi) {
    return store_.nextCharacter(hanzi);
}

void WindowRoute::ShowAnimation(const std::string& hanzi) {
    animation::ShowAnimation(store_, mediaPlayer1_, hanzi, AviToggle);
    // A screen reader names the animation with the character it shows.
    if (QWidget* display = mediaPlayer1_.display()) {
        display->setAccessibleName(
            QCoreApplication::translate("qir::app::WindowRoute", "Animation of %1")
                .arg(gb2312::toUnicode(gb2312::trimmed(hanzi))));
    }
}

void WindowRoute::playAgain() {
    mediaPlayer1_.play();
}

void WindowRoute::ShowStrokeOrder(const std::string& hanzi) {
    strokes::ShowStrokeOrder(hanzi, store_, screenColourDepth());
}

bool WindowRoute::askToGoBack(const std::string&) {
    return selection::NotFoundDialog::ask(&dialogParent_) == selection::kDialogYes;
}

}  // namespace qir::app
