#include "ui/qt/qt_view.h"

#include <QtGui/qguiapplication_platform.h>
#include <xcb/xcb.h>
#include <QAbstractNativeEventFilter>
#include <QAccessibleWidget>
#include <QApplication>
#include <QCloseEvent>
#include <QIcon>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPainter>
#include <QScreen>
#include <QWindow>
#include <cmath>
#include <cstdlib>
#include <memory>

#include "app/texts.h"

namespace orvando::qt {

namespace {

QString qs(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

CommandButton* commandButton(QWidget* parent, const char* name, std::string_view caption) {
    auto* button = new CommandButton(qs(caption), parent);
    button->setObjectName(name);
    button->setAutoDefault(false);
    button->setDefault(false);
    return button;
}

Picture* picture(QWidget* parent, const char* name, const QString& icoPath) {
    auto* widget = new Picture(parent, icoPath);
    widget->setObjectName(name);
    widget->setFocusPolicy(Qt::NoFocus);
    return widget;
}

// The window manager's frame around a window; none until it has framed it.
// Asked of the native window: a widget keeps what it last knew until it moves.
QMargins frameOf(const QWidget& window) {
    return window.windowHandle() != nullptr ? window.windowHandle()->frameMargins() : QMargins();
}

// What a screen reader is told of the window: a dialog named by its caption,
// and its portraits as pictures, not as empty panes.
QAccessibleInterface* accessibleFor(const QString&, QObject* object) {
    if (auto* window = dynamic_cast<MusicWindow*>(object)) {
        return new QAccessibleWidget(window, QAccessible::Dialog);
    }
    if (auto* portrait = dynamic_cast<Picture*>(object)) {
        return new QAccessibleWidget(portrait, QAccessible::Graphic);
    }
    return nullptr;
}

// On Wayland, where the compositor leaves the frame to the program (GNOME
// does), Qt draws it: the caption in 14-pixel type of the program's font, cut
// where it reaches the window icon on the left (35 pixels with the border and
// gaps) or the three boxes on the right (minimise, maximise, close: 77). Its
// first paint places the caption as if it were set in the program's own font,
// then draws it in the larger type; later paints centre it. The outer width
// that shows the longest caption whole in both; 0 where a window manager draws
// the frame, in its own font, which the program cannot know. A compositor
// that draws the frame itself (KDE's, sway's) gets the same width, decided
// before it says whether it will.
int ownFrameCaptionWidth() {
    if (!QGuiApplication::platformName().startsWith("wayland")) {
        return 0;
    }
    constexpr qreal kIconRoom = 35, kBoxesRoom = 77;
    QFont title = QGuiApplication::font();
    title.setPixelSize(14);
    const QFontMetricsF drawn(title), placed(QGuiApplication::font());
    qreal width = 0;
    for (const std::string_view caption :
         {text::kCaptionNotEnabled, text::kCaptionErrorRecRename, text::kCaptionModEnabled,
          text::kCaptionErrorRecUnrename}) {
        const qreal text = drawn.horizontalAdvance(qs(caption));
        const qreal asPlaced = placed.horizontalAdvance(qs(caption));
        width = std::max({width, text + 2 * kBoxesRoom, 2 * text - asPlaced + 2 * kBoxesRoom,
                          asPlaced + 2 * kIconRoom});
    }
    return static_cast<int>(std::ceil(width));
}

// No taskbar button. Qt has no word for it on X11, so the window asks the
// window manager itself before it is mapped; Qt keeps the state it finds when
// it maps the window. Wayland has no such request.
void askNoTaskbarButton(QWidget& window) {
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (QGuiApplication::platformName() != "xcb" || x11 == nullptr) {
        return;
    }
    xcb_connection_t* connection = x11->connection();
    const auto ask = [connection](std::string_view name) {
        return xcb_intern_atom(connection, 0, static_cast<uint16_t>(name.size()), name.data());
    };
    const auto atom = [connection](xcb_intern_atom_cookie_t request) {
        const std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> reply(
            xcb_intern_atom_reply(connection, request, nullptr), &std::free);
        return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
    };
    // Both names asked before either answer is read: one round trip.
    const xcb_intern_atom_cookie_t state = ask("_NET_WM_STATE");
    const xcb_atom_t skipTaskbar = atom(ask("_NET_WM_STATE_SKIP_TASKBAR"));
    xcb_change_property(connection, XCB_PROP_MODE_APPEND, static_cast<xcb_window_t>(window.winId()),
                        atom(state), XCB_ATOM_ATOM, 32, 1, &skipTaskbar);
}

void setBox(QWidget* widget, const PixelBox& box) {
    widget->setGeometry(box.left, box.top, box.width, box.height);
}

QMessageBox::Icon boxIcon(MsgBoxStyle style) {
    switch (style) {
        case MsgBoxStyle::Critical:
            return QMessageBox::Critical;
        case MsgBoxStyle::Exclamation:
            return QMessageBox::Warning;
        case MsgBoxStyle::Information:
            return QMessageBox::Information;
    }
    return QMessageBox::NoIcon;
}

}  // namespace

void CommandButton::keyPressEvent(QKeyEvent* event) {
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
        event->modifiers() == Qt::NoModifier) {
        if (!event->isAutoRepeat()) {
            click();
        }
        event->accept();
        return;
    }
    QPushButton::keyPressEvent(event);
}

void Picture::paintEvent(QPaintEvent*) {
    // QIcon takes the image for the place in device pixels, so the picture
    // stays sharp at every scale.
    QPainter painter(this);
    icon_.paint(&painter, rect());
}

MusicWindow::MusicWindow() : captionWidth_(ownFrameCaptionWidth()) {
    static const bool accessible = (QAccessible::installFactory(accessibleFor), true);
    Q_UNUSED(accessible);
    setObjectName("frmMusic");
    // A fixed dialog: close box only, no taskbar button (asked for when it is
    // shown). Not a tool window: GNOME's and KDE's window managers take that
    // for another window's palette and leave the keyboard where it was.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setWindowTitle(qs(text::kDesignedCaption));
    setWindowIcon(QIcon(":/icons/window.ico"));

    // Created in tab order: Tab moves among the visible buttons only.
    rename_ = commandButton(this, "rename", text::kRenameButton);
    unrename_ = commandButton(this, "unrename", text::kUnrenameButton);
    cmdErrorHelp_ = commandButton(this, "cmdErrorHelp", text::kErrorHelpButton);
    cmdErrorHelp_->setFont(QFont("Arial", 9, QFont::Normal, true));
    image1_ = picture(this, "Image1", ":/icons/image1.ico");
    image2_ = picture(this, "Image2", ":/icons/image2.ico");

    rename_->hide();
    unrename_->hide();
    setTabOrder(rename_, unrename_);
    setTabOrder(unrename_, cmdErrorHelp_);
    relayout();
    settle_.setSingleShot(true);
    settle_.setInterval(30);
    connect(&settle_, &QTimer::timeout, this, &MusicWindow::checkFrame);
    QCoreApplication::instance()->installNativeEventFilter(this);
}

void MusicWindow::setOuterWidth(float twips) {
    outerWidth_ = twips;
    relayout();
}

// Every button's label, hidden ones too, as wide as the style wants it in the
// button's font: so the window is the same in every state.
void MusicWindow::relayout() {
    layout_ = WindowLayout(logicalDpiX(),
                           {rename_->sizeHint().width(), unrename_->sizeHint().width(),
                            cmdErrorHelp_->sizeHint().width()},
                           captionWidth_);
    setBox(rename_, layout_.box(Shown::rename));
    setBox(unrename_, layout_.box(Shown::unrename));
    setBox(cmdErrorHelp_, layout_.box(Shown::cmdErrorHelp));
    setBox(image1_, layout_.box(Shown::Image1));
    setBox(image2_, layout_.box(Shown::Image2));
    // The outer width takes in the frame, once a window manager has given one.
    const int outer = outerWidth_ ? layout_.outerWidth(*outerWidth_) : layout_.clientWidth();
    const QMargins frame = frameOf(*this);
    setFixedSize(std::max(1, outer - frame.left() - frame.right()), layout_.clientHeight());
}

// Centres the frame on the screen's work area. A window manager frames the
// window only once it is shown, so the frame's size is known only then: the
// window is placed again, its whole geometry given, until it stands framed
// where it belongs. From then on it goes where the player drags it.
void MusicWindow::place() {
    ++placements_;
    placedFrame_ = frameOf(*this);
    relayout();
    const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    if (screen == nullptr) {
        return;
    }
    const QRect area = screen->availableGeometry();
    const int outerWidth = width() + placedFrame_.left() + placedFrame_.right();
    const int outerHeight = height() + placedFrame_.top() + placedFrame_.bottom();
    placedAt_ = {area.x() + (area.width() - outerWidth) / 2,
                 area.y() + (area.height() - outerHeight) / 2};
    setGeometry(placedAt_.x() + placedFrame_.left(), placedAt_.y() + placedFrame_.top(), width(),
                height());
}

void MusicWindow::showCentred() {
    place();
    askNoTaskbarButton(*this);  // the native window made where it belongs
    show();
}

void MusicWindow::checkFrame() {
    constexpr int kMostPlacements = 4;  // a window manager that places windows itself wins
    if (settled_ || !isVisible() || placements_ >= kMostPlacements) {
        return;
    }
    const QMargins frame = frameOf(*this);
    if (frame != placedFrame_ || windowHandle()->framePosition() != placedAt_) {
        place();
    } else if (!frame.isNull()) {
        settled_ = true;
    }
}

bool MusicWindow::event(QEvent* event) {
    const bool handled = QWidget::event(event);
    if (event->type() == QEvent::Show || event->type() == QEvent::Move) {
        settle_.start();
    }
    return handled;
}

// On X11 a window manager frames a window after it is shown, and may do so
// without moving it, so that no Qt event tells of the frame. The X events that
// come with framing (the window taken into the frame, its extents set, its
// place told) restart a short wait; once they have stopped, the window
// manager is done and the window checks where it stands.
bool MusicWindow::nativeEventFilter(const QByteArray& type, void* message, qintptr*) {
    constexpr unsigned kReparentNotify = 21, kConfigureNotify = 22, kPropertyNotify = 28;
    if (type == "xcb_generic_event_t" && !settled_) {
        const unsigned code = *static_cast<const unsigned char*>(message) & 0x7fU;
        if (code == kReparentNotify || code == kConfigureNotify || code == kPropertyNotify) {
            settle_.start();
        }
    }
    return false;
}

void MusicWindow::closeEvent(QCloseEvent* event) {
    event->accept();
    if (onClose) {
        onClose();
    }
}

QtView::QtView() : window_(std::make_unique<MusicWindow>()) {
    // The program ends through end() or the close box only, never because a
    // message box closed while the main window was hidden.
    QApplication::setQuitOnLastWindowClosed(false);
}

QtView::~QtView() = default;

void QtView::attach(frmMusic& form) {
    QObject::connect(window_->renameButton(), &QPushButton::clicked, window_.get(),
                     [&form] { form.rename_Click(); });
    QObject::connect(window_->unrenameButton(), &QPushButton::clicked, window_.get(),
                     [&form] { form.unrename_Click(); });
    QObject::connect(window_->errorHelpButton(), &QPushButton::clicked, window_.get(),
                     [&form] { form.cmdErrorHelp_Click(); });
    // Closing the window renames nothing and ends the program normally.
    window_->onClose = [this] {
        if (!ended()) {
            exitStatus_ = 0;
            QCoreApplication::exit(0);
        }
    };
}

QPushButton* QtView::button(ActionButton which) const {
    return which == ActionButton::rename ? window_->renameButton() : window_->unrenameButton();
}

void QtView::setWidth(float twips) {
    window_->setOuterWidth(twips);
}

void QtView::setCaption(const std::string& caption) {
    window_->setWindowTitle(QString::fromStdString(caption));
}

void QtView::setButtonVisible(ActionButton which, bool visible) {
    button(which)->setVisible(visible);
}

void QtView::setButtonEnabled(ActionButton which, bool enabled) {
    button(which)->setEnabled(enabled);
}

void QtView::setVisible(bool visible) {
    window_->setVisible(visible);
}

void QtView::msgBox(const std::string& prompt, MsgBoxStyle style, const std::string& title) {
    // Over the main window while it is shown; standing alone while it is hidden.
    QWidget* owner = window_->isVisible() ? window_.get() : nullptr;
    QMessageBox box(boxIcon(style), QString::fromStdString(title), QString::fromStdString(prompt),
                    QMessageBox::Ok, owner);
    box.setTextFormat(Qt::PlainText);
    box.setWindowModality(Qt::ApplicationModal);
    box.setEscapeButton(QMessageBox::Ok);
    box.exec();
    // The keyboard back to the window, on the button it was on.
    if (owner != nullptr && owner->isVisible()) {
        owner->activateWindow();
    }
}

void QtView::end(int exitStatus) {
    exitStatus_ = exitStatus;
    // No click reaches the presenter from here on.
    QObject::disconnect(window_->renameButton(), nullptr, window_.get(), nullptr);
    QObject::disconnect(window_->unrenameButton(), nullptr, window_.get(), nullptr);
    QObject::disconnect(window_->errorHelpButton(), nullptr, window_.get(), nullptr);
    window_->hide();
    // Leaves the event loop with this status; before the loop runs (the load
    // event) there is nothing to leave and the caller returns the status.
    QCoreApplication::exit(exitStatus);
}

std::optional<int> startWindow(QtView& view, frmMusic& form) {
    form.Form_Load();
    if (form.ended() || view.ended()) {
        return view.exitStatus();
    }
    view.window().showCentred();
    return std::nullopt;
}

}  // namespace orvando::qt
