// SPDX-License-Identifier: GPL-3.0-or-later
// The window's practice sheet: the context menu of the animation and the grid, Ctrl+P, and
// what printing and saving do, with the dialogs answered by the test.
#include <gtest/gtest.h>

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QPointer>
#include <QPrinter>
#include <QShortcut>

#include "app/practice_sheet_actions.h"
#include "platform/gb2312.h"
#include "selection/catalogue_tree.h"
#include "tests/app/form_fixture.h"
#include "tests/sheet/poppler.h"
#include "tests/sheet/test_strokes.h"
#include "tests/sheet/vector_table_file.h"

namespace qir {
namespace {

namespace fs = std::filesystem;
using testing::FormFixture;

// The dialogs, answered as a user would, and counted.
struct ScriptedDialogs {
    std::optional<fs::path> saveTo;
    std::optional<fs::path> printTo;  // the printer prints to this PDF; nothing: cancel
    int saveAsked = 0;
    int printAsked = 0;

    app::SheetDialogs dialogs() {
        return {[this](QWidget*, const QString&) {
                    ++saveAsked;
                    return saveTo;
                },
                [this](QWidget*, QPrinter& printer) {
                    ++printAsked;
                    if (!printTo) {
                        return false;
                    }
                    printer.setOutputFormat(QPrinter::PdfFormat);
                    printer.setOutputFileName(QString::fromStdString(printTo->string()));
                    return true;
                }};
    }
};

class PracticeSheetMenu : public ::testing::Test {
  protected:
    PracticeSheetMenu() { fixture.form().practiceSheetActions().setDialogs(scripted.dialogs()); }

    fs::path folder() const { return fs::current_path(); }

    // Right-clicks `name` and returns the menu that opens.
    QMenu* contextMenuOf(const char* name) {
        QWidget* widget = fixture.control(name);
        QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5),
                                widget->mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(widget, &event);
        const QList<QMenu*> menus = widget->findChildren<QMenu*>();
        return menus.isEmpty() ? nullptr : menus.back();
    }

    // Chooses the character in the catalogue, as a click would.
    void choose(const std::string& hanzi) {
        auto* tree = fixture.control<selection::CatalogueTree>("TreeView1");
        for (QTreeWidgetItemIterator it(tree); *it; ++it) {
            auto* node = dynamic_cast<selection::CatalogueNode*>(*it);
            if (node != nullptr && gb2312::trimmed(node->bytes()) == hanzi) {
                tree->setCurrentItem(node);
                emit tree->clickedInTree();
                // The store's other tables are not here, so the clip cannot be shown.
                fixture.desktop().errors.clear();
                return;
            }
        }
        FAIL() << "not in the catalogue";
    }

    FormFixture fixture;
    ScriptedDialogs scripted;
};

TEST_F(PracticeSheetMenu, WithNoCurrentCharacterTheEntriesAreDisabledAndCtrlPOnlyBeeps) {
    fixture.form().show();
    for (const char* name : {"Panelavi", "DBCtrlGrid1"}) {
        QMenu* menu = contextMenuOf(name);
        ASSERT_NE(menu, nullptr) << name;
        const QList<QAction*> entries = menu->actions();
        ASSERT_EQ(entries.size(), 2) << name;
        EXPECT_EQ(entries[0]->text(), QStringLiteral("Print practice sheet…"));
        EXPECT_EQ(entries[0]->shortcut(), QKeySequence(QKeySequence::Print));
        EXPECT_EQ(entries[1]->text(), QStringLiteral("Save practice sheet as PDF…"));
        EXPECT_FALSE(entries[0]->isEnabled()) << name;
        EXPECT_FALSE(entries[1]->isEnabled()) << name;
        menu->close();
    }
    auto* shortcut = fixture.form().findChild<QShortcut*>();
    ASSERT_NE(shortcut, nullptr);
    EXPECT_EQ(shortcut->key(), QKeySequence(QKeySequence::Print));
    emit shortcut->activated();
    EXPECT_EQ(fixture.desktop().beeps, 1);
    EXPECT_EQ(scripted.printAsked, 0);
    EXPECT_TRUE(fixture.desktop().errors.isEmpty());
}

TEST_F(PracticeSheetMenu, AChosenCharacterEnablesThemAndSavesItsSheet) {
    testing::writeVectorTable(folder(), {{testing::kYong, testing::barAndBeam()}});
    EXPECT_FALSE(fixture.form().practiceSheetActions().vectorTableOpen());
    choose(testing::kYong);
    QMenu* menu = contextMenuOf("Panelavi");
    ASSERT_NE(menu, nullptr);
    EXPECT_TRUE(menu->actions()[0]->isEnabled());
    ASSERT_TRUE(menu->actions()[1]->isEnabled());
    // Opening the table waits for the first sheet.
    EXPECT_FALSE(fixture.form().practiceSheetActions().vectorTableOpen());

    scripted.saveTo = folder() / "yong.pdf";
    // The dialog waits until the menu's handler has returned and the menu is gone.
    QPointer<QMenu> closing(menu);
    menu->popup(QPoint(10, 10));
    menu->setActiveAction(menu->actions()[1]);
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(menu, &enter);
    EXPECT_EQ(scripted.saveAsked, 0);
    bool menuAliveWhileAsked = true;
    const auto askSaveFile = scripted.dialogs().askSaveFile;
    fixture.form().practiceSheetActions().setDialogs(
        {[&](QWidget* parent, const QString& suggested) {
             menuAliveWhileAsked = !closing.isNull() && closing->isVisible();
             return askSaveFile(parent, suggested);
         },
         scripted.dialogs().askPrinter});
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(scripted.saveAsked, 1);
    EXPECT_FALSE(menuAliveWhileAsked);
    EXPECT_TRUE(fixture.desktop().errors.isEmpty())
        << fixture.desktop().errors.join('\n').toStdString();
    EXPECT_TRUE(fixture.form().practiceSheetActions().vectorTableOpen());
    EXPECT_EQ(testing::pdfInfo(*scripted.saveTo).pages, 1);
    EXPECT_TRUE(testing::pdfText(*scripted.saveTo).contains(QStringLiteral("2 strokes")));

    // Cancelled, nothing is written and nothing is said.
    scripted.saveTo.reset();
    fixture.form().practiceSheetActions().saveAsPdf();
    EXPECT_EQ(scripted.saveAsked, 2);
    EXPECT_TRUE(fixture.desktop().errors.isEmpty());
}

TEST_F(PracticeSheetMenu, PrintsThroughThePrintDialogAndACancelPrintsNothing) {
    testing::writeVectorTable(folder(), {{testing::kYong, testing::barAndBeam()}});
    choose(testing::kYong);
    fixture.form().practiceSheetActions().print();
    EXPECT_EQ(scripted.printAsked, 1);
    EXPECT_TRUE(fixture.desktop().errors.isEmpty());

    scripted.printTo = folder() / "printed.pdf";
    auto* shortcut = fixture.form().findChild<QShortcut*>();
    emit shortcut->activated();
    EXPECT_EQ(scripted.printAsked, 2);
    EXPECT_TRUE(fixture.desktop().errors.isEmpty())
        << fixture.desktop().errors.join('\n').toStdString();
    EXPECT_EQ(testing::pdfInfo(*scripted.printTo).pages, 1);
    EXPECT_EQ(fixture.desktop().beeps, 0);
}

TEST_F(PracticeSheetMenu, AMissingTableOrCharacterIsReportedBeforeAnyDialog) {
    choose(testing::kYong);
    scripted.saveTo = folder() / "yong.pdf";
    fixture.form().practiceSheetActions().saveAsPdf();
    ASSERT_EQ(fixture.desktop().errors.size(), 1);
    EXPECT_EQ(fixture.desktop().errors[0],
              QStringLiteral("Cannot open table bishunvec.db: the file does not exist."));
    EXPECT_EQ(scripted.saveAsked, 0);
    EXPECT_FALSE(fs::exists(*scripted.saveTo));

    // The table is tried again, and names a character it lacks.
    testing::writeVectorTable(folder(), {{testing::kWo, testing::barAndBeam()}});
    fixture.form().practiceSheetActions().print();
    ASSERT_EQ(fixture.desktop().errors.size(), 2);
    EXPECT_EQ(fixture.desktop().errors[1],
              QStringLiteral("Cannot make a practice sheet of 永: bishunvec.db does not hold its "
                             "strokes."));
    EXPECT_EQ(scripted.printAsked, 0);
}

}  // namespace
}  // namespace qir
