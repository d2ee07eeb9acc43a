// File services on Linux.
//
// Catalogue paths use a backslash between folder and file name; here each
// component is looked up in turn. Game folders copied from Windows often
// differ in case ("StreamMusic", "MUS_AREA_AHTO.WAV"), so a component that is
// not there in the catalogue's exact spelling is looked for without regard to
// ASCII case. When several entries match that way, a query says present but a
// rename refuses, naming them, rather than guess which one the player meant.
// A target counts as taken when any spelling of it exists.
//
// A rename never replaces a file: renameat2 with RENAME_NOREPLACE, or, where
// the file system lacks that flag, link then unlink. Plain rename() would
// silently destroy the target. The kernel makes that check at the moment of
// the rename, so a file that appears after any earlier look is still safe.
//
// To match names without regard to case a folder must be listed. Listings are
// kept, and kept current by inotify, so that each folder is read once per run
// however many names are looked up in it; where inotify is not available each
// lookup lists the folder afresh.

#include "platform/file_services_posix.h"

#include <dirent.h>
#include <fcntl.h>
#include <limits.h>
#include <sys/inotify.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/file_services.h"
#include "platform/name_match.h"

namespace orvando {

namespace posix {
namespace {
std::atomic<std::uint64_t> gFolderReads{0};
}  // namespace

std::uint64_t folderReads() {
    return gFolderReads.load();
}
}  // namespace posix

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

// A catalogue path as the system takes it, with slashes for its backslashes.
// Refuses anything that could leave the folder: empty, "." or ".." components
// and slashes of its own.
bool nativePath(const std::string& path, std::string& out) {
    out = path;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= out.size(); ++i) {
        if (i < out.size() && out[i] == '/') {
            return false;
        }
        if (i == out.size() || out[i] == '\\') {
            const std::string_view component(out.data() + start, i - start);
            if (component.empty() || component == "." || component == ".." ||
                component.find('\0') != std::string_view::npos) {
                return false;
            }
            if (i < out.size()) {
                out[i] = '/';
            }
            start = i + 1;
        }
    }
    return true;
}

Components components(const std::string& native) {
    Components out(1);
    for (char c : native) {
        if (c == '/') {
            out.emplace_back();
        } else {
            out.back() += c;
        }
    }
    return out;
}

// Paths below the game folder as the system takes them ("StreamMusic/x.wav";
// "" is the game folder itself) and as the user would write them.
std::string join(const std::string& folder, const std::string& name) {
    return folder.empty() ? name : folder + '/' + name;
}

std::string shown(std::string path) {
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}

void splitLast(const std::string& path, std::string& folder, std::string& name) {
    const auto slash = path.rfind('/');
    folder = slash == std::string::npos ? "" : path.substr(0, slash);
    name = slash == std::string::npos ? path : path.substr(slash + 1);
}

// One folder's entries, grouped by their name with ASCII case folded.
struct Listing {
    enum class Kind : unsigned char { Folder, File, Unknown };
    struct Entry {
        std::string name;
        Kind kind;
    };

    void add(const std::string& name, Kind kind) {
        auto& group = byFolded[foldAsciiCase(name)];
        for (Entry& e : group) {
            if (e.name == name) {
                e.kind = kind;
                return;
            }
        }
        group.push_back({name, kind});
    }

    void remove(const std::string& name) {
        const auto it = byFolded.find(foldAsciiCase(name));
        if (it == byFolded.end()) {
            return;
        }
        std::erase_if(it->second, [&](const Entry& e) { return e.name == name; });
        if (it->second.empty()) {
            byFolded.erase(it);
        }
    }

    bool has(const std::string& name) const {
        const auto it = byFolded.find(foldAsciiCase(name));
        return it != byFolded.end() && std::any_of(it->second.begin(), it->second.end(),
                                                   [&](const Entry& e) { return e.name == name; });
    }

    // The exact spelling alone when that entry exists, otherwise every entry
    // equal to `name` without regard to ASCII case, in sorted order.
    std::vector<Entry> named(const std::string& name) const {
        const auto it = byFolded.find(foldAsciiCase(name));
        if (it == byFolded.end()) {
            return {};
        }
        for (const Entry& e : it->second) {
            if (e.name == name) {
                return {e};
            }
        }
        std::vector<Entry> variants = it->second;
        std::sort(variants.begin(), variants.end(),
                  [](const Entry& a, const Entry& b) { return a.name < b.name; });
        return variants;
    }

    std::unordered_map<std::string, std::vector<Entry>> byFolded;
};

// Reads a folder's entries; nothing when it is not a folder that may be read.
std::optional<Listing> readListing(int rootFd, const std::string& folder) {
    const int fd =
        ::openat(rootFd, folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        return std::nullopt;
    }
    ++posix::gFolderReads;
    Listing listing;
    struct stat st {};
    if (::fstat(fd, &st) == 0 && st.st_size > 0) {
        // A rough count of the entries, so the table is sized once.
        listing.byFolded.reserve(static_cast<std::size_t>(st.st_size) / 32);
    }
    alignas(dirent64) char buffer[32 * 1024];
    ssize_t n;
    while ((n = ::getdents64(fd, buffer, sizeof buffer)) > 0) {
        for (ssize_t at = 0; at < n;) {
            const auto* e = reinterpret_cast<const dirent64*>(buffer + at);
            at += e->d_reclen;
            const std::string_view name(e->d_name);
            if (name == "." || name == "..") {
                continue;
            }
            const auto kind = e->d_type == DT_DIR   ? Listing::Kind::Folder
                              : e->d_type == DT_REG ? Listing::Kind::File
                                                    : Listing::Kind::Unknown;
            listing.add(std::string(name), kind);
        }
    }
    ::close(fd);
    return listing;
}

// Folder listings, each read once and then kept current from inotify's
// reports of names created, deleted and moved. A folder that is itself moved
// or deleted, or a report queue that overflowed, makes the listings be read
// again. Without inotify every request reads the folder afresh.
//
// One cache serves the whole process and its inotify instance is never
// closed: closing one waits for the kernel to retire its watches, which costs
// more than everything else a run does. The program works in one thread; the
// lock only keeps the cache sound should that change.
class FolderCache {
  public:
    static FolderCache& instance() {
        static FolderCache* cache = new FolderCache;  // lives until the process ends
        return *cache;
    }

    std::mutex& mutex() { return mutex_; }

    // The listing of `folder` below the game folder `root` (open as `rootFd`,
    // named `rootPath`), or nothing when there is no such folder. Valid until
    // the next call.
    const Listing* get(int rootFd, const std::string& rootPath, const std::string& folder) {
        const std::string path = folder.empty() ? rootPath : rootPath + '/' + folder;
        if (const auto it = listings_.find(path); it != listings_.end()) {
            return &it->second;
        }
        if (inotify_ == kNotOpened) {
            inotify_ = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
        }
        const int watch =
            inotify_ < 0 ? -1
                         : ::inotify_add_watch(inotify_, path.c_str(),
                                               IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO |
                                                   IN_DELETE_SELF | IN_MOVE_SELF | IN_ONLYDIR);
        if (watch < 0) {
            if (inotify_ >= 0 && (errno == ENOENT || errno == ENOTDIR)) {
                return nullptr;
            }
            scratch_ = readListing(rootFd, folder);
            return scratch_ ? &*scratch_ : nullptr;
        }
        // Watched before it is read: a change while reading is reported too,
        // and a report of a change the reading already saw alters nothing.
        auto listing = readListing(rootFd, folder);
        if (!listing) {
            return nullptr;
        }
        auto& paths = pathsOfWatch_[watch];
        if (std::find(paths.begin(), paths.end(), path) == paths.end()) {
            paths.push_back(path);
        }
        watchOfPath_[path] = watch;
        return &(listings_[path] = std::move(*listing));
    }

    // Applies what inotify has reported that this program does not know yet.
    // Reading the reports costs as much as a third of a rename, and after
    // each of its own renames the queue holds the two reports of it, already
    // applied. So the queue's size is asked first (far cheaper), and the
    // reports are read only when it holds more than those.
    void catchUp() {
        if (inotify_ < 0) {
            return;
        }
        int pending = 0;
        if (ownReports_ < kOwnReportsLimit && ::ioctl(inotify_, FIONREAD, &pending) == 0 &&
            static_cast<std::size_t>(pending) == ownReports_) {
            return;
        }
        readReports();
    }

    // Records a rename this program made, before inotify reports it.
    void renamed(const std::string& fromFolderPath, const std::string& fromName,
                 const std::string& toFolderPath, const std::string& toName) {
        applyOwn(fromFolderPath, fromName, false);
        applyOwn(toFolderPath, toName, true);
    }

    // Drops every listing, as if the process had just started.
    void forget() {
        readReports();
        listings_.clear();
    }

  private:
    static constexpr int kNotOpened = -2;

    // A name this program added to or removed from a watched folder: every
    // listing of that folder (it may be known under more than one path) is
    // updated, and the folder's watch will queue one report of it.
    void applyOwn(const std::string& folderPath, const std::string& name, bool added) {
        const auto watch = watchOfPath_.find(folderPath);
        if (watch == watchOfPath_.end()) {
            return;
        }
        for (const std::string& path : pathsOfWatch_[watch->second]) {
            if (const auto it = listings_.find(path); it != listings_.end()) {
                added ? it->second.add(name, Listing::Kind::Unknown) : it->second.remove(name);
            }
        }
        ownReports_ += reportSize(name);
    }
    static constexpr std::size_t kOwnReportsLimit = 64 * 1024;

    // The bytes inotify queues for a report naming `name`: the record and
    // the name with its terminating zero, padded to the record's size.
    static std::size_t reportSize(const std::string& name) {
        constexpr std::size_t record = sizeof(inotify_event);
        return record + (name.size() + 1 + record - 1) / record * record;
    }

    void readReports() {
        if (inotify_ < 0) {
            return;
        }
        alignas(inotify_event) char buffer[16 * 1024];
        for (;;) {
            const ssize_t n = ::read(inotify_, buffer, sizeof buffer);
            if (n <= 0) {
                ownReports_ = 0;
                return;
            }
            for (ssize_t at = 0; at < n;) {
                const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
                apply(*event);
                at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
            }
            // A read that left room for a further report found the queue empty.
            if (static_cast<std::size_t>(n) + sizeof(inotify_event) + NAME_MAX + 1 <=
                sizeof buffer) {
                ownReports_ = 0;
                return;
            }
        }
    }

    void apply(const inotify_event& event) {
        if ((event.mask & IN_Q_OVERFLOW) != 0) {
            listings_.clear();
            return;
        }
        const auto it = pathsOfWatch_.find(event.wd);
        if (it == pathsOfWatch_.end()) {
            return;
        }
        if ((event.mask & (IN_DELETE_SELF | IN_MOVE_SELF | IN_IGNORED)) != 0) {
            for (const std::string& path : it->second) {
                listings_.erase(path);
                watchOfPath_.erase(path);
            }
            if ((event.mask & IN_IGNORED) == 0) {
                ::inotify_rm_watch(inotify_, event.wd);
            }
            pathsOfWatch_.erase(it);
            return;
        }
        if (event.len == 0) {
            return;
        }
        const std::string name(event.name);
        for (const std::string& path : it->second) {
            const auto listing = listings_.find(path);
            if (listing == listings_.end()) {
                continue;
            }
            if ((event.mask & (IN_CREATE | IN_MOVED_TO)) != 0) {
                listing->second.add(name, (event.mask & IN_ISDIR) != 0 ? Listing::Kind::Folder
                                                                       : Listing::Kind::Unknown);
            } else if ((event.mask & (IN_DELETE | IN_MOVED_FROM)) != 0) {
                listing->second.remove(name);
            }
        }
    }

    std::mutex mutex_;
    int inotify_ = kNotOpened;
    std::size_t ownReports_ = 0;  // queued reports of this program's own renames
    std::unordered_map<std::string, Listing> listings_;
    std::unordered_map<int, std::vector<std::string>> pathsOfWatch_;
    std::unordered_map<std::string, int> watchOfPath_;
    std::optional<Listing> scratch_;
};

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

}  // namespace

namespace posix {
std::optional<RenameError> renameNoReplaceAt(int folderFd, const std::string& from,
                                             const std::string& to) {
    if (::renameat2(folderFd, from.c_str(), folderFd, to.c_str(), RENAME_NOREPLACE) == 0) {
        return std::nullopt;
    }
    if (errno != EINVAL && errno != ENOSYS) {
        return errorFromErrno(errno);
    }
    // The file system cannot refuse to replace in one step. A hard link
    // can never replace an existing name either; then drop the old name.
    if (::linkat(folderFd, from.c_str(), folderFd, to.c_str(), 0) != 0) {
        return errorFromErrno(errno);
    }
    if (::unlinkat(folderFd, from.c_str(), 0) != 0) {
        const int err = errno;
        return RenameError{RenameError::Kind::Other, std::string(std::strerror(err)) +
                                                         "; the file now has both names, " +
                                                         shown(from) + " may be removed by hand"};
    }
    return std::nullopt;
}
}  // namespace posix

namespace {

class PosixFileServices final : public FileServices {
  public:
    explicit PosixFileServices(const std::string& folder)
        : rootPath_(folder.empty() ? "." : folder),
          root_(::open(rootPath_.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC)) {}

    bool fileExists(const std::string& path) override {
        std::string native;
        if (root_.get() < 0 || !nativePath(path, native)) {
            return false;
        }
        // The common case, every component in its exact spelling: one call.
        struct stat st {};
        if (::fstatat(root_.get(), native.c_str(), &st, 0) == 0) {
            return S_ISREG(st.st_mode);
        }
        if (errno != ENOENT && errno != ENOTDIR) {
            return false;
        }
        const std::lock_guard lock(cache_.mutex());
        cache_.catchUp();
        for (const std::string& entry : locate(components(native))) {
            if (::fstatat(root_.get(), entry.c_str(), &st, 0) == 0 && S_ISREG(st.st_mode)) {
                return true;
            }
        }
        return false;
    }

    std::optional<RenameError> renameNoReplace(const std::string& from,
                                               const std::string& to) override {
        std::string fromNative;
        std::string toNative;
        if (!nativePath(from, fromNative) || !nativePath(to, toNative)) {
            return RenameError{RenameError::Kind::Other, "not a valid file name"};
        }
        if (root_.get() < 0) {
            return errorFromErrno(ENOENT);
        }
        const std::lock_guard lock(cache_.mutex());
        cache_.catchUp();

        // The common case needs no search: both names in one folder spelt as
        // the catalogue spells it, the source there in its exact spelling.
        std::string srcFolder;
        std::string srcName;
        std::string dstFolder;
        std::string dstName;
        splitLast(fromNative, srcFolder, srcName);
        splitLast(toNative, dstFolder, dstName);
        if (srcFolder == dstFolder) {
            const Listing* l = listing(srcFolder);
            if (l != nullptr && l->has(srcName)) {
                return renameInto(srcFolder, srcName, dstFolder, dstName);
            }
        }

        const Components source = components(fromNative);
        const Components target = components(toNative);
        const std::vector<std::string> sources = locate(source);
        if (sources.empty()) {
            return errorFromErrno(ENOENT);
        }
        if (sources.size() > 1) {
            std::vector<std::string> names;
            for (const std::string& s : sources) {
                names.push_back(shown(s));
            }
            return RenameError{RenameError::Kind::Ambiguous, severalMatchesReason(names)};
        }
        splitLast(sources.front(), srcFolder, srcName);

        // The file stays in the folder it was found in and takes the
        // catalogue's spelling of the new name.
        dstFolder = srcFolder;
        if (!sameFolder(source, target)) {
            const std::vector<std::string> folders = locateFolders(target, target.size() - 1);
            if (folders.size() != 1) {
                return folders.empty() ? errorFromErrno(ENOENT)
                                       : RenameError{RenameError::Kind::Ambiguous,
                                                     "more than one folder matches the new name "
                                                     "when case is ignored"};
            }
            dstFolder = folders.front();
        }
        return renameInto(srcFolder, srcName, dstFolder, dstName);
    }

  private:
    // Renames an entry found in `srcFolder` to `dstName` in `dstFolder`,
    // unless any spelling of that name is taken: on the game's own platform it
    // would be the same file.
    std::optional<RenameError> renameInto(const std::string& srcFolder, const std::string& srcName,
                                          const std::string& dstFolder,
                                          const std::string& dstName) {
        const auto taken = named(dstFolder, dstName);
        if (!taken.empty()) {
            RenameError error{RenameError::Kind::TargetExists, "already exists"};
            if (taken.front().name != dstName) {
                error.reason += " as " + shown(join(dstFolder, taken.front().name));
            }
            return error;
        }
        if (auto error = renameEntry(join(srcFolder, srcName), join(dstFolder, dstName))) {
            return error;
        }
        cache_.renamed(folderPath(srcFolder), srcName, folderPath(dstFolder), dstName);
        return std::nullopt;
    }

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

    const Listing* listing(const std::string& folder) {
        return cache_.get(root_.get(), rootPath_, folder);
    }

    // The entries of `folder` that `name` denotes (see Listing::named).
    std::vector<Listing::Entry> named(const std::string& folder, const std::string& name) {
        const Listing* l = listing(folder);
        return l == nullptr ? std::vector<Listing::Entry>{} : l->named(name);
    }

    std::string folderPath(const std::string& folder) const {
        return folder.empty() ? rootPath_ : rootPath_ + '/' + folder;
    }

    bool isFolder(const Listing::Entry& entry, const std::string& path) const {
        if (entry.kind != Listing::Kind::Unknown) {
            return entry.kind == Listing::Kind::Folder;
        }
        struct stat st {};
        return ::fstatat(root_.get(), path.c_str(), &st, 0) == 0 && S_ISDIR(st.st_mode);
    }

    // Every folder that the leading `count` components may denote. A folder
    // in its exact spelling is found without listing its parent.
    std::vector<std::string> locateFolders(const Components& components, std::size_t count) {
        std::vector<std::string> folders{""};
        for (std::size_t i = 0; i < count; ++i) {
            std::vector<std::string> next;
            for (const std::string& folder : folders) {
                const std::string exact = join(folder, components[i]);
                if (listing(exact) != nullptr) {
                    next.push_back(exact);
                    continue;
                }
                for (const Listing::Entry& entry : named(folder, components[i])) {
                    const std::string path = join(folder, entry.name);
                    if (entry.name != components[i] && isFolder(entry, path)) {
                        next.push_back(path);
                    }
                }
            }
            folders = std::move(next);
        }
        return folders;
    }

    // Every entry, of whatever kind, that a catalogue path may denote.
    std::vector<std::string> locate(const Components& components) {
        std::vector<std::string> found;
        for (const std::string& folder : locateFolders(components, components.size() - 1)) {
            for (const Listing::Entry& entry : named(folder, components.back())) {
                found.push_back(join(folder, entry.name));
            }
        }
        return found;
    }

    std::optional<RenameError> renameEntry(const std::string& from, const std::string& to) const {
        return posix::renameNoReplaceAt(root_.get(), from, to);
    }

    std::string rootPath_;
    Fd root_;
    FolderCache& cache_ = FolderCache::instance();
};

}  // namespace

namespace posix {
void forgetFolderListings() {
    FolderCache& cache = FolderCache::instance();
    const std::lock_guard lock(cache.mutex());
    cache.forget();
}
}  // namespace posix

std::unique_ptr<FileServices> makeSystemFileServices(const std::string& folder) {
    return std::make_unique<PosixFileServices>(folder);
}

}  // namespace orvando
