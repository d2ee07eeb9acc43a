#include "support/game_folders.h"

#include "catalogue/catalogue.h"

namespace orvando::testing {

std::string contentFor(const std::string& name) {
    return "content of " + name;
}

void fillStockFolder(MemoryFolder& folder) {
    for (auto name : kStockNames) {
        folder.addFile(std::string(name), contentFor(std::string(name)));
    }
    for (const auto& pair : kReplacementPairs) {
        folder.addFile(std::string(pair.replacement), contentFor(std::string(pair.replacement)));
    }
}

void fillEnabledFolder(MemoryFolder& folder) {
    for (std::size_t i = 0; i < kBackupNames.size(); ++i) {
        folder.addFile(std::string(kBackupNames[i]), contentFor(std::string(kStockNames[i])));
    }
    for (const auto& pair : kReplacementPairs) {
        folder.addFile(std::string(pair.stock), contentFor(std::string(pair.replacement)));
    }
}

}  // namespace orvando::testing
