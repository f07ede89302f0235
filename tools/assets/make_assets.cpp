// SPDX-License-Identifier: GPL-3.0-or-later
// Draws the program's artwork: the window background, the button pictures and their skin
// variants, the catalogue's node pictures and the program icon. Each picture of the window is
// drawn twice, at its own size and at twice it ("exit@2x.bmp") for screens of two device
// pixels to a logical one. The output is committed; run the `assets` target to draw it again
// after changing this file.

#include <QBuffer>
#include <QByteArray>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <stdexcept>
#include <string>

#include "commandline/command_line.h"
#include "commandline/version.h"

namespace {

const QColor kButtonBlue(0x68, 0x90, 0xB8);
const QColor kWhite(0xFF, 0xFF, 0xFF);
const QColor kYellow(0xFF, 0xD8, 0x4A);
const QColor kGreen(0x6C, 0xE8, 0x64);
constexpr int kDotsPerMetreAt72Dpi = 2835;

// Writes `image` to `file`, whose name is kept byte for byte. Throws when it cannot.
void writePicture(const QImage& image, const std::filesystem::path& file, const char* format,
                  int quality) {
    QByteArray encoded;
    QBuffer buffer(&encoded);
    bool written = buffer.open(QIODevice::WriteOnly) && image.save(&buffer, format, quality);
    if (written) {
        std::filesystem::create_directories(file.parent_path());
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        out.write(encoded.constData(), encoded.size());
        out.close();
        written = static_cast<bool>(out);
    }
    if (!written) {
        throw std::runtime_error("cannot write " + file.string());
    }
}

// The scale the window's pictures are drawn at: 1, or 2 for their double-size twins. Every
// picture is designed in logical pixels and drawn through a painter scaled by it.
int gScale = 1;

QImage canvas(int width, int height, QImage::Format format = QImage::Format_RGB888) {
    QImage image(width * gScale, height * gScale, format);
    image.setDotsPerMeterX(kDotsPerMetreAt72Dpi);
    image.setDotsPerMeterY(kDotsPerMetreAt72Dpi);
    return image;
}

QFont buttonFont() {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(11);
    font.setBold(true);
    font.setHintingPreference(QFont::PreferFullHinting);
    return font;
}

// A word button ("Exit", "Help"): the word sits in the rows that stay visible when the
// control cuts the picture's bottom off.
QImage wordButton(const QString& word, const QColor& ink, int visibleHeight) {
    QImage image = canvas(37, 22);
    image.fill(kButtonBlue);
    QPainter painter(&image);
    painter.scale(gScale, gScale);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setFont(buttonFont());
    painter.setPen(ink);
    painter.drawText(QRect(0, 0, 37, visibleHeight), Qt::AlignCenter, word);
    return image;
}

// An arrow button: a triangle centred in the part of the picture that the control shows.
QImage arrowButton(bool pointsDown, const QColor& ink, QSize visible) {
    QImage image = canvas(34, 16);
    image.fill(kButtonBlue);
    QPainter painter(&image);
    painter.scale(gScale, gScale);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(ink);
    const qreal cx = visible.width() / 2.0;
    const qreal cy = visible.height() / 2.0;
    const qreal half = 5.5;
    const qreal depth = 3.5;
    QPainterPath triangle;
    if (pointsDown) {
        triangle.moveTo(cx - half, cy - depth);
        triangle.lineTo(cx + half, cy - depth);
        triangle.lineTo(cx, cy + depth);
    } else {
        triangle.moveTo(cx - half, cy + depth);
        triangle.lineTo(cx + half, cy + depth);
        triangle.lineTo(cx, cy - depth);
    }
    triangle.closeSubpath();
    painter.drawPath(triangle);
    return image;
}

QImage background() {
    QImage image = canvas(640, 480);
    QPainter painter(&image);
    painter.scale(gScale, gScale);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);

    // Steel-blue body with a soft vertical light.
    QLinearGradient body(0, 56, 0, 468);
    body.setColorAt(0, QColor(0x5E, 0x8A, 0xB6));
    body.setColorAt(1, QColor(0x4A, 0x76, 0xA2));
    painter.fillRect(0, 56, 640, 412, body);
    // The darker strip along the bottom edge.
    painter.fillRect(0, 468, 640, 12, QColor(0x2E, 0x52, 0x78));
    painter.fillRect(0, 468, 640, 1, QColor(0x26, 0x46, 0x69));

    // The sky-blue banner.
    QLinearGradient sky(0, 0, 0, 56);
    sky.setColorAt(0, QColor(0xD6, 0xEC, 0xFA));
    sky.setColorAt(1, QColor(0x9C, 0xCB, 0xEE));
    painter.fillRect(0, 0, 640, 56, sky);

    // A faint brush character at the banner's right, behind the link panel's corner.
    QFont brush(QStringLiteral("AR PL KaitiM GB"));
    brush.setPixelSize(52);
    painter.setFont(brush);
    painter.setPen(QColor(0x7F, 0xB3, 0xDC));
    painter.drawText(QRect(440, 0, 80, 56), Qt::AlignCenter, QString::fromUtf8("永"));

    QFont title(QStringLiteral("DejaVu Serif"));
    title.setPixelSize(21);
    title.setBold(true);
    painter.setFont(title);
    painter.setPen(QColor(0x17, 0x2C, 0x48));
    painter.drawText(QPoint(14, 27), QStringLiteral("QIR Demonstration of stroke order"));

    QFont version(QStringLiteral("DejaVu Sans"));
    version.setPixelSize(11);
    painter.setFont(version);
    painter.setPen(QColor(0x2A, 0x44, 0x66));
    painter.drawText(QPoint(16, 45), QStringLiteral("Version 1.0"));
    return image;
}

QImage nodePicture(const std::function<void(QPainter&)>& draw) {
    QImage image(16 * gScale, 16 * gScale, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.scale(gScale, gScale);
    draw(painter);
    painter.end();
    // One-bit transparency, as an image list mask holds it.
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            QColor c = image.pixelColor(x, y);
            c.setAlpha(c.alpha() >= 128 ? 255 : 0);
            image.setPixelColor(x, y, c);
        }
    }
    return image;
}

void closedFolder(QPainter& p) {
    p.setPen(QColor(0x8A, 0x64, 0x10));
    p.setBrush(QColor(0xF2, 0xC7, 0x4A));
    p.drawRect(1, 3, 6, 2);
    p.setBrush(QColor(0xFB, 0xD8, 0x5C));
    p.drawRect(1, 4, 13, 9);
    p.setPen(QColor(0xFF, 0xF0, 0xB0));
    p.drawLine(2, 6, 13, 6);
}

void documentPage(QPainter& p) {
    p.setPen(QColor(0x55, 0x55, 0x55));
    p.setBrush(Qt::white);
    QPolygon page({{3, 1}, {10, 1}, {13, 4}, {13, 14}, {3, 14}});
    p.drawPolygon(page);
    p.drawLine(10, 1, 10, 4);
    p.drawLine(10, 4, 13, 4);
    p.setPen(QColor(0x8C, 0xA6, 0xC8));
    for (int y = 6; y <= 12; y += 2) {
        p.drawLine(5, y, 11, y);
    }
}

void minusBar(QPainter& p) {
    p.setPen(Qt::black);
    p.setBrush(Qt::white);
    p.drawRect(3, 6, 10, 3);
}

void openFolder(QPainter& p) {
    p.setPen(QColor(0x8A, 0x64, 0x10));
    p.setBrush(QColor(0xE8, 0xB8, 0x38));
    p.drawRect(1, 3, 6, 2);
    p.drawRect(1, 4, 12, 9);
    p.setBrush(QColor(0xFD, 0xDE, 0x6A));
    QPolygon flap({{3, 7}, {15, 7}, {13, 13}, {1, 13}});
    p.drawPolygon(flap);
}

// The icon's design, drawn into `square`: practice paper with a dashed guide cross and 永.
// At the smallest sizes the guide would blur into the character and is left out.
void drawIconFace(QPainter& painter, const QRectF& square, bool withGuide = true) {
    const qreal unit = square.width() / 30.0;
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0xFB, 0xF7, 0xEC));
    const QRectF paper = square.adjusted(2 * unit, 2 * unit, -2 * unit, -2 * unit);
    painter.drawRoundedRect(paper, 4 * unit, 4 * unit);
    if (withGuide) {
        QPen guide(QColor(0xE0, 0x9A, 0x9A), std::max<qreal>(1, unit), Qt::DashLine);
        painter.setPen(guide);
        const QPointF centre = square.center();
        painter.drawLine(QPointF(centre.x(), paper.top() + unit),
                         QPointF(centre.x(), paper.bottom() - unit));
        painter.drawLine(QPointF(paper.left() + unit, centre.y()),
                         QPointF(paper.right() - unit, centre.y()));
    }
    QFont brush(QStringLiteral("AR PL KaitiM GB"));
    brush.setPixelSize(static_cast<int>(std::lround((withGuide ? 24 : 27) * unit)));
    painter.setFont(brush);
    painter.setPen(QColor(0xB0, 0x1E, 0x1E));
    painter.drawText(paper, Qt::AlignCenter, QString::fromUtf8("永"));
}

// The program's own icon: 30 x 30, 24 bits, on the buttons' blue.
QImage programIcon() {
    QImage image = canvas(30, 30);
    image.fill(kButtonBlue);
    QPainter painter(&image);
    drawIconFace(painter, QRectF(0, 0, 30, 30));
    return image;
}

// The desktop's icon at one of the theme's sizes, drawn at that size: a blue tile with rounded
// corners, transparent around it, holding the same face.
QImage themeIcon(int size) {
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal margin = size >= 48 ? size / 16.0 : 0;
    const QRectF tile(margin, margin, size - 2 * margin, size - 2 * margin);
    painter.setPen(Qt::NoPen);
    painter.setBrush(kButtonBlue);
    painter.drawRoundedRect(tile, tile.width() / 6, tile.width() / 6);
    drawIconFace(painter, tile, size >= 32);
    return image;
}

qir::cli::CommandLine commandLine() {
    qir::cli::CommandLine line(
        QStringLiteral("qir-make-assets"), qir::cli::projectVersion(),
        QStringLiteral("Draws the program's artwork into ASSETS_DIRECTORY (app/assets): the window "
                       "background, the button pictures and their skin variants, the catalogue's "
                       "node pictures, each also at twice its size (\"exit@2x.bmp\"), and the "
                       "program and desktop icons. Exits 0 when every picture is written, 1 when "
                       "one cannot be, 2 when the command line is wrong."));
    line.setUsualUsage(QStringLiteral("ASSETS_DIRECTORY"));
    line.setUsualArguments({QStringLiteral("ASSETS_DIRECTORY")});
    return line;
}

void drawAssets(const std::filesystem::path& folder) {
    auto save = [&](const QImage& image, const QString& name, const char* format,
                    int quality = -1) {
        writePicture(image, folder / name.toStdString(), format, quality);
    };
    // "exit.bmp" at scale 1, "exit@2x.bmp" at scale 2.
    const auto twin = [](const QString& name) {
        if (gScale == 1) {
            return name;
        }
        const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
        return name.left(dot) + QStringLiteral("@%1x").arg(gScale) + name.mid(dot);
    };
    for (const int scale : {1, 2}) {
        gScale = scale;
        save(background(), twin(QStringLiteral("background.jpg")), "JPEG", 92);

        // Embedded pictures, normal look; the skin files repeat them and add the lit look.
        const QSize miniVisible(29, 15);
        const QSize nextVisible(29, 15);
        const QSize prevVisible(32, 16);
        save(wordButton(QStringLiteral("Exit"), kWhite, 17), twin(QStringLiteral("exit.bmp")),
             "BMP");
        save(arrowButton(true, kWhite, miniVisible), twin(QStringLiteral("mini.bmp")), "BMP");
        save(wordButton(QStringLiteral("Help"), kWhite, 20), twin(QStringLiteral("help.bmp")),
             "BMP");
        save(arrowButton(true, kWhite, nextVisible), twin(QStringLiteral("next.bmp")), "BMP");
        save(arrowButton(false, kWhite, prevVisible), twin(QStringLiteral("prev.bmp")), "BMP");

        const struct {
            const char* name;
            QImage picture;
        } skins[] = {
            {"exityellow.bmp", wordButton(QStringLiteral("Exit"), kYellow, 17)},
            {"exitwhite.bmp", wordButton(QStringLiteral("Exit"), kWhite, 17)},
            {"miniyellow.bmp", arrowButton(true, kYellow, miniVisible)},
            {"miniwhite.bmp", arrowButton(true, kWhite, miniVisible)},
            {"helpyellow.bmp", wordButton(QStringLiteral("Help"), kYellow, 20)},
            {"helpwhite.bmp", wordButton(QStringLiteral("Help"), kWhite, 20)},
            {"nextgreen.bmp", arrowButton(true, kGreen, nextVisible)},
            {"nextwhite.bmp", arrowButton(true, kWhite, nextVisible)},
            {"pregreen.bmp", arrowButton(false, kGreen, prevVisible)},
            {"prewhite.bmp", arrowButton(false, kWhite, prevVisible)},
        };
        for (const auto& skin : skins) {
            save(skin.picture, twin(QStringLiteral("skins/") + QString::fromLatin1(skin.name)),
                 "BMP");
        }

        save(nodePicture(closedFolder), twin(QStringLiteral("nodes/0.png")), "PNG");
        save(nodePicture(documentPage), twin(QStringLiteral("nodes/1.png")), "PNG");
        save(nodePicture(minusBar), twin(QStringLiteral("nodes/2.png")), "PNG");
        save(nodePicture(openFolder), twin(QStringLiteral("nodes/3.png")), "PNG");
    }
    gScale = 1;
    save(programIcon(), QStringLiteral("icon.png"), "PNG");
    for (const int size : {16, 32, 48, 64, 128, 256}) {
        save(themeIcon(size), QStringLiteral("icons/%1.png").arg(size), "PNG");
    }
}

}  // namespace

int main(int argc, char** argv) {
    return commandLine().runTool(qir::cli::argumentsOf(argc, argv), stdout, stderr,
                                 [&](const qir::cli::Invocation& given) {
                                     qputenv("QT_QPA_PLATFORM", "offscreen");
                                     QGuiApplication application(argc, argv);
                                     try {
                                         drawAssets(given.argumentBytes(0));
                                         return 0;
                                     } catch (const std::exception& e) {
                                         std::fprintf(stderr, "qir-make-assets: %s\n", e.what());
                                         return 1;
                                     }
                                 });
}
