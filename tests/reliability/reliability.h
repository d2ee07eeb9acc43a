// Shared by the reliability checks: file services that log every call and
// let a test step in, the installs a switch starts from, and a resume with the
// button the caption recommends.
#pragma once

#include <algorithm>
#include <functional>
#include <set>

#include "engine/operations.h"
#include "support/game_folders.h"
#include "support/memory_folder.h"
#include "support/random_folder.h"
#include "support/recording_view.h"
#include "support/temp_folder.h"

namespace orvando::testing {

// Every file of a folder by its path (backslashes), with its content.
using Snapshot = std::map<std::string, std::string>;

// The contents, counted: renames keep them; a track lost or overwritten, or a
// copy left behind, does not.
inline std::multiset<std::string> contents(const Snapshot& files) {
    std::multiset<std::string> out;
    for (const auto& [path, content] : files) {
        out.insert(content);
    }
    return out;
}

// Logs every call with its result and calls the hooks tests step in with.
class WatchedFiles final : public FileServices {
  public:
    explicit WatchedFiles(FileServices& inner) : inner_(inner) {}
    bool fileExists(const std::string& path) override {
        if (onQuery) {
            onQuery(path);
        }
        return inner_.fileExists(path);
    }
    std::optional<RenameError> renameNoReplace(const std::string& from,
                                               const std::string& to) override {
        if (onRename) {
            onRename(renames);
        }
        auto error = inner_.renameNoReplace(from, to);
        calls.push_back("rename " + from + " -> " + to + (error ? ": refused" : ": done"));
        ++(error ? refusals : renames);
        if (onRename && !error) {
            onRename(renames);
        }
        return error;
    }

    std::function<void(const std::string& path)> onQuery;  // before each query
    std::function<void(int renames)> onRename;  // before each rename, after each one made
    std::vector<std::string> calls;             // the renames tried
    int renames = 0;
    int refusals = 0;

  private:
    FileServices& inner_;
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
