// What the Linux file services tell tests and benchmarks about their work,
// and the no-replace rename they are built on.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/file_services.h"

namespace orvando::posix {

// How many times a folder's entries have been read in full, process-wide.
std::uint64_t folderReads();

// Drops the folder listings the file services keep for the process, so that
// the next lookups find them as a freshly started program would.
void forgetFolderListings();

// The rename at the bottom of every rename: `from` to `to`, both relative to
// the folder open as `folderFd`, refused by the kernel itself when `to`
// exists at that moment. Nothing is checked beforehand.
std::optional<RenameError> renameNoReplaceAt(int folderFd, const std::string& from,
                                             const std::string& to);

}  // namespace orvando::posix
