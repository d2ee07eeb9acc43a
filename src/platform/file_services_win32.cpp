// File services on Windows.
//
// Catalogue paths are native here: a backslash between folder and file name,
// matched without regard to case by the file system itself. A name counts as
// present when it is an ordinary file: not a folder, and neither hidden nor a
// system file, as a directory listing without attribute filter would show it.
//
// A rename is MoveFileExW without the replace flag and without copying, so a
// taken target is refused by the file system itself, even one that appeared
// after the program last looked.
#include <windows.h>

#include <cwctype>
#include <memory>
#include <string>
#include <string_view>

#include "platform/file_services.h"
#include "platform/wide_win32.h"

namespace orvando {

namespace {

// A catalogue path stays inside the game folder: relative, no drive, no
// empty, "." or ".." component, no forward slash, no wildcard.
bool isCataloguePath(std::wstring_view path) {
    if (path.empty() || path.find_first_of(L"/:*?\"<>|") != std::wstring_view::npos) {
        return false;
    }
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = path.find(L'\\', start);
        const std::wstring_view component = path.substr(start, end - start);
        if (component.empty() || component == L"." || component == L"..") {
            return false;
        }
        if (end == std::wstring_view::npos) {
            return true;
        }
        start = end + 1;
    }
}

// The system's own text for an error code, as one line without a closing
// full stop and starting in lower case, to complete a sentence.
std::string systemMessage(DWORD code) {
    wchar_t* buffer = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::wstring text = length > 0 && buffer != nullptr ? std::wstring(buffer, length) : L"";
    if (buffer != nullptr) {
        LocalFree(buffer);
    }
    for (wchar_t& c : text) {
        if (c == L'\r' || c == L'\n' || c == L'\t') {
            c = L' ';
        }
    }
    while (!text.empty() && (text.back() == L' ' || text.back() == L'.')) {
        text.pop_back();
    }
    if (text.empty()) {
        return "system error " + std::to_string(code);
    }
    // "The system cannot ..." -> "the system cannot ...", but "NTFS ..." stays.
    if (text[0] >= L'A' && text[0] <= L'Z' && (text.size() == 1 || !iswupper(text[1]))) {
        text[0] = static_cast<wchar_t>(text[0] - L'A' + L'a');
    }
    return narrow(text);
}

RenameError renameErrorFor(DWORD code) {
    switch (code) {
        case ERROR_ALREADY_EXISTS:
        case ERROR_FILE_EXISTS:
            return {RenameError::Kind::TargetExists, "already exists"};
        case ERROR_ACCESS_DENIED:
            return {RenameError::Kind::PermissionDenied,
                    "permission denied; the game folder may be write-protected (for example "
                    "under Program Files): start the program as administrator"};
        default:
            return {RenameError::Kind::Other, systemMessage(code)};
    }
}

class Win32FileServices final : public FileServices {
  public:
    explicit Win32FileServices(const std::string& folder) : prefix_(widen(folder)) {
        if (!prefix_.empty() && prefix_.back() != L'\\' && prefix_.back() != L'/') {
            prefix_ += L'\\';
        }
    }

    bool fileExists(const std::string& path) override {
        const std::wstring name = widen(path);
        if (!isCataloguePath(name)) {
            return false;
        }
        const DWORD attributes = GetFileAttributesW((prefix_ + name).c_str());
        constexpr DWORD kNotOrdinary =
            FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
        return attributes != INVALID_FILE_ATTRIBUTES && (attributes & kNotOrdinary) == 0;
    }

    std::optional<RenameError> renameNoReplace(const std::string& from,
                                               const std::string& to) override {
        const std::wstring source = widen(from);
        const std::wstring target = widen(to);
        if (!isCataloguePath(source) || !isCataloguePath(target)) {
            return RenameError{RenameError::Kind::Other, "not a valid file name"};
        }
        // Flags 0: never replace an existing file, never copy across drives.
        if (MoveFileExW((prefix_ + source).c_str(), (prefix_ + target).c_str(), 0)) {
            return std::nullopt;
        }
        return renameErrorFor(GetLastError());
    }

  private:
    std::wstring prefix_;  // the folder and a backslash, or empty for the current directory
};

}  // namespace

std::unique_ptr<FileServices> makeSystemFileServices(const std::string& folder) {
    return std::make_unique<Win32FileServices>(folder);
}

}  // namespace orvando
