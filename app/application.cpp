// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/application.h"

#include <utility>

#include "desktop/window_activation.h"

namespace qir::app {

Application::Application(Desktop& desktop, InstanceAddress instance)
    : desktop_(desktop), instance_(std::move(instance)) {
    // Before the window answers the request: the token must be in place when it activates.
    QObject::connect(&instanceChannel_, &InstanceChannel::activationRequested, &instanceChannel_,
                     &useActivationToken);
}

InstanceClaim Application::claimInstance() {
    return instanceChannel_.claim(instance_);
}

selection::CharacterSelection& Application::createSelection(selection::CharacterRoute& route) {
    selection_ = std::make_unique<selection::CharacterSelection>(route);
    return *selection_;
}

}  // namespace qir::app
