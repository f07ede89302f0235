// SPDX-License-Identifier: GPL-3.0-or-later
// Figures for the selection side of a request: reading the stored catalogue, building the
// tree when the window is created, filtering typed text, and a click's way to the steps.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QInputMethodEvent>
#include <QTest>

#include "desktop/desktop.h"
#include "selection/catalogue_block.h"
#include "selection/catalogue_format.h"
#include "selection/catalogue_tree.h"
#include "selection/character_selection.h"
#include "selection/hanzi_edit.h"
#include "selection/key_filter.h"

namespace {

using namespace qir::selection;

class SilentDesktop : public qir::Desktop {
  public:
    void beep() override {}
    void openDocument(const QString&) override {}
    void showError(const QString&) override {}
};

void DecodeStoredCatalogue(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(decodeCatalogue(storedCatalogueBlock()));
    }
}
BENCHMARK(DecodeStoredCatalogue)->Unit(benchmark::kMicrosecond);

void CreateCatalogueTree(benchmark::State& state) {
    for (auto _ : state) {
        CatalogueTree tree;
        benchmark::DoNotOptimize(tree.topLevelItemCount());
    }
}
BENCHMARK(CreateCatalogueTree)->Unit(benchmark::kMillisecond);

void FilterTypedCharacter(benchmark::State& state) {
    const QString yu = QString::fromUtf8("羽");
    for (auto _ : state) {
        benchmark::DoNotOptimize(filterTypedText(yu, 2));
    }
}
BENCHMARK(FilterTypedCharacter);

// A route whose steps do nothing but count the characters shown.
struct CountingRoute : CharacterRoute {
    int shown = 0;
    bool holds(const std::string&) override { return true; }
    std::string PriorCharacter(const std::string& hanzi) override { return hanzi; }
    std::string NextCharacter(const std::string& hanzi) override { return hanzi; }
    void ShowAnimation(const std::string&) override {}
    void playAgain() override {}
    void ShowStrokeOrder(const std::string&) override { ++shown; }
    bool askToGoBack(const std::string&) override { return true; }
};

// A committed character through the box and the sequence, with steps that do nothing.
void CommitToSequence(benchmark::State& state) {
    SilentDesktop desktop;
    CountingRoute route;
    CharacterSelection selection(route);
    HanziEdit edit(desktop);
    QObject::connect(&edit, &QLineEdit::textChanged, [&] { selection.Edit1Change(edit.bytes()); });
    for (auto _ : state) {
        QInputMethodEvent commit;
        commit.setCommitString(QString::fromUtf8("羽"));
        QApplication::sendEvent(&edit, &commit);
        edit.clear();
    }
    benchmark::DoNotOptimize(route.shown);
}
BENCHMARK(CommitToSequence)->Unit(benchmark::kMicrosecond);

// A left click on a catalogue character down to the steps.
void ClickCatalogueCharacter(benchmark::State& state) {
    CountingRoute route;
    CharacterSelection selection(route);
    CatalogueTree tree;
    QObject::connect(&tree, &CatalogueTree::clickedInTree,
                     [&] { selection.TreeView1Click(tree.selectedNodeText()); });
    tree.show();
    QTreeWidgetItem* group = tree.topLevelItem(0);
    tree.setCurrentItem(group);
    QTreeWidgetItem* yi = group->child(0);
    const QRect cell = tree.visualItemRect(yi);
    const QPoint point(cell.left() + 20, cell.center().y());
    for (auto _ : state) {
        QTest::mouseClick(tree.viewport(), Qt::LeftButton, {}, point);
    }
}
BENCHMARK(ClickCatalogueCharacter)->Unit(benchmark::kMicrosecond);

}  // namespace
