// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The route of a shown character through this program: the store answers, the player shows
// the clip, the stroke display table (and so the grid) takes the steps, and the not-found
// dialog asks the user.
#ifndef QIR_APP_INTERNALS
#error "app/window_route.h is private to app/"
#endif

#include "selection/character_route.h"

class QWidget;

namespace qir::animation {
class MediaPlayer;
}
namespace qir::store {
class CharacterStore;
}

namespace qir::app {

class WindowRoute : public selection::CharacterRoute {
  public:
    // `dialogParent` centres the not-found dialog; everything outlives the route.
    WindowRoute(store::CharacterStore& store, animation::MediaPlayer& mediaPlayer1,
                QWidget& dialogParent);

    bool holds(const std::string& hanzi) override;
    std::string PriorCharacter(const std::string& hanzi) override;
    std::string NextCharacter(const std::string& hanzi) override;
    void ShowAnimation(const std::string& hanzi) override;
    void playAgain() override;
    void ShowStrokeOrder(const std::string& hanzi) override;
    bool askToGoBack(const std::string& hanzi) override;

  private:
    store::CharacterStore& store_;
    animation::MediaPlayer& mediaPlayer1_;
    QWidget& dialogParent_;
    // Which temporary file the next clip goes to: true "tmp1.avi", false "tmp2.avi".
    bool AviToggle = false;
};

}  // namespace qir::app
