// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/display_opening.h"

#include <QDebug>
#include <QtGlobal>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <utility>

namespace qir {
namespace {

// Qt's message handler is a plain function: the one opening under way.
struct Held {
    QString program;
    QStringList messages;
    QtMessageHandler previous = nullptr;
};
std::optional<Held> held;

void holdBack(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (type == QtFatalMsg) {
        std::fputs(DisplayOpening::noDisplayLine(held->program, held->messages).toLocal8Bit(),
                   stderr);
        std::_Exit(kNoDisplayExit);
    }
    const QString category = QString::fromLatin1(context.category ? context.category : "");
    held->messages.append(category.isEmpty() || category == QLatin1String("default")
                              ? message
                              : category + QStringLiteral(": ") + message);
}

}  // namespace

DisplayOpening::DisplayOpening(QString program) {
    held.emplace(Held{std::move(program), {}, nullptr});
    held->previous = qInstallMessageHandler(holdBack);
}

DisplayOpening::~DisplayOpening() {
    qInstallMessageHandler(held->previous);
    const QStringList messages = std::move(held->messages);
    held.reset();
    for (const QString& message : messages) {
        qWarning().noquote() << message;
    }
}

QString DisplayOpening::noDisplayLine(const QString& program, const QStringList& heldBack) {
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
        return QStringLiteral(
                   "%1: cannot open the window: no display (neither DISPLAY nor "
                   "WAYLAND_DISPLAY is set)\n")
            .arg(program);
    }
    QString reason = QStringLiteral("no display could be opened");
    for (const QString& message : heldBack) {
        // "qt.qpa.xcb: could not connect to display :97" says it best.
        if (message.contains(QLatin1String("display"), Qt::CaseInsensitive)) {
            reason = message.section(QStringLiteral(": "), 1).trimmed();
            break;
        }
    }
    return QStringLiteral("%1: cannot open the window: %2\n").arg(program, reason);
}

}  // namespace qir
