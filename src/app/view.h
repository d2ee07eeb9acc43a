// What the window's handler logic asks of a front end: the window operations,
// the modal message box and the end of the program. The Qt and Win32 views
// implement it; tests use a recording fake.
#pragma once

#include <string>

namespace orvando {

enum class ActionButton { rename, unrename };

// The platform's message-box flag word, as the program uses it.
enum class MsgBoxStyle : int {
    Critical = 16,     // error icon, OK
    Exclamation = 48,  // warning icon, OK
    Information = 64,  // information icon, OK
};

class View {
  public:
    virtual ~View() = default;

    // Outer width of the window in twips (1440 to the inch, 15 to the pixel at 96 dpi).
    virtual void setWidth(float twips) = 0;
    virtual void setCaption(const std::string& caption) = 0;
    virtual void setButtonVisible(ActionButton button, bool visible) = 0;
    virtual void setButtonEnabled(ActionButton button, bool enabled) = 0;
    virtual void setVisible(bool visible) = 0;

    // Modal; returns when the user has closed the box.
    virtual void msgBox(const std::string& prompt, MsgBoxStyle style, const std::string& title) = 0;

    // Ends the program with this exit status: the view closes every window and
    // delivers no further event. The caller makes no further call after it.
    virtual void end(int exitStatus) = 0;
};

}  // namespace orvando
