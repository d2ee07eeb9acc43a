// The start-up check and the classification of the game folder into one of
// four install states, from which catalogue names exist as ordinary files.
// It only asks about names; it changes nothing and remembers nothing.
#pragma once

#include "platform/file_services.h"

namespace orvando {

enum class InstallState {
    NoGameFolder,      // neither name of the probe row exists: not a game folder
    NotEnabled,        // probe stock name present, every stock name present
    ErrorRecRename,    // probe stock name present, some stock name missing
    ModEnabled,        // probe stock name missing, every backup name present
    ErrorRecUnrename,  // probe stock name missing, some backup name missing
};

// Looks at the probe row's names, then walks the stock names (probe stock name
// present) or the backup names (otherwise) in catalogue order, stopping at the
// first missing one. Replacement names are never looked at.
InstallState detectInstallState(FileServices& files);

}  // namespace orvando
