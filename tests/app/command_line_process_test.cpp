// SPDX-License-Identifier: GPL-3.0-or-later
// The real program's command line: what it refuses, what it says, and a start where no
// display can be had; none of these opens a window or reaches a running instance.
#include <gtest/gtest.h>

#include <QProcess>
#include <QTemporaryDir>

#include "tests/app/program_process.h"
#include "tests/sheet/test_strokes.h"
#include "tests/sheet/vector_table_file.h"

namespace qir {
namespace {

struct Outcome {
    int exitCode = -1;
    QString out;
    QString err;
};

class ProgramCommandLine : public ::testing::Test {
  protected:
    ProgramCommandLine() {
        // A window that would open must not find a display, nor a desktop to pick a theme.
        environment.insert("XDG_RUNTIME_DIR", runtime.path());
        environment.insert("HOME", runtime.path());
        environment.remove("DISPLAY");
        environment.remove("WAYLAND_DISPLAY");
        environment.remove("QT_QPA_PLATFORM");
    }

    Outcome run(const QStringList& arguments) {
        QProcess program;
        program.setProcessEnvironment(environment);
        program.setWorkingDirectory(runtime.path());
        program.start(QStringLiteral(QIR_PROGRAM), arguments);
        EXPECT_TRUE(program.waitForFinished(20000));
        return {program.exitStatus() == QProcess::NormalExit ? program.exitCode() : -1,
                QString::fromUtf8(program.readAllStandardOutput()),
                QString::fromUtf8(program.readAllStandardError())};
    }

    QTemporaryDir runtime;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
};

TEST_F(ProgramCommandLine, AWrongCommandLineIsRefusedWithOneLineAndStatusTwo) {
    const std::vector<std::pair<QStringList, QString>> cases{
        {{"--bogus"}, "unknown option --bogus"},
        {{"-x"}, "unknown option -x"},
        {{"somefile.txt"}, "unexpected argument somefile.txt"},
        {{"--page", "a4"}, "--practice-sheet TEXT is missing"},
        {{"--practice-sheet"}, "--practice-sheet needs a value"},
        {{"-platform", "offscreen", "--practice-sheet", "永", "--output", "a.pdf"},
         "--platform does not go with --practice-sheet"},
        {{"--version", "--bogus"}, "unknown option --bogus"},
    };
    for (const auto& [arguments, message] : cases) {
        const Outcome outcome = run(arguments);
        EXPECT_EQ(outcome.exitCode, 2) << arguments.join(' ').toStdString();
        EXPECT_EQ(outcome.err,
                  QStringLiteral("qir-stroke: %1 (see 'qir-stroke --help')\n").arg(message))
            << arguments.join(' ').toStdString();
        EXPECT_EQ(outcome.out, QString());
    }
    // Nothing was started: no instance socket, no file.
    EXPECT_TRUE(
        QDir(runtime.path()).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System));
}

TEST_F(ProgramCommandLine, HelpAndVersionSayWhatTheProgramDoes) {
    const Outcome version = run({"--version"});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.out, QStringLiteral("qir-stroke 1.0.0\n"));
    EXPECT_EQ(version.err, QString());

    for (const QString& spelling : {QStringLiteral("--help"), QStringLiteral("-h")}) {
        const Outcome help = run({spelling});
        EXPECT_EQ(help.exitCode, 0);
        EXPECT_EQ(help.err, QString());
        for (const char* expected :
             {"Usage: qir-stroke\n",
              "       qir-stroke --practice-sheet TEXT --output FILE.pdf [--page a4|letter] "
              "[--grid GRID] [--box MM] [--rows ROWS] [--title TEXT] [--name-line] "
              "[--no-pinyin]\n",
              "       qir-stroke --help | --version\n", "  -h, --help ", "  --version ",
              "  --practice-sheet TEXT ", "Without options, the program opens its window"}) {
            EXPECT_TRUE(help.out.contains(QString::fromUtf8(expected))) << expected;
        }
    }
}

TEST_F(ProgramCommandLine, WithoutADisplayTheWindowSaysSoInOneLineAndEndsWithOne) {
    Outcome outcome = run({});
    EXPECT_EQ(outcome.exitCode, 1);
    EXPECT_EQ(outcome.err, QStringLiteral("qir-stroke: cannot open the window: no display "
                                          "(neither DISPLAY nor WAYLAND_DISPLAY is set)\n"));

    // A display that is named but not there.
    environment.insert("DISPLAY", ":97");
    outcome = run({});
    EXPECT_EQ(outcome.exitCode, 1);
    EXPECT_TRUE(outcome.err.startsWith(QStringLiteral("qir-stroke: cannot open the window: ")))
        << outcome.err.toStdString();
    EXPECT_TRUE(outcome.err.contains(QStringLiteral(":97"))) << outcome.err.toStdString();
    EXPECT_EQ(outcome.err.count(QLatin1Char('\n')), 1) << outcome.err.toStdString();
}

// The practice window alone: a character the store cannot give is named and left out, a text
// with none to practise ends at once, no text at all opens the window to choose in, and a logout
// (SIGTERM) closes the window the way its close box would, with the status that says what was left
// out.
TEST_F(ProgramCommandLine, PracticeOpensTheWindowOnTheCharactersItCanAndNamesTheRest) {
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    const std::filesystem::path folder = runtime.path().toStdString();
    testing::writeVectorTable(folder, {{testing::kYong, testing::barAndBeam()}});

    Outcome outcome = run({"--practice", "a"});
    EXPECT_EQ(outcome.exitCode, 1);
    EXPECT_TRUE(outcome.err.contains(QStringLiteral("\"a\" is not a Chinese character")))
        << outcome.err.toStdString();
    EXPECT_TRUE(outcome.err.contains(QStringLiteral("no character of the text can be practised")));
    EXPECT_EQ(run({"--practice", "  "}).exitCode, 1);
    EXPECT_EQ(run({"--practice", "永", "水"}).exitCode, 2);

    // Without TEXT the window opens with no character, for the learner to choose one.
    for (const auto& [arguments, status] :
         {std::pair{QStringList{QStringLiteral("--practice"), QStringLiteral("永")}, 0},
          std::pair{QStringList{QStringLiteral("--practice=永")}, 0},
          std::pair{QStringList{QStringLiteral("--practice"), QStringLiteral("永a")}, 3},
          std::pair{QStringList{QStringLiteral("--practice")}, 0}}) {
        std::filesystem::remove(folder / "practice-record.sqlite");
        QProcess program;
        program.setProcessEnvironment(environment);
        program.setWorkingDirectory(runtime.path());
        program.start(QStringLiteral(QIR_PROGRAM), arguments);
        ASSERT_TRUE(program.waitForStarted());
        // The window keeps its record in the working folder from the moment it opens.
        QElapsedTimer clock;
        clock.start();
        while (!std::filesystem::exists(folder / "practice-record.sqlite") &&
               clock.elapsed() < 20000) {
            ASSERT_FALSE(program.waitForFinished(20))
                << "ended before its window opened: "
                << program.readAllStandardError().toStdString();
        }
        ASSERT_EQ(program.state(), QProcess::Running);
        program.terminate();
        ASSERT_TRUE(program.waitForFinished(20000));
        EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(program.exitCode(), status) << arguments.join(QLatin1Char(' ')).toStdString();
    }
}

}  // namespace
}  // namespace qir
