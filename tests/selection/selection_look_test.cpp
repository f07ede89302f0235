// Renders the catalogue and the input box as the window shows them. With QIR_SELECTION_GRAB
// set, the picture is also written there for a person to look at.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QImage>
#include <QInputMethodEvent>
#include <QPainter>
#include <QPixmap>

#include "selection/catalogue_tree.h"
#include "selection/hanzi_edit.h"
#include "tests/support/recording_desktop.h"

namespace qir::selection {
namespace {

// Counts pixels clearly darker than the background.
int darkPixels(const QImage& image, const QRect& area) {
    int dark = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (qGray(image.pixel(x, y)) < 100) {
                ++dark;
            }
        }
    }
    return dark;
}

TEST(SelectionLook, TheTreeAndTheBoxDrawTheirCharacters) {
    qir::testing::RecordingDesktop desktop;
    HanziEdit edit(desktop);
    QInputMethodEvent commit;
    commit.setCommitString(QString::fromUtf8("羽"));
    QCoreApplication::sendEvent(&edit, &commit);

    CatalogueTree tree;
    QPixmap folder(16, 16);
    folder.fill(QColor(240, 200, 40));
    QPixmap page(16, 16);
    page.fill(Qt::white);
    {
        QPainter painter(&page);
        painter.drawRect(2, 0, 11, 15);
    }
    tree.setNodeImages({QIcon(folder), QIcon(page), QIcon(), QIcon(folder)});
    tree.topLevelItem(5)->setExpanded(true);
    tree.setCurrentItem(tree.topLevelItem(5)->child(1));

    const QImage box = edit.grab().toImage();
    const QImage catalogue = tree.grab().toImage();
    ASSERT_EQ(box.size(), QSize(109, 23));
    ASSERT_EQ(catalogue.size(), QSize(114, 317));
    EXPECT_GT(darkPixels(box, box.rect()), 20);
    // The label column of the first rows holds text.
    EXPECT_GT(darkPixels(catalogue, QRect(20, 2, 90, 40)), 20);

    QImage picture(114, 23 + 317, QImage::Format_RGB32);
    picture.fill(Qt::white);
    {
        QPainter painter(&picture);
        painter.drawImage(0, 0, box);
        painter.drawImage(0, 23, catalogue);
    }
    if (const QString path = qEnvironmentVariable("QIR_SELECTION_GRAB"); !path.isEmpty()) {
        picture.scaled(picture.size() * 2).save(path);
    }
}

}  // namespace
}  // namespace qir::selection
