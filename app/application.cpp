// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/application.h"

#include <utility>

#include "desktop/window_activation.h"
#include "store/navigation.h"

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

selection::CharacterSelection& Application::createSelection(selection::DisplaySteps windowSteps) {
    windowSteps.PriorCharacter = [this](const std::string& hanzi) {
        return store::priorCharacter(store_.tablenextprev, hanzi);
    };
    windowSteps.NextCharacter = [this](const std::string& hanzi) {
        return store::nextCharacter(store_.tablenextprev, hanzi);
    };
    windowSteps.query2RecordCount = [this](const std::string& hanzi) {
        store::Query& query2 = store_.query2;
        query2.close();
        query2.setParamAsString(hanzi);
        query2.open();
        return query2.recordCount();
    };
    selection_ = std::make_unique<selection::CharacterSelection>(std::move(windowSteps));
    return *selection_;
}

}  // namespace qir::app
