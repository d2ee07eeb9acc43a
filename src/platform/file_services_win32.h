// What the Windows file services tell tests and benchmarks about their work.
#pragma once

#include <cstdint>

namespace orvando::win32 {

// How many times a folder has been read, process-wide.
std::uint64_t folderReads();

}  // namespace orvando::win32
