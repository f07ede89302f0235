// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The catalogue's content as stored with the main window: generated at build time from
// selection/catalogue.txt.

#ifndef QIR_SELECTION_INTERNALS
#error "selection/catalogue_block.h is private to its folder"
#endif

#include <span>

namespace qir::selection {

std::span<const unsigned char> storedCatalogueBlock();

}  // namespace qir::selection
