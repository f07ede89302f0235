// SPDX-License-Identifier: GPL-3.0-or-later
// Renders the input box above the catalogue as the window shows them; with QIR_SELECTION_GRAB
// set, the picture is written there for a person to look at.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QInputMethodEvent>
#include <QPainter>

#include "selection/catalogue_tree.h"
#include "selection/hanzi_edit.h"
#include "tests/support/recording_desktop.h"

namespace qir::selection {
namespace {

TEST(SelectionLook, TheTreeAndTheBoxDrawTheirCharacters) {
    qir::testing::RecordingDesktop desktop;
    HanziEdit edit(desktop);
    QInputMethodEvent commit;
    commit.setCommitString(QString::fromUtf8("羽"));
    QCoreApplication::sendEvent(&edit, &commit);
    CatalogueTree tree;
    QPixmap folder(16, 16);
    folder.fill(QColor(240, 200, 40));
    tree.setNodeImages({QIcon(folder), QIcon(), QIcon(), QIcon(folder)});
    tree.topLevelItem(5)->setExpanded(true);
    tree.setCurrentItem(tree.topLevelItem(5)->child(1));

    QImage picture(114, 23 + 317, QImage::Format_RGB32);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    painter.drawPixmap(0, 0, edit.grab());
    painter.drawPixmap(0, 23, tree.grab());
    painter.end();
    // Ink where the box's character and the first labels are drawn.
    int ink = 0;
    for (const QRect area : {QRect(0, 0, 40, 23), QRect(30, 25, 70, 18)}) {
        for (int y = area.top(); y <= area.bottom(); ++y) {
            for (int x = area.left(); x <= area.right(); ++x) {
                ink += qGray(picture.pixel(x, y)) < 100 ? 1 : 0;
            }
        }
        EXPECT_GT(ink, 20);
        ink = 0;
    }
    if (const QString path = qEnvironmentVariable("QIR_SELECTION_GRAB"); !path.isEmpty()) {
        picture.scaled(picture.size() * 2).save(path);
    }
}

}  // namespace
}  // namespace qir::selection
