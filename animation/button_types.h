// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The player bar's button kinds and sets of them.

#include <cstdint>
#include <initializer_list>

namespace qir::animation {

enum class TMPBtnType {
    btPlay,
    btPause,
    btStop,
    btNext,
    btPrev,
    btStep,
    btBack,
    btRecord,
    btEject
};

inline constexpr int kButtonKindCount = 9;

inline constexpr TMPBtnType kAllButtons[kButtonKindCount] = {
    TMPBtnType::btPlay, TMPBtnType::btPause,  TMPBtnType::btStop,
    TMPBtnType::btNext, TMPBtnType::btPrev,   TMPBtnType::btStep,
    TMPBtnType::btBack, TMPBtnType::btRecord, TMPBtnType::btEject};

class TButtonSet {
  public:
    constexpr TButtonSet() = default;
    constexpr TButtonSet(std::initializer_list<TMPBtnType> buttons) {
        for (TMPBtnType button : buttons) {
            add(button);
        }
    }
    static constexpr TButtonSet all() {
        TButtonSet set;
        set.bits_ = (1u << kButtonKindCount) - 1;
        return set;
    }

    constexpr bool contains(TMPBtnType button) const { return (bits_ & bit(button)) != 0; }
    constexpr void add(TMPBtnType button) { bits_ |= bit(button); }
    constexpr void remove(TMPBtnType button) { bits_ &= ~bit(button); }
    constexpr bool empty() const { return bits_ == 0; }
    constexpr bool operator==(const TButtonSet&) const = default;
    constexpr TButtonSet operator+(TMPBtnType button) const {
        TButtonSet set = *this;
        set.add(button);
        return set;
    }
    constexpr std::uint32_t bits() const { return bits_; }

  private:
    static constexpr std::uint32_t bit(TMPBtnType button) {
        return 1u << static_cast<unsigned>(button);
    }
    std::uint32_t bits_ = 0;
};

}  // namespace qir::animation
