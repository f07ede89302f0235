// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/practice_sources.h"

#include "platform/gb2312.h"

namespace qir::app {

void givePracticeSources(practice_window::PracticeWindow& window, store::VectorTable& vectors,
                         std::function<store::FactsTable&()> facts) {
    window.setCharacterSource(
        [&vectors](const std::string& hanzi) -> std::optional<practice::PracticeCharacter> {
            try {
                return practice::practiceCharacter(gb2312::toUnicode(hanzi), vectors);
            } catch (const std::exception&) {
                return std::nullopt;
            }
        });
    window.setHandwritingSources({vectors.file().parent_path()});
    window.setFactsSource([facts = std::move(facts)](const std::string& hanzi) -> QString {
        try {
            const std::optional<store::CharacterFacts> found = facts().find(hanzi);
            return found ? store::readingsAndGloss(*found) : QString();
        } catch (const std::exception&) {
            return {};  // the facts are a help; practice goes on without them
        }
    });
}

}  // namespace qir::app
