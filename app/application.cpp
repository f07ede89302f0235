// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/application.h"

#include <utility>

namespace qir::app {

Application::Application(Desktop& desktop, InstanceAddress instance)
    : desktop_(desktop), instance_(std::move(instance)) {}

InstanceClaim Application::claimInstance() {
    return instanceChannel_.claim(instance_);
}

selection::CharacterSelection& Application::createSelection(selection::CharacterRoute& route) {
    selection_ = std::make_unique<selection::CharacterSelection>(route);
    return *selection_;
}

}  // namespace qir::app
