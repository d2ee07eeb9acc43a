// Shared by the reliability checks: file services that count lost and
// overwritten tracks, and the two complete installs.
#pragma once

#include <algorithm>
#include <functional>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "engine/operations.h"
#include "support/game_folders.h"
#include "support/memory_folder.h"
#include "support/random_folder.h"
#include "support/recording_view.h"
#include "support/temp_folder.h"

namespace orvando::testing {

// Every file of a folder by its path (backslashes), with its content.
using Snapshot = std::map<std::string, std::string>;

struct Damage {
    int lost = 0;
    int overwritten = 0;
    friend bool operator==(const Damage&, const Damage&) = default;
};

// Every file starts with a content of its own. `lost`: contents of `before`
// that no file holds after. `overwritten`: each name that stayed but holds
// another content, each new name holding a content no file held, and each
// name a content holds beyond the number that held it before. An honest
// rename moves one content to a free name and counts as neither.
inline Damage compareStep(const Snapshot& before, const Snapshot& after) {
    Damage damage;
    std::map<std::string, int> held, holds;
    for (const auto& [path, content] : before) {
        ++held[content];
    }
    for (const auto& [path, content] : after) {
        ++holds[content];
        const auto it = before.find(path);
        damage.overwritten += it != before.end() ? it->second != content : held.count(content) == 0;
    }
    for (const auto& [content, n] : holds) {
        const auto it = held.find(content);
        damage.overwritten += it != held.end() && n > it->second ? n - it->second : 0;
    }
    for (const auto& [content, n] : held) {
        damage.lost += holds.count(content) == 0;
    }
    return damage;
}

// Logs every call with its result, sums the damage of each rename when it can
// read the folder, and calls the hooks tests use to inject faults.
class WatchedFiles final : public FileServices {
  public:
    explicit WatchedFiles(FileServices& inner, std::function<Snapshot()> read = {})
        : inner_(inner), read_(std::move(read)) {
        first_ = last_ = read_ ? read_() : Snapshot{};
    }
    bool fileExists(const std::string& path) override {
        if (onQuery) {
            onQuery(path);
        }
        const bool present = inner_.fileExists(path);
        calls.push_back("query " + path + (present ? ": yes" : ": no"));
        return present;
    }
    std::optional<RenameError> renameNoReplace(const std::string& from,
                                               const std::string& to) override {
        if (onRename) {
            onRename(renames);
        }
        auto error = inner_.renameNoReplace(from, to);
        calls.push_back("rename " + from + " -> " + to +
                        (error ? ": refused (" + error->reason + ")" : ": done"));
        ++(error ? refusals : renames);
        if (read_) {
            Snapshot now = read_();
            overwritten_ += compareStep(last_, now).overwritten;
            last_ = std::move(now);
        }
        if (onRename && !error) {
            onRename(renames);
        }
        return error;
    }
    // Lost since the start, overwritten summed over the renames.
    Damage damage() const {
        return read_ ? Damage{compareStep(first_, read_()).lost, overwritten_} : Damage{};
    }

    std::function<void(const std::string& path)> onQuery;  // before each query
    std::function<void(int renames)> onRename;  // before each rename, after each one made
    std::vector<std::string> calls;
    int renames = 0;
    int refusals = 0;

  private:
    FileServices& inner_;
    std::function<Snapshot()> read_;
    Snapshot first_, last_;
    int overwritten_ = 0;
};

// An operation is named by its button: rename enables the modification from
// the stock install, unrename restores the stock music from the enabled one.
inline const OperationPlan& planOf(ActionButton op) {
    return op == ActionButton::rename ? kEnablePlan : kRestorePlan;
}
// The install `op` starts from, after the first `count` renames of its plan.
inline Snapshot afterRenames(ActionButton op, int count) {
    MemoryFolder folder;
    op == ActionButton::rename ? fillStockFolder(folder) : fillEnabledFolder(folder);
    for (int i = 0; i < count; ++i) {
        const RenamePair& pair = planOf(op).at(static_cast<std::size_t>(i));
        folder.renameNoReplace(std::string(pair.oldname), std::string(pair.finalname));
    }
    return folder.files();
}
inline Snapshot installFor(ActionButton op) {
    return afterRenames(op, 0);
}
inline void writeFolder(TempFolder& folder, const Snapshot& files) {
    for (const auto& [path, content] : files) {
        folder.addFile(path, content);
    }
}

// The message boxes of a window's log.
inline std::vector<std::string> boxesIn(const std::vector<std::string>& log) {
    std::vector<std::string> boxes;
    std::copy_if(log.begin(), log.end(), std::back_inserter(boxes),
                 [](const std::string& line) { return line.rfind("box ", 0) == 0; });
    return boxes;
}

// A fresh start in `folder` and a click on the button the caption recommends,
// every box answered: whether the folder then holds one of the two complete
// installs, each track under its own name (so nothing was lost or
// overwritten on the way), and the boxes the player answered.
struct Resumed {
    bool complete;
    int boxes;
};
inline Resumed resumeWithRecommendedButton(const TempFolder& folder) {
    auto files = makeSystemFileServices(folder.path().string());
    const auto boxes = boxesIn(startAndClick(*files, kRecommended)).size();
    const Snapshot after = folder.files();
    return {
        after == installFor(ActionButton::rename) || after == installFor(ActionButton::unrename),
        static_cast<int>(boxes)};
}

}  // namespace orvando::testing
