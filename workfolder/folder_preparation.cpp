// SPDX-License-Identifier: GPL-3.0-or-later
// Preparing a user's folder: every entry is checked on each start, which costs a few status
// calls; files are written only when something is missing, broken or from another version.

#include <unistd.h>

#include "workfolder/folder_files.h"
#include "workfolder/folder_stamp.h"
#include "workfolder/folder_texts.h"
#include "workfolder/working_folder.h"

namespace qir::workfolder {
namespace fs = std::filesystem;
namespace {

bool readableFile(const fs::path& file) {
    std::error_code error;
    return fs::is_regular_file(file, error) && ::access(file.c_str(), R_OK) == 0;
}

class FolderPreparation {
  public:
    FolderPreparation(const fs::path& folder, std::string_view version)
        : folder_(folder),
          old_(readMendedStamp(folder)),
          sameVersion_(old_ && old_->version == version) {
        stamp_.version = version;
        if (sameVersion_) {
            stamp_.copies = old_->copies;
        }
        changed_ = !sameVersion_;
    }

    void link(const fs::path& source, const std::string& name) {
        const fs::path entry = folder_ / name;
        std::error_code error;
        const fs::file_status status = fs::symlink_status(entry, error);
        if (fs::is_symlink(status)) {
            if (fs::read_symlink(entry, error) == source) {
                return;
            }
        } else if (status.type() != fs::file_type::not_found) {
            // A file of the user's (or a copy someone made) stands where the link belongs.
            moveAside(folder_, name);
        }
        linkAtomically(source, folder_, name);
    }

    void copy(const fs::path& source, const std::string& name) {
        const fs::path entry = folder_ / name;
        if (isRegularFile(entry, FollowLinks::Yes)) {
            if (sameVersion_) {
                return;
            }
            const auto current = fingerprint(entry);
            const bool untouched =
                current && old_ && old_->copies.contains(name) && old_->copies.at(name) == *current;
            if (!untouched) {
                // Changed by the user, or the user's own: kept as it is, and from now on
                // never replaced unless it already matches the installed file.
                if (current && current == fingerprint(source)) {
                    stamp_.copies[name] = *current;
                } else {
                    stamp_.copies.erase(name);
                }
                return;
            }
        }
        place(source, name);
        if (const auto copied = fingerprint(entry)) {
            stamp_.copies[name] = *copied;
        }
        changed_ = true;
    }

    // Scratch data holds nothing of the user's: another version starts it afresh, in case
    // its layout changed.
    void scratch(const fs::path& source, const std::string& name) {
        if (sameVersion_ && isRegularFile(folder_ / name, FollowLinks::Yes)) {
            return;
        }
        place(source, name);
    }

    void finish() {
        if (placed_) {
            syncFolder(folder_);
        }
        if (changed_) {
            writeStamp(folder_, stamp_);
        }
    }

  private:
    // Whatever stands in the way and is no file (a folder, a named pipe, a link that leads
    // nowhere or to a folder) is kept aside, not deleted.
    void place(const fs::path& source, const std::string& name) {
        mendUnlessRegular(folder_, name, FollowLinks::Yes);
        copyFileAtomically(source, folder_, name);
        placed_ = true;
    }

    // The stamp must be a file of the folder's own; anything else at its name is moved aside
    // and the folder treated as prepared by no known version.
    static std::optional<FolderStamp> readMendedStamp(const fs::path& folder) {
        mendUnlessRegular(folder, kStampFile, FollowLinks::No);
        return readStamp(folder);
    }

    fs::path folder_;
    std::optional<FolderStamp> old_;
    bool sameVersion_;
    FolderStamp stamp_;
    bool changed_ = false;
    bool placed_ = false;
};

}  // namespace

void prepareUserFolder(const fs::path& dataFolder, const fs::path& folder, std::string_view version,
                       const std::vector<ProgramFile>& files) {
    // A broken installation is reported before anything in the user's folder changes.
    for (const ProgramFile& file : files) {
        const fs::path source = dataFolder / file.name;
        if (!file.optional && !readableFile(source)) {
            throw WorkingFolderError(
                filled(FolderTexts::tr("The installed file %1 is missing or cannot be read. "
                                       "Reinstall qir-stroke to repair the installation."),
                       source.string()));
        }
    }

    createFolder(folder);
    const FolderLock lock(folder);
    FolderPreparation preparation(folder, version);
    for (const ProgramFile& file : files) {
        const fs::path source = dataFolder / file.name;
        if (!readableFile(source)) {
            continue;  // an optional file this installation lacks
        }
        switch (file.placement) {
            case Placement::Linked:
                preparation.link(source, file.name);
                break;
            case Placement::Copied:
                preparation.copy(source, file.name);
                break;
            case Placement::Scratch:
                preparation.scratch(source, file.name);
                break;
        }
    }
    preparation.finish();
}

}  // namespace qir::workfolder
