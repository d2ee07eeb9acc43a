#include "ui/qt/qt_view.h"

#include <QApplication>
#include <QCloseEvent>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPixmap>
#include <QScreen>

#include "app/texts.h"

namespace orvando::qt {

namespace {

QString qs(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Fills a hidden list with one column of the catalogue, in stored order.
QListWidget* catalogueList(QWidget* parent, const char* name, ListName list, QRect box) {
    auto* widget = new QListWidget(parent);
    widget->setObjectName(name);
    widget->setGeometry(box);
    widget->setFocusPolicy(Qt::NoFocus);
    widget->setSortingEnabled(false);
    widget->setSelectionMode(QAbstractItemView::SingleSelection);
    const std::int16_t count = frmMusic::ListCount(list);
    for (std::int16_t i = 0; i < count; ++i) {
        widget->addItem(qs(frmMusic::List(list, i)));
    }
    widget->hide();
    return widget;
}

CommandButton* commandButton(QWidget* parent, const char* name, std::string_view caption,
                             QRect box) {
    auto* button = new CommandButton(qs(caption), parent);
    button->setObjectName(name);
    button->setGeometry(box);
    button->setAutoDefault(false);
    button->setDefault(false);
    return button;
}

// A portrait: the 48-pixel image of an icon, unscaled, without a border. Of
// the file's images of that size Qt takes the one with the most colours, whose
// edges have soft alpha.
QLabel* picture(QWidget* parent, const char* name, const QString& icoPath, QRect box) {
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setGeometry(box);
    label->setFrameShape(QFrame::NoFrame);
    label->setScaledContents(false);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setFocusPolicy(Qt::NoFocus);
    label->setPixmap(QIcon(icoPath).pixmap(box.size()));
    return label;
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

MusicWindow::MusicWindow() {
    setObjectName("frmMusic");
    // A fixed tool window: thin frame, close box only, no taskbar button.
    setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setWindowTitle(qs(text::kDesignedCaption));
    setWindowIcon(QIcon(":/icons/window.ico"));
    setFixedSize(kDesignedClientWidthPx, kDesignedClientHeightPx);

    // Created in tab order; the two lists take no focus, so Tab moves among
    // the visible buttons only.
    rename_ = commandButton(this, "rename", text::kRenameButton, {72, 16, 137, 57});
    unrename_ = commandButton(this, "unrename", text::kUnrenameButton, {72, 88, 137, 57});
    originalname_ = catalogueList(this, "originalname", ListName::originalname, {240, 16, 281, 56});
    modname_ = catalogueList(this, "modname", ListName::modname, {240, 80, 281, 56});
    cmdErrorHelp_ = commandButton(this, "cmdErrorHelp", text::kErrorHelpButton, {72, 160, 137, 33});
    cmdErrorHelp_->setFont(QFont("Arial", 9, QFont::Normal, true));
    image1_ = picture(this, "Image1", ":/icons/image1.ico", {0, 0, 48, 48});
    image2_ = picture(this, "Image2", ":/icons/image2.ico", {0, 144, 48, 48});

    rename_->hide();
    unrename_->hide();
    setTabOrder(rename_, unrename_);
    setTabOrder(unrename_, cmdErrorHelp_);
}

void MusicWindow::setOuterWidth(int pixels) {
    outerWidth_ = pixels;
    fitOuterWidth();
}

void MusicWindow::fitOuterWidth() {
    if (!outerWidth_) {
        return;
    }
    const int frame = frameGeometry().width() - width();
    const int client = std::max(1, *outerWidth_ - std::max(0, frame));
    if (client != width() || minimumWidth() != maximumWidth()) {
        setFixedWidth(client);
    }
}

void MusicWindow::showCentred() {
    const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    if (screen) {
        const QRect area = screen->availableGeometry();
        const QSize outer = frameGeometry().size();
        move(area.x() + (area.width() - outer.width()) / 2,
             area.y() + (area.height() - outer.height()) / 2);
    }
    show();
}

bool MusicWindow::event(QEvent* event) {
    const bool handled = QWidget::event(event);
    // The frame is known only once a window manager has framed the window.
    if (event->type() == QEvent::Show || event->type() == QEvent::Move) {
        fitOuterWidth();
    }
    return handled;
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
    window_->setOuterWidth(qRound(twips / static_cast<float>(kTwipsPerPixel)));
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
