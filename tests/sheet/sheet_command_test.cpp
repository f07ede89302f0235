// SPDX-License-Identifier: GPL-3.0-or-later
// The real program asked for a practice sheet on its command line: what it writes, what it
// says, and how it ends, for good and for bad input.
#include "sheet/sheet_command.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <chrono>
#include <cstdio>
#include <set>

#include "tests/sheet/poppler.h"
#include "tests/sheet/test_strokes.h"
#include "tests/sheet/vector_table_file.h"
#include "tests/support/failing_disk.h"
#include "tests/support/scratch_directory.h"

namespace qir::sheet {
namespace {

namespace fs = std::filesystem;

struct Outcome {
    int exitCode = -1;
    QString out;
    QString err;
};

class SheetCommand : public ::testing::Test {
  protected:
    SheetCommand() {
        testing::writeVectorTable(scratch.path(), {{testing::kYong, testing::barAndBeam()},
                                                   {testing::kWo, testing::barAndBeam()}});
        // No display, no desktop session, a private runtime folder and home.
        environment.remove(QStringLiteral("DISPLAY"));
        environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
        environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), session.path());
        environment.insert(QStringLiteral("HOME"), session.path());
        environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
    }

    Outcome run(const QStringList& arguments) {
        QProcess program;
        program.setProcessEnvironment(environment);
        program.setWorkingDirectory(QString::fromStdString(scratch.path().string()));
        program.start(QStringLiteral(QIR_PROGRAM), arguments);
        EXPECT_TRUE(program.waitForFinished(30000));
        return {program.exitStatus() == QProcess::NormalExit ? program.exitCode() : -1,
                QString::fromUtf8(program.readAllStandardOutput()),
                QString::fromUtf8(program.readAllStandardError())};
    }

    std::set<std::string> files() const {
        std::set<std::string> names;
        for (const auto& entry : fs::directory_iterator(scratch.path())) {
            names.insert(entry.path().filename().string());
        }
        return names;
    }

    qir::testing::ScratchDirectory scratch;
    QTemporaryDir session;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
};

TEST_F(SheetCommand, WritesTheSheetOfEveryCharacterInOrderWithoutADisplay) {
    // A display that does not exist: the command must not even try it.
    environment.insert(QStringLiteral("DISPLAY"), QStringLiteral(":97"));
    const Outcome outcome =
        run({"--practice-sheet", "永我 永", "--output", "sheet.pdf", "--page", "letter"});
    EXPECT_EQ(outcome.exitCode, 0);
    EXPECT_EQ(outcome.err, QString());
    EXPECT_EQ(outcome.out, QStringLiteral("Wrote sheet.pdf: 3 characters on 2 pages.\n"));
    const testing::PdfInfo info = testing::pdfInfo(scratch.path() / "sheet.pdf");
    EXPECT_EQ(info.pages, 2);
    EXPECT_EQ(info.pageSize, QStringLiteral("612 x 792 pts (letter)"));
    EXPECT_EQ(info.title, QStringLiteral("Practice sheet: 永我永"));
    const QString text = testing::pdfText(scratch.path() / "sheet.pdf");
    EXPECT_EQ(text.count(QStringLiteral("2 strokes")), 3);
    // The C locale's paper is A4.
    EXPECT_EQ(run({"--practice-sheet=永", "--output=a4.pdf"}).exitCode, 0);
    EXPECT_TRUE(testing::pdfInfo(scratch.path() / "a4.pdf").pageSize.endsWith("(A4)"));
}

TEST_F(SheetCommand, CharactersThatCannotGoOnTheSheetAreNamedAndLeftOut) {
    const Outcome outcome = run({"--practice-sheet", "永A😀丂罐我", "--output", "sheet.pdf"});
    EXPECT_EQ(outcome.exitCode, 3);
    EXPECT_EQ(
        outcome.err,
        QStringLiteral("qir-stroke: left out character 2, \"A\": not a Chinese character\n"
                       "qir-stroke: left out character 3, \"😀\": not a Chinese character\n"
                       "qir-stroke: left out character 4, \"丂\": outside GB2312, whose 6,763 "
                       "Chinese characters the store holds\n"
                       "qir-stroke: left out character 5, \"罐\": not in the character store\n"));
    EXPECT_EQ(outcome.out, QStringLiteral("Wrote sheet.pdf: 2 characters on 1 page.\n"));
    EXPECT_EQ(testing::pdfInfo(scratch.path() / "sheet.pdf").pages, 1);
}

TEST_F(SheetCommand, ATextOfNothingUsableWritesNothing) {
    const auto before = files();
    Outcome outcome = run({"--practice-sheet", "ABC", "--output", "sheet.pdf"});
    EXPECT_EQ(outcome.exitCode, 1);
    EXPECT_TRUE(outcome.err.endsWith(
        QStringLiteral("qir-stroke: no practice sheet written: none of the characters can go on "
                       "it\n")))
        << outcome.err.toStdString();
    EXPECT_EQ(files(), before);

    QString many;
    for (int i = 0; i < 30; ++i) {
        many += QStringLiteral("x");
    }
    outcome = run({"--practice-sheet", many, "--output", "sheet.pdf"});
    EXPECT_EQ(outcome.exitCode, 1);
    EXPECT_TRUE(outcome.err.contains(QStringLiteral("left out 10 more characters\n")));
    EXPECT_EQ(outcome.err.count(QLatin1Char('\n')), 20 + 2);

    outcome = run({"--practice-sheet", "", "--output", "sheet.pdf"});
    EXPECT_EQ(outcome.exitCode, 2);
    EXPECT_EQ(outcome.err, QStringLiteral("qir-stroke: --practice-sheet: the text holds no "
                                          "characters (see 'qir-stroke --help')\n"));
    outcome = run({"--practice-sheet", QString(1001, QChar(0x6C38)), "--output", "sheet.pdf"});
    EXPECT_EQ(outcome.exitCode, 2);
    EXPECT_TRUE(outcome.err.startsWith(
        QStringLiteral("qir-stroke: --practice-sheet: the text holds 1001 characters")));
    // A bad shape of the sheet: one line, exit status 2, no file.
    outcome = run({"--practice-sheet", "永", "--output", "sheet.pdf", "--box", "100"});
    EXPECT_EQ(outcome.exitCode, 2);
    EXPECT_EQ(outcome.err, QStringLiteral("qir-stroke: --box: the box must be 12 to 24 mm (see "
                                          "'qir-stroke --help')\n"));
    outcome = run({"--practice-sheet", "永", "--output", "sheet.pdf", "--grid", "hex"});
    EXPECT_EQ(outcome.exitCode, 2);
    outcome = run({"--practice-sheet", "永", "--output", "sheet.pdf", "--rows", "copy,-1"});
    EXPECT_EQ(outcome.exitCode, 2);
    outcome = run({"--practice-sheet", "永", "--output", "sheet.pdf", "--title",
                   QString(10000, QLatin1Char('t'))});
    EXPECT_EQ(outcome.exitCode, 2);
    EXPECT_EQ(outcome.err.count(QLatin1Char('\n')), 1);
    EXPECT_EQ(files(), before);
}

TEST_F(SheetCommand, AnOutputThatCannotBeWrittenIsNamedAndNothingIsLeftBehind) {
    scratch.write("taken.pdf", "the teacher's own sheet");
    const auto before = files();
    Outcome outcome = run({"--practice-sheet", "永", "--output", "taken.pdf"});
    EXPECT_EQ(outcome.exitCode, 1);
    EXPECT_EQ(outcome.err, QStringLiteral("qir-stroke: Cannot create file taken.pdf: the file "
                                          "already exists.\n"));
    EXPECT_EQ(scratch.read("taken.pdf"), "the teacher's own sheet");

    outcome = run({"--practice-sheet", "永", "--output", "gone/sheet.pdf"});
    EXPECT_EQ(outcome.exitCode, 1);
    EXPECT_EQ(outcome.err, QStringLiteral("qir-stroke: Cannot create file gone/sheet.pdf: the "
                                          "folder %1 does not exist.\n")
                               .arg(QString::fromStdString((scratch.path() / "gone").string())));

    // The superuser writes into folders whose mode says read-only; the kernel's does not
    // let anyone.
    QString locked = QStringLiteral("/sys");
    if (::geteuid() != 0) {
        fs::create_directory(scratch.path() / "locked");
        fs::permissions(scratch.path() / "locked", fs::perms::owner_read | fs::perms::owner_exec);
        locked = QString::fromStdString((scratch.path() / "locked").string());
    }
    outcome = run({"--practice-sheet", "永", "--output", locked + "/sheet.pdf"});
    EXPECT_EQ(outcome.exitCode, 1);
    EXPECT_TRUE(outcome.err.startsWith(
        QStringLiteral("qir-stroke: Cannot create file %1/sheet.pdf: ").arg(locked)))
        << outcome.err.toStdString();
    EXPECT_FALSE(fs::exists(locked.toStdString() + "/sheet.pdf"));
    if (::geteuid() != 0) {
        fs::permissions(scratch.path() / "locked", fs::perms::owner_all);
        fs::remove(scratch.path() / "locked");
    }
    EXPECT_EQ(files(), before);
}

TEST_F(SheetCommand, AMissingOrWronglyKeyedVectorTableIsNamed) {
    fs::remove(scratch.path() / "bishunvec.db");
    Outcome outcome = run({"--practice-sheet", "永", "--output", "sheet.pdf"});
    EXPECT_EQ(outcome.exitCode, 1);
    EXPECT_EQ(outcome.err,
              QStringLiteral("qir-stroke: Cannot open table bishunvec.db: the file does not "
                             "exist.\nqir-stroke: the character store is read from %1\n")
                  .arg(QString::fromStdString(scratch.path().string())));

    testing::writeVectorTable(scratch.path(), {{testing::kYong, testing::barAndBeam()}}, "abc123");
    outcome = run({"--practice-sheet", "永", "--output", "sheet.pdf"});
    EXPECT_EQ(outcome.exitCode, 1);
    EXPECT_TRUE(outcome.err.startsWith(
        QStringLiteral("qir-stroke: Cannot open table bishunvec.db: the file is not a table "
                       "file, or the password is wrong.\n")))
        << outcome.err.toStdString();
    EXPECT_FALSE(fs::exists(scratch.path() / "sheet.pdf"));
}

TEST_F(SheetCommand, HelpDocumentsTheCommandAndBadOptionsPointToIt) {
    Outcome outcome = run({"--help"});
    EXPECT_EQ(outcome.exitCode, 0);
    EXPECT_EQ(outcome.err, QString());
    for (const char* expected :
         {"qir-stroke --practice-sheet TEXT --output FILE.pdf [--page a4|letter]",
          "qir-stroke --info TEXT", "Without options, the program opens its window.",
          "Exit status: 0"}) {
        EXPECT_TRUE(outcome.out.contains(QString::fromUtf8(expected))) << expected;
    }
    EXPECT_TRUE(outcome.out.contains(QStringLiteral("The character store is read from\n%1\n")
                                         .arg(QString::fromStdString(scratch.path().string()))));
    outcome = run({"--practice-sheet", "永", "--output", "a.pdf", "--page", "a5"});
    EXPECT_EQ(outcome.exitCode, 2);
    EXPECT_EQ(outcome.err, QStringLiteral("qir-stroke: --page takes a4 or letter, not a5 (see "
                                          "'qir-stroke --help')\n"));
}

TEST_F(SheetCommand, ARunningInstanceIsLeftAlone) {
    QProcess window;
    QProcessEnvironment windowEnvironment = environment;
    windowEnvironment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    window.setProcessEnvironment(windowEnvironment);
    window.setWorkingDirectory(QString::fromStdString(scratch.path().string()));
    window.start(QStringLiteral(QIR_PROGRAM), {});
    ASSERT_TRUE(window.waitForStarted());
    QElapsedTimer clock;
    clock.start();
    while (QDir(session.path()).entryList({"MyTarsel*"}, QDir::System).isEmpty() &&
           clock.elapsed() < 10000) {
        QThread::msleep(20);
    }
    ASSERT_FALSE(QDir(session.path()).entryList({"MyTarsel*"}, QDir::System).isEmpty());

    const Outcome outcome = run({"--practice-sheet", "永", "--output", "sheet.pdf"});
    EXPECT_EQ(outcome.exitCode, 0);
    EXPECT_TRUE(fs::exists(scratch.path() / "sheet.pdf"));
    EXPECT_EQ(window.state(), QProcess::Running);
    window.kill();
    window.waitForFinished();
}

// A sheet of `count` characters of the made-up table.
QString manyCharacters(int count) {
    QString text;
    for (int i = 0; i < count; ++i) {
        text += i % 2 == 0 ? QStringLiteral("永") : QStringLiteral("我");
    }
    return text;
}

TEST_F(SheetCommand, AFullDiskWritesNothingAndSaysSo) {
    SheetArguments arguments;
    arguments.text = manyCharacters(20);
    arguments.output = scratch.path() / "sheet.pdf";
    arguments.options.paper = Paper::A4;
    std::FILE* out = std::tmpfile();
    std::FILE* err = std::tmpfile();
    const auto readBack = [](std::FILE* stream) {
        std::rewind(stream);
        std::string text;
        for (int c; (c = std::fgetc(stream)) != EOF;) {
            text += static_cast<char>(c);
        }
        return text;
    };
    int exitCode = -1;
    {
        const qir::testing::DiskFullAfter disk(20000);
        exitCode = runSheet(arguments, scratch.path(), out, err);
    }
    EXPECT_EQ(exitCode, kNothingWritten);
    EXPECT_EQ(readBack(out), "");
    EXPECT_EQ(readBack(err), "qir-stroke: Cannot create file " + arguments.output.string() +
                                 ": the disk is full.\n");
    std::fclose(out);
    std::fclose(err);
    EXPECT_EQ(files(), std::set<std::string>{"bishunvec.db"});
}

TEST_F(SheetCommand, AFullFileSystemWritesNothingAndExitsOne) {
    const testing::SmallFilesystem small(scratch.path() / "small", 64 * 1024);
    if (!small.mounted()) {
        GTEST_SKIP() << small.reason() << "; AFullDiskWritesNothingAndSaysSo stands in for it";
    }
    const Outcome outcome =
        run({"--practice-sheet", manyCharacters(40), "--output", "small/sheet.pdf"});
    EXPECT_EQ(outcome.exitCode, 1);
    EXPECT_EQ(outcome.out, QString());
    EXPECT_EQ(
        outcome.err,
        QStringLiteral("qir-stroke: Cannot create file small/sheet.pdf: the disk is full.\n"));
    EXPECT_TRUE(fs::is_empty(scratch.path() / "small"));
}

TEST_F(SheetCommand, AnInterruptedSheetLeavesNothingAndAKilledOnesLitterIsClearedLater) {
    const QString text = manyCharacters(1000);
    // Waits for the half-made sheet to appear beside the target and returns its name.
    const auto temporaryOf = [&](QProcess& program) {
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < 20000 && program.state() == QProcess::Running) {
            for (const std::string& name : files()) {
                if (name.starts_with(".sheet.pdf.qir-")) {
                    return name;
                }
            }
            QThread::msleep(5);
        }
        return std::string();
    };
    for (const int signalNumber : {SIGINT, SIGTERM, SIGHUP, SIGKILL}) {
        QProcess program;
        program.setProcessEnvironment(environment);
        program.setWorkingDirectory(QString::fromStdString(scratch.path().string()));
        program.start(QStringLiteral(QIR_PROGRAM),
                      {"--practice-sheet", text, "--output", "sheet.pdf"});
        ASSERT_TRUE(program.waitForStarted());
        const std::string temporary = temporaryOf(program);
        ASSERT_NE(temporary, "") << "no sheet being written, signal " << signalNumber;
        ::kill(static_cast<pid_t>(program.processId()), signalNumber);
        ASSERT_TRUE(program.waitForFinished(10000));
        EXPECT_EQ(program.exitStatus(), QProcess::CrashExit) << signalNumber;
        if (signalNumber == SIGKILL) {
            // Nothing can clear up after a kill; a later run clears what is old enough to be
            // no live run's.
            ASSERT_EQ(files(), (std::set<std::string>{"bishunvec.db", temporary}));
            const fs::path litter = scratch.path() / temporary;
            fs::last_write_time(litter, fs::last_write_time(litter) - std::chrono::hours(2));
            EXPECT_EQ(run({"--practice-sheet", "永", "--output", "other.pdf"}).exitCode, 0);
            EXPECT_EQ(files(), (std::set<std::string>{"bishunvec.db", "other.pdf"}));
        } else {
            EXPECT_EQ(files(), std::set<std::string>{"bishunvec.db"}) << signalNumber;
        }
    }
}

TEST_F(SheetCommand, TheLongestNameTheFolderTakesIsWritten) {
    const std::string name = std::string(251, 's') + ".pdf";
    const Outcome outcome =
        run({"--practice-sheet", "永", "--output", QString::fromStdString(name)});
    EXPECT_EQ(outcome.exitCode, 0) << outcome.err.toStdString();
    EXPECT_EQ(testing::pdfInfo(scratch.path() / name).pages, 1);
    EXPECT_EQ(files(), (std::set<std::string>{"bishunvec.db", name}));
}

// The store the build stages, read where the staged program reads it.
TEST(SheetCommandOnTheStore, WritesTheSheetOfYongGuanWoFromTheRealStrokes) {
    QTemporaryDir output;
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("DISPLAY"));
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), output.path());
    program.setProcessEnvironment(environment);
    program.setWorkingDirectory(QStringLiteral(QIR_STAGE_DIR));
    const QString pdf = output.filePath(QStringLiteral("sheet.pdf"));
    program.start(QStringLiteral(QIR_PROGRAM),
                  {"--practice-sheet", "永罐我", "--output", pdf, "--page", "a4"});
    ASSERT_TRUE(program.waitForFinished(30000));
    EXPECT_EQ(program.exitCode(), 0) << program.readAllStandardError().toStdString();
    EXPECT_EQ(testing::pdfInfo(pdf.toStdString()).pages, 3);
    // One character to a page, each headed by itself and its stroke count.
    const std::vector<std::pair<QString, QString>> headers{
        {QStringLiteral("永"), QStringLiteral("5 strokes")},
        {QStringLiteral("罐"), QStringLiteral("23 strokes")},
        {QStringLiteral("我"), QStringLiteral("7 strokes")}};
    for (std::size_t page = 0; page < headers.size(); ++page) {
        const QString text = testing::pdfText(pdf.toStdString(), static_cast<int>(page) + 1);
        EXPECT_TRUE(text.contains(headers[page].first)) << page;
        EXPECT_TRUE(text.contains(headers[page].second)) << page;
    }
}

}  // namespace
}  // namespace qir::sheet
