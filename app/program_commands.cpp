// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/program_commands.h"

#include "app/practice_command.h"
#include "commandline/version.h"
#include "facts/info_command.h"
#include "handwriting/recognise_command.h"
#include "practice/judge_command.h"
#include "sheet/sheet_command.h"

namespace qir::app {
namespace {

// The options every Qt program takes for its window (QGuiApplication's and QApplication's).
std::vector<cli::Option> toolkitOptions() {
    std::vector<cli::Option> options;
    for (const char* name :
         {"platform", "platformpluginpath", "platformtheme", "plugin", "qwindowgeometry",
          "qwindowicon", "qwindowtitle", "session", "display", "style", "stylesheet"}) {
        options.push_back({QString::fromLatin1(name), QStringLiteral("VALUE"), {}});
    }
    for (const char* name : {"reverse", "widgetcount", "nograb", "dograb", "sync"}) {
        options.push_back({QString::fromLatin1(name), {}, {}});
    }
    return options;
}

}  // namespace

cli::CommandLine programCommandLine(const std::filesystem::path& storeFolder,
                                    std::function<void()> enterWorkingFolder) {
    cli::CommandLine line(
        QString::fromLatin1(kProgramName), cli::projectVersion(),
        QStringLiteral("Without options, the program opens its window. While one is "
                       "open, a start brings it forward instead."));
    line.addUsualOptions(toolkitOptions());
    line.add(sheet::sheetCommand(storeFolder));
    line.add(facts::infoCommand(storeFolder));
    line.add(practice::judgeCommand(storeFolder));
    line.add(handwriting::recogniseCommand(storeFolder));
    line.add(practiceCommand(std::move(enterWorkingFolder)));
    return line;
}

}  // namespace qir::app
