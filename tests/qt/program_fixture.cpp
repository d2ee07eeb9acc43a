#include "program_fixture.h"

#include <QAbstractButton>
#include <algorithm>

#include "catalogue/catalogue.h"
#include "support/game_folders.h"

namespace orvando::testing {

void fill(MemoryFolder& folder, Folder kind) {
    switch (kind) {
        case Folder::Empty:
            break;
        case Folder::Stock:
            fillStockFolder(folder);
            break;
        case Folder::Enabled:
            fillEnabledFolder(folder);
            break;
        case Folder::StockWithoutLastRow:
            fillStockFolder(folder);
            folder.remove("streammusic\\mus_theme_malak.wav");
            break;
        case Folder::ProbeBackupOnly:
            folder.addFile("streammusic\\mus_area_desert.original.wav", "desert");
            break;
        case Folder::StockAndBackups:
            fillStockFolder(folder);
            for (auto name : kBackupNames) {
                folder.addFile(std::string(name), "backup " + std::string(name));
            }
            break;
        case Folder::StockWithoutReplacements:
            fillStockFolder(folder);
            folder.remove("streamsounds\\mus_sbat_acad.mod.wav");
            folder.remove("streamsounds\\mus_sbat_sithbs.mod.wav");
            break;
        case Folder::EnabledWithoutBackup7:
            fillEnabledFolder(folder);
            folder.remove("streammusic\\mus_area_valsith.original.wav");
            break;
        case Folder::StockRefusingRow5:
            fillStockFolder(folder);
            folder.refuseRenameOf("streammusic\\mus_area_sforge.wav",
                                  {RenameError::Kind::PermissionDenied, "permission denied"});
            break;
    }
}

std::vector<std::string> contents(const MemoryFolder& folder) {
    std::vector<std::string> out;
    for (const auto& [path, content] : folder.files()) {
        out.push_back(content);
    }
    std::sort(out.begin(), out.end());
    return out;
}

Program::Program(Folder kind) {
    fill(folder, kind);
    view.attach(form);
    view.runBox = [this](QMessageBox& box) {
        RecordedBox r;
        r.title = box.windowTitle();
        r.text = box.text();
        r.icon = box.icon();
        r.buttons = box.standardButtons();
        r.format = box.textFormat();
        r.modality = box.windowModality();
        r.standsAlone = box.parentWidget() == nullptr;
        r.windowVisible = window().isVisible();
        r.renameEnabled = window().renameButton()->isEnabled();
        r.unrenameEnabled = window().unrenameButton()->isEnabled();
        boxes.push_back(r);
    };
}

}  // namespace orvando::testing
