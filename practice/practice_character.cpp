// SPDX-License-Identifier: GPL-3.0-or-later
#include "practice/practice_character.h"

#include <QList>

#include "platform/errors.h"
#include "platform/gb2312.h"
#include "practice/character_medians.h"

namespace qir::practice {
namespace {

[[noreturn]] void refuse(const QString& character, const char* reason) {
    throw Error(
        "EPracticeError",
        (nameOfCharacter(character) + QLatin1Char(' ') + QLatin1String(reason)).toStdString());
}

}  // namespace

QString nameOfCharacter(const QString& character) {
    const QList<uint> codePoints = character.toUcs4();
    const uint first = codePoints.isEmpty() ? 0 : codePoints.front();
    if (!codePoints.isEmpty() && QChar::isPrint(first) && first != QChar::ReplacementCharacter) {
        return QStringLiteral("\"%1\"").arg(character);
    }
    return QStringLiteral("U+") +
           QString::number(first, 16).toUpper().rightJustified(4, QLatin1Char('0'));
}

PracticeCharacter practiceCharacter(const QString& character, store::VectorTable& table) {
    const QList<uint> codePoints = character.toUcs4();
    if (codePoints.size() != 1) {
        throw Error("EPracticeError", "The text is not one character");
    }
    const uint codePoint = codePoints.front();
    if (codePoint == QChar::ReplacementCharacter) {
        refuse(character, "is not valid UTF-8 text");
    }
    if (QChar::script(codePoint) != QChar::Script_Han) {
        refuse(character, "is not a Chinese character");
    }
    const std::optional<std::string> bytes = gb2312::fromUnicode(character);
    if (!bytes || !gb2312::isGb2312Hanzi(*bytes)) {
        refuse(character, "is outside GB2312, whose 6,763 Chinese characters the store holds");
    }
    const std::optional<store::StrokeVectors> vectors = table.find(*bytes);
    if (!vectors || vectors->strokes.empty()) {
        refuse(character, "is not in the character store");
    }
    return {*bytes, characterMedians(*vectors), characterOutlines(*vectors)};
}

}  // namespace qir::practice
