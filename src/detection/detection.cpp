#include "detection/detection.h"

#include <cstdint>
#include <string>

#include "catalogue/catalogue.h"

namespace orvando {

namespace {

bool present(FileServices& files, std::string_view path) {
    return files.fileExists(std::string(path));
}

// True when every name of the column exists, walking from row 0 and stopping
// at the first missing one. The probe row was found present a moment ago and
// is not asked about again.
bool everyNamePresent(FileServices& files, ListName list) {
    const auto& column = catalogueColumn(list);
    const std::int16_t upper = static_cast<std::int16_t>(column.size()) - 1;
    for (std::int16_t i = 0; i <= upper; ++i) {
        if (i != kProbeRow && !present(files, column[static_cast<std::size_t>(i)])) {
            return false;
        }
    }
    return true;
}

}  // namespace

InstallState detectInstallState(FileServices& files) {
    // Both probe names are always asked about, the backup name first.
    const bool probeBackup = present(files, kBackupNames[kProbeRow]);
    const bool probeStock = present(files, kStockNames[kProbeRow]);
    if (!probeBackup && !probeStock) {
        return InstallState::NoGameFolder;
    }
    // While the probe row's stock name exists, only stock names are looked at;
    // otherwise only backup names.
    if (probeStock) {
        return everyNamePresent(files, ListName::originalname) ? InstallState::NotEnabled
                                                               : InstallState::ErrorRecRename;
    }
    return everyNamePresent(files, ListName::modname) ? InstallState::ModEnabled
                                                      : InstallState::ErrorRecUnrename;
}

}  // namespace orvando
