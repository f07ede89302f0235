// SPDX-License-Identifier: GPL-3.0-or-later
#include <QApplication>
#include <QFileInfo>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/application.h"
#include "app/application_error.h"
#include "app/clip_module.h"
#include "app/program_commands.h"
#include "app/tform1.h"
#include "app/work_ahead.h"
#include "desktop/desktop.h"
#include "desktop/display_opening.h"
#include "desktop/fonts.h"
#include "desktop/screen_depth.h"
#include "desktop/single_instance.h"
#include "desktop/termination_signals.h"
#include "facts/info_command.h"
#include "platform/errors.h"
#include "translations/translations.h"
#include "workfolder/folder_claim.h"
#include "workfolder/working_folder.h"

namespace {

std::filesystem::path executablePath() {
    std::error_code error;
    return std::filesystem::read_symlink("/proc/self/exe", error);
}

// The files the program rewrites in place in its working folder.
std::vector<std::string> scratchFileNames() {
    std::vector<std::string> names;
    for (const qir::workfolder::ProgramFile& file : qir::workfolder::programFiles()) {
        if (file.placement == qir::workfolder::Placement::Scratch) {
            names.push_back(file.name);
        }
    }
    return names;
}

// A start that cannot go on for a reason the user can mend (the working folder, a window of
// another session): the reason goes to the standard error and into the error box.
class StartRefused : public std::runtime_error {
  public:
    explicit StartRefused(const std::exception& cause) : std::runtime_error(cause.what()) {}
};

template <typename Step>
void refusingStart(Step&& step) {
    try {
        step();
    } catch (const std::exception& error) {
        throw StartRefused(error);
    }
}

// Everything from the command line to the event loop. `application` is made here, and left
// to the caller, which reports what escapes.
int runProgram(int argc, char** argv, std::optional<QApplication>& application) {
    // The command line first: a command (a practice sheet, say) needs no window and leaves a
    // running instance be, and a wrong command line must not open one. Commands read only
    // read-only tables: an installed program's data folder, or the folder a staged one runs in.
    const std::optional<int> commandExit =
        qir::app::programCommandLine(qir::workfolder::installedDataFolder(executablePath())
                                         .value_or(std::filesystem::current_path()),
                                     [] {
                                         qir::workfolder::enterWorkingFolder(
                                             executablePath(),
                                             qir::workfolder::currentEnvironment());
                                     })
            .run(std::vector<std::string>(argv + 1, argv + argc), stdout, stderr);
    if (commandExit) {
        return *commandExit;
    }

    // Before anything is set up: a running instance takes over and this start ends.
    const auto instance = qir::InstanceAddress::ofThisUser(QString::fromLatin1(qir::kInstanceName));
    if (qir::handOverToRunningInstance(instance)) {
        return 0;
    }

    // While the application object is made (work_ahead.h).
    const std::jthread fontConfiguration = qir::app::loadFontConfigurationAhead();
    {
        const qir::DisplayOpening opening(QString::fromLatin1(qir::app::kProgramName));
        application.emplace(argc, argv);
    }
    // While the window is built (work_ahead.h).
    const std::jthread sessionBus = qir::app::connectSessionBusAhead();
    // A logout or kill ends the program as its exit button does.
    qir::QuitOnTerminationSignals quitOnTerminationSignals;
    // The X11 window class of our windows.
    QApplication::setApplicationName(QString::fromLatin1(qir::kInstanceName));
    // The window's identity for the desktop (its Wayland app_id): the menu entry's name, so a
    // dock shows the program's icon and groups the window with its launcher.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.example.qir.stroke"));
    // The user's language, for our texts and Qt's own dialogs, before any of them is made.
    const qir::translations::Translations translations;
    qir::SystemDesktop desktop;

    // An installed program runs in the user's own working folder; everything after this
    // finds its files there.
    refusingStart([] {
        qir::workfolder::enterWorkingFolder(executablePath(),
                                            qir::workfolder::currentEnvironment());
    });

    qir::installFontSubstitutions();
    // The screen's colour depth is read once, at start. Where nothing can be painted no box
    // can say so either: the refusal goes to the standard error.
    if (const auto refusal = qir::screenDepthRefusal(qir::screenColourDepth())) {
        std::fprintf(stderr, "%s\n", refusal->c_str());
        return 1;
    }

    // The program outlives its window.
    qir::app::Application program(desktop, instance);
    if (program.claimInstance() == qir::InstanceClaim::HandedOver) {
        return 0;
    }
    // The channel reaches only this session's instance: one of another session (another
    // runtime folder) holds the working folder, and this start says so instead of opening a
    // second window on the same scratch tables.
    std::optional<qir::workfolder::FolderClaim> folderClaim;
    refusingStart(
        [&] { folderClaim.emplace(std::filesystem::current_path(), scratchFileNames()); });
    // Clips are decoded by a module, loaded once the window has painted (clip_module.h).
    qir::app::useClipModule(executablePath());
    qir::TForm1 form(program);
    QObject::connect(&form, &qir::TForm1::firstPainted, [] { qir::app::startLoadingClipModule(); });
    form.show();
    return QApplication::exec();
}

}  // namespace

// The one guard of the start: what escapes before the event loop runs ends the program with
// status 1, said on the standard error, and in a box once there is an application to show it.
int main(int argc, char** argv) {
    std::optional<QApplication> application;
    try {
        return runProgram(argc, argv, application);
    } catch (const StartRefused& error) {
        const std::string message = qir::withFullStop(error.what());
        std::fprintf(stderr, "qir-stroke: %s\n", message.c_str());
        if (application) {
            qir::SystemDesktop().showError(QString::fromStdString(message));
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "qir-stroke: %s\n", qir::endingInFullStop(error.what()).c_str());
        if (application) {
            qir::app::showApplicationError(error,
                                           QFileInfo(QString::fromLocal8Bit(argv[0])).fileName(),
                                           __builtin_return_address(0));
        }
    }
    return 1;
}
