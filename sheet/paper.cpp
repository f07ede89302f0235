// SPDX-License-Identifier: GPL-3.0-or-later
// The sheet's paper: its size and margins, and the locale's choice of paper.
#include <langinfo.h>
#include <locale.h>

#include <QPageSize>
#include <cstdint>

#include "sheet/practice_sheet.h"

namespace qir::sheet {
namespace {

// Millimetres on every edge; every printer reaches that far.
constexpr double kMargin = 10.0;

}  // namespace

QPageLayout sheetPageLayout(Paper paper) {
    const QPageSize size(paper == Paper::Letter ? QPageSize::Letter : QPageSize::A4);
    return QPageLayout(size, QPageLayout::Portrait, QMarginsF(kMargin, kMargin, kMargin, kMargin),
                       QPageLayout::Millimeter);
}

Paper localePaper() {
    // A private locale object, so that the process's own locale stays as it is.
    const locale_t paper = ::newlocale(LC_PAPER_MASK, "", static_cast<locale_t>(nullptr));
    if (paper == static_cast<locale_t>(nullptr)) {
        return Paper::A4;
    }
    // glibc answers this item with a number in the pointer's place.
    const auto width =
        static_cast<int>(reinterpret_cast<std::intptr_t>(::nl_langinfo_l(_NL_PAPER_WIDTH, paper)));
    ::freelocale(paper);
    return width == 216 ? Paper::Letter : Paper::A4;
}

}  // namespace qir::sheet
