// A FileServices decorator that watches what each rename does to the files
// of the folder it works in, for the reliability checks.
//
// After every rename call it takes a snapshot of the folder (every file by
// its path, with its content) and compares it with the one before the call:
//
// - a content is *lost* when a file held it before and no file holds it
//   afterwards;
// - *overwritten* counts, after the call, each name that stayed but holds
//   another content than before, each new name that holds a content no file
//   held before (two files merged, a file altered), and each name a content
//   holds beyond the number of names that held it before (a copy).
//
// An honest rename moves one content from a name to a free name and counts
// as neither. The counts need every file of the folder to start with a
// content of its own.
#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/file_services.h"

namespace orvando::testing {

// Every file of a folder by its path (backslashes), with its content.
using Snapshot = std::map<std::string, std::string>;

struct Damage {
    int lost = 0;
    int overwritten = 0;
    friend bool operator==(const Damage&, const Damage&) = default;
};

// What one step did to the files, by the rules above.
Damage compareStep(const Snapshot& before, const Snapshot& after);

// The contents of `before` that no file of `after` holds.
int lostBetween(const Snapshot& before, const Snapshot& after);

// True when no two files hold the same content.
bool contentsUnique(const Snapshot& files);

class WatchedFiles final : public FileServices {
  public:
    // `snapshot` reads the folder that `inner` works in; without one, calls
    // are only logged.
    WatchedFiles(FileServices& inner, std::function<Snapshot()> snapshot = {});

    bool fileExists(const std::string& path) override;
    std::optional<RenameError> renameNoReplace(const std::string& from,
                                               const std::string& to) override;

    // Every call with its result: "query X: yes", "rename X -> Y: done",
    // "rename X -> Y: refused (already exists)".
    const std::vector<std::string>& calls() const { return calls_; }
    int renames() const { return renames_; }
    int refusals() const { return refusals_; }

    // Damage summed over every rename so far; `lost` counts the contents of
    // the first snapshot that are gone now.
    Damage damage() const;

  private:
    FileServices& inner_;
    std::function<Snapshot()> snapshot_;
    Snapshot first_;
    Snapshot last_;
    std::vector<std::string> calls_;
    int renames_ = 0;
    int refusals_ = 0;
    int overwritten_ = 0;
};

}  // namespace orvando::testing
