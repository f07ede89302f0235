// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A desktop that records what the program asked of it, for tests.

#include <QString>
#include <QStringList>

#include "desktop/desktop.h"

namespace qir::testing {

class RecordingDesktop : public Desktop {
  public:
    void beep() override { ++beeps; }
    void openDocument(const QString& target) override { opened << target; }
    void showError(const QString& text) override { errors << text; }

    int beeps = 0;
    QStringList opened;
    QStringList errors;
};

}  // namespace qir::testing
