#include "reliability/installs.h"

#include <set>
#include <stdexcept>

#include "app/frm_music.h"
#include "catalogue/catalogue.h"
#include "support/game_folders.h"
#include "support/random_folder.h"
#include "support/recording_view.h"

namespace orvando::testing {

Snapshot stockInstall() {
    Snapshot files;
    for (auto name : kStockNames) {
        files[std::string(name)] = contentFor(std::string(name));
    }
    for (const auto& pair : kReplacementPairs) {
        files[std::string(pair.replacement)] = contentFor(std::string(pair.replacement));
    }
    return files;
}

Snapshot enabledInstall() {
    Snapshot files;
    for (std::size_t i = 0; i < kBackupNames.size(); ++i) {
        files[std::string(kBackupNames[i])] = contentFor(std::string(kStockNames[i]));
    }
    for (const auto& pair : kReplacementPairs) {
        files[std::string(pair.stock)] = contentFor(std::string(pair.replacement));
    }
    return files;
}

Snapshot installFor(Operation op) {
    return op == Operation::enable ? stockInstall() : enabledInstall();
}

const OperationPlan& planOf(Operation op) {
    return op == Operation::enable ? kEnablePlan : kRestorePlan;
}

Snapshot afterRenames(Snapshot files, const OperationPlan& plan, int count) {
    for (int i = 0; i < count; ++i) {
        const std::string from(plan.at(static_cast<std::size_t>(i)).oldname);
        const std::string to(plan.at(static_cast<std::size_t>(i)).finalname);
        auto node = files.extract(from);
        if (node.empty() || files.count(to) != 0) {
            throw std::logic_error("the plan cannot rename " + from + " to " + to);
        }
        node.key() = to;
        files.insert(std::move(node));
    }
    return files;
}

void writeFolder(TempFolder& folder, const Snapshot& files) {
    for (const auto& [path, content] : files) {
        folder.addFile(path, content);
    }
}

void copyFolder(const std::filesystem::path& from, TempFolder& to) {
    std::filesystem::copy(from, to.path(), std::filesystem::copy_options::recursive);
}

bool onlyCatalogueNames(const Snapshot& files) {
    const auto names = catalogueNames();
    const std::set<std::string> catalogue(names.begin(), names.end());
    for (const auto& [path, content] : files) {
        if (catalogue.count(path) == 0) {
            return false;
        }
    }
    return true;
}

WindowRun runWindow(FileServices& files, std::optional<ActionButton> press) {
    WindowRun run;
    RecordingView view(run.log);
    frmMusic form(view, files);
    form.Form_Load();
    run.caption = view.caption;
    run.renameVisible = view.renameVisible;
    run.unrenameVisible = view.unrenameVisible;
    if (press && !form.ended()) {
        *press == ActionButton::rename ? form.rename_Click() : form.unrename_Click();
    }
    run.ended = form.ended();
    run.exitStatus = view.exitStatus;
    run.boxes = view.boxes;
    return run;
}

}  // namespace orvando::testing
