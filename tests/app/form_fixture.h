// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A main window on the offscreen platform, in a scratch working directory, with a recording
// desktop. Its instance channel is never claimed, and its address lies in the scratch folder:
// no fixture reaches a running program.

#include <QApplication>
#include <QFile>
#include <QMouseEvent>
#include <memory>

#include "app/application.h"
#include "app/tform1.h"
#include "tests/support/recording_desktop.h"
#include "tests/support/scratch_directory.h"

namespace qir::testing {

class FormFixture {
  public:
    FormFixture()
        : application_(desktop_, InstanceAddress{QStringLiteral("QirTestForm"),
                                                 QFile::encodeName(directory_.path().c_str()),
                                                 QFile::encodeName(directory_.path().c_str())}),
          form_(std::make_unique<TForm1>(application_)) {}

    TForm1& form() { return *form_; }
    RecordingDesktop& desktop() { return desktop_; }

    template <typename Widget = QWidget>
    Widget* control(const char* name) {
        auto* widget = form_->findChild<Widget*>(QString::fromLatin1(name));
        if (widget == nullptr) {
            throw std::runtime_error(std::string("no control ") + name);
        }
        return widget;
    }

    // Delivers a pointer event to `target` the way the window system would, so that it
    // propagates to parents when the target ignores it.
    static void send(QWidget* target, QEvent::Type type, QPoint local,
                     Qt::MouseButton button = Qt::NoButton,
                     Qt::MouseButtons buttons = Qt::NoButton) {
        const QPointF global = target->mapToGlobal(QPointF(local));
        QMouseEvent event(type, QPointF(local), global, button, buttons, Qt::NoModifier);
        QApplication::sendEvent(target, &event);
    }
    static void moveOver(QWidget* target, QPoint local = {1, 1}) {
        send(target, QEvent::MouseMove, local);
    }

  private:
    ScratchDirectory directory_;
    RecordingDesktop desktop_;
    app::Application application_;
    std::unique_ptr<TForm1> form_;
};

}  // namespace qir::testing
