#include "platform/name_rules.h"

#include <algorithm>
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

// A copy of the game folder's names, each folder's read when first needed;
// renames change only the copy. What names do not tell (an entry's kind,
// whether the system would let it be renamed now) the copy asks of the real
// folder, about the entry the name came from.
class FolderCopy final : public FolderAccess {
  public:
    explicit FolderCopy(FolderAccess& real) : real_(real) {}

    Kind kindOf(const std::string& path) override {
        std::string folder;
        for (const std::string& name : components(path)) {  // each in its exact spelling
            const Names& names = copied(folder).names;
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
    Listing list(const std::string& folder, const std::string&) override { return copied(folder); }

    std::optional<RenameError> renameStep(const std::string& from, const std::string& to,
                                          const FreeCheck&) override {
        if (auto refused = real_.mayRename(origin(from))) {
            return refused;
        }
        const std::size_t slash = to.rfind('\\');
        Names& names = copied(slash == std::string::npos ? "" : to.substr(0, slash)).names;
        const std::string name = to.substr(slash + 1);
        const bool taken = std::find(names.begin(), names.end(), name) != names.end();
        if (taken && !real_.sameFile(origin(from), origin(to))) {
            return RenameError{RenameError::Kind::TargetExists, "already exists"};
        }
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
    Listing& copied(const std::string& folder) {
        const auto [it, added] = copies_.try_emplace(folder);
        if (added) {
            it->second = real_.list(folder, "");
        }
        return it->second;
    }
    std::string origin(const std::string& path) const {
        const auto it = origins_.find(path);
        return it == origins_.end() ? path : it->second;
    }

    FolderAccess& real_;
    std::unordered_map<std::string, Listing> copies_;
    std::unordered_map<std::string, std::string> origins_;  // a renamed entry's name on disk
    std::unordered_map<std::string, Kind> kinds_;           // by name on disk
};

// What one question (a query, a rename) knows of the folders: each read when
// the question first needs it, and gone with the question. A folder is read
// for the names that start as the one asked for and `also` both do.
class Question {
  public:
    explicit Question(FolderAccess& access, std::string also = {})
        : access_(access), also_(std::move(also)) {}

    // Every entry, of whatever kind, that a path may denote; each component
    // before the last must be a folder.
    Names locate(const Names& path) {
        Names found{""};
        for (std::size_t i = 0; i < path.size(); ++i) {
            Names next;
            for (const std::string& folder : found) {
                for (const std::string& s : spellings(folder, path[i])) {
                    if (i + 1 == path.size() || access_.kindOf(join(folder, s)) == Kind::Folder) {
                        next.push_back(join(folder, s));
                    }
                }
            }
            found = std::move(next);
        }
        return found;
    }

    // Taken in another spelling, or with `exactToo` in this one too; with
    // `fresh` the folder is read again first.
    std::optional<RenameError> taken(const std::string& folder, const std::string& name, bool fresh,
                                     bool exactToo) {
        if (fresh) {
            read_.erase(folder);
        }
        const Names t = spellings(folder, name);
        if (t.empty() || (t.front() == name && !exactToo)) {
            return std::nullopt;
        }
        RenameError error{RenameError::Kind::TargetExists, "already exists"};
        if (t.front() != name) {
            error.reason += " as " + join(folder, t.front());
        }
        return error;
    }

    std::optional<RenameError> failure;  // the first folder that could not be read

  private:
    // The exact spelling alone when that entry exists, otherwise every entry
    // equal to `name` without regard to ASCII case, in sorted order.
    Names spellings(const std::string& folder, const std::string& name) {
        auto [it, added] = read_.try_emplace(folder);
        if (added) {
            const auto& like = also_.empty() ? name : also_;
            FolderAccess::Listing listing = access_.list(
                folder, {name.begin(),
                         std::mismatch(name.begin(), name.end(), like.begin(), like.end()).first});
            failure = failure ? failure : listing.failure;
            it->second = std::move(listing.names);
        }
        Names variants;
        for (const std::string& n : it->second) {
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

    FolderAccess& access_;
    const std::string also_;
    std::unordered_map<std::string, Names> read_;
};

// The rules over one platform's primitive. Nothing is kept between questions:
// a rename reads its folder at that moment, so a name another program adds or
// removes in any spelling is seen, whatever the file system's clock.
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
        const Names found = Question(*access_).locate(components(path));
        return std::any_of(found.begin(), found.end(),
                           [&](const std::string& f) { return access_->kindOf(f) == Kind::File; });
    }

    std::optional<RenameError> renameNoReplace(const std::string& from,
                                               const std::string& to) override {
        const Names parts = components(from);
        if (!isCataloguePath(from) || !isCataloguePath(to) || !sameFolder(parts, components(to))) {
            return RenameError{RenameError::Kind::Other, "not a valid pair of file names"};
        }
        const std::string name = to.substr(to.rfind('\\') + 1);
        Question q(*access_, name);
        const Names found = q.locate(parts);
        if (found.size() > 1) {
            return RenameError{RenameError::Kind::Ambiguous, severalMatches(found)};
        }
        if (found.empty()) {
            return q.failure.value_or(RenameError{RenameError::Kind::Other, "no such file"});
        }
        const std::string& source = found.front();
        const std::size_t slash = source.rfind('\\');
        // The file keeps the folder it was found in and takes the new name's spelling.
        const std::string folder = slash == std::string::npos ? "" : source.substr(0, slash);
        // Taken in another spelling: refused here. Taken in this spelling: the
        // system refuses, unless the file already has both names.
        if (auto error = q.taken(folder, name, false, false)) {
            return error;
        }
        auto error = access_->renameStep(source, join(folder, name),
                                         [&] { return q.taken(folder, name, true, true); });
        if (error && error->kind == RenameError::Kind::TargetExists) {
            // The system saw a name this program had not: say which, when it can.
            error = q.taken(folder, name, true, true).value_or(*error);
        }
        return error;
    }

    // The check before a switch: a copy that starts from one fresh read of
    // each folder it needs.
    std::unique_ptr<FileServices> copy() override {
        return makeFileServices(std::make_unique<FolderCopy>(*access_));
    }

  private:
    std::unique_ptr<FolderAccess> access_;
};

}  // namespace

std::unique_ptr<FileServices> makeFileServices(std::unique_ptr<FolderAccess> access) {
    return std::make_unique<NameRules>(std::move(access));
}

std::unique_ptr<FileServices> makeSystemFileServices(const std::string& folder) {
    return makeFileServices(makeSystemFolderAccess(folder));
}

}  // namespace orvando
