// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What a command line gave a command: its options' values, read after the parser has checked
// that every option is known, given at most once and belongs to the command.

#include <QCommandLineParser>
#include <QString>
#include <memory>
#include <stdexcept>
#include <string>

namespace qir::cli {

// The command line is wrong; the message says how, without the program's name.
class UsageError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

class Invocation {
  public:
    // `parser` has parsed the arguments byte for byte, each byte one Latin-1 character.
    explicit Invocation(std::shared_ptr<const QCommandLineParser> parser);

    bool isSet(const QString& name) const;
    // The value as given, byte for byte (a file name in whatever encoding it has).
    std::string bytes(const QString& name) const;
    // The value read as UTF-8.
    QString text(const QString& name) const;
    // The whole number the option gives, from `lowest` to `highest`; `otherwise` when it is not
    // given. Throws UsageError for anything else.
    int number(const QString& name, int lowest, int highest, int otherwise) const;
    // The command's plain arguments: how many, and each byte for byte and as UTF-8.
    std::size_t argumentCount() const;
    std::string argumentBytes(std::size_t index) const;
    // Those from `first` on, one after the other: "CHARACTERS..." as one text.
    QString argumentsText(std::size_t first) const;
    QString argumentText(std::size_t index) const;

  private:
    std::shared_ptr<const QCommandLineParser> parser_;
};

}  // namespace qir::cli
