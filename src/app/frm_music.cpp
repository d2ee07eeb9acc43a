#include "app/frm_music.h"

#include <string>

#include "app/texts.h"
#include "detection/detection.h"

namespace orvando {

namespace {

// What the window shows for a detected state: the caption, and which action
// buttons are made visible.
struct StateDisplay {
    std::string_view caption;
    bool renameVisible;
    bool unrenameVisible;
};

StateDisplay displayFor(InstallState state) {
    switch (state) {
        case InstallState::NotEnabled:
            return {text::kCaptionNotEnabled, true, false};
        case InstallState::ErrorRecRename:
            return {text::kCaptionErrorRecRename, true, true};
        case InstallState::ModEnabled:
            return {text::kCaptionModEnabled, false, true};
        case InstallState::ErrorRecUnrename:
            return {text::kCaptionErrorRecUnrename, true, true};
        case InstallState::NoGameFolder:  // never shown: the program ends instead
            break;
    }
    return {text::kDesignedCaption, false, false};
}

}  // namespace

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

void frmMusic::cmdErrorHelp_Click() {
    if (!ended_) {
        view_.msgBox(std::string(text::kHelpText), MsgBoxStyle::Information,
                     std::string(text::kHelpTitle));
    }
}

void frmMusic::end(int exitStatus) {
    ended_ = true;
    view_.end(exitStatus);
}

}  // namespace orvando
