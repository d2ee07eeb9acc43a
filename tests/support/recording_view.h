// A view that records every call as a line of text, in order, into a log it
// may share with a MemoryFolder, so a test can check the exact interleaving of
// renames and message boxes.
#pragma once

#include <string>
#include <vector>

#include "platform/view.h"

namespace orvando::testing {

class RecordingView : public View {
  public:
    explicit RecordingView(std::vector<std::string>& log) : log_(log) {}

    void setWidth(float twips) override;
    void setCaption(const std::string& caption) override;
    void setButtonVisible(ActionButton button, bool visible) override;
    void setButtonEnabled(ActionButton button, bool enabled) override;
    void setVisible(bool visible) override;
    void msgBox(const std::string& prompt, MsgBoxStyle style, const std::string& title) override;
    void end(int exitStatus) override;

    // The state the window would be in, for checks that ignore the order.
    std::string caption = "Orvando v2";
    bool renameVisible = false;
    bool unrenameVisible = false;
    bool windowVisible = true;
    int boxes = 0;
    int endCalls = 0;
    int exitStatus = -1;

  private:
    std::vector<std::string>& log_;
};

// "box 48 File rename error: Cannot locate file: ..."
std::string boxLine(MsgBoxStyle style, const std::string& title, const std::string& prompt);

}  // namespace orvando::testing
