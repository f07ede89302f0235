// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Pictures at the screen's device pixel ratio. Each picture of the window has a twin drawn at
// twice the size beside it ("exit.bmp" and "exit@2x.bmp"); where the screen has more device
// pixels than logical ones the twin is drawn instead, scaled smoothly to the ratio, so the
// picture is sharp rather than pixel-doubled.

#ifndef QIR_APP_INTERNALS
#error "app/sharp_picture.h is private to its folder"
#endif

#include <QImage>
#include <QString>
#include <string>

namespace qir::app {

// "exit.bmp" -> "exit@2x.bmp"; "help" -> "help@2x".
std::string twinName(const std::string& file);

// An embedded picture (a resource path): its twin when `ratio` is above 1 and the twin is
// there, else the picture itself. The result's device pixel ratio says which.
QImage embeddedPicture(const QString& path, qreal ratio);

// `picture`, just read from the bitmap file `file`, or, when `ratio` is above 1, the file's
// twin: only one that reads, is exactly twice the size and, halved, looks like the picture
// (a button picture the user has redrawn keeps its own look). The twin's failures are silent.
// Whether `twin`, halved, shows what `picture` shows.
bool isTwinOf(const QImage& twin, const QImage& picture);

QImage sharperBitmap(QImage picture, const std::string& file, qreal ratio);

}  // namespace qir::app
