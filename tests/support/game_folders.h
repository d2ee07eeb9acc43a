// Ready-made game folders for tests, in memory or on disk, built from the
// catalogue. Each file's content is "content of " and the name it was first
// given, so that it can be followed through renames.
#pragma once

#include <string>

#include "catalogue/catalogue.h"

namespace orvando::testing {

inline std::string contentFor(std::string_view name) {
    return "content of " + std::string(name);
}

// Stock music in place and the modification's files unpacked beside it:
// the 23 stock names and the 7 replacement names.
template <class Folder>
void fillStockFolder(Folder& folder) {
    for (auto name : kStockNames) {
        folder.addFile(std::string(name), contentFor(name));
    }
    for (const auto& pair : kReplacementPairs) {
        folder.addFile(std::string(pair.replacement), contentFor(pair.replacement));
    }
}

// As a complete enable leaves it: the 23 backup names and the 7 stock names
// that the replacement tracks now hold.
template <class Folder>
void fillEnabledFolder(Folder& folder) {
    for (std::size_t i = 0; i < kBackupNames.size(); ++i) {
        folder.addFile(std::string(kBackupNames[i]), contentFor(kStockNames[i]));
    }
    for (const auto& pair : kReplacementPairs) {
        folder.addFile(std::string(pair.stock), contentFor(pair.replacement));
    }
}

}  // namespace orvando::testing
