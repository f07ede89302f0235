// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/fonts.h"

#include <QFont>
#include <QString>
#include <QStringList>

namespace qir {

void installFontSubstitutions() {
    QFont::insertSubstitutions(
        QStringLiteral("MS Sans Serif"),
        QStringList{QStringLiteral("DejaVu Sans"), QStringLiteral("Nimbus Sans")});
    QFont::insertSubstitutions(
        QStringLiteral("MS Serif"),
        QStringList{QStringLiteral("Nimbus Roman"), QStringLiteral("DejaVu Serif")});
    QFont::insertSubstitutions(
        QString::fromUtf8("楷体_GB2312"),
        QStringList{QStringLiteral("AR PL KaitiM GB"), QStringLiteral("AR PL UKai CN")});
}

}  // namespace qir
