// SPDX-License-Identifier: GPL-3.0-or-later
#include "workfolder/working_folder.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <vector>

#include "workfolder/folder_files.h"
#include "workfolder/folder_texts.h"

namespace qir::workfolder {
namespace fs = std::filesystem;

std::optional<fs::path> installedDataFolder(const fs::path& executable) {
    // The install rules put the data folder at this place relative to the executable, so an
    // installation works under any prefix.
    const fs::path folder =
        (executable.parent_path() / QIR_DATA_FOLDER_FROM_BINARY).lexically_normal();
    std::error_code error;
    if (fs::is_directory(folder, error)) {
        return folder;
    }
    return std::nullopt;
}

Environment currentEnvironment() {
    Environment environment;
    if (const char* value = std::getenv("XDG_DATA_HOME")) {
        environment.xdgDataHome = value;
    }
    if (const char* value = std::getenv("HOME"); value != nullptr && *value != '\0') {
        environment.home = value;
    } else {
        passwd entry{};
        passwd* found = nullptr;
        std::vector<char> buffer(16384);
        if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 &&
            found != nullptr && found->pw_dir != nullptr) {
            environment.home = found->pw_dir;
        }
    }
    return environment;
}

fs::path userFolder(const Environment& environment) {
    const fs::path dataHome(environment.xdgDataHome);
    if (dataHome.is_absolute()) {
        return dataHome / "qir-stroke";
    }
    if (environment.home.empty()) {
        throw WorkingFolderError(QCoreApplication::translate("qir::workfolder::WorkingFolder",
                                                             "Cannot prepare the working folder: "
                                                             "neither XDG_DATA_HOME nor HOME "
                                                             "names a folder")
                                     .toStdString());
    }
    return fs::path(environment.home) / ".local" / "share" / "qir-stroke";
}

std::optional<fs::path> enterWorkingFolder(const fs::path& executable,
                                           const Environment& environment) {
    const std::optional<fs::path> dataFolder = installedDataFolder(executable);
    if (!dataFolder) {
        return std::nullopt;
    }
    const fs::path folder = userFolder(environment);
    prepareUserFolder(*dataFolder, folder);
    std::error_code error;
    fs::current_path(folder, error);
    if (error) {
        failToPrepare(folder, FolderTexts::tr("cannot enter it").toStdString(), error);
    }
    return folder;
}

}  // namespace qir::workfolder
