// The Linux window of the program: frmMusic's controls in Qt Widgets, and the
// view that frmMusic drives.
//
// The window only draws controls and forwards the three button clicks to the
// presenter. It decides nothing about files, states or texts: captions,
// button visibility and every message box come from frmMusic.
#pragma once

#include <QAbstractNativeEventFilter>
#include <QIcon>
#include <QPushButton>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>

#include "app/frm_music.h"
#include "app/layout.h"
#include "app/view.h"

namespace orvando::qt {

// A command button that also clicks on Enter while it has the focus. Qt's
// push buttons only do that inside dialogs; the window has no default button,
// so Enter acts on the focused button alone.
class CommandButton : public QPushButton {
  public:
    using QPushButton::QPushButton;

  protected:
    void keyPressEvent(QKeyEvent* event) override;
};

// A portrait: the icon file's best image for the place and the screen's pixel
// ratio, filling the place, without a border. It takes no focus.
class Picture : public QWidget {
  public:
    Picture(QWidget* parent, const QString& icoPath) : QWidget(parent), icon_(icoPath) {}

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QIcon icon_;
};

// frmMusic's window: two portraits on the left and a column of three buttons,
// laid out from the design by the buttons' fonts. A fixed dialog with a
// close box only, centred on its screen's work area.
class MusicWindow : public QWidget, private QAbstractNativeEventFilter {
  public:
    MusicWindow();

    CommandButton* renameButton() const { return rename_; }
    CommandButton* unrenameButton() const { return unrename_; }
    CommandButton* errorHelpButton() const { return cmdErrorHelp_; }
    const WindowLayout& layout() const { return layout_; }

    // Narrows the window to this outer width in twips (the layout's pixels).
    void setOuterWidth(float twips);
    // Shows the window centred on its screen's work area.
    void showCentred();

    // What the close box does; the program ends when it is set.
    std::function<void()> onClose;

  protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    bool nativeEventFilter(const QByteArray& type, void* message, qintptr* result) override;
    void relayout();
    void place();
    void checkFrame();

    CommandButton* rename_;
    CommandButton* unrename_;
    CommandButton* cmdErrorHelp_;
    Picture* image1_;
    Picture* image2_;
    WindowLayout layout_{96, {}};
    int captionWidth_;  // pixels; where Qt draws the frame, what the longest caption needs
    std::optional<float> outerWidth_;  // twips
    // Where the window was last centred, with which frame, how often, and
    // whether the window manager has put it there.
    QPoint placedAt_;
    QMargins placedFrame_;
    int placements_ = 0;
    bool settled_ = false;
    QTimer settle_;  // runs while the window manager is still at work on the window
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
