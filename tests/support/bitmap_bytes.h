// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A picture as the bytes of a BMP file, for tests that feed BMP data in.

#include <QBuffer>
#include <QByteArray>
#include <QImage>

#include "platform/file_io.h"

namespace qir::testing {

inline Bytes bmpOf(const QImage& image) {
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "BMP");
    return Bytes(data.begin(), data.end());
}

}  // namespace qir::testing
