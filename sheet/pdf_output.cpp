// SPDX-License-Identifier: GPL-3.0-or-later
// A practice sheet as a PDF file.
#include <QCoreApplication>
#include <QPdfWriter>

#include "sheet/practice_sheet.h"
#include "sheet/sheet_options.h"
#include "sheet/sheet_style.h"

namespace qir::sheet {

int writePracticeSheetPdf(const std::filesystem::path& file,
                          const std::vector<SheetCharacter>& characters,
                          const SheetOptions& options, AtomicFile::Existing existing) {
    AtomicFile output(file, existing);
    int pages = 0;
    {
        QPdfWriter writer(&output.device());
        writer.setPageLayout(sheetPageLayout(options.paper));
        writer.setCreator(style::kProgramName);
        QString title = QCoreApplication::translate("qir::sheet::PracticeSheet", "Practice sheet:");
        for (std::size_t i = 0; i < characters.size() && i < 40; ++i) {
            title += (i == 0 ? QStringLiteral(" ") : QString()) + characters[i].text;
        }
        writer.setTitle(characters.size() > 40 ? title + QStringLiteral("…") : title);
        pages = paintPracticeSheet(writer, characters, options);
    }
    output.commit();
    return pages;
}

}  // namespace qir::sheet
