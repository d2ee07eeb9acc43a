// The Linux window of the program: frmMusic's controls in Qt Widgets, and the
// view that frmMusic drives.
//
// The window only draws controls and forwards the three button clicks to the
// presenter. It decides nothing about files, states or texts: captions,
// button visibility and every message box come from frmMusic.
#pragma once

#include <QPushButton>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>

#include "app/frm_music.h"
#include "app/view.h"

class QLabel;
class QListWidget;

namespace orvando::qt {

// The window's designed pixel sizes (15 twips to the pixel).
inline constexpr int kTwipsPerPixel = 15;
inline constexpr int kDesignedClientWidthPx = frmMusic::kDesignedClientWidth / kTwipsPerPixel;
inline constexpr int kDesignedClientHeightPx = frmMusic::kDesignedClientHeight / kTwipsPerPixel;

// A command button that also clicks on Enter while it has the focus. Qt's
// push buttons only do that inside dialogs; the window has no default button,
// so Enter acts on the focused button alone.
class CommandButton : public QPushButton {
  public:
    using QPushButton::QPushButton;

  protected:
    void keyPressEvent(QKeyEvent* event) override;
};

// frmMusic's window: two portraits on the left, a column of three buttons,
// and the two hidden lists that mirror the catalogue. A fixed tool window with
// a close box only.
class MusicWindow : public QWidget {
  public:
    MusicWindow();

    CommandButton* renameButton() const { return rename_; }
    CommandButton* unrenameButton() const { return unrename_; }
    CommandButton* errorHelpButton() const { return cmdErrorHelp_; }

    // Narrows the window to this outer width in pixels. The frame is taken off
    // as soon as the window has one (a window manager adds it when it maps
    // the window); until then the whole width is client area.
    void setOuterWidth(int pixels);
    // Shows the window centred on its screen.
    void showCentred();

    // What the close box does; the program ends when it is set.
    std::function<void()> onClose;

  protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void fitOuterWidth();

    CommandButton* rename_;
    CommandButton* unrename_;
    QListWidget* originalname_;
    QListWidget* modname_;
    CommandButton* cmdErrorHelp_;
    QLabel* image1_;
    QLabel* image2_;
    std::optional<int> outerWidth_;
};

// The view frmMusic drives: window operations on MusicWindow, message boxes,
// and the end of the program.
class QtView : public View {
  public:
    QtView();
    ~QtView() override;

    MusicWindow& window() { return *window_; }

    // Forwards the three clicks and the close box to `form`.
    void attach(frmMusic& form);

    bool ended() const { return exitStatus_.has_value(); }
    int exitStatus() const { return exitStatus_.value_or(0); }

    void setWidth(float twips) override;
    void setCaption(const std::string& caption) override;
    void setButtonVisible(ActionButton button, bool visible) override;
    void setButtonEnabled(ActionButton button, bool enabled) override;
    void setVisible(bool visible) override;
    void msgBox(const std::string& prompt, MsgBoxStyle style, const std::string& title) override;
    void end(int exitStatus) override;

  private:
    QPushButton* button(ActionButton which) const;

    std::unique_ptr<MusicWindow> window_;
    std::optional<int> exitStatus_;
};

// Program start after the objects exist: runs the load event and, unless it
// ended the program (no game folder), shows the window centred. Returns the
// exit status when the program has already ended.
std::optional<int> startWindow(QtView& view, frmMusic& form);

}  // namespace orvando::qt
