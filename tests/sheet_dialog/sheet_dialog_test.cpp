// SPDX-License-Identifier: GPL-3.0-or-later
// The sheet dialog as a teacher fills it in: values refused with their reason beside the field,
// the catalogue group added, the preview following each change.
#include "sheet_dialog/sheet_dialog.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPrintPreviewWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>

#include "sheet/sheet_characters.h"
#include "tests/sheet/test_strokes.h"

namespace qir::sheet_dialog {
namespace {

using Purpose = SheetDialog::Purpose;

// Every Chinese character has the same two strokes here; Latin letters cannot go on a sheet.
SheetSources sources(int* lookups = nullptr) {
    SheetSources made;
    made.characters = [lookups](const QString& text, QString& reason) {
        if (lookups != nullptr) {
            ++*lookups;
        }
        std::vector<sheet::SheetCharacter> found;
        for (const QChar c : text) {
            if (c.isSpace()) {
                continue;
            }
            if (c.unicode() < 0x4E00) {
                reason =
                    QStringLiteral("%1 cannot go on the sheet: not a Chinese character").arg(c);
                continue;
            }
            found.push_back({QString(c), testing::barAndBeam()});
        }
        return found;
    };
    made.currentGroup = [] { return QStringLiteral("二十丁厂七"); };
    return made;
}

// The reason label shown beside `field`, if any.
QString reasonBeside(const SheetDialog& dialog, QWidget* field) {
    for (QLabel* label : dialog.findChildren<QLabel*>()) {
        if (label->isVisibleTo(&dialog) && !label->text().isEmpty() &&
            label->palette().color(QPalette::WindowText) == QColor(176, 0, 32) &&
            label->parentWidget() == field->parentWidget() &&
            std::abs(label->geometry().top() - field->geometry().bottom()) < 40) {
            return label->text();
        }
    }
    return {};
}

bool waitForPreview(const SheetDialog& dialog, int paintsBefore) {
    return QTest::qWaitFor([&] { return dialog.previewPaints() > paintsBefore; }, 1000);
}

TEST(SheetDialog, RefusesEachBadValueWithItsReasonAndAcceptsOnceAllAreMended) {
    SheetDialog dialog(Purpose::SaveAsPdf, QStringLiteral("永"), sheet::SheetOptions{}, sources());
    dialog.show();
    ASSERT_TRUE(dialog.acceptable()) << dialog.problems().toStdString();
    EXPECT_TRUE(dialog.acceptButton()->isEnabled());

    dialog.boxField()->setEditText(QStringLiteral("100"));
    EXPECT_FALSE(dialog.acceptButton()->isEnabled());
    EXPECT_EQ(reasonBeside(dialog, dialog.boxField()),
              QStringLiteral("the box must be 12 to 24 mm"));
    dialog.boxField()->setEditText(QStringLiteral("0"));
    EXPECT_FALSE(dialog.acceptable());
    dialog.boxField()->setEditText(QStringLiteral("wide"));
    EXPECT_FALSE(dialog.acceptable());
    EXPECT_FALSE(reasonBeside(dialog, dialog.boxField()).isEmpty());
    dialog.boxField()->setEditText(QStringLiteral("20 mm"));
    EXPECT_TRUE(dialog.acceptable()) << dialog.problems().toStdString();
    EXPECT_DOUBLE_EQ(dialog.options().box, 20.0);

    dialog.titleField()->setText(QString(10000, QLatin1Char('x')));
    EXPECT_FALSE(dialog.acceptButton()->isEnabled());
    EXPECT_TRUE(reasonBeside(dialog, dialog.titleField()).contains(QStringLiteral("10000")));
    dialog.titleField()->setText(QStringLiteral("三年级二班 Week 3"));
    EXPECT_TRUE(dialog.acceptable());

    dialog.traceRowsField()->setValue(0);
    dialog.buildRowField()->setChecked(false);
    dialog.copyRowsField()->setValue(0);
    EXPECT_EQ(dialog.problems(), QStringLiteral("choose at least one practice row"));
    dialog.fillPageField()->setChecked(true);
    EXPECT_TRUE(dialog.acceptable());

    dialog.charactersField()->setPlainText(QStringLiteral("永a我"));
    EXPECT_FALSE(dialog.acceptable());
    EXPECT_EQ(reasonBeside(dialog, dialog.charactersField()),
              QStringLiteral("a cannot go on the sheet: not a Chinese character"));
    dialog.charactersField()->setPlainText(QStringLiteral(" \n "));
    EXPECT_FALSE(dialog.acceptable());
    dialog.charactersField()->setPlainText(QString(sheet::kMostSheetCharacters + 1, QChar(0x6C38)));
    EXPECT_TRUE(dialog.problems().contains(QStringLiteral("at most 1000")));
    dialog.charactersField()->setPlainText(QStringLiteral("永 我"));
    ASSERT_TRUE(dialog.acceptable());

    // Accepting with a refused value does nothing.
    dialog.boxField()->setEditText(QStringLiteral("30"));
    QTest::mouseClick(dialog.acceptButton(), Qt::LeftButton);
    EXPECT_EQ(dialog.result(), 0);
    EXPECT_TRUE(dialog.isVisible());
    dialog.boxField()->setEditText(QStringLiteral("12"));
    QTest::mouseClick(dialog.acceptButton(), Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    const sheet::SheetOptions chosen = dialog.options();
    EXPECT_DOUBLE_EQ(chosen.box, 12.0);
    EXPECT_EQ(chosen.title, QStringLiteral("三年级二班 Week 3"));
    EXPECT_TRUE(chosen.fillPage);
    EXPECT_EQ(dialog.text(), QStringLiteral("永 我"));
}

TEST(SheetDialog, StartsFromTheRememberedChoicesAndAddsTheCatalogueGroup) {
    sheet::SheetOptions remembered;
    remembered.grid = sheet::Grid::Jiu;
    remembered.box = 20;
    remembered.traceRows = 2;
    remembered.copyRows = 3;
    remembered.title = QStringLiteral("Week 3");
    remembered.nameLine = true;
    remembered.pinyin = false;
    remembered.paper = sheet::Paper::Letter;
    SheetDialog dialog(Purpose::Print, QStringLiteral("十"), remembered, sources());
    EXPECT_EQ(dialog.options(), remembered);
    QTest::mouseClick(dialog.addGroupButton(), Qt::LeftButton);
    EXPECT_EQ(dialog.text().remove(QLatin1Char(' ')), QStringLiteral("十二十丁厂七"));

    SheetSources withoutCatalogue = sources();
    withoutCatalogue.currentGroup = [] { return QString(); };
    SheetDialog alone(Purpose::Print, QStringLiteral("十"), remembered, withoutCatalogue);
    EXPECT_FALSE(alone.addGroupButton()->isEnabled());
}

TEST(SheetDialog, ThePreviewFollowsEachChangeWithTheFirstPagesCharacters) {
    SheetDialog dialog(Purpose::Print, QStringLiteral("永"), sheet::SheetOptions{}, sources());
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    ASSERT_TRUE(waitForPreview(dialog, 0));
    EXPECT_EQ(dialog.previewedCharacters(), 1);

    int paints = dialog.previewPaints();
    QElapsedTimer clock;
    clock.start();
    dialog.gridField()->setCurrentIndex(
        dialog.gridField()->findData(static_cast<int>(sheet::Grid::Mi)));
    ASSERT_TRUE(waitForPreview(dialog, paints));
    std::printf("preview after a change: %lld ms\n", static_cast<long long>(clock.elapsed()));

    // A long text: the preview paints only what its first page can hold.
    paints = dialog.previewPaints();
    dialog.charactersField()->setPlainText(QString(40, QChar(0x6C38)));
    ASSERT_TRUE(waitForPreview(dialog, paints));
    EXPECT_GE(dialog.previewedCharacters(), 2);
    EXPECT_LE(dialog.previewedCharacters(), 8);

    // A refused value leaves the last good page.
    paints = dialog.previewPaints();
    const int previewed = dialog.previewedCharacters();
    dialog.boxField()->setEditText(QStringLiteral("99"));
    EXPECT_FALSE(waitForPreview(dialog, paints));
    EXPECT_EQ(dialog.previewedCharacters(), previewed);
}

}  // namespace
}  // namespace qir::sheet_dialog
