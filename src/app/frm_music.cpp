#include "app/frm_music.h"

#include <string>

#include "detection/detection.h"
#include "ui/texts.h"

namespace orvando {

void frmMusic::Form_Load() {
    if (ended_) {
        return;
    }
    view_.setWidth(kRunTimeWidth);
    const InstallState state = detectInstallState(files_);
    if (state == InstallState::NoGameFolder) {
        view_.msgBox(std::string(text::kFileErrorPrompt), MsgBoxStyle::Information,
                     std::string(text::kFileErrorTitle));
        end(1);
        return;
    }
    // The buttons are hidden in the designed window; detection only ever shows them.
    const StateDisplay display = displayFor(state);
    view_.setCaption(std::string(display.caption));
    if (display.renameVisible) {
        view_.setButtonVisible(ActionButton::rename, true);
    }
    if (display.unrenameVisible) {
        view_.setButtonVisible(ActionButton::unrename, true);
    }
}

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

void frmMusic::cmdErrorHelp_Click() {
    if (!ended_) {
        view_.msgBox(std::string(text::kHelpText), MsgBoxStyle::Information,
                     std::string(text::kHelpTitle));
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

void frmMusic::end(int exitStatus) {
    ended_ = true;
    view_.end(exitStatus);
}

}  // namespace orvando
