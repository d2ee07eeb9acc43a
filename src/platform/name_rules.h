// How a catalogue name meets the files of a game folder, written once over a
// small primitive per platform (FolderAccess).
//
// Game folders copied from Windows often differ in case ("StreamMusic",
// "MUS_AREA_AHTO.WAV"), and on Linux or under Wine a folder tells case apart.
// So each component of a name is the entry of exactly that spelling when there
// is one, and otherwise every entry equal to it without regard to ASCII case.
// Several such entries: a query says present, a rename refuses naming them. A
// target counts as taken in any spelling. The file keeps the folder it was
// found in and takes the new name's spelling. A path that could leave the game
// folder is refused.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/file_services.h"

namespace orvando {

// What the rules need of one platform. Paths are below the game folder, with
// a backslash between components, spelt as on disk; "" is the game folder.
class FolderAccess {
  public:
    enum class Kind { Missing, File, Folder, Other };
    struct Listing {
        std::vector<std::string> names;
        std::optional<RenameError> failure;  // there but unreadable; a missing folder has none
    };

    virtual ~FolderAccess() = default;

    // What the system finds under `path`, links followed: one system call.
    // A dangling link is Missing; on Windows a hidden or system file is Other.
    virtual Kind kindOf(const std::string& path) = 0;
    // The entries of `folder`: all, or at least each whose name starts with
    // `like` without regard to case, where the system can pick those cheaply.
    virtual Listing list(const std::string& folder, const std::string& like) = 0;

    // Renames `from` to `to`, never replacing a file the system lets it know
    // of. Where the file system can neither refuse a taken name by itself nor
    // make a hard link, `stillFree` is asked right before a plain rename, and
    // its refusal is the answer.
    using FreeCheck = std::function<std::optional<RenameError>()>;
    virtual std::optional<RenameError> renameStep(const std::string& from, const std::string& to,
                                                  const FreeCheck& stillFree) = 0;

    // Why the system would refuse to rename `path` now, if it would: its
    // folder closed to writing, or (on Windows) the file held open by another
    // program or closed to this user.
    virtual std::optional<RenameError> mayRename(const std::string& path) = 0;
    // True when two names are one file: a link and unlink cut off after the link.
    virtual bool sameFile(const std::string& a, const std::string& b) = 0;
};

// The platform's primitive in `folder` (the current directory when empty).
std::unique_ptr<FolderAccess> makeSystemFolderAccess(const std::string& folder);

// The file services that apply the rules over `access`.
std::unique_ptr<FileServices> makeFileServices(std::unique_ptr<FolderAccess> access);

}  // namespace orvando
