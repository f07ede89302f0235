// SPDX-License-Identifier: GPL-3.0-or-later
#include "sheet/sheet_style.h"

#include "desktop/fonts.h"

namespace qir::sheet::style {

QFont textFont(double points, bool bold) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

QFont kaiFont(double points) {
    QFont font = kaitiFont();
    font.setPointSizeF(points);
    return font;
}

}  // namespace qir::sheet::style
