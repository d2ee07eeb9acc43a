// A view that records every call as a line of text, in order, into a log
// that file services may share, so that a test sees the exact interleaving of
// window calls, renames and message boxes ("box 48 File rename error: ...").
#pragma once

#include <string>
#include <vector>

#include "platform/view.h"

namespace orvando::testing {

inline std::string boxLine(MsgBoxStyle style, const std::string& title, const std::string& prompt) {
    return "box " + std::to_string(static_cast<int>(style)) + " " + title + ": " + prompt;
}

class RecordingView final : public View {
  public:
    explicit RecordingView(std::vector<std::string>& log) : log_(log) {}

    void setWidth(float twips) override {
        log_.push_back("width " + std::to_string(static_cast<int>(twips)));
    }
    void setCaption(const std::string& text) override {
        caption = text;
        log_.push_back("caption " + text);
    }
    void setButtonVisible(ActionButton button, bool visible) override {
        (button == ActionButton::rename ? renameVisible : unrenameVisible) = visible;
        log_.push_back((visible ? "show " : "hide ") + name(button));
    }
    void setButtonEnabled(ActionButton button, bool enabled) override {
        log_.push_back((enabled ? "enable " : "disable ") + name(button));
    }
    void setVisible(bool visible) override {
        log_.push_back(visible ? "show window" : "hide window");
    }
    void msgBox(const std::string& prompt, MsgBoxStyle style, const std::string& title) override {
        ++boxes;
        log_.push_back(boxLine(style, title, prompt));
    }
    void end(int exitStatus) override { log_.push_back("end " + std::to_string(exitStatus)); }

    // What the window shows, for checks that ignore the order.
    std::string caption = "Orvando v2";
    bool renameVisible = false;
    bool unrenameVisible = false;
    int boxes = 0;

  private:
    static std::string name(ActionButton b) {
        return b == ActionButton::rename ? "rename" : "unrename";
    }
    std::vector<std::string>& log_;
};

}  // namespace orvando::testing
