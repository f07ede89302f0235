// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Display steps that record each call as "<step> <argument>", for checking the sequences.

#include <functional>
#include <set>
#include <string>
#include <vector>

#include "platform/errors.h"
#include "selection/character_selection.h"

namespace qir::selection::testing {

class RecordingSteps {
  public:
    std::vector<std::string> calls;
    std::set<std::string> stored = {"\xD3\xF0", "\xD2\xBB"};  // what Query2 finds: 羽 一
    int dialogAnswer = kDialogYes;
    // Runs once inside ShowAnimation: events handled while a sequence runs.
    std::function<void()> duringAnimation;
    // The step of this name throws the player's error.
    std::string failingStep;

    DisplaySteps steps() {
        DisplaySteps steps;
        steps.ShowAnimation = [this](const std::string& hanzi) {
            record("ShowAnimation", hanzi);
            if (auto inside = std::exchange(duringAnimation, nullptr)) {
                inside();
            }
        };
        steps.play = [this] { record("play", ""); };
        steps.ShowStrokeOrder = [this](const std::string& h) { record("ShowStrokeOrder", h); };
        steps.PriorCharacter = [this](const std::string& hanzi) {
            record("PriorCharacter", hanzi);
            return std::string("\xB0\xB2");  // 安
        };
        steps.NextCharacter = [this](const std::string& hanzi) {
            record("NextCharacter", hanzi);
            return std::string("\xB0\xD9");  // 百
        };
        steps.query2RecordCount = [this](const std::string& hanzi) {
            record("Query2", hanzi);
            return static_cast<int>(stored.count(hanzi));
        };
        steps.notFoundDialog = [this] {
            record("dialog", "");
            return dialogAnswer;
        };
        return steps;
    }

  private:
    void record(const std::string& step, const std::string& argument) {
        calls.push_back(argument.empty() ? step : step + " " + argument);
        if (step == failingStep) {
            throw Error("EMCIDeviceError", "No MCI device open");
        }
    }
};

}  // namespace qir::selection::testing
