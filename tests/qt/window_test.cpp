// The Linux window on Qt's offscreen platform: its layout, what each detected
// state shows, the keyboard, the help box and a whole run of an action button.
#include <QLabel>
#include <QTest>
#include <QTimer>

#include "detection/detection.h"
#include "support/game_folders.h"
#include "ui/qt/qt_view.h"
#include "ui/texts.h"

using orvando::InstallState;

namespace {

enum class Folder { Empty, Stock, Enabled, ReplacementLeft, LastRowMissing, ProbeBackup };

struct Box {
    QString title, text;
    QMessageBox::Icon icon;
    Qt::TextFormat format;
    Qt::WindowModality modality;
    qsizetype buttons;
    bool standsAlone, windowVisible, renameEnabled, unrenameEnabled;
};

// The objects main() makes, over an in-memory game folder. Every message box
// is recorded, then really run and closed with its close box.
struct Program {
    explicit Program(Folder kind) {
        if (kind == Folder::Enabled || kind == Folder::ReplacementLeft) {
            orvando::testing::fillEnabledFolder(folder);
        } else if (kind != Folder::Empty && kind != Folder::ProbeBackup) {
            orvando::testing::fillStockFolder(folder);
        }
        if (kind == Folder::ReplacementLeft) {
            folder.addFile("streammusic\\mus_area_ahto.mod.wav", "left behind");
        } else if (kind == Folder::LastRowMissing) {
            folder.remove("streammusic\\mus_theme_malak.wav");
        } else if (kind == Folder::ProbeBackup) {
            folder.addFile("streammusic\\mus_area_desert.original.wav", "desert");
        }
        view.attach(form);
        view.runBox = [this](QMessageBox& box) {
            const auto& w = window();
            boxes.push_back({box.windowTitle(), box.text(), box.icon(), box.textFormat(),
                             box.windowModality(), box.buttons().size(), !box.parentWidget(),
                             w.isVisible(), w.renameButton()->isEnabled(),
                             w.unrenameButton()->isEnabled()});
            QTimer::singleShot(0, &box, &QWidget::close);
            box.exec();
        };
    }
    orvando::qt::MusicWindow& window() { return view.window(); }
    QWidget* control(const QString& name) { return window().findChild<QWidget*>(name); }
    bool startActive() {
        const bool ended = orvando::qt::startWindow(view, form).has_value();
        window().activateWindow();
        return !ended && QTest::qWaitForWindowActive(&window());
    }

    orvando::testing::MemoryFolder folder;
    orvando::qt::QtView view;
    orvando::frmMusic form{view, folder};
    std::vector<Box> boxes;
};

}  // namespace

Q_DECLARE_METATYPE(Folder)
Q_DECLARE_METATYPE(InstallState)

class WindowTest : public QObject {
    Q_OBJECT

  private slots:
    void designedWindow();
    void stateShown_data();
    void stateShown();
    void noGameFolderNeverShowsTheWindow();
    void tabOrder_data();
    void tabOrder();
    void keys_data();
    void keys();
    void actionClick_data();
    void actionClick();
    void closeBoxEndsTheProgram();
};

void WindowTest::designedWindow() {
    Program program(Folder::Stock);
    QWidget& window = program.window();
    QCOMPARE(window.windowTitle(), QString("Orvando v2"));
    QCOMPARE(window.size(), QSize(547, 206));
    // A tool window with a close box only.
    QCOMPARE(window.windowFlags() &
                 (Qt::WindowType_Mask | Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint),
             Qt::Tool | Qt::WindowCloseButtonHint);
    const QFont help = program.control("cmdErrorHelp")->font();
    QVERIFY(help.family() == "Arial" && help.pointSize() == 9 && help.italic());
    for (const QSize size : {QSize(16, 16), QSize(32, 32), QSize(48, 48)}) {
        QVERIFY(window.windowIcon().availableSizes().contains(size));
    }

    // The load event narrows the window to 4800 twips; nothing moves and the
    // user cannot resize it.
    QVERIFY(program.startActive());
    QCOMPARE(window.frameGeometry().width(), 320);
    QCOMPARE(window.height(), 206);
    QCOMPARE(window.minimumSize(), window.maximumSize());
    const struct {
        const char* name;
        QRect box;
    } controls[] = {{"rename", {72, 16, 137, 57}},        {"unrename", {72, 88, 137, 57}},
                    {"originalname", {240, 16, 281, 56}}, {"modname", {240, 80, 281, 56}},
                    {"cmdErrorHelp", {72, 160, 137, 33}}, {"Image1", {0, 0, 48, 48}},
                    {"Image2", {0, 144, 48, 48}}};
    for (const auto& control : controls) {
        QCOMPARE(program.control(control.name)->geometry(), control.box);
    }
    // The portraits: the 32-bit 48-pixel images, unscaled, without a border.
    for (const char* name : {"Image1", "Image2"}) {
        auto* label = window.findChild<QLabel*>(name);
        QVERIFY(label->frameShape() == QFrame::NoFrame && !label->hasScaledContents());
        QCOMPARE(label->pixmap().size(), QSize(48, 48));
        const QImage image = label->pixmap().toImage().convertToFormat(QImage::Format_ARGB32);
        const auto* pixels = reinterpret_cast<const QRgb*>(image.constBits());
        QVERIFY(std::any_of(pixels, pixels + 48 * 48,
                            [](QRgb p) { return qAlpha(p) > 0 && qAlpha(p) < 255; }));
    }
    QVERIFY(!program.control("originalname")->isVisible());
    QVERIFY(!program.control("modname")->isVisible());
}

void WindowTest::stateShown_data() {
    QTest::addColumn<Folder>("folder");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<bool>("rename");
    QTest::addColumn<bool>("unrename");
    QTest::newRow("stock") << Folder::Stock << "Orvando v2 (Det: Not Enabled)" << true << false;
    QTest::newRow("last stock name missing")
        << Folder::LastRowMissing << "Orvando v2 (Det: Error, rec. Rename)" << true << true;
    QTest::newRow("enabled") << Folder::Enabled << "Orvando v2 (Det: Mod Enabled)" << false << true;
    QTest::newRow("probe backup only")
        << Folder::ProbeBackup << "Orvando v2 (Det: Error, rec. Un-rename)" << true << true;
}

void WindowTest::stateShown() {
    QFETCH(Folder, folder);
    QFETCH(QString, caption);
    QFETCH(bool, rename);
    QFETCH(bool, unrename);
    Program program(folder);
    QVERIFY(program.startActive());
    const auto files = program.folder.files();
    // Then "Error Help" twice: the help box each time, and nothing else changes.
    for (std::size_t clicks = 0; clicks <= 2; ++clicks) {
        if (clicks > 0) {
            QTest::mouseClick(program.window().errorHelpButton(), Qt::LeftButton);
        }
        QCOMPARE(program.boxes.size(), clicks);
        for (const Box& box : program.boxes) {
            QCOMPARE(box.title, QString("How to manage an error"));
            QCOMPARE(box.text.toStdString(), orvando::text::kHelpText);
            QCOMPARE(box.icon, QMessageBox::Information);
            QVERIFY(box.windowVisible && !box.standsAlone);
            QCOMPARE(box.modality, Qt::ApplicationModal);
        }
        QCOMPARE(program.window().windowTitle(), caption);
        QCOMPARE(program.control("rename")->isVisible(), rename);
        QCOMPARE(program.control("unrename")->isVisible(), unrename);
        QVERIFY(program.control("cmdErrorHelp")->isVisible());
        QVERIFY(program.control("rename")->isEnabled() && program.control("unrename")->isEnabled());
        QVERIFY(program.window().isVisible() && !program.view.ended());
        QCOMPARE(program.folder.files(), files);
    }
}

void WindowTest::noGameFolderNeverShowsTheWindow() {
    Program program(Folder::Empty);
    QCOMPARE(orvando::qt::startWindow(program.view, program.form), std::optional<int>(1));
    // A window that was never shown has no native window.
    QVERIFY(program.window().windowHandle() == nullptr);
    QCOMPARE(program.boxes.size(), std::size_t{1});
    QCOMPARE(program.boxes[0].title, QString("File error"));
    QCOMPARE(program.boxes[0].icon, QMessageBox::Information);
    QVERIFY(program.boxes[0].standsAlone);
}

void WindowTest::tabOrder_data() {
    QTest::addColumn<Folder>("folder");
    QTest::addColumn<QStringList>("focus");  // first focus, then after each Tab
    QTest::newRow("both action buttons")
        << Folder::LastRowMissing
        << QStringList{"rename", "unrename", "cmdErrorHelp", "rename", "unrename"};
    QTest::newRow("unrename only")
        << Folder::Enabled << QStringList{"unrename", "cmdErrorHelp", "unrename"};
}

void WindowTest::tabOrder() {
    QFETCH(Folder, folder);
    QFETCH(QStringList, focus);
    Program program(folder);
    QVERIFY(program.startActive());
    for (qsizetype i = 0; i < focus.size(); ++i) {
        if (i > 0) {
            QTest::keyClick(program.window().windowHandle(), Qt::Key_Tab);
        }
        QCOMPARE(QApplication::focusWidget(), program.control(focus[i]));
    }
}

void WindowTest::keys_data() {
    QTest::addColumn<QString>("focused");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("helpBoxes");
    QTest::addColumn<bool>("renamed");
    QTest::newRow("Return on help") << "cmdErrorHelp" << int(Qt::Key_Return) << 1 << false;
    QTest::newRow("keypad Enter on help") << "cmdErrorHelp" << int(Qt::Key_Enter) << 1 << false;
    QTest::newRow("Escape on help") << "cmdErrorHelp" << int(Qt::Key_Escape) << 0 << false;
    QTest::newRow("Escape on rename") << "rename" << int(Qt::Key_Escape) << 0 << false;
    QTest::newRow("Return on rename") << "rename" << int(Qt::Key_Return) << 0 << true;
}

void WindowTest::keys() {
    QFETCH(QString, focused);
    QFETCH(int, key);
    QFETCH(int, helpBoxes);
    QFETCH(bool, renamed);
    Program program(Folder::Stock);
    QVERIFY(program.startActive());
    const auto before = program.folder.files();
    program.control(focused)->setFocus();
    QCOMPARE(QApplication::focusWidget(), program.control(focused));

    QTest::keyClick(program.window().windowHandle(), static_cast<Qt::Key>(key));

    QCOMPARE(program.boxes.size(), std::size_t(helpBoxes));
    // Only the focused button reacts: no default or cancel button, and Escape
    // does not close the window.
    QCOMPARE(program.view.ended(), renamed);
    QCOMPARE(program.window().isVisible(), !renamed);
    QCOMPARE(program.folder.files() != before, renamed);
}

void WindowTest::actionClick_data() {
    QTest::addColumn<Folder>("folder");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QStringList>("boxTitles");
    QTest::addColumn<int>("exitStatus");
    QTest::addColumn<InstallState>("after");
    QTest::newRow("enable a stock folder")
        << Folder::Stock << "rename" << QStringList{} << 0 << InstallState::ModEnabled;
    QTest::newRow("restore an enabled folder")
        << Folder::Enabled << "unrename" << QStringList{} << 0 << InstallState::NotEnabled;
    QTest::newRow("enable with a stock track missing")
        << Folder::LastRowMissing << "rename" << QStringList{"File rename error"} << 0
        << InstallState::ErrorRecUnrename;
    // A replacement name is taken: the first move back is refused.
    QTest::newRow("restore failing") << Folder::ReplacementLeft << "unrename"
                                     << QStringList{"Orvando v2"} << 1 << InstallState::ModEnabled;
}

void WindowTest::actionClick() {
    QFETCH(Folder, folder);
    QFETCH(QString, button);
    QFETCH(QStringList, boxTitles);
    QFETCH(int, exitStatus);
    QFETCH(InstallState, after);
    Program program(folder);
    QVERIFY(program.startActive());

    // The click is the first event of the application's loop, which the program ends.
    QTimer::singleShot(0, [&] { QTest::mouseClick(program.control(button), Qt::LeftButton); });
    QCOMPARE(QApplication::exec(), exitStatus);

    QCOMPARE(program.boxes.size(), std::size_t(boxTitles.size()));
    for (std::size_t i = 0; i < program.boxes.size(); ++i) {
        const Box& box = program.boxes[i];
        QCOMPARE(box.title, boxTitles[qsizetype(i)]);
        QCOMPARE(box.icon, exitStatus ? QMessageBox::Critical : QMessageBox::Warning);
        QVERIFY(box.buttons == 1 && box.format == Qt::PlainText);
        QCOMPARE(box.modality, Qt::ApplicationModal);
        // Hidden and both buttons disabled before the first rename.
        QVERIFY(box.standsAlone && !box.windowVisible);
        QVERIFY(!box.renameEnabled && !box.unrenameEnabled);
    }
    QVERIFY(program.view.ended() && !program.window().isVisible());
    QVERIFY(!program.window().renameButton()->isEnabled());
    QVERIFY(!program.window().unrenameButton()->isEnabled());
    QCOMPARE(orvando::detectInstallState(program.folder), after);

    // Once ended, no click reaches the program any more.
    const auto files = program.folder.files();
    program.window().errorHelpButton()->click();
    program.window().renameButton()->setEnabled(true);
    program.window().renameButton()->click();
    QCOMPARE(program.boxes.size(), std::size_t(boxTitles.size()));
    QCOMPARE(program.folder.files(), files);
}

void WindowTest::closeBoxEndsTheProgram() {
    Program program(Folder::Stock);
    QVERIFY(program.startActive());
    const auto files = program.folder.files();
    QTimer::singleShot(0, &program.window(), &QWidget::close);
    QCOMPARE(QApplication::exec(), 0);
    QVERIFY(program.view.ended() && !program.window().isVisible());
    QCOMPARE(program.folder.files(), files);
}

QTEST_MAIN(WindowTest)
#include "window_test.moc"
