// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where the program runs. Every file name it uses resolves against its working directory, and it
// writes its scratch files there. Run from its stage folder it keeps the folder it was started
// in. Installed, its files lie read-only under the install prefix, so each user gets a folder of
// their own, $XDG_DATA_HOME/qir-stroke: links to the read-only tables, and copies of the
// scratch table, the skin bitmaps and the help page; the program then runs in it.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/errors.h"

namespace qir::workfolder {

// The folder cannot be prepared, or the installation lacks a file; the message says which.
class WorkingFolderError : public Error {
  public:
    explicit WorkingFolderError(const std::string& message) : Error("EWorkingFolder", message) {}
};

// How a file of the installed data folder reaches the user's folder.
enum class Placement {
    Linked,   // read-only data, shared by every user: a symbolic link
    Copied,   // small files the user may change: a copy, refreshed by a later version unless
              // the user changed it
    Scratch,  // the program's own scratch data: a copy, started afresh by a later version
};

struct ProgramFile {
    std::string name;
    Placement placement;
    bool optional;  // an installation may lack it; the program then does without
};

// The files of the installed data folder, as the install rules place them.
const std::vector<ProgramFile>& programFiles();

// The version the folder is prepared for: the program's own.
std::string_view programVersion();

// The data folder of a program installed at `executable` (<prefix>/bin/qir-stroke has
// <prefix>/share/qir-stroke), or nothing when the program does not run from an installation.
std::optional<std::filesystem::path> installedDataFolder(const std::filesystem::path& executable);

struct Environment {
    std::string xdgDataHome;  // $XDG_DATA_HOME; ignored unless absolute, as the XDG rules say
    std::string home;         // $HOME, or the password database's home folder
};
Environment currentEnvironment();

// $XDG_DATA_HOME/qir-stroke, or ~/.local/share/qir-stroke.
std::filesystem::path userFolder(const Environment& environment);

// Brings `folder` up to date with `dataFolder`: creates what is missing, repairs broken links,
// and, when the folder was prepared by another version, refreshes the files it owns. A file the
// user changed or put there is never deleted. Several starts may prepare the same folder at once.
void prepareUserFolder(const std::filesystem::path& dataFolder, const std::filesystem::path& folder,
                       std::string_view version = programVersion(),
                       const std::vector<ProgramFile>& files = programFiles());

// For a program installed at `executable`: prepares the user's folder and makes it the current
// directory, returning it. Does nothing for a program that does not run from an installation.
std::optional<std::filesystem::path> enterWorkingFolder(const std::filesystem::path& executable,
                                                        const Environment& environment);

}  // namespace qir::workfolder
