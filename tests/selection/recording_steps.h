#pragma once
// Display steps that record each call, for checking the sequences' order.

#include <functional>
#include <set>
#include <string>
#include <vector>

#include "platform/errors.h"
#include "selection/character_selection.h"

namespace qir::selection::testing {

class RecordingSteps {
  public:
    // Each call as "<step> <argument>".
    std::vector<std::string> calls;
    // Characters Query2 finds; everything else is missing from the store.
    std::set<std::string> stored = {"\xD3\xF0", "\xD2\xBB"};  // 羽 一
    int dialogAnswer = kDialogYes;
    std::string prior = "\xB0\xB2";  // 安
    std::string next = "\xB0\xD9";   // 百
    // Runs inside ShowAnimation, once, to stand for events handled while a sequence runs.
    std::function<void()> duringAnimation;
    // A step by this name throws an error with `failureMessage`.
    std::string failingStep;
    std::string failureMessage = "No MCI device open";

    DisplaySteps steps() {
        DisplaySteps steps;
        steps.ShowAnimation = [this](const std::string& hanzi) {
            record("ShowAnimation", hanzi);
            if (auto inside = std::exchange(duringAnimation, nullptr)) {
                inside();
            }
        };
        steps.play = [this] { record("play", ""); };
        steps.ShowStrokeOrder = [this](const std::string& hanzi) {
            record("ShowStrokeOrder", hanzi);
        };
        steps.PriorCharacter = [this](const std::string& hanzi) {
            record("PriorCharacter", hanzi);
            return prior;
        };
        steps.NextCharacter = [this](const std::string& hanzi) {
            record("NextCharacter", hanzi);
            return next;
        };
        steps.query2RecordCount = [this](const std::string& hanzi) {
            record("Query2", hanzi);
            return stored.count(hanzi) ? 1 : 0;
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
            throw Error("EMCIDeviceError", failureMessage);
        }
    }
};

}  // namespace qir::selection::testing
