// The two file services the program's logic calls: ask whether a name is an
// ordinary file, and rename one file without ever replacing another.
//
// Paths are catalogue paths: relative to the current directory, with a
// backslash between folder and file name. How a name meets the folder's files
// is written once (name_rules.h), over one small primitive per platform
// (file_services_posix.cpp, file_services_win32.cpp). Nothing here reads or
// writes a file's contents.
#pragma once

#include <memory>
#include <optional>
#include <string>

namespace orvando {

struct RenameError {
    enum class Kind {
        TargetExists,      // the target name (or a case variant of it) is taken
        PermissionDenied,  // the folder or the file may not be changed
        InUse,             // another program holds the file open and will not let it go
        Ambiguous,         // the source name matches several files that differ only in case
        Other,             // anything else; `reason` holds the system's message
    };
    Kind kind = Kind::Other;
    // Completes "Cannot rename A to B: <reason>." Lower-case start, no full stop.
    std::string reason;
};

class FileServices {
  public:
    virtual ~FileServices() = default;

    // True exactly when an ordinary file of that name exists. A folder, a
    // dangling link or (on Windows) a hidden or system file counts as absent.
    virtual bool fileExists(const std::string& path) = 0;

    // Renames `from` to `to`. Never replaces an existing file, even one that
    // appears between an earlier query and this call: a taken target is
    // refused. Returns nothing on success.
    virtual std::optional<RenameError> renameNoReplace(const std::string& from,
                                                       const std::string& to) = 0;

    // A copy of the folder's names as these services see them now, on which
    // renames change only the copy and are refused where the system would
    // refuse them now. Valid while this object lives; null where a folder
    // cannot be copied.
    virtual std::unique_ptr<FileServices> copy() { return nullptr; }
};

// The real file services of the platform the program is built for, working in
// `folder` (the current directory when empty).
std::unique_ptr<FileServices> makeSystemFileServices(const std::string& folder = {});

}  // namespace orvando
