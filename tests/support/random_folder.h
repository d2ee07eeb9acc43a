// Random game folders over the catalogue's 53 names, for the reliability
// campaign, and one start of the program with a click.
#pragma once

#include <random>
#include <string>
#include <vector>

#include "platform/file_services.h"

namespace orvando::testing {

struct FolderEntry {
    std::string path;  // backslashes between folder and file name
    bool folder;       // a folder named like a file
    std::string content;
};

// Every stock, backup and replacement name.
std::vector<std::string> catalogueNames();

// A folder leaning towards one of the two complete states (stock music in
// place, or the modification enabled), with gaps, folders, names in other case
// and names present in two spellings sprinkled in. Contents are unique.
std::vector<FolderEntry> randomGameFolder(std::mt19937& rng);

// One start of the program in the folder and, unless it ended at start-up,
// one click: the enable when only it is offered, the restore when only it is
// offered, else the one `choice` picks (even: enable; kRecommended: the one
// the caption recommends). Returns the window's log (captions, buttons,
// boxes, end).
inline constexpr int kRecommended = -1;
std::vector<std::string> startAndClick(FileServices& files, int choice);

}  // namespace orvando::testing
