// SPDX-License-Identifier: GPL-3.0-or-later
#include "selection/kaiti_font.h"

#include <QStringList>

namespace qir::selection {

QFont kaitiFont() {
    const QString family = QString::fromUtf8("楷体_GB2312");
    if (!QFont::substitutes(family).contains(QStringLiteral("AR PL KaitiM GB"))) {
        QFont::insertSubstitutions(
            family, {QStringLiteral("AR PL KaitiM GB"), QStringLiteral("AR PL UKai CN")});
    }
    QFont font(family);
    font.setPixelSize(15);
    font.setStyleStrategy(QFont::PreferMatch);
    return font;
}

}  // namespace qir::selection
