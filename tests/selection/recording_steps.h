// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A route that records each call as "<step> <argument>", for checking the sequences.

#include <functional>
#include <set>
#include <string>
#include <vector>

#include "platform/errors.h"
#include "selection/character_route.h"
#include "selection/not_found_dialog.h"

namespace qir::selection::testing {

class RecordingSteps : public CharacterRoute {
  public:
    std::vector<std::string> calls;
    std::set<std::string> stored = {"\xD3\xF0", "\xD2\xBB"};  // what Query2 finds: 羽 一
    int dialogAnswer = kDialogYes;
    // Runs once inside ShowAnimation: events handled while a sequence runs.
    std::function<void()> duringAnimation;
    // The step of this name throws the player's error.
    std::string failingStep;

    bool holds(const std::string& hanzi) override {
        record("Query2", hanzi);
        return stored.count(hanzi) != 0;
    }
    std::string PriorCharacter(const std::string& hanzi) override {
        record("PriorCharacter", hanzi);
        return "\xB0\xB2";  // 安
    }
    std::string NextCharacter(const std::string& hanzi) override {
        record("NextCharacter", hanzi);
        return "\xB0\xD9";  // 百
    }
    void ShowAnimation(const std::string& hanzi) override {
        record("ShowAnimation", hanzi);
        if (auto inside = std::exchange(duringAnimation, nullptr)) {
            inside();
        }
    }
    void playAgain() override { record("play", ""); }
    void ShowStrokeOrder(const std::string& hanzi) override { record("ShowStrokeOrder", hanzi); }
    bool askToGoBack(const std::string&) override {
        record("dialog", "");
        return dialogAnswer == kDialogYes;
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
