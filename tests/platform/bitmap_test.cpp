// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/bitmap.h"

#include <gtest/gtest.h>

#include <QBuffer>

#include "platform/errors.h"
#include "platform/file_io.h"
#include "tests/support/bitmap_bytes.h"
#include "tests/support/scratch_directory.h"

namespace qir {
namespace {

using testing::bmpOf;

TEST(Bitmap, DecodesAWholeFile) {
    QImage image(3, 2, QImage::Format_RGB32);
    image.fill(QColor(0x68, 0x90, 0xB8));
    const QImage decoded = decodeBitmap(bmpOf(image));
    ASSERT_EQ(decoded.size(), QSize(3, 2));
    EXPECT_EQ(decoded.pixelColor(2, 1), QColor(0x68, 0x90, 0xB8));
}

TEST(Bitmap, BadFilesGiveTheirTexts) {
    EXPECT_TRUE(decodeBitmap(Bytes{}).isNull());  // empty is an empty picture
    EXPECT_THROW(decodeBitmap(Bytes{'B', 'M', 1}), StreamReadError);
    EXPECT_THROW(decodeBitmap(Bytes(13, 'B')), StreamReadError);
    EXPECT_THROW(decodeBitmap(Bytes(100, 'x')), InvalidGraphicError);
    QImage image(40, 40, QImage::Format_RGB32);
    image.fill(Qt::white);
    Bytes cut = bmpOf(image);
    cut.resize(30);
    EXPECT_THROW(decodeBitmap(cut), StreamReadError);
    Bytes garbled = bmpOf(image);
    garbled[14] = 0;  // header size 0
    garbled[15] = garbled[16] = garbled[17] = 0;
    EXPECT_THROW(decodeBitmap(garbled), InvalidGraphicError);
}

TEST(Bitmap, MissingFileCannotBeOpened) {
    testing::ScratchDirectory dir;
    try {
        loadBitmapFile("exityellow.bmp");
        FAIL();
    } catch (const FileOpenError& e) {
        EXPECT_STREQ(e.what(), "Cannot open file exityellow.bmp");
    }
}

}  // namespace
}  // namespace qir
