// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The one command line of a program: the commands it runs instead of (or before) its usual
// work, each chosen by an option of its own and taking options of its own; -h/--help and
// --version; and the refusal, with exit status 2, of anything unknown, repeated, misplaced or
// left over. Adding a command is one `add` with its options and the function that runs it.
//
//   cli::CommandLine line("qir-stroke", "1.0.0", "Without options, the program opens its window.");
//   line.add({{"practice-sheet", "TEXT", "write a practice sheet of TEXT"},
//             {{"output", "FILE.pdf", "the PDF file to write"}},
//             "--practice-sheet TEXT --output FILE.pdf", "More about it.", runSheet});
//   if (const std::optional<int> code = line.run(arguments, stdout, stderr)) return *code;
//   // no command: the program's usual work

#include <QString>
#include <cstdio>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "commandline/invocation.h"

namespace qir::cli {

inline constexpr int kUsageExit = 2;

struct Option {
    QString name;         // without dashes: "output"; a one-letter name is also -x
    QString valueName;    // "FILE.pdf"; empty for an option that takes no value
    QString description;  // one line for --help; empty keeps it out of --help
};

struct Command {
    Option selector;              // the option that chooses the command; it may take a value
    std::vector<Option> options;  // what else the command takes; one option may serve several
    QString usage;                // its usage line without the program's name
    QString help;                 // what --help says about it after the option list
    // Runs it; returns the exit status. May throw UsageError.
    std::function<int(const Invocation&)> run;
    // The plain arguments it takes after its options, in order, each required ("FILE"); none
    // for most commands. The last one, when its name ends in "...", takes one or more.
    std::vector<QString> arguments;
    // Plain arguments it may take after those, in order ("TEXT"). A selector without a value
    // then takes one as "--name=TEXT" too, so that "--practice" and "--practice TEXT" are both
    // the same command.
    std::vector<QString> optionalArguments = {};
};

// What a command line asks for.
struct Choice {
    enum class Kind { Usual, Command, Help, Version };
    Kind kind = Kind::Usual;
    const Command* command = nullptr;  // for Kind::Command
    Invocation invocation{nullptr};
};

class CommandLine {
  public:
    // `usual` says what the program does without options.
    CommandLine(QString program, QString version, QString usual);

    void add(Command command);
    // Options the program's usual work takes: accepted only without a command; --help lists
    // those with a description (a toolkit's own options have none).
    void addUsualOptions(std::vector<Option> options);
    // The usage line of the usual work, without the program's name (none: the name alone).
    void setUsualUsage(QString usage) { usualUsage_ = std::move(usage); }
    // The options the usual work cannot do without; when one is missing the command line is
    // refused naming them all ("--data and --out are required").
    void requireUsualOptions(std::vector<QString> names);
    // The plain arguments the usual work takes after its options, as a command's arguments.
    void setUsualArguments(std::vector<QString> arguments);

    // `arguments` without the program's name. Throws UsageError.
    Choice choose(const std::vector<std::string>& arguments) const;

    // Help, the version, a wrong command line and the commands end here with their exit
    // status; nothing when the program is to do its usual work, whose options then go to
    // `usual` when given.
    std::optional<int> run(const std::vector<std::string>& arguments, std::FILE* out,
                           std::FILE* err, Invocation* usual = nullptr) const;

    // For a tool whose usual work is all it does: runs `work` when the command line asks for
    // nothing else, and refuses a UsageError it throws as every usage error is refused. Returns
    // the exit status.
    int runTool(const std::vector<std::string>& arguments, std::FILE* out, std::FILE* err,
                const std::function<int(const Invocation&)>& work) const;

    // Says `error` on `err` as every usage error is said; returns the exit status for it.
    int refuse(const UsageError& error, std::FILE* err) const;

    QString helpText() const;
    QString versionText() const;
    // The one line a usage error prints: "program: message (see 'program --help')".
    QString usageErrorText(const QString& message) const;

  private:
    const Option* findOption(const QString& name) const;
    // The commands that take the option `name` (not as their selector).
    std::vector<const Command*> commandsTaking(const QString& name) const;

    QString program_;
    QString version_;
    QString usual_;
    QString usualUsage_;
    std::vector<Command> commands_;
    std::vector<Option> usualOptions_;
    std::vector<QString> usualRequired_;
    std::vector<QString> usualArguments_;
};

// The `argc`/`argv` of main without the program's name.
std::vector<std::string> argumentsOf(int argc, char** argv);

}  // namespace qir::cli
