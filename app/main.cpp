// SPDX-License-Identifier: GPL-3.0-or-later
#include <QApplication>
#include <QFileInfo>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/application.h"
#include "app/application_error.h"
#include "app/tform1.h"
#include "desktop/desktop.h"
#include "desktop/fonts.h"
#include "desktop/screen_depth.h"
#include "desktop/single_instance.h"
#include "desktop/termination_signals.h"
#include "facts/info_command.h"
#include "platform/errors.h"
#include "practice/judge_command.h"
#include "sheet/sheet_command.h"
#include "workfolder/working_folder.h"

namespace {

std::filesystem::path executablePath() {
    std::error_code error;
    return std::filesystem::read_symlink("/proc/self/exe", error);
}

}  // namespace

int main(int argc, char** argv) {
    // The commands for scripts need no window and leave a running instance be. They read only
    // read-only tables: an installed program's data folder, or the folder a staged one runs in.
    const auto readOnlyFolder = [] {
        return qir::workfolder::installedDataFolder(executablePath())
            .value_or(std::filesystem::current_path());
    };
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    // Judging strokes from a file.
    if (qir::practice::asksForJudgeCommand(arguments)) {
        return qir::practice::runJudgeCommand(arguments, readOnlyFolder());
    }
    // The character facts for word lists.
    if (qir::facts::asksForInfoCommand(arguments)) {
        return qir::facts::runInfoCommand(arguments, readOnlyFolder(), stdout, stderr);
    }
    // A practice sheet.
    if (qir::sheet::asksForSheetCommand(arguments)) {
        return qir::sheet::runSheetCommand(argc, argv, readOnlyFolder());
    }

    // Before anything is set up: a running instance takes over and this start ends.
    const auto instance = qir::InstanceAddress::ofThisUser(QString::fromLatin1(qir::kInstanceName));
    if (qir::handOverToRunningInstance(instance)) {
        return 0;
    }

    QApplication application(argc, argv);
    // A logout or kill ends the program as its exit button does.
    qir::QuitOnTerminationSignals quitOnTerminationSignals;
    // The X11 window class of our windows.
    QApplication::setApplicationName(QString::fromLatin1(qir::kInstanceName));
    qir::SystemDesktop desktop;

    // An installed program runs in the user's own working folder; everything after this
    // finds its files there.
    try {
        qir::workfolder::enterWorkingFolder(executablePath(),
                                            qir::workfolder::currentEnvironment());
    } catch (const std::exception& error) {
        std::fprintf(stderr, "qir-stroke: %s\n", error.what());
        desktop.showError(QString::fromStdString(qir::withFullStop(error.what())));
        return 1;
    }

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
    std::unique_ptr<qir::TForm1> form;
    try {
        form = std::make_unique<qir::TForm1>(program);
    } catch (const std::exception& error) {
        qir::app::showApplicationError(error, QFileInfo(QString::fromLocal8Bit(argv[0])).fileName(),
                                       __builtin_return_address(0));
        return 1;
    }
    form->show();
    return QApplication::exec();
}
