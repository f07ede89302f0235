// SPDX-License-Identifier: GPL-3.0-or-later
#include "commandline/command_line.h"

#include <QCommandLineParser>
#include <QStringList>
#include <algorithm>
#include <memory>
#include <set>
#include <utility>

namespace qir::cli {
namespace {

const Option kHelp{QStringLiteral("help"), {}, QStringLiteral("show this help and end")};
const Option kVersion{QStringLiteral("version"), {}, QStringLiteral("show the version and end")};

// How the option is written on the command line.
QString spelled(const QString& name) {
    return (name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + name;
}

QString listed(const Option& option) {
    QString text = option.name == kHelp.name ? QStringLiteral("-h, --help") : spelled(option.name);
    if (!option.valueName.isEmpty()) {
        text += QLatin1Char(' ') + option.valueName;
    }
    return text;
}

QCommandLineOption parserOption(const Option& option) {
    QStringList names{option.name};
    if (option.name == kHelp.name) {
        names.prepend(QStringLiteral("h"));
    }
    return option.valueName.isEmpty() ? QCommandLineOption(names)
                                      : QCommandLineOption(names, {}, option.valueName);
}

// The name an argument spells, when it is an option: "--output=a" and "-output" give "output".
std::optional<QString> optionNameOf(const std::string& argument) {
    if (argument.size() < 2 || argument[0] != '-') {
        return std::nullopt;
    }
    const std::size_t dashes = argument[1] == '-' ? 2 : 1;
    const std::size_t end = argument.find('=');
    return QString::fromLatin1(
        argument.substr(dashes, end == std::string::npos ? end : end - dashes));
}

// `text` broken into lines of at most kHelpWidth characters, the lines after the first
// indented by `indent` (the first starts there already).
QString wrapped(const QString& text, qsizetype indent) {
    constexpr qsizetype kHelpWidth = 80;
    QString result;
    qsizetype column = indent;
    for (const QString& word : text.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        if (column > indent && column + 1 + word.size() > kHelpWidth) {
            result += QLatin1Char('\n') + QString(indent, QLatin1Char(' '));
            column = indent;
        } else if (column > indent) {
            result += QLatin1Char(' ');
            ++column;
        }
        result += word;
        column += word.size();
    }
    return result;
}

// A plain argument named "NAME..." takes one or more.
bool takesMore(const QString& argument) {
    return argument.endsWith(QStringLiteral("..."));
}

QString withoutMore(const QString& argument) {
    return takesMore(argument) ? argument.chopped(3) : argument;
}

// "--a", "--a and --b", "--a, --b and --c".
QString listedTogether(const std::vector<QString>& names) {
    QString text;
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (i > 0) {
            text += i + 1 == names.size() ? QStringLiteral(" and ") : QStringLiteral(", ");
        }
        text += spelled(names[i]);
    }
    return text;
}

}  // namespace

std::vector<std::string> argumentsOf(int argc, char** argv) {
    return argc > 1 ? std::vector<std::string>(argv + 1, argv + argc) : std::vector<std::string>();
}

CommandLine::CommandLine(QString program, QString version, QString usual)
    : program_(std::move(program)), version_(std::move(version)), usual_(std::move(usual)) {}

void CommandLine::add(Command command) {
    commands_.push_back(std::move(command));
}

void CommandLine::addUsualOptions(std::vector<Option> options) {
    usualOptions_.insert(usualOptions_.end(), options.begin(), options.end());
}

void CommandLine::requireUsualOptions(std::vector<QString> names) {
    usualRequired_.insert(usualRequired_.end(), names.begin(), names.end());
}

void CommandLine::setUsualArguments(std::vector<QString> arguments) {
    usualArguments_ = std::move(arguments);
}

const Option* CommandLine::findOption(const QString& name) const {
    if (name == kHelp.name || name == QLatin1String("h")) {
        return &kHelp;
    }
    if (name == kVersion.name) {
        return &kVersion;
    }
    for (const Command& command : commands_) {
        if (command.selector.name == name) {
            return &command.selector;
        }
        for (const Option& option : command.options) {
            if (option.name == name) {
                return &option;
            }
        }
    }
    for (const Option& option : usualOptions_) {
        if (option.name == name) {
            return &option;
        }
    }
    return nullptr;
}

std::vector<const Command*> CommandLine::commandsTaking(const QString& name) const {
    std::vector<const Command*> taking;
    for (const Command& command : commands_) {
        if (std::any_of(command.options.begin(), command.options.end(),
                        [&](const Option& option) { return option.name == name; })) {
            taking.push_back(&command);
        }
    }
    return taking;
}

Choice CommandLine::choose(const std::vector<std::string>& arguments) const {
    auto parser = std::make_shared<QCommandLineParser>();
    // "-platform xcb", as a toolkit spells its own options, is "--platform xcb".
    parser->setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    std::set<QString> added;
    const auto addOption = [&](const Option& option) {
        if (added.insert(option.name).second) {
            parser->addOption(parserOption(option));
        }
    };
    addOption(kHelp);
    addOption(kVersion);
    for (const Command& command : commands_) {
        addOption(command.selector);
        std::for_each(command.options.begin(), command.options.end(), addOption);
    }
    std::for_each(usualOptions_.begin(), usualOptions_.end(), addOption);

    // Byte for byte: each byte one Latin-1 character, so a file name in any encoding survives.
    const auto latin1 = [](const std::string& text) {
        return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
    };
    QStringList bytes{program_};
    for (const std::string& argument : arguments) {
        // "--practice=TEXT" for a selector whose TEXT may be left out: the flag, then TEXT.
        const std::size_t equals = argument.find('=');
        if (equals != std::string::npos && argument.starts_with("-")) {
            const std::optional<QString> name = optionNameOf(argument);
            const auto takesOptionalText = [&](const Command& command) {
                return command.selector.name == *name && command.selector.valueName.isEmpty() &&
                       !command.optionalArguments.empty();
            };
            if (name && std::any_of(commands_.begin(), commands_.end(), takesOptionalText)) {
                bytes.append(latin1(argument.substr(0, equals)));
                bytes.append(latin1(argument.substr(equals + 1)));
                continue;
            }
        }
        bytes.append(latin1(argument));
    }
    // Qt's parser takes the next argument as the value; only a value option at the very end
    // lacks one.
    if (!arguments.empty() && arguments.back().find('=') == std::string::npos) {
        if (const std::optional<QString> name = optionNameOf(arguments.back())) {
            const Option* option = findOption(*name);
            if (option != nullptr && !option->valueName.isEmpty()) {
                throw UsageError((spelled(*name) + QStringLiteral(" needs a value")).toStdString());
            }
        }
    }
    if (!parser->parse(bytes)) {
        const QStringList unknown = parser->unknownOptionNames();
        throw UsageError(
            unknown.isEmpty()
                ? parser->errorText().toStdString()
                : (QStringLiteral("unknown option ") + spelled(unknown.front())).toStdString());
    }
    const auto refuseArgument = [&](qsizetype index) {
        throw UsageError(("unexpected argument " + parser->positionalArguments().at(index))
                             .toUtf8()
                             .toStdString());
    };
    if (parser->isSet(kHelp.name)) {
        return {Choice::Kind::Help, nullptr, Invocation(parser)};
    }
    if (parser->isSet(kVersion.name)) {
        return {Choice::Kind::Version, nullptr, Invocation(parser)};
    }
    // Each option once; the names as found, "h" already folded into "help".
    std::set<QString> seen;
    for (const QString& name : parser->optionNames()) {
        const Option* option = findOption(name);
        if (!seen.insert(option != nullptr ? option->name : name).second) {
            throw UsageError((spelled(name) + QStringLiteral(" is given twice")).toStdString());
        }
    }

    const Command* chosen = nullptr;
    for (const Command& command : commands_) {
        if (!parser->isSet(command.selector.name)) {
            continue;
        }
        if (chosen != nullptr) {
            throw UsageError((spelled(chosen->selector.name) + QStringLiteral(" and ") +
                              spelled(command.selector.name) +
                              QStringLiteral(" cannot be given together"))
                                 .toStdString());
        }
        chosen = &command;
    }
    for (const QString& name : seen) {
        if (chosen != nullptr && name == chosen->selector.name) {
            continue;
        }
        const std::vector<const Command*> taking = commandsTaking(name);
        if (chosen == nullptr) {
            if (taking.size() == 1) {
                const Option& selector = taking.front()->selector;
                throw UsageError(
                    (spelled(selector.name) +
                     (selector.valueName.isEmpty() ? QString()
                                                   : QLatin1Char(' ') + selector.valueName) +
                     QStringLiteral(" is missing"))
                        .toStdString());
            }
            if (!taking.empty()) {
                throw UsageError(
                    (spelled(name) + QStringLiteral(" goes only with a command")).toStdString());
            }
            continue;  // one of the usual options
        }
        if (std::find(taking.begin(), taking.end(), chosen) == taking.end()) {
            throw UsageError((spelled(name) + QStringLiteral(" does not go with ") +
                              spelled(chosen->selector.name))
                                 .toStdString());
        }
    }
    const QStringList plain = parser->positionalArguments();
    const std::vector<QString>& wanted = chosen == nullptr ? usualArguments_ : chosen->arguments;
    const auto given = static_cast<std::size_t>(plain.size());
    const bool takesTheRest = !wanted.empty() && takesMore(wanted.back());
    const std::size_t allowed =
        wanted.size() + (chosen == nullptr ? 0 : chosen->optionalArguments.size());
    if (given > allowed && !takesTheRest) {
        refuseArgument(static_cast<qsizetype>(allowed));
    }
    if (chosen == nullptr &&
        std::any_of(usualRequired_.begin(), usualRequired_.end(),
                    [&](const QString& name) { return !parser->isSet(name); })) {
        throw UsageError((listedTogether(usualRequired_) + (usualRequired_.size() == 1
                                                                ? QStringLiteral(" is required")
                                                                : QStringLiteral(" are required")))
                             .toStdString());
    }
    if (given < wanted.size()) {
        const QString missing = withoutMore(wanted[given]);
        throw UsageError((chosen == nullptr ? missing + QStringLiteral(" is missing")
                                            : spelled(chosen->selector.name) +
                                                  QStringLiteral(" needs ") + missing)
                             .toStdString());
    }
    if (chosen == nullptr) {
        return {Choice::Kind::Usual, nullptr, Invocation(parser)};
    }
    return {Choice::Kind::Command, chosen, Invocation(parser)};
}

std::optional<int> CommandLine::run(const std::vector<std::string>& arguments, std::FILE* out,
                                    std::FILE* err, Invocation* usual) const {
    try {
        const Choice choice = choose(arguments);
        switch (choice.kind) {
            case Choice::Kind::Usual:
                if (usual != nullptr) {
                    *usual = choice.invocation;
                }
                return std::nullopt;
            case Choice::Kind::Help:
                std::fputs(helpText().toUtf8().constData(), out);
                return 0;
            case Choice::Kind::Version:
                std::fputs(versionText().toUtf8().constData(), out);
                return 0;
            case Choice::Kind::Command:
                return choice.command->run(choice.invocation);
        }
    } catch (const UsageError& error) {
        return refuse(error, err);
    }
    return kUsageExit;
}

int CommandLine::runTool(const std::vector<std::string>& arguments, std::FILE* out, std::FILE* err,
                         const std::function<int(const Invocation&)>& work) const {
    Invocation given(nullptr);
    if (const std::optional<int> code = run(arguments, out, err, &given)) {
        return *code;
    }
    try {
        return work(given);
    } catch (const UsageError& error) {
        return refuse(error, err);
    }
}

int CommandLine::refuse(const UsageError& error, std::FILE* err) const {
    std::fputs(usageErrorText(QString::fromUtf8(error.what())).toUtf8().constData(), err);
    return kUsageExit;
}

QString CommandLine::helpText() const {
    QString text =
        QStringLiteral("Usage: %1%2\n")
            .arg(program_, usualUsage_.isEmpty() ? QString() : QLatin1Char(' ') + usualUsage_);
    const QString indent(QStringLiteral("Usage: ").size(), QLatin1Char(' '));
    for (const Command& command : commands_) {
        text += indent + program_ + QLatin1Char(' ') + command.usage + QLatin1Char('\n');
    }
    text += indent + program_ + QStringLiteral(" --help | --version\n\n") + wrapped(usual_, 0) +
            QStringLiteral("\n\n");

    // Each option once, as written on the command line, with what it does.
    std::vector<std::pair<QString, const Option*>> listedOptions;
    std::set<QString> added;
    const auto list = [&](const Option& option, const QString& label) {
        if (!option.description.isEmpty() && added.insert(option.name).second) {
            listedOptions.emplace_back(label, &option);
        }
    };
    for (const Command& command : commands_) {
        QString selector = listed(command.selector);
        for (const QString& optional : command.optionalArguments) {
            selector += QStringLiteral(" [") + optional + QLatin1Char(']');
        }
        list(command.selector, selector);
        for (const Option& further : command.options) {
            list(further, listed(further));
        }
    }
    for (const Option& option : usualOptions_) {
        list(option, listed(option));
    }
    list(kHelp, listed(kHelp));
    list(kVersion, listed(kVersion));
    qsizetype width = 0;
    for (const auto& [label, option] : listedOptions) {
        width = std::max(width, label.size());
    }
    for (const auto& [label, option] : listedOptions) {
        text += QStringLiteral("  ") + label.leftJustified(width + 2) +
                wrapped(option->description, width + 4) + QLatin1Char('\n');
    }
    for (const Command& command : commands_) {
        if (!command.help.isEmpty()) {
            text += QLatin1Char('\n') + command.help;
            if (!command.help.endsWith(QLatin1Char('\n'))) {
                text += QLatin1Char('\n');
            }
        }
    }
    return text;
}

QString CommandLine::versionText() const {
    return program_ + QLatin1Char(' ') + version_ + QLatin1Char('\n');
}

QString CommandLine::usageErrorText(const QString& message) const {
    return QStringLiteral("%1: %2 (see '%1 --help')\n").arg(program_, message);
}

}  // namespace qir::cli
