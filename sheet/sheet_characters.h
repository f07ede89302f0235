// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Which characters of a text go on a practice sheet: every Chinese character of GB2312 that
// the vector table holds, in order, repeats kept. Blanks separate nothing and are left out
// silently; everything else that cannot go on the sheet is named with the reason.

#include <QString>
#include <string>
#include <vector>

#include "sheet/practice_sheet.h"
#include "store/vector_table.h"

namespace qir::sheet {

// More than a class hands out at once; a text beyond it is refused as a whole.
inline constexpr int kMostSheetCharacters = 1000;

struct LeftOutCharacter {
    QString character;
    int position = 0;  // among the text's characters, blanks not counted, from 1
    std::string reason;
};

struct SheetSelection {
    std::vector<SheetCharacter> characters;
    std::vector<LeftOutCharacter> leftOut;
};

// The number of characters of `text` that count: all but blanks.
int countedCharacters(const QString& text);

// Looks every character of `text` up in `table`, and its facts in `facts` when given. Throws
// Error "The text holds N characters; a practice sheet takes at most 1000" for a longer text,
// and the vector table's EngineError when it cannot be read.
SheetSelection selectSheetCharacters(const QString& text, store::VectorTable& table,
                                     store::FactsTable* facts = nullptr);

// How a left-out character is named in a message: "A", or U+0007 for what does not print.
QString characterName(const QString& character);

}  // namespace qir::sheet
