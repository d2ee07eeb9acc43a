// File services on Linux and other POSIX systems.
//
// Catalogue paths use a backslash between folder and file name; here each
// component is looked up in turn. Game folders copied from Windows often
// differ in case ("StreamMusic", "MUS_AREA_AHTO.WAV"), so a component that is
// not there in the catalogue's exact spelling is looked for without regard to
// ASCII case. When several entries match that way, a query says present but a
// rename refuses, naming them, rather than guess which one the player meant.
//
// A rename never replaces a file: renameat2 with RENAME_NOREPLACE, or, where
// the file system lacks that flag, link then unlink. Plain rename() would
// silently destroy the target.

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "platform/file_services.h"
#include "platform/name_match.h"

namespace orvando {

namespace {

class Fd {
  public:
    explicit Fd(int fd) : fd_(fd) {}
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    ~Fd() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    int get() const { return fd_; }

  private:
    int fd_;
};

using Components = std::vector<std::string>;

// Splits a catalogue path at its backslashes. Refuses anything that could
// leave the folder: empty, "." or ".." components and forward slashes.
bool splitPath(const std::string& path, Components& out) {
    out.clear();
    std::string current;
    for (char c : path) {
        if (c == '\\') {
            out.push_back(std::move(current));
            current.clear();
        } else {
            current += c;
        }
    }
    out.push_back(std::move(current));
    for (const std::string& c : out) {
        if (c.empty() || c == "." || c == ".." || c.find('/') != std::string::npos ||
            c.find('\0') != std::string::npos) {
            return false;
        }
    }
    return true;
}

std::string joinNative(const Components& components, std::size_t count) {
    std::string s;
    for (std::size_t i = 0; i < count; ++i) {
        if (i > 0) {
            s += '/';
        }
        s += components[i];
    }
    return s;
}

template <typename F>
void forEachEntry(int dirFd, F&& f) {
    const int fd = ::openat(dirFd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        return;
    }
    DIR* dir = ::fdopendir(fd);
    if (dir == nullptr) {
        ::close(fd);
        return;
    }
    while (const dirent* e = ::readdir(dir)) {
        const std::string_view name(e->d_name);
        if (name != "." && name != "..") {
            f(name);
        }
    }
    ::closedir(dir);
}

// The entries of a folder that a component names: its exact spelling alone
// when that entry exists, otherwise every entry equal to it without regard to
// ASCII case.
std::vector<std::string> entriesNamed(int dirFd, const std::string& name) {
    struct stat st {};
    if (::fstatat(dirFd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0) {
        return {name};
    }
    CaseVariants variants(name);
    forEachEntry(dirFd, [&](std::string_view entry) { variants.offer(entry); });
    return variants.matches();
}

struct Located {
    std::shared_ptr<Fd> dir;  // the folder holding the entry
    std::string folderShown;  // its path as the user would write it, ending in a backslash
    std::string name;         // the entry's name as it is on disk
};

// Folders are held as O_PATH descriptors: looking up and renaming in a folder
// needs search permission only; reading it is asked for when it is listed.

// Every folder that the leading `count` components may denote.
std::vector<Located> locateFolders(int rootFd, const Components& components, std::size_t count) {
    std::vector<Located> folders;
    const int root = ::openat(rootFd, ".", O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (root < 0) {
        return folders;
    }
    folders.push_back({std::make_shared<Fd>(root), "", ""});
    for (std::size_t i = 0; i < count; ++i) {
        std::vector<Located> next;
        for (const Located& folder : folders) {
            for (const std::string& name : entriesNamed(folder.dir->get(), components[i])) {
                const int fd =
                    ::openat(folder.dir->get(), name.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
                if (fd >= 0) {
                    next.push_back(
                        {std::make_shared<Fd>(fd), folder.folderShown + name + '\\', name});
                }
            }
        }
        folders = std::move(next);
    }
    return folders;
}

// Every entry that a catalogue path may denote, whatever its kind.
std::vector<Located> locate(int rootFd, const Components& components) {
    std::vector<Located> found;
    for (const Located& folder : locateFolders(rootFd, components, components.size() - 1)) {
        for (std::string& name : entriesNamed(folder.dir->get(), components.back())) {
            found.push_back({folder.dir, folder.folderShown, std::move(name)});
        }
    }
    return found;
}

bool isOrdinaryFile(int dirFd, const std::string& name) {
    struct stat st {};
    return ::fstatat(dirFd, name.c_str(), &st, 0) == 0 && S_ISREG(st.st_mode);
}

RenameError errorFromErrno(int err) {
    switch (err) {
        case EEXIST:
        case ENOTEMPTY:
            return {RenameError::Kind::TargetExists, "already exists"};
        case EACCES:
        case EPERM:
            return {RenameError::Kind::PermissionDenied, "permission denied"};
        default:
            return {RenameError::Kind::Other, std::strerror(err)};
    }
}

// The entries' paths, sorted so that the message does not depend on the order
// the folder happens to list them in.
std::string listShown(const std::vector<Located>& entries) {
    std::vector<std::string> shown;
    for (const Located& e : entries) {
        shown.push_back(e.folderShown + e.name);
    }
    std::sort(shown.begin(), shown.end());
    std::string s;
    for (const std::string& path : shown) {
        s += (s.empty() ? "" : ", ") + path;
    }
    return s;
}

// Names the existing file when it is spelt otherwise than the target; with
// several spellings the exact one, else the first in sorted order.
RenameError targetTaken(const Located& target, std::vector<std::string> existing) {
    RenameError error{RenameError::Kind::TargetExists, "already exists"};
    std::sort(existing.begin(), existing.end());
    if (std::find(existing.begin(), existing.end(), target.name) == existing.end()) {
        error.reason += " as " + target.folderShown + existing.front();
    }
    return error;
}

class PosixFileServices final : public FileServices {
  public:
    explicit PosixFileServices(const std::string& folder)
        : root_(::open(folder.empty() ? "." : folder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC)) {}

    bool fileExists(const std::string& path) override {
        Components components;
        if (root_.get() < 0 || !splitPath(path, components)) {
            return false;
        }
        // The common case, every component in its exact spelling: one call.
        struct stat st {};
        const std::string native = joinNative(components, components.size());
        if (::fstatat(root_.get(), native.c_str(), &st, 0) == 0) {
            return S_ISREG(st.st_mode);
        }
        for (const Located& entry : locate(root_.get(), components)) {
            if (isOrdinaryFile(entry.dir->get(), entry.name)) {
                return true;
            }
        }
        return false;
    }

    std::optional<RenameError> renameNoReplace(const std::string& from,
                                               const std::string& to) override {
        Components source;
        Components target;
        if (!splitPath(from, source) || !splitPath(to, target)) {
            return RenameError{RenameError::Kind::Other, "not a valid file name"};
        }
        if (root_.get() < 0) {
            return errorFromErrno(ENOENT);
        }
        const std::vector<Located> sources = locate(root_.get(), source);
        if (sources.empty()) {
            return errorFromErrno(ENOENT);
        }
        if (sources.size() > 1) {
            return RenameError{RenameError::Kind::Ambiguous,
                               "more than one file matches this name when case is ignored (" +
                                   listShown(sources) + ")"};
        }
        const Located& src = sources.front();

        // The file stays in the folder it was found in and takes the
        // catalogue's spelling of the new name.
        Located dst{src.dir, src.folderShown, target.back()};
        if (!sameFolder(source, target)) {
            std::vector<Located> folders = locateFolders(root_.get(), target, target.size() - 1);
            if (folders.size() != 1) {
                return folders.empty() ? errorFromErrno(ENOENT)
                                       : RenameError{RenameError::Kind::Ambiguous,
                                                     "more than one folder matches the new name "
                                                     "when case is ignored"};
            }
            dst = {folders.front().dir, folders.front().folderShown, target.back()};
        }

        // A name that differs only in case counts as taken: on the game's own
        // platform it would be the same file.
        CaseVariants taken(dst.name);
        forEachEntry(dst.dir->get(), [&](std::string_view entry) { taken.offer(entry); });
        if (!taken.matches().empty()) {
            return targetTaken(dst, taken.matches());
        }
        return renameEntry(src, dst);
    }

  private:
    static bool sameFolder(const Components& a, const Components& b) {
        if (a.size() != b.size()) {
            return false;
        }
        for (std::size_t i = 0; i + 1 < a.size(); ++i) {
            if (!equalsIgnoringAsciiCase(a[i], b[i])) {
                return false;
            }
        }
        return true;
    }

    static std::optional<RenameError> renameEntry(const Located& src, const Located& dst) {
        const int srcDir = src.dir->get();
        const int dstDir = dst.dir->get();
        if (::renameat2(srcDir, src.name.c_str(), dstDir, dst.name.c_str(), RENAME_NOREPLACE) ==
            0) {
            return std::nullopt;
        }
        if (errno != EINVAL && errno != ENOSYS) {
            return errorFromErrno(errno);
        }
        // The file system cannot refuse to replace in one step. A hard link
        // can never replace an existing name either; then drop the old name.
        if (::linkat(srcDir, src.name.c_str(), dstDir, dst.name.c_str(), 0) != 0) {
            return errorFromErrno(errno);
        }
        if (::unlinkat(srcDir, src.name.c_str(), 0) != 0) {
            const int err = errno;
            return RenameError{RenameError::Kind::Other,
                               std::string(std::strerror(err)) + "; the file now has both names, " +
                                   src.folderShown + src.name + " may be removed by hand"};
        }
        return std::nullopt;
    }

    Fd root_;
};

}  // namespace

std::unique_ptr<FileServices> makeSystemFileServices(const std::string& folder) {
    return std::make_unique<PosixFileServices>(folder);
}

}  // namespace orvando
