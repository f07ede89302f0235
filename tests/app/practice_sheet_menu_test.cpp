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
#include <QTest>
#include <fstream>
#include <iterator>
#include <set>

#include "app/practice_sheet_actions.h"
#include "handwriting_pad/handwriting_pad.h"
#include "platform/gb2312.h"
#include "practice_window/practice_window.h"
#include "selection/catalogue_tree.h"
#include "store/character_facts.h"
#include "store/table_file.h"
#include "tests/app/form_fixture.h"
#include "tests/sheet/poppler.h"
#include "tests/sheet/test_strokes.h"
#include "tests/sheet/vector_table_file.h"
#include "tests/support/failing_disk.h"

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

    // The catalogue's node of `hanzi`, shown, so that it can be clicked.
    selection::CatalogueNode* catalogueNode(const std::string& hanzi) {
        auto* tree = fixture.control<selection::CatalogueTree>("TreeView1");
        for (QTreeWidgetItemIterator it(tree); *it; ++it) {
            auto* node = dynamic_cast<selection::CatalogueNode*>(*it);
            if (node != nullptr && gb2312::trimmed(node->bytes()) == hanzi) {
                tree->expandItem(node->parent());
                tree->scrollToItem(node);
                return node;
            }
        }
        return nullptr;
    }

    // Right-clicks the catalogue at `item`'s place and returns the menu that opens.
    QMenu* catalogueMenuAt(QTreeWidgetItem* item) {
        auto* tree = fixture.control<selection::CatalogueTree>("TreeView1");
        const QPoint at = tree->visualItemRect(item).center();
        QContextMenuEvent event(QContextMenuEvent::Mouse, at, tree->viewport()->mapToGlobal(at));
        QApplication::sendEvent(tree->viewport(), &event);
        const QList<QMenu*> menus = tree->findChildren<QMenu*>();
        return menus.isEmpty() ? nullptr : menus.back();
    }

    static void writeFactsOfYong(const fs::path& folder) {
        store::CharacterFacts facts;
        facts.readings = {"yǒng"};
        facts.gloss = "long, perpetual & eternal";
        facts.radical = "水";
        facts.radicalVariant = "氵";
        facts.radicalNumber = 85;
        facts.remainingStrokes = 1;
        facts.totalStrokes = 5;
        const std::string row = store::encodeCharacterFacts(facts);
        store::writeTableFile(folder / store::kFactsTable.fileName, store::kFactsTable,
                              {{testing::kYong, Bytes(row.begin(), row.end())}});
    }

    FormFixture fixture;
    ScriptedDialogs scripted;
};

TEST_F(PracticeSheetMenu, TheCharactersFactsAreTheMenusFirstInertLine) {
    writeFactsOfYong(folder());
    choose(testing::kYong);
    EXPECT_FALSE(fixture.form().practiceSheetActions().factsTableOpen());
    for (const char* name : {"Panelavi", "DBCtrlGrid1"}) {
        QMenu* menu = contextMenuOf(name);
        ASSERT_NE(menu, nullptr) << name;
        const QList<QAction*> entries = menu->actions();
        ASSERT_EQ(entries.size(), 5) << name;
        // An ampersand of the gloss is shown, not taken for a keyboard accelerator.
        EXPECT_EQ(entries[0]->text(),
                  QStringLiteral("永 yǒng — long, perpetual && eternal · 部首 水 (氵) · 5画"));
        EXPECT_FALSE(entries[0]->isEnabled());
        EXPECT_TRUE(entries[1]->isSeparator());
        EXPECT_EQ(entries[2]->text(), QStringLiteral("Print practice sheet…"));
        EXPECT_TRUE(entries[2]->isEnabled());
        EXPECT_EQ(entries[3]->text(), QStringLiteral("Save practice sheet as PDF…"));
        EXPECT_EQ(entries[4]->text(), QStringLiteral("Write it yourself…"));
        menu->close();
    }
    EXPECT_TRUE(fixture.form().practiceSheetActions().factsTableOpen());
}

TEST_F(PracticeSheetMenu, ACharacterTheFactsLackHasNoFactsLine) {
    writeFactsOfYong(folder());
    choose(testing::kWo);
    QMenu* menu = contextMenuOf("Panelavi");
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(menu->actions().size(), 3);
    EXPECT_EQ(menu->actions()[0]->text(), QStringLiteral("Print practice sheet…"));
    menu->close();
}

TEST_F(PracticeSheetMenu, ACatalogueCharactersMenuShowsItAndMakesItsSheet) {
    fixture.form().show();
    writeFactsOfYong(folder());
    testing::writeVectorTable(folder(), {{testing::kYong, testing::barAndBeam()}});
    selection::CatalogueNode* node = catalogueNode(testing::kYong);
    ASSERT_NE(node, nullptr);
    QMenu* menu = catalogueMenuAt(node);
    ASSERT_NE(menu, nullptr);
    QList<QAction*> entries = menu->actions();
    ASSERT_EQ(entries.size(), 8);
    EXPECT_TRUE(entries[6]->isSeparator());
    EXPECT_EQ(entries[7]->text(), handwriting_pad::findByDrawingText());
    EXPECT_FALSE(entries[0]->isEnabled());
    EXPECT_TRUE(entries[0]->text().startsWith(QStringLiteral("永 yǒng — ")));
    EXPECT_EQ(entries[2]->text(), QStringLiteral("Show"));
    EXPECT_EQ(entries[3]->text(), QStringLiteral("Print practice sheet…"));
    // Ctrl+P prints the character shown, not this one.
    EXPECT_TRUE(entries[3]->shortcut().isEmpty());
    EXPECT_EQ(entries[4]->text(), QStringLiteral("Save practice sheet as PDF…"));
    EXPECT_EQ(entries[5]->text(), QStringLiteral("Write it yourself…"));
    EXPECT_TRUE(entries[5]->shortcut().isEmpty());
    // The right click itself chose nothing; its sheet is that of the clicked character.
    EXPECT_EQ(fixture.form().CurrentHanzi(), "");
    scripted.saveTo = folder() / "yong.pdf";
    entries[4]->trigger();
    QCoreApplication::processEvents();  // each entry runs once the menu's handler has returned
    EXPECT_EQ(scripted.saveAsked, 1);
    EXPECT_TRUE(fs::exists(folder() / "yong.pdf"));
    EXPECT_EQ(fixture.form().CurrentHanzi(), "");

    entries[2]->trigger();
    QCoreApplication::processEvents();
    fixture.desktop().errors.clear();  // the store's other tables are not here
    EXPECT_EQ(gb2312::trimmed(fixture.form().CurrentHanzi()), testing::kYong);
    menu->close();

    // A group label's menu only finds a character by drawing it.
    QMenu* groupMenu = catalogueMenuAt(node->parent());
    ASSERT_NE(groupMenu, nullptr);
    ASSERT_EQ(groupMenu->actions().size(), 1);
    EXPECT_EQ(groupMenu->actions()[0]->text(), handwriting_pad::findByDrawingText());
    groupMenu->close();
}

TEST_F(PracticeSheetMenu, WithNoCurrentCharacterTheEntriesAreDisabledAndCtrlPOnlyBeeps) {
    fixture.form().show();
    for (const char* name : {"Panelavi", "DBCtrlGrid1"}) {
        QMenu* menu = contextMenuOf(name);
        ASSERT_NE(menu, nullptr) << name;
        const QList<QAction*> entries = menu->actions();
        ASSERT_EQ(entries.size(), 3) << name;
        EXPECT_EQ(entries[0]->text(), QStringLiteral("Print practice sheet…"));
        EXPECT_EQ(entries[0]->shortcut(), QKeySequence(QKeySequence::Print));
        EXPECT_EQ(entries[1]->text(), QStringLiteral("Save practice sheet as PDF…"));
        EXPECT_EQ(entries[2]->text(), QStringLiteral("Write it yourself…"));
        EXPECT_EQ(entries[2]->shortcut(), app::kWriteItYourselfKey);
        EXPECT_FALSE(entries[0]->isEnabled()) << name;
        EXPECT_FALSE(entries[1]->isEnabled()) << name;
        EXPECT_FALSE(entries[2]->isEnabled()) << name;
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

TEST_F(PracticeSheetMenu, WriteItYourselfOpensThePracticeWindowOnTheCurrentCharacter) {
    testing::writeVectorTable(folder(), {{testing::kYong, testing::barAndBeam()}});
    writeFactsOfYong(folder());
    choose(testing::kYong);
    QMenu* menu = contextMenuOf("DBCtrlGrid1");
    ASSERT_NE(menu, nullptr);
    QAction* write = menu->actions().back();
    ASSERT_EQ(write->text(), QStringLiteral("Write it yourself…"));
    ASSERT_TRUE(write->isEnabled());
    write->trigger();
    QCoreApplication::processEvents();  // the entry runs once the menu's handler has returned
    EXPECT_TRUE(fixture.desktop().errors.isEmpty())
        << fixture.desktop().errors.join('\n').toStdString();
    auto* practice = fixture.form().findChild<practice_window::PracticeWindow*>();
    ASSERT_NE(practice, nullptr);
    EXPECT_TRUE(practice->isWindow());
    EXPECT_TRUE(practice->isVisible());
    EXPECT_EQ(practice->session().strokeCount(), 2);
    EXPECT_EQ(practice->record().file(), folder() / practice::kPracticeRecordFile);
    // The readings and the gloss under the box.
    EXPECT_EQ(practice->factsText(), QStringLiteral("yǒng — long, perpetual & eternal"));
    practice->close();
}

// After a character is typed the input box has the keyboard; the shortcut must reach the
// window from there. (Ctrl+E, the box's "end of line" under X11's key bindings, would not;
// the offscreen platform has no such binding, so the real pointer test covers X11.)
TEST_F(PracticeSheetMenu, TheShortcutOpensThePracticeWindowWhileTheInputBoxHasTheKeyboard) {
    testing::writeVectorTable(folder(), {{testing::kYong, testing::barAndBeam()}});
    choose(testing::kYong);
    fixture.form().show();
    fixture.form().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&fixture.form()));
    auto* edit = fixture.control<QWidget>("Edit1");
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_W, Qt::ControlModifier | Qt::ShiftModifier);
    auto* practice = fixture.form().findChild<practice_window::PracticeWindow*>();
    ASSERT_NE(practice, nullptr);
    EXPECT_TRUE(practice->isVisible());
    practice->close();
}

TEST_F(PracticeSheetMenu, AFullDiskKeepsTheSheetThatWasThereAndSaysSo) {
    testing::writeVectorTable(folder(), {{testing::kYong, testing::barAndBeam()}});
    choose(testing::kYong);
    scripted.saveTo = folder() / "yong.pdf";
    fixture.form().practiceSheetActions().saveAsPdf();
    ASSERT_TRUE(fixture.desktop().errors.isEmpty());
    const auto contentOf = [](const fs::path& file) {
        std::ifstream in(file, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    };
    const std::string good = contentOf(*scripted.saveTo);
    const auto namesIn = [](const fs::path& place) {
        std::set<std::string> names;
        for (const auto& entry : fs::directory_iterator(place)) {
            names.insert(entry.path().filename().string());
        }
        return names;
    };
    const std::set<std::string> before = namesIn(folder());

    {
        const testing::DiskFullAfter disk(1000);
        fixture.form().practiceSheetActions().saveAsPdf();
    }
    ASSERT_EQ(fixture.desktop().errors.size(), 1);
    EXPECT_EQ(fixture.desktop().errors[0],
              QStringLiteral("Cannot create file %1: the disk is full.")
                  .arg(QString::fromStdString(scripted.saveTo->string())));
    EXPECT_EQ(contentOf(*scripted.saveTo), good);
    EXPECT_EQ(namesIn(folder()), before);
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

TEST_F(PracticeSheetMenu, TheSheetDialogShapesTheSheetAndItsChoicesAreRemembered) {
    testing::writeVectorTable(
        folder(), {{testing::kYong, testing::barAndBeam()}, {testing::kWo, testing::barAndBeam()}});
    choose(testing::kYong);
    std::vector<sheet::SheetOptions> offered;
    std::vector<QString> offeredText;
    QString group;
    QString refusal;
    app::SheetDialogs dialogs = scripted.dialogs();
    dialogs.askSheet = [&](QWidget*, sheet_dialog::SheetDialog::Purpose purpose,
                           const QString& text, const sheet::SheetOptions& options,
                           sheet_dialog::SheetSources sources) -> std::optional<app::SheetRequest> {
        EXPECT_EQ(purpose, sheet_dialog::SheetDialog::Purpose::SaveAsPdf);
        offered.push_back(options);
        offeredText.push_back(text);
        group = sources.currentGroup();
        sources.characters(QStringLiteral("永a"), refusal);
        sheet::SheetOptions chosen = options;
        chosen.grid = sheet::Grid::Mi;
        chosen.title = QStringLiteral("Week 3");
        return app::SheetRequest{QStringLiteral("永我永"), chosen};
    };
    fixture.form().practiceSheetActions().setDialogs(dialogs);
    scripted.saveTo = folder() / "three.pdf";
    fixture.form().practiceSheetActions().saveAsPdf();
    EXPECT_TRUE(fixture.desktop().errors.isEmpty())
        << fixture.desktop().errors.join('\n').toStdString();
    ASSERT_EQ(offered.size(), 1u);
    EXPECT_EQ(offeredText[0], QStringLiteral("永"));
    EXPECT_EQ(offered[0].grid, sheet::Grid::Tian);
    // 永 is in the catalogue's group of five strokes.
    EXPECT_TRUE(group.contains(QStringLiteral("永"))) << group.toStdString();
    EXPECT_TRUE(refusal.startsWith(QStringLiteral("\"a\" cannot go on the sheet")))
        << refusal.toStdString();
    const QString text = testing::pdfText(*scripted.saveTo);
    EXPECT_EQ(text.count(QStringLiteral("2 strokes")), 3) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("Week 3")));

    // The next sheet starts from the choices made.
    scripted.saveTo = folder() / "again.pdf";
    fixture.form().practiceSheetActions().saveAsPdf();
    ASSERT_EQ(offered.size(), 2u);
    EXPECT_EQ(offered[1].grid, sheet::Grid::Mi);
    EXPECT_EQ(offered[1].title, QStringLiteral("Week 3"));
    EXPECT_TRUE(fs::exists(folder() / app::kSheetSettingsFile));
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
