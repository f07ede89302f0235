// SPDX-License-Identifier: GPL-3.0-or-later
#include "workfolder/folder_claim.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

#include "workfolder/folder_texts.h"

namespace qir::workfolder {
namespace {

std::string reason(int error) {
    return std::generic_category().message(error);
}

}  // namespace

FolderClaim::FolderClaim(const std::filesystem::path& folder,
                         const std::vector<std::string>& scratchFiles)
    : folder_(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {
    if (!folder_.valid()) {
        throw WorkingFolderError(filled(FolderTexts::tr("Cannot use the working folder %1: %2"),
                                        folder.string(), reason(errno)));
    }
    while (::flock(folder_.get(), LOCK_EX | LOCK_NB) != 0) {
        if (errno == EWOULDBLOCK) {
            throw WorkingFolderError(
                filled(FolderTexts::tr("QIR Demonstration of stroke order is already running for "
                                       "this user in another session, in the working folder "
                                       "%1. Close it there, then start the program again"),
                       folder.string()));
        }
        if (errno != EINTR) {
            break;  // a file system without locks: the check cannot be made, the program runs
        }
    }
    // Written at once by the first character: found now, and said with its reason.
    if (::faccessat(folder_.get(), ".", W_OK, AT_EACCESS) != 0) {
        throw WorkingFolderError(
            filled(FolderTexts::tr("The working folder %1 cannot be written: %2"), folder.string(),
                   reason(errno)));
    }
    for (const std::string& name : scratchFiles) {
        if (::faccessat(folder_.get(), name.c_str(), W_OK, AT_EACCESS) != 0 && errno != ENOENT) {
            throw WorkingFolderError(
                filled(FolderTexts::tr("The working folder %1 cannot be written: %2: %3"),
                       folder.string(), name, reason(errno)));
        }
    }
}

}  // namespace qir::workfolder
