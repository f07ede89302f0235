// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/fonts.h"

#include <QString>
#include <QStringList>

namespace qir {
namespace {

QString kaitiFamily() {
    return QString::fromUtf8("楷体_GB2312");
}

void substituteKaiti() {
    QFont::insertSubstitutions(kaitiFamily(), QStringList{QStringLiteral("AR PL KaitiM GB"),
                                                          QStringLiteral("AR PL UKai CN")});
}

}  // namespace

void installFontSubstitutions() {
    QFont::insertSubstitutions(
        QStringLiteral("MS Sans Serif"),
        QStringList{QStringLiteral("DejaVu Sans"), QStringLiteral("Nimbus Sans")});
    QFont::insertSubstitutions(
        QStringLiteral("MS Serif"),
        QStringList{QStringLiteral("Nimbus Roman"), QStringLiteral("DejaVu Serif")});
    substituteKaiti();
}

QFont kaitiFont() {
    if (!QFont::substitutes(kaitiFamily()).contains(QStringLiteral("AR PL KaitiM GB"))) {
        substituteKaiti();
    }
    QFont font(kaitiFamily());
    font.setPixelSize(15);
    font.setStyleStrategy(QFont::PreferMatch);
    return font;
}

}  // namespace qir
