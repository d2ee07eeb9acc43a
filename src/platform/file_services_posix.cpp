// The Linux primitive under the name rules: paths with slashes, relative to
// the game folder opened once. A rename never replaces a file it can know of,
// by the strongest means the file system offers (rename() would replace):
//   1. renameat2 with RENAME_NOREPLACE: the kernel refuses a taken name at the
//      moment of the rename (ext4, xfs, btrfs, tmpfs and most others);
//   2. without that flag (NTFS through ntfs-3g, most FUSE mounts): a hard link
//      under the new name, which never replaces either, then the old name
//      dropped; if that fails, the new name is dropped again. A name taken
//      at the first call the kernel refuses for the flag itself, before it
//      asks the file system; a link refused as taken is refused as well;
//   3. without hard links as well (exFAT, VirtualBox shared folders, many
//      network mounts), or where the link is refused while the rename would
//      not be (a file of another user under protected_hardlinks): the rules
//      look once more that no spelling of the new name exists, then rename.
// A link and unlink cut off between its steps leaves one file under both
// names; the next rename finds the target taken by the same file and only
// drops the old name.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>

#include "platform/name_rules.h"

namespace orvando {

namespace {

RenameError errorFromErrno(int err) {
    if (err == EEXIST || err == ENOTEMPTY) {
        return {RenameError::Kind::TargetExists, "already exists"};
    }
    std::string text = std::strerror(err);  // "Permission denied" -> "permission denied"
    text[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(text[0])));
    const bool denied = err == EACCES || err == EPERM || err == EROFS;
    return {denied ? RenameError::Kind::PermissionDenied : RenameError::Kind::Other, text};
}

class PosixFolders final : public FolderAccess {
  public:
    explicit PosixFolders(const std::string& folder)
        : root_(::open(folder.empty() ? "." : folder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC)) {}
    ~PosixFolders() override {
        if (root_ >= 0) {
            ::close(root_);
        }
    }
    PosixFolders(const PosixFolders&) = delete;
    PosixFolders& operator=(const PosixFolders&) = delete;

    Kind kindOf(const std::string& path) override {
        struct stat st {};
        if (::fstatat(root_, native(path).c_str(), &st, 0) != 0) {
            return Kind::Missing;
        }
        return S_ISREG(st.st_mode) ? Kind::File : S_ISDIR(st.st_mode) ? Kind::Folder : Kind::Other;
    }

    Listing list(const std::string& folder, const std::string&) override {
        const int fd = ::openat(root_, native(folder).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        DIR* dir = fd < 0 ? nullptr : ::fdopendir(fd);
        if (dir == nullptr) {
            const int err = errno;
            if (fd >= 0) {
                ::close(fd);
            }
            return {{},
                    err == ENOENT || err == ENOTDIR ? std::nullopt
                                                    : std::optional(errorFromErrno(err))};
        }
        Listing listing;
        while (const dirent* e = ::readdir(dir)) {
            if (std::strcmp(e->d_name, ".") != 0 && std::strcmp(e->d_name, "..") != 0) {
                listing.names.emplace_back(e->d_name);
            }
        }
        ::closedir(dir);
        return listing;
    }

    std::optional<RenameError> renameStep(const std::string& fromPath, const std::string& toPath,
                                          const FreeCheck& stillFree) override {
        const std::string from = native(fromPath);
        const std::string to = native(toPath);
        if (::renameat2(root_, from.c_str(), root_, to.c_str(), RENAME_NOREPLACE) == 0) {
            return std::nullopt;
        }
        if (errno == EEXIST) {
            return finishOrRefuse(fromPath, toPath);
        }
        if (errno != EINVAL && errno != ENOSYS && errno != EOPNOTSUPP) {
            return errorFromErrno(errno);
        }
        if (::linkat(root_, from.c_str(), root_, to.c_str(), 0) == 0) {
            if (::unlinkat(root_, from.c_str(), 0) == 0) {
                return std::nullopt;
            }
            const int err = errno;
            ::unlinkat(root_, to.c_str(), 0);
            return errorFromErrno(err);
        }
        if (errno != EPERM && errno != EOPNOTSUPP && errno != ENOSYS && errno != EMLINK) {
            return errorFromErrno(errno);
        }
        if (auto error = stillFree()) {
            return error;
        }
        if (::renameat(root_, from.c_str(), root_, to.c_str()) != 0) {
            return errorFromErrno(errno);
        }
        return std::nullopt;
    }

    std::optional<RenameError> mayRename(const std::string& path) override {
        const std::size_t slash = path.rfind('\\');
        const std::string folder = native(slash == std::string::npos ? "" : path.substr(0, slash));
        if (::faccessat(root_, folder.c_str(), W_OK | X_OK, AT_EACCESS) != 0) {
            return errorFromErrno(errno);
        }
        return std::nullopt;
    }

    bool sameFile(const std::string& a, const std::string& b) override {
        struct stat x {};
        struct stat y {};
        return ::fstatat(root_, native(a).c_str(), &x, AT_SYMLINK_NOFOLLOW) == 0 &&
               ::fstatat(root_, native(b).c_str(), &y, AT_SYMLINK_NOFOLLOW) == 0 &&
               x.st_dev == y.st_dev && x.st_ino == y.st_ino;
    }

  private:
    std::string native(std::string path) const {
        std::replace(path.begin(), path.end(), '\\', '/');
        return path.empty() ? "." : path;
    }

    // The target is taken. When it is the source file itself, a link and
    // unlink was cut off after its link: dropping the old name finishes it.
    std::optional<RenameError> finishOrRefuse(const std::string& from, const std::string& to) {
        if (!sameFile(from, to)) {
            return errorFromErrno(EEXIST);
        }
        if (::unlinkat(root_, native(from).c_str(), 0) != 0) {
            return errorFromErrno(errno);
        }
        return std::nullopt;
    }

    int root_;
};

}  // namespace

std::unique_ptr<FolderAccess> makeSystemFolderAccess(const std::string& folder) {
    return std::make_unique<PosixFolders>(folder);
}

}  // namespace orvando
