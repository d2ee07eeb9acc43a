// File services on Windows.
//
// Catalogue paths are native here: a backslash between folder and file name.
// A name counts as present when it is an ordinary file: not a folder, and
// neither hidden nor a system file, as a directory listing without attribute
// filter would show it.
//
// Names follow the same rules as in the Linux build, because a folder may
// tell case apart: one with per-directory case sensitivity turned on, or any
// folder when the program runs under Wine. A name found in its exact spelling
// is that entry; otherwise the folder's entries are compared without regard
// to ASCII case. When several match that way a query says present but a
// rename refuses, naming them, rather than guess which one the player meant.
// A target counts as taken when any spelling of it exists.
//
// The system cannot be asked to decide this: given a name that is not there
// in its exact spelling, Wine opens whichever case variant it finds first. So
// the program reads the folder itself, at most once per lookup, and passes
// the spelling found on disk to the system. Each read asks only for the
// entries that may be spellings of the names the lookup is about, with a
// pattern that matches them all whether or not the folder tells case apart:
// in a folder of 10,000 files the system then returns a handful, not 10,000.
//
// A rename is MoveFileExW without the replace flag and without copying, so
// the file system itself refuses a taken target, even one that appeared after
// the program last looked.
#include "platform/file_services_win32.h"

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cwctype>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/file_services.h"
#include "platform/name_match.h"
#include "platform/wide_win32.h"

namespace orvando {

namespace win32 {
namespace {
std::atomic<std::uint64_t> gFolderReads{0};
}  // namespace

std::uint64_t folderReads() {
    return gFolderReads.load();
}
}  // namespace win32

namespace {

using Components = std::vector<std::wstring>;

// A catalogue path stays inside the game folder: relative, no drive, no
// empty, "." or ".." component, no forward slash, no wildcard. No component
// ends in a dot or a blank either: Windows would drop them, and the name on
// disk would not be the name asked about.
bool isCataloguePath(std::wstring_view path) {
    if (path.empty() || path.find_first_of(L"/:*?\"<>|") != std::wstring_view::npos) {
        return false;
    }
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = path.find(L'\\', start);
        const std::wstring_view component = path.substr(start, end - start);
        if (component.empty() || component.back() == L'.' || component.back() == L' ') {
            return false;
        }
        if (end == std::wstring_view::npos) {
            return true;
        }
        start = end + 1;
    }
}

Components components(std::wstring_view path) {
    Components out(1);
    for (wchar_t c : path) {
        if (c == L'\\') {
            out.emplace_back();
        } else {
            out.back() += c;
        }
    }
    return out;
}

// Paths below the game folder as the system takes them (L"" is the game
// folder itself).
std::wstring join(const std::wstring& folder, const std::wstring& name) {
    return folder.empty() ? name : folder + L'\\' + name;
}

void splitLast(const std::wstring& path, std::wstring& folder, std::wstring& name) {
    const auto slash = path.rfind(L'\\');
    folder = slash == std::wstring::npos ? L"" : path.substr(0, slash);
    name = slash == std::wstring::npos ? path : path.substr(slash + 1);
}

bool isFolder(DWORD attributes) {
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool isOrdinaryFile(DWORD attributes) {
    constexpr DWORD kNotOrdinary =
        FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    return (attributes & kNotOrdinary) == 0;
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

}  // namespace

namespace win32 {
std::optional<RenameError> moveNoReplace(const std::wstring& from, const std::wstring& to) {
    // Flags 0: never replace an existing file, never copy across drives.
    if (MoveFileExW(from.c_str(), to.c_str(), 0)) {
        return std::nullopt;
    }
    return renameErrorFor(GetLastError());
}
}  // namespace win32

namespace {

struct Entry {
    std::wstring name;  // as spelt on disk
    DWORD attributes;
};

bool isAsciiLetter(wchar_t c) {
    return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z');
}

// A search pattern that matches every spelling of each of `names`, whether
// the system compares it with or without regard to case: each ASCII letter
// becomes '?', and where the names part, '*' stands for the rest. It may
// match more; what it finds is then compared by the program's own rule.
std::wstring patternFor(const std::vector<std::wstring>& names) {
    const std::wstring& first = names.front();
    std::size_t common = first.size();
    bool differ = false;
    for (const std::wstring& n : names) {
        std::size_t i = 0;
        while (i < common && i < n.size() &&
               (n[i] == first[i] || (isAsciiLetter(n[i]) && isAsciiLetter(first[i]) &&
                                     (n[i] | 0x20) == (first[i] | 0x20)))) {
            ++i;
        }
        differ = differ || i < common || n.size() != first.size();
        common = i;
    }
    std::wstring pattern = first.substr(0, common);
    for (wchar_t& c : pattern) {
        c = isAsciiLetter(c) ? L'?' : c;
    }
    return differ ? pattern + L'*' : pattern;
}

// What one lookup learns of the folders below the game folder. Each folder
// is read once, for the entries that may be spellings of the names the
// lookup is about; the system reads the folder, the program decides which
// spelling is meant. Nothing is kept for the next lookup, which may come
// after other programs have changed the folder.
class Lookup {
  public:
    Lookup(const std::wstring& prefix, std::vector<Components> paths)
        : prefix_(prefix), paths_(std::move(paths)) {}

    // The entries of `folder`, at `depth` below the game folder, that `name`
    // denotes: the exact spelling alone when that entry exists, otherwise
    // every entry equal to `name` without regard to ASCII case, in sorted
    // order.
    std::vector<Entry> named(const std::wstring& folder, std::size_t depth,
                             const std::wstring& name) {
        const std::string wanted = narrow(name);
        std::vector<Entry> variants;
        for (const Entry& e : candidates(folder, depth)) {
            if (e.name == name) {
                return {e};
            }
            if (equalsIgnoringAsciiCase(narrow(e.name), wanted)) {
                variants.push_back(e);
            }
        }
        std::sort(variants.begin(), variants.end(),
                  [](const Entry& a, const Entry& b) { return a.name < b.name; });
        return variants;
    }

    // Every folder, by its path spelt as on disk, that the components of
    // `path` before its file name may denote.
    std::vector<std::wstring> folders(const Components& path) {
        std::vector<std::wstring> found{L""};
        for (std::size_t i = 0; i + 1 < path.size(); ++i) {
            std::vector<std::wstring> next;
            for (const std::wstring& folder : found) {
                for (const Entry& e : named(folder, i, path[i])) {
                    if (isFolder(e.attributes)) {
                        next.push_back(join(folder, e.name));
                    }
                }
            }
            found = std::move(next);
        }
        return found;
    }

    // Why a folder could not be read, other than that it is missing; 0 if none.
    DWORD failure() const { return failure_; }

  private:
    const std::vector<Entry>& candidates(const std::wstring& folder, std::size_t depth) {
        const auto [it, added] = read_.try_emplace(folder);
        if (!added) {
            return it->second;
        }
        std::vector<std::wstring> names;
        for (const Components& path : paths_) {
            if (depth < path.size()) {
                names.push_back(path[depth]);
            }
        }
        ++win32::gFolderReads;
        WIN32_FIND_DATAW data;
        const HANDLE find =
            FindFirstFileExW((prefix_ + join(folder, patternFor(names))).c_str(), FindExInfoBasic,
                             &data, FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH);
        if (find == INVALID_HANDLE_VALUE) {
            const DWORD error = GetLastError();
            if (error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND) {
                failure_ = error;  // the folder is there but may not be read
            }
            return it->second;
        }
        do {
            const std::wstring_view name(data.cFileName);
            if (name != L"." && name != L"..") {
                it->second.push_back({std::wstring(name), data.dwFileAttributes});
            }
        } while (FindNextFileW(find, &data));
        FindClose(find);
        return it->second;
    }

    const std::wstring& prefix_;
    const std::vector<Components> paths_;
    std::map<std::wstring, std::vector<Entry>> read_;
    DWORD failure_ = 0;
};

class Win32FileServices final : public FileServices {
  public:
    explicit Win32FileServices(const std::string& folder) : prefix_(widen(folder)) {
        if (!prefix_.empty() && prefix_.back() != L'\\' && prefix_.back() != L'/') {
            prefix_ += L'\\';
        }
    }

    bool fileExists(const std::string& path) override {
        const std::wstring wide = widen(path);
        if (!isCataloguePath(wide)) {
            return false;
        }
        // The common case: the name as the system resolves it, which is the
        // file the game itself would open, is an ordinary file. That is one
        // of the entries the rules below would find, so it is the answer.
        const DWORD attributes = GetFileAttributesW((prefix_ + wide).c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && isOrdinaryFile(attributes)) {
            return true;
        }
        const Components c = components(wide);
        Lookup lookup(prefix_, {c});
        for (const std::wstring& folder : lookup.folders(c)) {
            for (const Entry& e : lookup.named(folder, c.size() - 1, c.back())) {
                if (isOrdinaryFile(e.attributes)) {
                    return true;
                }
            }
        }
        return false;
    }

    std::optional<RenameError> renameNoReplace(const std::string& from,
                                               const std::string& to) override {
        const std::wstring source = widen(from);
        const std::wstring target = widen(to);
        if (!isCataloguePath(source) || !isCataloguePath(target)) {
            return RenameError{RenameError::Kind::Other, "not a valid file name"};
        }
        const Components src = components(source);
        const Components dst = components(target);
        Lookup lookup(prefix_, {src, dst});

        const std::vector<std::wstring> srcFolders = lookup.folders(src);
        std::vector<std::wstring> found;
        for (const std::wstring& folder : srcFolders) {
            for (const Entry& e : lookup.named(folder, src.size() - 1, src.back())) {
                found.push_back(join(folder, e.name));
            }
        }
        if (found.empty()) {
            return renameErrorFor(lookup.failure() != 0 ? lookup.failure()
                                  : srcFolders.empty()  ? ERROR_PATH_NOT_FOUND
                                                        : ERROR_FILE_NOT_FOUND);
        }
        if (found.size() > 1) {
            std::vector<std::string> shown;
            for (const std::wstring& f : found) {
                shown.push_back(narrow(f));
            }
            return RenameError{RenameError::Kind::Ambiguous, severalMatchesReason(shown)};
        }
        std::wstring srcFolder;
        std::wstring srcName;
        splitLast(found.front(), srcFolder, srcName);

        // The file stays in the folder it was found in and takes the
        // catalogue's spelling of the new name.
        std::wstring dstFolder = srcFolder;
        if (!sameFolder(src, dst)) {
            const std::vector<std::wstring> folders = lookup.folders(dst);
            if (folders.size() != 1) {
                return folders.empty() ? renameErrorFor(ERROR_PATH_NOT_FOUND)
                                       : RenameError{RenameError::Kind::Ambiguous,
                                                     "more than one folder matches the new name "
                                                     "when case is ignored"};
            }
            dstFolder = folders.front();
        }
        // Any spelling of the target is taken: on an ordinary Windows folder
        // it would be the same file.
        const std::vector<Entry> taken = lookup.named(dstFolder, dst.size() - 1, dst.back());
        if (lookup.failure() != 0) {
            return renameErrorFor(lookup.failure());
        }
        if (!taken.empty()) {
            RenameError error{RenameError::Kind::TargetExists, "already exists"};
            if (taken.front().name != dst.back()) {
                error.reason += " as " + narrow(join(dstFolder, taken.front().name));
            }
            return error;
        }
        return win32::moveNoReplace(prefix_ + found.front(), prefix_ + join(dstFolder, dst.back()));
    }

  private:
    static bool sameFolder(const Components& a, const Components& b) {
        if (a.size() != b.size()) {
            return false;
        }
        for (std::size_t i = 0; i + 1 < a.size(); ++i) {
            if (!equalsIgnoringAsciiCase(narrow(a[i]), narrow(b[i]))) {
                return false;
            }
        }
        return true;
    }

    std::wstring prefix_;  // the folder and a backslash, or empty for the current directory
};

}  // namespace

std::unique_ptr<FileServices> makeSystemFileServices(const std::string& folder) {
    return std::make_unique<Win32FileServices>(folder);
}

}  // namespace orvando
