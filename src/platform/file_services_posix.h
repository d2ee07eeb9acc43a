// What the Linux file services tell tests and benchmarks about their work.
#pragma once

#include <cstdint>

namespace orvando::posix {

// How many times a folder's entries have been read in full, process-wide.
std::uint64_t folderReads();

// Drops the folder listings the file services keep for the process, so that
// the next lookups find them as a freshly started program would.
void forgetFolderListings();

}  // namespace orvando::posix
