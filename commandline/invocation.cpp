// SPDX-License-Identifier: GPL-3.0-or-later
#include "commandline/invocation.h"

#include <utility>

namespace qir::cli {

Invocation::Invocation(std::shared_ptr<const QCommandLineParser> parser)
    : parser_(std::move(parser)) {}

bool Invocation::isSet(const QString& name) const {
    return parser_ != nullptr && parser_->isSet(name);
}

std::string Invocation::bytes(const QString& name) const {
    if (!isSet(name)) {
        return {};
    }
    return parser_->value(name).toLatin1().toStdString();
}

QString Invocation::text(const QString& name) const {
    return QString::fromStdString(bytes(name));
}

int Invocation::number(const QString& name, int lowest, int highest, int otherwise) const {
    if (!isSet(name)) {
        return otherwise;
    }
    bool isNumber = false;
    const int value = text(name).toInt(&isNumber);
    if (!isNumber || value < lowest || value > highest) {
        throw UsageError(QStringLiteral("--%1 takes a number from %2 to %3")
                             .arg(name)
                             .arg(lowest)
                             .arg(highest)
                             .toStdString());
    }
    return value;
}

std::size_t Invocation::argumentCount() const {
    return parser_ != nullptr ? static_cast<std::size_t>(parser_->positionalArguments().size()) : 0;
}

std::string Invocation::argumentBytes(std::size_t index) const {
    const QStringList plain = parser_ != nullptr ? parser_->positionalArguments() : QStringList();
    if (index >= static_cast<std::size_t>(plain.size())) {
        return {};
    }
    return plain.at(static_cast<qsizetype>(index)).toLatin1().toStdString();
}

QString Invocation::argumentText(std::size_t index) const {
    return QString::fromStdString(argumentBytes(index));
}

QString Invocation::argumentsText(std::size_t first) const {
    std::string bytes;
    for (std::size_t index = first; index < argumentCount(); ++index) {
        bytes += argumentBytes(index);
    }
    return QString::fromStdString(bytes);
}

}  // namespace qir::cli
