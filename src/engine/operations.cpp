// The rename engine of frmMusic: the guarded rename of one file and the two
// operations that run it over their plans.
#include <string>

#include "app/frm_music.h"
#include "app/texts.h"

namespace orvando {

void frmMusic::rename_Click() {
    if (!ended_) {
        runOperation(kEnablePlan);
    }
}

void frmMusic::unrename_Click() {
    if (!ended_) {
        runOperation(kRestorePlan);
    }
}

frmMusic::RenfileResult frmMusic::renfile(std::string_view oldname, std::string_view finalname,
                                          FileServices& files, bool warn) {
    const std::string source(oldname);
    if (!files.fileExists(source)) {
        if (warn) {
            view_.msgBox(text::missingSourceWarning(oldname, finalname), MsgBoxStyle::Exclamation,
                         std::string(text::kRenameWarningTitle));
        }
        return {RenfileResult::Kind::Skipped, {}};
    }
    if (auto error = files.renameNoReplace(source, std::string(finalname))) {
        return {RenfileResult::Kind::Refused, std::move(*error)};
    }
    return {RenfileResult::Kind::Renamed, {}};
}

bool frmMusic::alreadyInPlace(const RenamePair& pair, const RenameError& error,
                              FileServices& files) {
    // The rename moved nothing; the source exists and the target is taken. A
    // missing backup means the stock track never left its name.
    return error.kind == RenameError::Kind::TargetExists && !pair.backupname.empty() &&
           !files.fileExists(std::string(pair.backupname));
}

std::optional<frmMusic::Stop> frmMusic::run(const OperationPlan& plan, FileServices& files,
                                            bool warn) {
    int renamed = 0;
    for (const RenamePair& pair : plan) {
        RenfileResult result = renfile(pair.oldname, pair.finalname, files, warn);
        if (result.kind == RenfileResult::Kind::Renamed) {
            ++renamed;
        } else if (result.kind == RenfileResult::Kind::Refused &&
                   !alreadyInPlace(pair, result.error, files)) {
            return Stop{&pair, std::move(result.error), renamed};
        }
    }
    return std::nullopt;
}

void frmMusic::runOperation(const OperationPlan& plan) {
    view_.setButtonEnabled(ActionButton::rename, false);
    view_.setButtonEnabled(ActionButton::unrename, false);
    view_.setVisible(false);

    // A run that would stop part-way does not start: it is first made on a
    // copy of the folder, without boxes. Stopped half way, it would leave the
    // music half switched and the player a box for every file afterwards.
    if (const auto copy = files_.copy()) {
        if (const auto stop = run(plan, *copy, false)) {
            view_.msgBox(text::switchRefused(stop->pair->oldname, stop->pair->finalname,
                                             stop->error.reason, stop->error.kind),
                         MsgBoxStyle::Critical, std::string(text::kRenameFailureTitle));
            end(1);
            return;
        }
    }
    // A rename refused even so (another program took a name, or opened a file,
    // in the moment between): nothing is undone and no later pair is tried.
    if (const auto stop = run(plan, files_, true)) {
        view_.msgBox(text::renameFailure(stop->pair->oldname, stop->pair->finalname,
                                         stop->error.reason, stop->renamedBefore),
                     MsgBoxStyle::Critical, std::string(text::kRenameFailureTitle));
        end(1);
        return;
    }
    end(0);
}

}  // namespace orvando
