// SPDX-License-Identifier: GPL-3.0-or-later
#include "facts/info_command.h"

#include <QStringList>
#include <optional>
#include <string_view>

#include "platform/errors.h"
#include "platform/gb2312.h"

namespace qir::facts {
namespace {

constexpr const char* kProgram = "qir-stroke";

void say(std::FILE* stream, const QString& text) {
    std::fprintf(stream, "%s: %s\n", kProgram, text.toUtf8().constData());
}

QString numberText(const std::optional<int>& number) {
    return number ? QString::number(*number) : QString();
}

// "A" in quotes, or U+0007 for what does not print.
QString characterName(char32_t codePoint, const QString& character) {
    if (QChar::isPrint(codePoint) && codePoint != QChar::ReplacementCharacter) {
        return QStringLiteral("\"%1\"").arg(character);
    }
    return QStringLiteral("U+") +
           QString::number(codePoint, 16).toUpper().rightJustified(4, QLatin1Char('0'));
}

// Why a character cannot be described, or nothing when it can be looked up.
std::optional<QString> refusalOf(char32_t codePoint, const QString& character,
                                 std::optional<std::string>& bytes) {
    if (codePoint == QChar::ReplacementCharacter) {
        return QStringLiteral("not valid UTF-8 text");
    }
    if (QChar::script(codePoint) != QChar::Script_Han) {
        return QStringLiteral("not a Chinese character");
    }
    bytes = gb2312::fromUnicode(character);
    if (!bytes || !gb2312::isGb2312Hanzi(*bytes)) {
        return QStringLiteral("outside GB2312, whose 6,763 Chinese characters the store holds");
    }
    return std::nullopt;
}

}  // namespace

QString infoLine(const QString& character, const store::CharacterFacts& facts) {
    QStringList readings;
    for (const std::string& reading : facts.readings) {
        readings << QString::fromStdString(reading);
    }
    return QStringList{character,
                       readings.join(QStringLiteral(", ")),
                       QString::fromStdString(facts.radical),
                       numberText(facts.remainingStrokes),
                       numberText(facts.totalStrokes),
                       QString::fromStdString(facts.gloss)}
        .join(QLatin1Char('\t'));
}

int runInfo(const QString& text, const std::filesystem::path& storeFolder, std::FILE* out,
            std::FILE* err) {
    try {
        store::FactsTable table(storeFolder);
        int described = 0;
        int refused = 0;
        int position = 0;
        for (const char32_t codePoint : text.toUcs4()) {
            if (QChar::isSpace(codePoint)) {
                continue;
            }
            ++position;
            const QString character = QString::fromUcs4(&codePoint, 1);
            std::optional<std::string> bytes;
            std::optional<QString> refusal = refusalOf(codePoint, character, bytes);
            std::optional<store::CharacterFacts> facts;
            if (!refusal) {
                facts = table.find(*bytes);
                if (!facts) {
                    refusal = QStringLiteral("the character facts do not describe it");
                }
            }
            if (refusal) {
                say(err, QStringLiteral("cannot describe character %1, %2: %3")
                             .arg(position)
                             .arg(characterName(codePoint, character), *refusal));
                ++refused;
                continue;
            }
            std::fprintf(out, "%s\n", infoLine(character, *facts).toUtf8().constData());
            ++described;
        }
        if (described == 0) {
            say(err, position == 0 ? QStringLiteral("--info: the text holds no characters")
                                   : QStringLiteral("no character could be described"));
            return kNoneDescribed;
        }
        return refused == 0 ? kAllDescribed : kSomeNotDescribed;
    } catch (const std::exception& error) {
        say(err, QString::fromStdString(withFullStop(error.what())));
        if (std::string_view(error.what()).starts_with("Cannot open table")) {
            say(err, QStringLiteral("the character store is read from %1")
                         .arg(QString::fromStdString(storeFolder.string())));
        }
        return kNoneDescribed;
    }
}

cli::Command infoCommand(const std::filesystem::path& storeFolder, std::FILE* out, std::FILE* err) {
    cli::Command command;
    command.selector = {QStringLiteral("info"), QStringLiteral("TEXT"),
                        QStringLiteral("print each character's readings, radical, remaining "
                                       "strokes, stroke count and gloss, one tab-separated "
                                       "line a character")};
    command.usage = QStringLiteral("--info TEXT");
    command.help = QStringLiteral(
        "Exit status of --info: 0 every character was described; 3 some were not (named on\n"
        "standard error); 1 none; 2 the command line was wrong.\n");
    command.run = [storeFolder, out, err](const cli::Invocation& given) {
        return runInfo(given.text(QStringLiteral("info")), storeFolder, out, err);
    };
    return command;
}

}  // namespace qir::facts
