// The Windows primitive under the name rules: catalogue paths are native here,
// taken relative to the game folder.
//
// An ordinary file is neither a folder nor hidden nor a system file, as a
// directory listing without attribute filter shows it. A rename is MoveFileExW
// without the replace flag and without copying, so the file system itself
// refuses a taken target, even one that appeared after the rules last looked.
#include <windows.h>

#include <cwctype>

#include "platform/name_rules.h"
#include "platform/wide_win32.h"

namespace orvando {

namespace {

// The system's own text for an error code, as one line without a closing
// full stop and starting in lower case, to complete a sentence.
std::string systemMessage(DWORD code) {
    wchar_t buffer[512];
    DWORD length = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS |
                                      FORMAT_MESSAGE_MAX_WIDTH_MASK,  // no line breaks
                                  nullptr, code, 0, buffer, 512, nullptr);
    while (length > 0 && (buffer[length - 1] == L' ' || buffer[length - 1] == L'.')) {
        --length;
    }
    if (length == 0) {
        return "system error " + std::to_string(code);
    }
    // "The system cannot ..." -> "the system cannot ...", but "NTFS ..." stays.
    if (iswupper(buffer[0]) && (length == 1 || !iswupper(buffer[1]))) {
        buffer[0] = towlower(buffer[0]);
    }
    return narrow({buffer, length});
}

RenameError renameErrorFor(DWORD code) {
    switch (code) {
        case ERROR_ALREADY_EXISTS:
        case ERROR_FILE_EXISTS:
            return {RenameError::Kind::TargetExists, "already exists"};
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION:
            return {RenameError::Kind::InUse, "another program is using it"};
        case ERROR_ACCESS_DENIED:
            return {RenameError::Kind::PermissionDenied,
                    "permission denied; the game folder may be write-protected (for example "
                    "under Program Files): start the program as administrator"};
        default:
            return {RenameError::Kind::Other, systemMessage(code)};
    }
}

class Win32Folders final : public FolderAccess {
  public:
    explicit Win32Folders(const std::string& folder) : root_(widen(folder)) {
        if (!root_.empty() && root_.back() != L'\\' && root_.back() != L'/') {
            root_ += L'\\';
        }
    }

    Kind kindOf(const std::string& path) override {
        const DWORD attributes = GetFileAttributesW(full(path).c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES) {
            return Kind::Missing;
        }
        if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
            return Kind::Folder;
        }
        return (attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) != 0 ? Kind::Other
                                                                                   : Kind::File;
    }

    // A pattern matches without regard to case; Wine then looks closer only at the matches.
    Listing list(const std::string& folder, const std::string& like) override {
        WIN32_FIND_DATAW data;
        const HANDLE find = FindFirstFileExW(
            (full(folder) + (folder.empty() ? L"" : L"\\") + widen(like) + L"*").c_str(),
            FindExInfoBasic, &data, FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH);
        if (find == INVALID_HANDLE_VALUE) {
            const DWORD error = GetLastError();
            return {{},
                    error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ||
                            error == ERROR_DIRECTORY
                        ? std::nullopt
                        : std::optional(renameErrorFor(error))};
        }
        Listing listing;
        do {
            const std::wstring_view name(data.cFileName);
            if (name != L"." && name != L"..") {
                listing.names.push_back(narrow(name));
            }
        } while (FindNextFileW(find, &data));
        FindClose(find);
        return listing;
    }

    std::optional<RenameError> renameStep(const std::string& from, const std::string& to,
                                          const FreeCheck&) override {
        // Flags 0: never replace an existing file, never copy across drives.
        if (MoveFileExW(full(from).c_str(), full(to).c_str(), 0)) {
            return std::nullopt;
        }
        return renameErrorFor(GetLastError());
    }

    std::optional<RenameError> mayRename(const std::string& path) override {
        // Opened for deletion, as a rename opens it, and closed at once.
        const HANDLE file = CreateFileW(
            full(path).c_str(), DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
            nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
        if (file == INVALID_HANDLE_VALUE) {
            return renameErrorFor(GetLastError());
        }
        CloseHandle(file);
        return std::nullopt;
    }

    // A rename here is one call: it never leaves a file under two names.
    bool sameFile(const std::string&, const std::string&) override { return false; }

  private:
    std::wstring full(const std::string& path) const { return root_ + widen(path); }

    std::wstring root_;  // the game folder and a backslash, or empty for the current directory
};

}  // namespace

std::unique_ptr<FolderAccess> makeSystemFolderAccess(const std::string& folder) {
    return std::make_unique<Win32Folders>(folder);
}

}  // namespace orvando
