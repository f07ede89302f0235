// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Contact sheets for reviewing stroke order by eye: per character a row of the store's own
// step pictures as the data has them and, for a corrected character, a row as corrected, each
// step numbered and labelled with its stroke class and the reference's stroke name.

#include <QImage>
#include <filesystem>
#include <vector>

#include "tools/order_checker/reference_order.h"
#include "tools/store_builder/character_set.h"
#include "tools/store_builder/order_corrections.h"

namespace qir::tools {

// Renders the sheet for `characters`. Needs a QGuiApplication (fonts). Throws StrokeDataError
// for a character whose data cannot be read.
QImage renderContactSheet(const std::vector<CharacterEntry>& characters,
                          const std::filesystem::path& dataFolder,
                          const OrderCorrections& corrections, const ReferenceOrders& reference,
                          int cell = 93);

}  // namespace qir::tools
