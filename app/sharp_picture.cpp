// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/sharp_picture.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "platform/bitmap.h"

namespace qir::app {
namespace {

constexpr qreal kTwinRatio = 2.0;

bool twinFits(const QImage& twin, const QImage& picture) {
    return !twin.isNull() && twin.size() == picture.size() * kTwinRatio;
}

// The mean difference, per colour channel, between a halved twin and its picture: edges
// drawn at twice the size land a little differently, a redrawn picture differs widely.
constexpr double kMostMeanDifference = 12.0;

}  // namespace

bool isTwinOf(const QImage& twin, const QImage& picture) {
    if (!twinFits(twin, picture)) {
        return false;
    }
    const QImage halved =
        twin.scaled(picture.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
            .convertToFormat(QImage::Format_RGB32);
    const QImage original = picture.convertToFormat(QImage::Format_RGB32);
    double difference = 0;
    for (int y = 0; y < original.height(); ++y) {
        for (int x = 0; x < original.width(); ++x) {
            const QRgb a = halved.pixel(x, y);
            const QRgb b = original.pixel(x, y);
            difference += std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) +
                          std::abs(qBlue(a) - qBlue(b));
        }
    }
    const double channels = 3.0 * original.width() * original.height();
    return difference / channels <= kMostMeanDifference;
}

std::string twinName(const std::string& file) {
    const auto dot = file.rfind('.');
    const auto slash = file.rfind('/');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) {
        return file + "@2x";
    }
    return file.substr(0, dot) + "@2x" + file.substr(dot);
}

QImage embeddedPicture(const QString& path, qreal ratio) {
    QImage picture(path);
    if (ratio > 1.0) {
        QImage twin(QString::fromStdString(twinName(path.toStdString())));
        if (twinFits(twin, picture)) {
            twin.setDevicePixelRatio(kTwinRatio);
            return twin;
        }
    }
    return picture;
}

QImage sharperBitmap(QImage picture, const std::string& file, qreal ratio) {
    if (ratio <= 1.0 || picture.isNull()) {
        return picture;
    }
    const std::string twinFile = twinName(file);
    std::error_code error;
    if (!std::filesystem::is_regular_file(twinFile, error)) {
        return picture;
    }
    try {
        QImage twin = loadBitmapFile(twinFile);
        if (isTwinOf(twin, picture)) {
            twin.setDevicePixelRatio(kTwinRatio);
            return twin;
        }
    } catch (const std::exception&) {
        // A broken twin only costs sharpness.
    }
    return picture;
}

}  // namespace qir::app
