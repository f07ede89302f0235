// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Practice sheets: for each character its header, its step sequence drawn from the stroke
// outlines, and rows of 田字格 boxes to trace and to copy, on A4 or Letter pages, printed or
// saved as PDF.

#include <QPageLayout>
#include <QString>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/atomic_file.h"
#include "store/character_facts.h"
#include "store/stroke_vectors.h"

class QPagedPaintDevice;

namespace qir::sheet {

struct SheetCharacter {
    QString text;  // the character itself, for the header
    store::StrokeVectors strokes;
    store::CharacterFacts facts{};  // readings, gloss and radical for the header; may be empty
};

// The facts of `hanzi` (GB2312 bytes) for a sheet, or none when the table lacks them or cannot
// be read: a sheet is made without them.
store::CharacterFacts sheetFacts(store::FactsTable& table, const std::string& hanzi);

enum class Paper { A4, Letter };
struct SheetOptions;

// Portrait `paper` with the sheet's margins.
QPageLayout sheetPageLayout(Paper paper);

// The paper the user's locale prints on (LC_PAPER): Letter where it is Letter, else A4.
Paper localePaper();

// Paints the sheet onto `device` as its page layout stands, one page after another, as
// `options` shape it (sheet_options.h; their paper is the device's business), and returns the
// number of pages. The device must be fresh: nothing painted on it yet. Throws Error "Cannot
// print the practice sheet: ..." when the device cannot be painted on.
int paintPracticeSheet(QPagedPaintDevice& device, const std::vector<SheetCharacter>& characters,
                       const SheetOptions& options);

// Writes the sheet to `file` as PDF on the options' paper, whole or not at all, and returns the
// number of pages. Throws Error "Cannot create file ...: ..." as AtomicFile does.
int writePracticeSheetPdf(const std::filesystem::path& file,
                          const std::vector<SheetCharacter>& characters,
                          const SheetOptions& options, AtomicFile::Existing existing);

}  // namespace qir::sheet
