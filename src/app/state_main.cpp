// orvando-state [FOLDER]: prints the caption the window would show for the
// game folder (the current directory by default). Renames nothing.
#include <cstdio>
#include <string>

#include "detection/detection.h"
#include "ui/texts.h"

int main(int argc, char** argv) {
    const std::string folder = argc > 1 ? argv[1] : "";
    auto files = orvando::makeSystemFileServices(folder);
    const orvando::InstallState state = orvando::detectInstallState(*files);
    if (state == orvando::InstallState::NoGameFolder) {
        std::printf("%s: %s\n", std::string(orvando::text::kFileErrorTitle).c_str(),
                    std::string(orvando::text::kFileErrorPrompt).c_str());
        return 1;
    }
    std::printf("%s\n", std::string(orvando::displayFor(state).caption).c_str());
    return 0;
}
