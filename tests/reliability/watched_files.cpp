#include "reliability/watched_files.h"

#include <utility>

namespace orvando::testing {

namespace {

std::map<std::string, int> holders(const Snapshot& files) {
    std::map<std::string, int> count;
    for (const auto& [path, content] : files) {
        ++count[content];
    }
    return count;
}

}  // namespace

int lostBetween(const Snapshot& before, const Snapshot& after) {
    const auto afterHolders = holders(after);
    int lost = 0;
    for (const auto& [content, n] : holders(before)) {
        lost += afterHolders.count(content) == 0 ? 1 : 0;
    }
    return lost;
}

bool contentsUnique(const Snapshot& files) {
    for (const auto& [content, n] : holders(files)) {
        if (n > 1) {
            return false;
        }
    }
    return true;
}

Damage compareStep(const Snapshot& before, const Snapshot& after) {
    Damage damage;
    const auto heldBefore = holders(before);
    for (const auto& [path, content] : after) {
        if (auto it = before.find(path); it != before.end()) {
            // The name stayed: it must hold what it held.
            damage.overwritten += it->second == content ? 0 : 1;
        } else {
            // A new name: it must hold a file that existed.
            damage.overwritten += heldBefore.count(content) == 0 ? 1 : 0;
        }
    }
    // A file that existed may move, but not gain names.
    for (const auto& [content, n] : holders(after)) {
        if (auto it = heldBefore.find(content); it != heldBefore.end() && n > it->second) {
            damage.overwritten += n - it->second;
        }
    }
    damage.lost = lostBetween(before, after);
    return damage;
}

WatchedFiles::WatchedFiles(FileServices& inner, std::function<Snapshot()> snapshot)
    : inner_(inner), snapshot_(std::move(snapshot)) {
    if (snapshot_) {
        first_ = snapshot_();
        last_ = first_;
    }
}

bool WatchedFiles::fileExists(const std::string& path) {
    const bool present = inner_.fileExists(path);
    calls_.push_back("query " + path + (present ? ": yes" : ": no"));
    return present;
}

std::optional<RenameError> WatchedFiles::renameNoReplace(const std::string& from,
                                                         const std::string& to) {
    auto error = inner_.renameNoReplace(from, to);
    calls_.push_back("rename " + from + " -> " + to +
                     (error ? ": refused (" + error->reason + ")" : ": done"));
    ++(error ? refusals_ : renames_);
    if (snapshot_) {
        Snapshot now = snapshot_();
        overwritten_ += compareStep(last_, now).overwritten;
        last_ = std::move(now);
    }
    return error;
}

Damage WatchedFiles::damage() const {
    if (!snapshot_) {
        return {};
    }
    return {lostBetween(first_, snapshot_()), overwritten_};
}

}  // namespace orvando::testing
