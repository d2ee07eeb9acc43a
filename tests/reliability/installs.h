// Game folders as a real installation has them, with a content of its own
// for every track, and the window runs the reliability tests make on them.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "engine/operations.h"
#include "platform/file_services.h"
#include "platform/view.h"
#include "reliability/watched_files.h"
#include "support/temp_folder.h"

namespace orvando::testing {

enum class Operation { enable, restore };

// The stock music in place and the modification unpacked beside it: 23 stock
// names and 7 replacement names.
Snapshot stockInstall();
// The same tracks as a complete enable leaves them: 23 backup names and the 7
// stock names the replacement tracks took over.
Snapshot enabledInstall();
// The install an operation starts from.
Snapshot installFor(Operation op);
const OperationPlan& planOf(Operation op);

// `files` after the first `count` renames of `plan`, each made as planned.
Snapshot afterRenames(Snapshot files, const OperationPlan& plan, int count);

void writeFolder(TempFolder& folder, const Snapshot& files);
// Copies every file and folder below `from` into the empty `to`.
void copyFolder(const std::filesystem::path& from, TempFolder& to);

// True when every file has one of the 53 catalogue names, spelt exactly.
bool onlyCatalogueNames(const Snapshot& files);

// What the window showed and did in one start of the program.
struct WindowRun {
    std::vector<std::string> log;  // as RecordingView writes it
    std::string caption;
    bool renameVisible = false;
    bool unrenameVisible = false;
    bool ended = false;
    int exitStatus = -1;
    int boxes = 0;
};

// Starts the program on `files`; when `press` is set and the program did not
// end at start-up, clicks that button.
WindowRun runWindow(FileServices& files, std::optional<ActionButton> press = std::nullopt);

}  // namespace orvando::testing
