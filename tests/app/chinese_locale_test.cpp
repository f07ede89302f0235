// SPDX-License-Identifier: GPL-3.0-or-later
// The program for a Chinese user (this process runs under zh_CN.UTF-8, see chinese_main.cpp),
// with the translations installed as the program installs them: our menus and sheets read
// Chinese, Qt's own dialogs too, the window's own texts stay as they are, the help button
// opens the Chinese page, and no menu is written in the Kai font.
#include <gtest/gtest.h>

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFontInfo>
#include <QMenu>
#include <QPushButton>
#include <QToolTip>

#include "app/practice_sheet_actions.h"
#include "platform/gb2312.h"
#include "selection/catalogue_tree.h"
#include "selection/hanzi_edit.h"
#include "selection/not_found_dialog.h"
#include "sheet/practice_sheet.h"
#include "sheet/sheet_options.h"
#include "tests/app/form_fixture.h"
#include "tests/sheet/poppler.h"
#include "tests/sheet/test_strokes.h"
#include "translations/translations.h"

namespace qir {
namespace {

using testing::FormFixture;

QStringList entryTexts(const QMenu& menu) {
    QStringList texts;
    for (const QAction* action : menu.actions()) {
        if (!action->isSeparator()) {
            texts << action->text();
        }
    }
    return texts;
}

bool isKai(const QFont& font) {
    const QString family = QFontInfo(font).family();
    return family.contains(QLatin1String("Kai"), Qt::CaseInsensitive) ||
           family.contains(QString::fromUtf8("楷"));
}

// Where QIR_SCREENSHOT_DIR names a folder, the pictures a reviewer looks at are kept there.
void keepScreenshot(QWidget& widget, const char* name) {
    const QString folder = qEnvironmentVariable("QIR_SCREENSHOT_DIR");
    if (!folder.isEmpty()) {
        widget.grab().save(folder + QLatin1Char('/') + QString::fromLatin1(name));
    }
}

TEST(ChineseLocale, TheProgramFindsBothTranslations) {
    ASSERT_EQ(QLocale().language(), QLocale::Chinese);
    const translations::Translations translations;
    EXPECT_TRUE(translations.ownLoaded());
    // Debian's qt6-translations-l10n, which the package recommends and the set-up installs.
    EXPECT_TRUE(translations.qtLoaded()) << translations::qtTranslationsFolder().toStdString();
}

TEST(ChineseLocale, TheContextMenuReadsChineseAndEnglishAgainWithoutTheTranslations) {
    FormFixture fixture;
    const std::string yong = *gb2312::fromUnicode(QStringLiteral("永"));
    app::PracticeSheetActions actions(
        &fixture.form(), fixture.desktop(), [&] { return yong; },
        [] { return std::filesystem::current_path(); }, {});
    {
        const translations::Translations translations;
        std::unique_ptr<QMenu> menu(actions.createContextMenu(nullptr));
        EXPECT_EQ(entryTexts(*menu),
                  (QStringList{QStringLiteral("打印练习纸…"), QStringLiteral("将练习纸另存为 PDF…"),
                               QStringLiteral("自己写一写…")}));
        std::unique_ptr<QMenu> characterMenu(actions.createCharacterMenu(nullptr, yong, [] {}));
        EXPECT_EQ(entryTexts(*characterMenu).value(0), QStringLiteral("显示"));
        // Latin letters in a menu are not drawn with a brush; nor is the Chinese, where the
        // system has a plain Chinese font.
        EXPECT_FALSE(isKai(menu->font())) << QFontInfo(menu->font()).family().toStdString();
        EXPECT_FALSE(isKai(QApplication::font("QTipLabel")));
        menu->popup({0, 0});
        keepScreenshot(*menu, "zh_CN-context-menu.png");
        menu->hide();
    }
    std::unique_ptr<QMenu> english(actions.createContextMenu(nullptr));
    EXPECT_EQ(entryTexts(*english).value(0), QStringLiteral("Print practice sheet…"));
}

TEST(ChineseLocale, QtsOwnDialogsReadChinese) {
    const translations::Translations translations;
    QDialogButtonBox buttons(QDialogButtonBox::Save | QDialogButtonBox::Cancel);
    EXPECT_EQ(buttons.button(QDialogButtonBox::Cancel)->text(), QStringLiteral("取消"));
    EXPECT_EQ(buttons.button(QDialogButtonBox::Save)->text(), QStringLiteral("保存"));

    // The file dialog of "Save practice sheet as PDF…", as Qt draws it without the desktop's.
    QFileDialog dialog(nullptr, app::PracticeSheetActions::tr("Save practice sheet as PDF"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilter(app::PracticeSheetActions::tr("PDF documents (*.pdf)"));
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("将练习纸另存为 PDF"));
    QStringList texts;
    for (const QPushButton* button : dialog.findChildren<QPushButton*>()) {
        texts << button->text();
    }
    EXPECT_TRUE(texts.contains(QStringLiteral("取消"))) << texts.join(u'|').toStdString();
    EXPECT_FALSE(texts.contains(QStringLiteral("Cancel"))) << texts.join(u'|').toStdString();
    for (const QWidget* widget : dialog.findChildren<QWidget*>()) {
        EXPECT_FALSE(isKai(widget->font())) << widget->metaObject()->className();
    }
    keepScreenshot(dialog, "zh_CN-file-dialog.png");
    dialog.hide();
}

TEST(ChineseLocale, TheWindowsOwnTextsStayAsTheyAre) {
    const translations::Translations translations;
    FormFixture fixture;
    EXPECT_EQ(fixture.form().windowTitle(), QStringLiteral("QIR Demonstration of stroke order"));
    const std::map<const char*, QString> hints{
        {"Label2", QStringLiteral("Visit Qir Demonstration of stroke order's web site")},
        {"Imageexit", QStringLiteral("Exit from QIR Demonstration of stroke order")},
        {"Imagemini", QStringLiteral("Minimize window")},
        {"Imagehelp", QStringLiteral("Help of QIR Demonstration of stroke order")},
        {"Imagenext", QStringLiteral("Next character")},
        {"Imageprev", QStringLiteral("Last character")},
        {"Edit1", QStringLiteral("Input character")}};
    for (const auto& [name, hint] : hints) {
        EXPECT_EQ(fixture.control(name)->toolTip(), hint) << name;
    }
    selection::NotFoundDialog notFound;
    EXPECT_EQ(notFound.windowTitle(), QStringLiteral("Confirm"));
    EXPECT_EQ(notFound.yesButton()->text(), QStringLiteral("&Yes"));
    // The Kai font stays where the window's design puts it.
    EXPECT_TRUE(isKai(fixture.control("Edit1")->font()));
    EXPECT_TRUE(isKai(fixture.control("TreeView1")->font()));
}

TEST(ChineseLocale, TheHelpButtonOpensTheChinesePageWhereTheFolderHasIt) {
    FormFixture fixture;
    QWidget* help = fixture.control("Imagehelp");
    const auto click = [&] {
        FormFixture::send(help, QEvent::MouseButtonPress, {2, 2}, Qt::LeftButton, Qt::LeftButton);
        FormFixture::send(help, QEvent::MouseButtonRelease, {2, 2}, Qt::LeftButton, Qt::NoButton);
    };
    click();  // the scratch folder has neither page yet
    QFile page(QStringLiteral("help_zh_CN.htm"));
    ASSERT_TRUE(page.open(QIODevice::WriteOnly));
    page.close();
    click();
    EXPECT_EQ(fixture.desktop().opened,
              (QStringList{QStringLiteral("help.htm"), QStringLiteral("help_zh_CN.htm")}));
}

TEST(ChineseLocale, TheSheetsWordsAreChinese) {
    const translations::Translations translations;
    testing::ScratchDirectory scratch;
    const std::filesystem::path pdf = scratch.path() / "sheet.pdf";
    sheet::writePracticeSheetPdf(pdf, {{QStringLiteral("丁"), testing::barAndBeam(), {}}},
                                 sheet::SheetOptions{.paper = sheet::Paper::A4},
                                 AtomicFile::Existing::Refuse);
    const testing::PdfInfo info = testing::pdfInfo(pdf);
    EXPECT_EQ(info.title, QStringLiteral("练习纸： 丁"));
    const QString text = testing::pdfText(pdf);
    EXPECT_TRUE(text.contains(QStringLiteral("2画"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("第1页 共1页"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("先描灰色的字"))) << text.toStdString();
    // The rows' labels, written downwards: one character a line.
    for (const QString& label : {QStringLiteral("描\n红"), QStringLiteral("笔\n顺"),
                                 QStringLiteral("临\n写")}) {
        EXPECT_TRUE(text.contains(label)) << label.toStdString() << "\n" << text.toStdString();
    }
    EXPECT_FALSE(text.contains(QStringLiteral("strokes"))) << text.toStdString();
}

}  // namespace
}  // namespace qir
