// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Opening the display. Where no display can be had, Qt ends the process with abort() and a
// page about platform plugins; while the application object is made, this turns that into one
// line on the standard error and exit status 1. Qt's other messages of that moment are held
// back and passed on once the display is open.

#include <QString>
#include <QStringList>

namespace qir {

inline constexpr int kNoDisplayExit = 1;

class DisplayOpening {
  public:
    // `program` heads the line, as in "qir-stroke: cannot open the window: ...".
    explicit DisplayOpening(QString program);
    ~DisplayOpening();
    DisplayOpening(const DisplayOpening&) = delete;
    DisplayOpening& operator=(const DisplayOpening&) = delete;

    // The line said when no display can be had; `heldBack` are Qt's messages of the moment.
    static QString noDisplayLine(const QString& program, const QStringList& heldBack);
};

}  // namespace qir
