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

frmMusic::RenfileResult frmMusic::renfile(std::string_view oldname, std::string_view finalname) {
    const std::string source(oldname);
    if (!files_.fileExists(source)) {
        view_.msgBox(text::missingSourceWarning(oldname, finalname), MsgBoxStyle::Exclamation,
                     std::string(text::kRenameWarningTitle));
        return {RenfileResult::Kind::Skipped, {}};
    }
    if (auto error = files_.renameNoReplace(source, std::string(finalname))) {
        return {RenfileResult::Kind::Refused, std::move(*error)};
    }
    return {RenfileResult::Kind::Renamed, {}};
}

bool frmMusic::alreadyInPlace(const RenamePair& pair, const RenameError& error) {
    // The rename moved nothing; the source exists and the target is taken. A
    // missing backup means the stock track never left its name.
    return error.kind == RenameError::Kind::TargetExists && !pair.backupname.empty() &&
           !files_.fileExists(std::string(pair.backupname));
}

void frmMusic::runOperation(const OperationPlan& plan) {
    view_.setButtonEnabled(ActionButton::rename, false);
    view_.setButtonEnabled(ActionButton::unrename, false);
    view_.setVisible(false);

    int renamed = 0;
    for (const RenamePair& pair : plan) {
        const RenfileResult result = renfile(pair.oldname, pair.finalname);
        switch (result.kind) {
            case RenfileResult::Kind::Renamed:
                ++renamed;
                break;
            case RenfileResult::Kind::Skipped:
                break;
            case RenfileResult::Kind::Refused:
                if (alreadyInPlace(pair, result.error)) {
                    break;
                }
                // Nothing is undone and no later pair is tried: the user sees
                // exactly where the run stopped.
                view_.msgBox(
                    text::renameFailure(pair.oldname, pair.finalname, result.error.reason, renamed),
                    MsgBoxStyle::Critical, std::string(text::kRenameFailureTitle));
                end(1);
                return;
        }
    }
    end(0);
}

}  // namespace orvando
