// What the Windows file services tell tests and benchmarks about their work.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/file_services.h"

namespace orvando::win32 {

// How many times a folder has been read, process-wide.
std::uint64_t folderReads();

// The rename at the bottom of every rename: `from` to `to`, refused by the
// file system itself when `to` exists at that moment. Nothing is checked
// beforehand.
std::optional<RenameError> moveNoReplace(const std::wstring& from, const std::wstring& to);

}  // namespace orvando::win32
