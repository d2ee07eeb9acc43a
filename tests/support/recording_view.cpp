#include "support/recording_view.h"

namespace orvando::testing {

namespace {
const char* buttonName(ActionButton b) {
    return b == ActionButton::rename ? "rename" : "unrename";
}
}  // namespace

std::string boxLine(MsgBoxStyle style, const std::string& title, const std::string& prompt) {
    return "box " + std::to_string(static_cast<int>(style)) + " " + title + ": " + prompt;
}

void RecordingView::setWidth(float twips) {
    log_.push_back("width " + std::to_string(static_cast<int>(twips)));
}

void RecordingView::setCaption(const std::string& text) {
    caption = text;
    log_.push_back("caption " + text);
}

void RecordingView::setButtonVisible(ActionButton button, bool visible) {
    (button == ActionButton::rename ? renameVisible : unrenameVisible) = visible;
    log_.push_back(std::string(visible ? "show " : "hide ") + buttonName(button));
}

void RecordingView::setButtonEnabled(ActionButton button, bool enabled) {
    log_.push_back(std::string(enabled ? "enable " : "disable ") + buttonName(button));
}

void RecordingView::setVisible(bool visible) {
    windowVisible = visible;
    log_.push_back(visible ? "show window" : "hide window");
}

void RecordingView::msgBox(const std::string& prompt, MsgBoxStyle style, const std::string& title) {
    ++boxes;
    log_.push_back(boxLine(style, title, prompt));
}

void RecordingView::end(int status) {
    ++endCalls;
    exitStatus = status;
    log_.push_back("end " + std::to_string(status));
}

}  // namespace orvando::testing
