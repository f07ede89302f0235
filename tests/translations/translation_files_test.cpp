// SPDX-License-Identifier: GPL-3.0-or-later
// The translation sources in translations/: the Chinese one translates every text, keeps
// each text's placeholders, and lrelease finds nothing unfinished; and both files hold exactly
// the texts the sources mark, so a new tr() without its translation fails here.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <map>
#include <set>
#include <tuple>

#include "translations/translations.h"

namespace {

const QString kSourceDir = QStringLiteral(QIR_SOURCE_DIR);
const QString kChinese = kSourceDir + QStringLiteral("/translations/qir-stroke_zh_CN.ts");
const QString kEnglish = kSourceDir + QStringLiteral("/translations/qir-stroke_en.ts");

struct Message {
    QString context;
    QString source;
    QString comment;
    QString type;              // "", "unfinished", "vanished", "obsolete"
    QStringList translations;  // one, or one per plural form
    bool operator<(const Message& other) const {
        return std::tie(context, source, comment) <
               std::tie(other.context, other.source, other.comment);
    }
};

std::vector<Message> readTs(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        ADD_FAILURE() << "cannot read " << path.toStdString();
        return {};
    }
    std::vector<Message> messages;
    QXmlStreamReader xml(&file);
    QString context;
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement()) {
            continue;
        }
        if (xml.name() == QLatin1String("name")) {
            context = xml.readElementText();
        } else if (xml.name() == QLatin1String("message")) {
            Message message{context, {}, {}, {}, {}};
            while (!(xml.isEndElement() && xml.name() == QLatin1String("message")) &&
                   !xml.atEnd()) {
                xml.readNext();
                if (!xml.isStartElement()) {
                    continue;
                }
                if (xml.name() == QLatin1String("source")) {
                    message.source = xml.readElementText();
                } else if (xml.name() == QLatin1String("comment")) {
                    message.comment = xml.readElementText();
                } else if (xml.name() == QLatin1String("translation")) {
                    message.type = xml.attributes().value(QLatin1String("type")).toString();
                    // Plural forms come as <numerusform> children.
                    QString text;
                    while (!(xml.isEndElement() && xml.name() == QLatin1String("translation"))) {
                        xml.readNext();
                        if (xml.isCharacters()) {
                            text += xml.text();
                        } else if (xml.isStartElement() &&
                                   xml.name() == QLatin1String("numerusform")) {
                            message.translations << xml.readElementText();
                        }
                    }
                    if (message.translations.isEmpty()) {
                        message.translations << text;
                    }
                }
            }
            messages.push_back(message);
        }
    }
    EXPECT_FALSE(xml.hasError()) << path.toStdString() << ": " << xml.errorString().toStdString();
    return messages;
}

// "%1", "%2", ... as a set: a translation must fill in what its source text does.
std::set<QString> placeholders(const QString& text) {
    static const QRegularExpression marker(QStringLiteral("%[1-9]"));
    std::set<QString> found;
    for (const QRegularExpressionMatch& match : marker.globalMatch(text)) {
        found.insert(match.captured());
    }
    return found;
}

struct ToolRun {
    int exitCode = -1;
    QString output;
};

ToolRun run(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    if (!process.waitForFinished(120000)) {
        return {};
    }
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAll())};
}

std::set<Message> keys(const std::vector<Message>& messages) {
    std::set<Message> set;
    for (const Message& message : messages) {
        set.insert({message.context, message.source, message.comment, {}, {}});
    }
    return set;
}

std::string described(const std::set<Message>& messages) {
    std::string text;
    for (const Message& message : messages) {
        text +=
            "  " + message.context.toStdString() + ": \"" + message.source.toStdString() + "\"\n";
    }
    return text;
}

TEST(TranslationFiles, ChineseTranslatesEveryTextWithItsPlaceholders) {
    const std::vector<Message> messages = readTs(kChinese);
    ASSERT_GT(messages.size(), 40u);
    std::map<QString, QString> byText;
    for (const Message& message : messages) {
        const std::string where =
            message.context.toStdString() + ": \"" + message.source.toStdString() + "\"";
        EXPECT_TRUE(message.type.isEmpty()) << where << " is " << message.type.toStdString();
        for (const QString& translation : message.translations) {
            EXPECT_FALSE(translation.trimmed().isEmpty()) << where << " has no translation";
            EXPECT_EQ(placeholders(translation), placeholders(message.source))
                << where << " → \"" << translation.toStdString() << "\"";
            // An ellipsis promises a dialog; the translation keeps the promise.
            EXPECT_EQ(translation.endsWith(QChar(0x2026)), message.source.endsWith(QChar(0x2026)))
                << where;
        }
        byText[message.source] = message.translations.value(0);
    }
    // The context menu as a Chinese teacher reads it.
    EXPECT_EQ(byText[QStringLiteral("Print practice sheet…")], QStringLiteral("打印练习纸…"));
    EXPECT_EQ(byText[QStringLiteral("Save practice sheet as PDF…")],
              QStringLiteral("将练习纸另存为 PDF…"));
    EXPECT_EQ(byText[QStringLiteral("Write it yourself…")], QStringLiteral("自己写一写…"));
}

// Each text's context is the class or name the code translates it under, qualified with its
// namespaces: lupdate names a context without them when it loses track of a namespace, and
// the program would then never find the translation.
TEST(TranslationFiles, ContextsAreTheProgramsQualifiedNames) {
    for (const QString& ts : {kChinese, kEnglish}) {
        for (const Message& message : readTs(ts)) {
            EXPECT_TRUE(message.context.startsWith(QLatin1String("qir::")))
                << message.context.toStdString() << ": \"" << message.source.toStdString() << "\"";
        }
    }
}

// The program's embedded translation is the file's: every text reads as the file says.
TEST(TranslationFiles, TheProgramReadsEveryTextAsTheChineseFileTranslatesIt) {
    const qir::translations::Translations translations(QLocale(QStringLiteral("zh_CN")));
    ASSERT_TRUE(translations.ownLoaded());
    for (const Message& message : readTs(kChinese)) {
        EXPECT_EQ(QCoreApplication::translate(
                      message.context.toUtf8().constData(), message.source.toUtf8().constData(),
                      message.comment.isEmpty() ? nullptr : message.comment.toUtf8().constData()),
                  message.translations.value(0))
            << message.source.toStdString();
    }
}

TEST(TranslationFiles, LreleaseFindsNothingUnfinished) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    for (const QString& ts : {kChinese, kEnglish}) {
        const QString qm = folder.filePath(QStringLiteral("out.qm"));
        const ToolRun made = run(QStringLiteral(QIR_LRELEASE), {ts, QStringLiteral("-qm"), qm});
        ASSERT_EQ(made.exitCode, 0) << made.output.toStdString();
        EXPECT_FALSE(made.output.contains(QStringLiteral("untranslated")))
            << made.output.toStdString();
        static const QRegularExpression unfinished(QStringLiteral("(\\d+) unfinished"));
        const QRegularExpressionMatch match = unfinished.match(made.output);
        if (match.hasMatch()) {
            EXPECT_EQ(match.captured(1), QStringLiteral("0")) << made.output.toStdString();
        }
        EXPECT_TRUE(QFile::exists(qm));
        QFile::remove(qm);
    }
}

// lupdate, run as scripts/update-translations.sh runs it, over copies of the files: the
// texts it finds in the sources are the texts the files hold.
TEST(TranslationFiles, HoldExactlyTheTextsTheSourcesMark) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    QStringList copies;
    for (const QString& ts : {kChinese, kEnglish}) {
        const QString copy = folder.filePath(QFileInfo(ts).fileName());
        ASSERT_TRUE(QFile::copy(ts, copy));
        copies << copy;
    }
    const ToolRun updated = run(kSourceDir + QStringLiteral("/scripts/update-translations.sh"),
                                QStringList({QStringLiteral(QIR_LUPDATE)}) + copies);
    ASSERT_EQ(updated.exitCode, 0) << updated.output.toStdString();
    for (int i = 0; i < copies.size(); ++i) {
        const std::vector<Message> before = readTs(i == 0 ? kChinese : kEnglish);
        const std::vector<Message> after = readTs(copies[i]);
        const std::set<Message> was = keys(before);
        const std::set<Message> is = keys(after);
        std::set<Message> added;
        std::set<Message> gone;
        std::set_difference(is.begin(), is.end(), was.begin(), was.end(),
                            std::inserter(added, added.end()));
        std::set_difference(was.begin(), was.end(), is.begin(), is.end(),
                            std::inserter(gone, gone.end()));
        EXPECT_TRUE(added.empty()) << copies[i].toStdString()
                                   << ": texts of the sources the file lacks (run "
                                      "scripts/update-translations.sh and translate them):\n"
                                   << described(added);
        EXPECT_TRUE(gone.empty()) << copies[i].toStdString()
                                  << ": texts the sources no longer mark:\n"
                                  << described(gone);
        // Nothing lupdate would mark unfinished either: the copy is as complete as the file.
        for (const Message& message : after) {
            if (i == 0) {
                EXPECT_NE(message.type, QStringLiteral("unfinished"))
                    << message.source.toStdString();
            }
        }
    }
}

}  // namespace
