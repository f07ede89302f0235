// SPDX-License-Identifier: GPL-3.0-or-later
#include "sheet/sheet_characters.h"

#include "platform/errors.h"
#include "platform/gb2312.h"

namespace qir::sheet {
namespace {

// Calls `visit(codePoint, asText)` for each character of `text` but blanks.
template <typename Visit>
void forEachCounted(const QString& text, Visit visit) {
    for (const char32_t codePoint : text.toUcs4()) {
        if (QChar::isSpace(codePoint)) {
            continue;
        }
        visit(codePoint, QString::fromUcs4(&codePoint, 1));
    }
}

}  // namespace

int countedCharacters(const QString& text) {
    int count = 0;
    forEachCounted(text, [&](char32_t, const QString&) { ++count; });
    return count;
}

QString characterName(const QString& character) {
    const QList<uint> codePoints = character.toUcs4();
    const bool prints = !codePoints.isEmpty() && QChar::isPrint(codePoints.front()) &&
                        codePoints.front() != QChar::ReplacementCharacter;
    if (prints) {
        return QStringLiteral("\"%1\"").arg(character);
    }
    const uint codePoint = codePoints.isEmpty() ? 0 : codePoints.front();
    return QStringLiteral("U+") +
           QString::number(codePoint, 16).toUpper().rightJustified(4, QLatin1Char('0'));
}

store::CharacterFacts sheetFacts(store::FactsTable& table, const std::string& hanzi) {
    try {
        return table.find(hanzi).value_or(store::CharacterFacts{});
    } catch (const std::exception&) {
        return {};
    }
}

SheetSelection selectSheetCharacters(const QString& text, store::VectorTable& table,
                                     store::FactsTable* facts) {
    const int count = countedCharacters(text);
    if (count > kMostSheetCharacters) {
        throw Error("ESheetError", "The text holds " + std::to_string(count) +
                                       " characters; a practice sheet takes at most " +
                                       std::to_string(kMostSheetCharacters));
    }
    SheetSelection selection;
    int position = 0;
    forEachCounted(text, [&](char32_t codePoint, const QString& character) {
        ++position;
        const auto leaveOut = [&](const char* reason) {
            selection.leftOut.push_back({character, position, reason});
        };
        if (codePoint == QChar::ReplacementCharacter) {
            leaveOut("not valid UTF-8 text");
            return;
        }
        if (QChar::script(codePoint) != QChar::Script_Han) {
            leaveOut("not a Chinese character");
            return;
        }
        const std::optional<std::string> bytes = gb2312::fromUnicode(character);
        if (!bytes || !gb2312::isGb2312Hanzi(*bytes)) {
            leaveOut("outside GB2312, whose 6,763 Chinese characters the store holds");
            return;
        }
        std::optional<store::StrokeVectors> strokes = table.find(*bytes);
        if (!strokes) {
            leaveOut("not in the character store");
            return;
        }
        selection.characters.push_back(
            {character, std::move(*strokes),
             facts != nullptr ? sheetFacts(*facts, *bytes) : store::CharacterFacts{}});
    });
    return selection;
}

}  // namespace qir::sheet
