// Every text the program shows, in one place.
#pragma once

#include <string>
#include <string_view>

#include "orvando_version.h"
#include "platform/file_services.h"

namespace orvando::text {

inline constexpr std::string_view kDesignedCaption = "Orvando v2";
inline constexpr std::string_view kCaptionNotEnabled = "Orvando v2 (Det: Not Enabled)";
inline constexpr std::string_view kCaptionErrorRecRename = "Orvando v2 (Det: Error, rec. Rename)";
inline constexpr std::string_view kCaptionModEnabled = "Orvando v2 (Det: Mod Enabled)";
inline constexpr std::string_view kCaptionErrorRecUnrename =
    "Orvando v2 (Det: Error, rec. Un-rename)";

inline constexpr std::string_view kRenameButton = "Rename (Enable-Mod)";
inline constexpr std::string_view kUnrenameButton = "Un-rename (Normal Music)";
inline constexpr std::string_view kErrorHelpButton = "Error Help";

inline constexpr std::string_view kFileErrorTitle = "File error";
inline constexpr std::string_view kFileErrorPrompt = "Place this EXE into the main KotOR folder";

inline constexpr std::string_view kRenameWarningTitle = "File rename error";

inline constexpr std::string_view kHelpTitle = "How to manage an error";
inline constexpr std::string_view kHelpText =
    "The renaming function will report which file cannot be located and renamed. That file will "
    "be skipped and the process will continue. All you then have to do is manually rename the "
    "file to match the correct new name.";

inline constexpr std::string_view kRenameFailureTitle = "Orvando v2";

inline constexpr std::string_view kVersion = ORVANDO_VERSION;

// The warning for a source file that cannot be found; the user is to give the
// file the final name by hand.
std::string missingSourceWarning(std::string_view oldname, std::string_view finalname);

// The error for a rename that was refused. `renamesBefore` counts the renames
// of this run that were made before it; they stay made.
std::string renameFailure(std::string_view oldname, std::string_view finalname,
                          std::string_view reason, int renamesBefore);

// The error for a switch that would have stopped at this rename, and so was
// not started; what the player can do depends on why.
std::string switchRefused(std::string_view oldname, std::string_view finalname,
                          std::string_view reason, RenameError::Kind kind);

}  // namespace orvando::text
