// The Windows window of frmMusic: a fixed tool window with three push
// buttons and two pictures.
//
// It draws the controls, lays out the design for the monitor's DPI and the
// system's message font, and forwards the three clicks to the presenter. It
// knows nothing of files, renames or install states: every caption, box and
// decision comes from frmMusic through the View interface. Its only text of its own is the report
// of an unexpected failure inside a handler, which ends the program.
#pragma once

#include <windows.h>

#include <array>
#include <optional>
#include <string>

#include "app/layout.h"
#include "app/view.h"
#include "ui/win32/base_window.h"

namespace orvando {
class frmMusic;
}

namespace orvando::win32 {

class MainWindow final : public View, public BaseWindow<MainWindow> {
  public:
    explicit MainWindow(HINSTANCE instance) : instance_(instance) {}
    ~MainWindow() override;

    // Creates the window and its controls, hidden, with the designed title
    // and size, on the monitor under the mouse pointer.
    bool create();
    // The presenter whose handlers the clicks run.
    void attach(frmMusic& presenter) { presenter_ = &presenter; }

    // Runs the load event; false when the program ended in it.
    bool load();
    // Shows the window centred on its monitor's work area, active, the focus
    // on the first button.
    void show();
    // Delivers messages until the program ends; returns its exit status.
    int messageLoop();
    // Gives a message to the dialog keyboard handling (Tab, Enter, Escape);
    // true when it was handled there.
    bool preTranslate(MSG& message);

    HWND control(Shown which) const { return controls_[static_cast<int>(which)]; }
    UINT dpi() const { return dpi_; }
    const WindowLayout& layout() const { return layout_; }
    bool ended() const { return ended_; }
    int exitStatus() const { return exitStatus_; }

    // View
    void setWidth(float twips) override;
    void setCaption(const std::string& caption) override;
    void setButtonVisible(ActionButton button, bool visible) override;
    void setButtonEnabled(ActionButton button, bool enabled) override;
    void setVisible(bool visible) override;
    void msgBox(const std::string& prompt, MsgBoxStyle style, const std::string& title) override;
    void end(int exitStatus) override;

  private:
    friend class BaseWindow<MainWindow>;

    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void createControls();
    void updateFonts();
    void relayout();
    void onCommand(int id, int code);
    void click(Shown button);
    void focusFirstButton();
    HWND buttonOf(ActionButton button) const;
    // Runs a handler of the presenter; a failure inside it is reported and
    // ends the program, as an unhandled error would.
    void runHandler(void (frmMusic::*handler)());

    HINSTANCE instance_;
    HWND owner_ = nullptr;  // hidden; see create()
    frmMusic* presenter_ = nullptr;
    std::array<HWND, kShownCount> controls_{};
    HFONT buttonFont_ = nullptr;
    HFONT helpFont_ = nullptr;
    HICON image1_ = nullptr;
    HICON image2_ = nullptr;
    UINT dpi_ = 96;
    WindowLayout layout_{96, {}};
    std::optional<float> outerWidthTwips_;  // set by setWidth; designed width until then
    HWND lastFocus_ = nullptr;
    bool shownOnce_ = false;
    bool inHandler_ = false;
    bool quitOnDestroy_ = true;
    bool ended_ = false;
    int exitStatus_ = 0;
};

}  // namespace orvando::win32
