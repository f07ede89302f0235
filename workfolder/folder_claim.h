// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The running window's hold on the folder it works in. The single-instance channel finds a
// running instance only in the same session (its socket lies in the session's runtime folder);
// a second session of the same user would otherwise open a second window on the same scratch
// tables and fail at its first character. The hold is a lock on the folder itself, so it needs
// no file of its own and goes with the process, also when it is killed. Taking it also checks
// that the folder can be written, since the program writes its scratch files there.

#include <filesystem>
#include <string>
#include <vector>

#include "platform/file_descriptor.h"
#include "workfolder/working_folder.h"

namespace qir::workfolder {

class FolderClaim {
  public:
    // Throws WorkingFolderError with a message naming `folder`: when another instance works
    // in it, or when it or one of `scratchFiles` (names in it; missing ones are made later)
    // cannot be written, and why.
    FolderClaim(const std::filesystem::path& folder, const std::vector<std::string>& scratchFiles);

  private:
    FileDescriptor folder_;
};

}  // namespace qir::workfolder
