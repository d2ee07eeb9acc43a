#include "platform/name_rules.h"

#include <algorithm>
#include <functional>
#include <string_view>
#include <unordered_map>
#include <utility>

#include "platform/name_match.h"

namespace orvando {

namespace {

using Kind = FolderAccess::Kind;
using Names = std::vector<std::string>;

// Relative, no empty component, no slash, drive or wildcard, and no
// component ending in a dot or a blank: that excludes "." and "..", and the
// names Windows would store without their last dot or blank.
bool isCataloguePath(std::string_view path) {
    if (path.empty() || path.find_first_of(std::string_view("/:*?\"<>|\0", 10)) != path.npos) {
        return false;
    }
    for (std::size_t start = 0;;) {
        const std::size_t end = path.find('\\', start);
        const std::string_view component = path.substr(start, end - start);
        if (component.empty() || component.back() == '.' || component.back() == ' ') {
            return false;
        }
        if (end == path.npos) {
            return true;
        }
        start = end + 1;
    }
}

Names components(const std::string& path) {
    Names out(1);
    for (char c : path) {
        if (c == '\\') {
            out.emplace_back();
        } else {
            out.back().push_back(c);
        }
    }
    return out;
}

std::string join(const std::string& folder, const std::string& name) {
    return folder.empty() ? name : folder + '\\' + name;
}

std::string severalMatches(const Names& matches) {
    std::string list;
    for (const std::string& m : matches) {
        list += (list.empty() ? "" : ", ") + m;
    }
    return "more than one file matches this name when case is ignored (" + list + ")";
}

bool sameFolder(const Names& a, const Names& b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end() - 1, b.begin(),
                      [](const auto& x, const auto& y) { return equalsIgnoringAsciiCase(x, y); });
}

// A copy of the game folder's names, each folder's taken from the rules when
// first needed; renames change only the copy. What names do not tell (an
// entry's kind, whether the system would let it be renamed now) the copy asks
// of the real folder, about the entry the name came from.
class FolderCopy final : public FolderAccess {
  public:
    using Read = std::function<Listing(const std::string& folder)>;
    FolderCopy(FolderAccess& real, Read read) : real_(real), read_(std::move(read)) {}

    Kind kindOf(const std::string& path) override {
        std::string folder;
        for (const std::string& name : components(path)) {  // each in its exact spelling
            const Names& names = copied(folder).listing.names;
            if (std::find(names.begin(), names.end(), name) == names.end()) {
                return Kind::Missing;
            }
            folder = join(folder, name);
        }
        // An entry's kind does not change by a rename: asked once of the real folder.
        const auto [it, added] = kinds_.try_emplace(origin(path));
        if (added) {
            it->second = real_.kindOf(it->first);
        }
        return it->second;
    }
    Listing list(const std::string& folder) override { return copied(folder).listing; }
    // Changes with each rename in the copy, which the rules then make in the
    // names they keep too: the copy's names are handed over once a folder.
    Stamp stamp(const std::string& folder) override { return {1, copied(folder).version, 0}; }

    std::optional<RenameError> renameStep(const std::string& from, const std::string& to,
                                          const FreeCheck&) override {
        if (auto refused = real_.mayRename(origin(from))) {
            return refused;
        }
        const std::size_t slash = to.rfind('\\');
        Copied& c = copied(slash == std::string::npos ? "" : to.substr(0, slash));
        Names& names = c.listing.names;
        const std::string name = to.substr(slash + 1);
        const bool taken = std::find(names.begin(), names.end(), name) != names.end();
        if (taken && !real_.sameFile(origin(from), origin(to))) {
            return RenameError{RenameError::Kind::TargetExists, "already exists"};
        }
        ++c.version;
        std::erase(names, from.substr(slash + 1));
        if (!taken) {
            names.push_back(name);
            origins_[to] = origin(from);
        }
        origins_.erase(from);
        return std::nullopt;
    }
    std::optional<RenameError> mayRename(const std::string& path) override {
        return real_.mayRename(origin(path));
    }
    bool sameFile(const std::string& a, const std::string& b) override {
        return real_.sameFile(origin(a), origin(b));
    }

  private:
    struct Copied {
        Listing listing;
        std::int64_t version = 0;
    };
    Copied& copied(const std::string& folder) {
        const auto [it, added] = copies_.try_emplace(folder);
        if (added) {
            it->second.listing = read_(folder);
        }
        return it->second;
    }
    std::string origin(const std::string& path) const {
        const auto it = origins_.find(path);
        return it == origins_.end() ? path : it->second;
    }

    FolderAccess& real_;
    Read read_;
    std::unordered_map<std::string, Copied> copies_;
    std::unordered_map<std::string, std::string> origins_;  // a renamed entry's name on disk
    std::unordered_map<std::string, Kind> kinds_;           // by name on disk
};

// The rules over one platform's primitive. Each folder's names are read once
// and kept while the folder's stamp says that no entry has changed since; the
// program's own renames update them. So a switch reads each music folder once,
// and a name another program adds or removes is seen at the next lookup.
class NameRules final : public FileServices {
  public:
    explicit NameRules(std::unique_ptr<FolderAccess> access) : access_(std::move(access)) {}

    bool fileExists(const std::string& path) override {
        if (!isCataloguePath(path)) {
            return false;
        }
        // The common case, the name in its exact spelling: one system call.
        if (access_->kindOf(path) == Kind::File) {
            return true;
        }
        const Names found = locate(components(path));
        return std::any_of(found.begin(), found.end(),
                           [&](const std::string& f) { return access_->kindOf(f) == Kind::File; });
    }

    std::optional<RenameError> renameNoReplace(const std::string& from,
                                               const std::string& to) override {
        const Names parts = components(from);
        if (!isCataloguePath(from) || !isCataloguePath(to) || !sameFolder(parts, components(to))) {
            return RenameError{RenameError::Kind::Other, "not a valid pair of file names"};
        }
        failure_.reset();
        const Names found = locate(parts);
        if (found.size() > 1) {
            return RenameError{RenameError::Kind::Ambiguous, severalMatches(found)};
        }
        if (found.empty()) {
            return failure_.value_or(RenameError{RenameError::Kind::Other, "no such file"});
        }
        const std::string& source = found.front();
        const std::size_t slash = source.rfind('\\');
        // The file keeps the folder it was found in and takes the new name's spelling.
        const std::string folder = slash == std::string::npos ? "" : source.substr(0, slash);
        const std::string name = to.substr(to.rfind('\\') + 1);
        // Taken in another spelling: refused here. Taken in this spelling: the
        // system refuses, unless the file already has both names.
        if (auto error = taken(folder, name, false, false)) {
            return error;
        }
        auto error = access_->renameStep(source, join(folder, name),
                                         [&] { return taken(folder, name, true, true); });
        if (error && error->kind == RenameError::Kind::TargetExists) {
            // The system saw a name this program had not: say which, when it can.
            error = taken(folder, name, true, true).value_or(*error);
        }
        if (error) {
            listings_.erase(folder);
            return error;
        }
        // Keeps the folder's names as the rename left them.
        if (const auto it = listings_.find(folder); it != listings_.end()) {
            std::erase(it->second.names, source.substr(slash + 1));
            std::erase(it->second.names, name);
            it->second.names.push_back(name);
            it->second.stamp = access_->stamp(folder);
        }
        return std::nullopt;
    }

    std::unique_ptr<FileServices> copy() override {
        // The copy starts from the names these rules keep, so the run that
        // follows reads no folder again.
        return makeFileServices(std::make_unique<FolderCopy>(*access_, [this](const auto& folder) {
            failure_.reset();
            return FolderAccess::Listing{namesIn(folder, false), failure_};
        }));
    }

  private:
    struct Kept {
        FolderAccess::Stamp stamp;
        Names names;
    };
    // A folder's names: those kept, while its stamp is unchanged, else read.
    const Names& namesIn(const std::string& folder, bool fresh) {
        const FolderAccess::Stamp now = access_->stamp(folder);
        const auto it = listings_.find(folder);
        if (!fresh && it != listings_.end() && now != FolderAccess::Stamp{} &&
            it->second.stamp == now) {
            return it->second.names;
        }
        FolderAccess::Listing listing = access_->list(folder);
        if (listing.failure && !failure_) {
            failure_ = listing.failure;
        }
        return (listings_[folder] = {now, std::move(listing.names)}).names;
    }

    // The exact spelling alone when that entry exists, otherwise every entry
    // equal to `name` without regard to ASCII case, in sorted order.
    Names spellings(const std::string& folder, const std::string& name, bool fresh = false) {
        Names variants;
        for (const std::string& n : namesIn(folder, fresh)) {
            if (n == name) {
                return {n};
            }
            if (equalsIgnoringAsciiCase(n, name)) {
                variants.push_back(n);
            }
        }
        std::sort(variants.begin(), variants.end());
        return variants;
    }

    // Every entry, of whatever kind, that a path may denote; each component
    // before the last must be a folder.
    Names locate(const Names& path) {
        Names found{""};
        for (std::size_t i = 0; i < path.size(); ++i) {
            Names next;
            for (const std::string& folder : found) {
                for (const std::string& s : spellings(folder, path[i])) {
                    if (i + 1 == path.size() || access_->kindOf(join(folder, s)) == Kind::Folder) {
                        next.push_back(join(folder, s));
                    }
                }
            }
            found = std::move(next);
        }
        return found;
    }

    std::optional<RenameError> taken(const std::string& folder, const std::string& name, bool fresh,
                                     bool exactToo) {
        const Names t = spellings(folder, name, fresh);
        if (t.empty() || (t.front() == name && !exactToo)) {
            return std::nullopt;
        }
        RenameError error{RenameError::Kind::TargetExists, "already exists"};
        if (t.front() != name) {
            error.reason += " as " + join(folder, t.front());
        }
        return error;
    }

    std::unique_ptr<FolderAccess> access_;
    std::unordered_map<std::string, Kept> listings_;
    std::optional<RenameError> failure_;  // the first folder of a lookup that could not be read
};

}  // namespace

std::unique_ptr<FileServices> makeFileServices(std::unique_ptr<FolderAccess> access) {
    return std::make_unique<NameRules>(std::move(access));
}

std::unique_ptr<FileServices> makeSystemFileServices(const std::string& folder) {
    return makeFileServices(makeSystemFolderAccess(folder));
}

}  // namespace orvando
