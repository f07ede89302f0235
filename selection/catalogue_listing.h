// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The readable listing the catalogue is kept in: one group per line, "6画: 安百...羽 约...".
// A blank right after a character belongs to that entry; lines starting with "#" are comments.

#ifndef QIR_SELECTION_INTERNALS
#error "selection/catalogue_listing.h is private to its folder"
#endif

#include <string_view>
#include <vector>

#include "selection/catalogue_format.h"

namespace qir::selection {

// Turns the UTF-8 listing into groups of GB2312 nodes with the stored node values. A line
// without ": ", an entry that is not one GB2312 character, or a stray blank throws
// std::invalid_argument naming the line.
std::vector<CatalogueNodeRecord> parseCatalogueListing(std::string_view utf8);

}  // namespace qir::selection
