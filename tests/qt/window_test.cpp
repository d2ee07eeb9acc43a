// The window as the user meets it: its designed layout, what each detected
// state shows, the keyboard, the help box, and its pictures.
#include <QLabel>
#include <QListWidget>
#include <QTemporaryFile>
#include <QTest>

#include "catalogue/catalogue.h"
#include "program_fixture.h"
#include "ui/qt/icon_picture.h"

using orvando::testing::Folder;
using orvando::testing::Program;

namespace {

const QString kHelpText =
    "The renaming function will report which file cannot be located and renamed. That file will "
    "be skipped and the process will continue. All you then have to do is manually rename the "
    "file to match the correct new name.";

template <typename T = QWidget>
T* control(Program& program, const char* name) {
    return program.window().findChild<T*>(name);
}

// Counts the times a widget is shown.
class ShowCounter : public QObject {
  public:
    int shows = 0;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show) {
            ++shows;
        }
        return QObject::eventFilter(watched, event);
    }
};

// Starts the program and makes its window the active one, as a click on it would.
bool startActive(Program& program) {
    if (program.start()) {
        return false;
    }
    program.window().activateWindow();
    return QTest::qWaitForWindowActive(&program.window());
}

}  // namespace

class WindowTest : public QObject {
    Q_OBJECT

  private slots:
    void designedLayout_data();
    void designedLayout();
    void designedWindow();
    void hiddenListsMirrorTheCatalogue();
    void errorHelpFont();
    void stateShown_data();
    void stateShown();
    void noGameFolderNeverShowsTheWindow();
    void tabOrder_data();
    void tabOrder();
    void keys_data();
    void keys();
    void errorHelpTwice_data();
    void errorHelpTwice();
    void pictures_data();
    void pictures();
    void windowIcon();
    void iconImage_data();
    void iconImage();
};

void WindowTest::designedLayout_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("box");
    QTest::newRow("rename") << "rename" << QRect(72, 16, 137, 57);
    QTest::newRow("unrename") << "unrename" << QRect(72, 88, 137, 57);
    QTest::newRow("originalname") << "originalname" << QRect(240, 16, 281, 56);
    QTest::newRow("modname") << "modname" << QRect(240, 80, 281, 56);
    QTest::newRow("cmdErrorHelp") << "cmdErrorHelp" << QRect(72, 160, 137, 33);
    QTest::newRow("Image1") << "Image1" << QRect(0, 0, 48, 48);
    QTest::newRow("Image2") << "Image2" << QRect(0, 144, 48, 48);
}

void WindowTest::designedLayout() {
    QFETCH(QString, name);
    QFETCH(QRect, box);
    Program program(Folder::Stock);
    QWidget* widget = control(program, name.toUtf8().constData());
    QVERIFY(widget != nullptr);
    QCOMPARE(widget->geometry(), box);
    // Started, the window is narrowed but nothing moves.
    QVERIFY(!program.start());
    QCOMPARE(widget->geometry(), box);
}

void WindowTest::designedWindow() {
    Program program(Folder::Stock);
    QWidget& window = program.window();
    QCOMPARE(window.windowTitle(), QString("Orvando v2"));
    QCOMPARE(window.size(), QSize(547, 206));
    QVERIFY(control(program, "rename")->isHidden());
    QVERIFY(control(program, "unrename")->isHidden());
    QVERIFY(!control(program, "cmdErrorHelp")->isHidden());

    const Qt::WindowFlags flags = window.windowFlags();
    QCOMPARE(flags & Qt::WindowType_Mask, Qt::Tool);
    QVERIFY(flags.testFlag(Qt::WindowCloseButtonHint));
    QVERIFY(!flags.testFlag(Qt::WindowMinimizeButtonHint));
    QVERIFY(!flags.testFlag(Qt::WindowMaximizeButtonHint));

    // The load event narrows the window to 4800 twips; the height stays and
    // the user cannot resize it.
    QVERIFY(!program.start());
    QVERIFY(window.isVisible());
    QCOMPARE(window.frameGeometry().width(), 320);
    QCOMPARE(window.height(), 206);
    QCOMPARE(window.minimumSize(), window.maximumSize());
    QCOMPARE(window.minimumSize(), window.size());
}

void WindowTest::hiddenListsMirrorTheCatalogue() {
    Program program(Folder::Stock);
    QVERIFY(!program.start());
    const struct {
        const char* name;
        orvando::ListName list;
        const char* row2;
        const char* row21;
    } lists[] = {
        {"originalname", orvando::ListName::originalname, "streammusic\\mus_area_desert.wav",
         "streammusic\\mus_area_acad.wav"},
        {"modname", orvando::ListName::modname, "streammusic\\mus_area_desert.original.wav",
         "streammusic\\mus_area_acad.original.wav"},
    };
    for (const auto& l : lists) {
        auto* list = control<QListWidget>(program, l.name);
        QVERIFY(list != nullptr);
        QVERIFY(!list->isVisible());
        QCOMPARE(list->focusPolicy(), Qt::NoFocus);
        QCOMPARE(list->count(), 23);
        // Stored order, not sorted: row 21 comes after the streamsounds rows.
        QCOMPARE(list->item(2)->text(), QString(l.row2));
        QCOMPARE(list->item(21)->text(), QString(l.row21));
        for (std::int16_t i = 0; i < 23; ++i) {
            QCOMPARE(list->item(i)->text().toStdString(), orvando::frmMusic::List(l.list, i));
        }
    }
}

void WindowTest::errorHelpFont() {
    Program program(Folder::Stock);
    const QFont help = control(program, "cmdErrorHelp")->font();
    QCOMPARE(help.family(), QString("Arial"));
    QCOMPARE(help.pointSize(), 9);
    QVERIFY(help.italic());
    QCOMPARE(help.weight(), QFont::Normal);
    // The other buttons keep the window's font.
    QVERIFY(!control(program, "rename")->font().italic());
    QVERIFY(!control(program, "unrename")->font().italic());
}

void WindowTest::stateShown_data() {
    QTest::addColumn<Folder>("folder");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<bool>("rename");
    QTest::addColumn<bool>("unrename");
    QTest::newRow("stock") << Folder::Stock << "Orvando v2 (Det: Not Enabled)" << true << false;
    QTest::newRow("stock and backups")
        << Folder::StockAndBackups << "Orvando v2 (Det: Not Enabled)" << true << false;
    QTest::newRow("last stock name missing")
        << Folder::StockWithoutLastRow << "Orvando v2 (Det: Error, rec. Rename)" << true << true;
    QTest::newRow("enabled") << Folder::Enabled << "Orvando v2 (Det: Mod Enabled)" << false << true;
    QTest::newRow("probe backup only")
        << Folder::ProbeBackupOnly << "Orvando v2 (Det: Error, rec. Un-rename)" << true << true;
}

void WindowTest::stateShown() {
    QFETCH(Folder, folder);
    QFETCH(QString, caption);
    QFETCH(bool, rename);
    QFETCH(bool, unrename);
    Program program(folder);
    QVERIFY(!program.start());
    QVERIFY(program.window().isVisible());
    QCOMPARE(program.window().windowTitle(), caption);
    QCOMPARE(control(program, "rename")->isVisible(), rename);
    QCOMPARE(control(program, "unrename")->isVisible(), unrename);
    QVERIFY(control(program, "cmdErrorHelp")->isVisible());
    QVERIFY(control(program, "rename")->isEnabled());
    QVERIFY(control(program, "unrename")->isEnabled());
    QVERIFY(!control(program, "originalname")->isVisible());
    QVERIFY(!control(program, "modname")->isVisible());
    QVERIFY(program.boxes.empty());
}

void WindowTest::noGameFolderNeverShowsTheWindow() {
    Program program(Folder::Empty);
    ShowCounter counter;
    program.window().installEventFilter(&counter);
    const std::optional<int> status = program.start();
    QVERIFY(status.has_value());
    QCOMPARE(*status, 1);
    QCOMPARE(counter.shows, 0);
    QVERIFY(!program.window().isVisible());
    QCOMPARE(program.boxes.size(), std::size_t{1});
    const auto& box = program.boxes[0];
    QCOMPARE(box.title, QString("File error"));
    QCOMPARE(box.text, QString("Place this EXE into the main KotOR folder"));
    QCOMPARE(box.icon, QMessageBox::Information);
    QCOMPARE(box.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    QVERIFY(box.standsAlone);
    QVERIFY(program.folder.files().empty());
}

void WindowTest::tabOrder_data() {
    QTest::addColumn<Folder>("folder");
    QTest::addColumn<QStringList>("focus");  // first focus, then after each Tab
    QTest::newRow("both action buttons")
        << Folder::StockWithoutLastRow
        << QStringList{"rename", "unrename", "cmdErrorHelp", "rename", "unrename"};
    QTest::newRow("rename only") << Folder::Stock
                                 << QStringList{"rename", "cmdErrorHelp", "rename"};
    QTest::newRow("unrename only")
        << Folder::Enabled << QStringList{"unrename", "cmdErrorHelp", "unrename"};
}

void WindowTest::tabOrder() {
    QFETCH(Folder, folder);
    QFETCH(QStringList, focus);
    Program program(folder);
    QVERIFY(startActive(program));
    QWindow* handle = program.window().windowHandle();
    for (qsizetype i = 0; i < focus.size(); ++i) {
        if (i > 0) {
            QTest::keyClick(handle, Qt::Key_Tab);
        }
        QWidget* focused = QApplication::focusWidget();
        QVERIFY(focused != nullptr);
        QCOMPARE(focused->objectName(), focus[i]);
    }
    QVERIFY(program.boxes.empty());
}

void WindowTest::keys_data() {
    QTest::addColumn<Folder>("folder");
    QTest::addColumn<QString>("focused");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("helpBoxes");
    QTest::addColumn<bool>("renamed");
    QTest::newRow("Return on help")
        << Folder::Stock << "cmdErrorHelp" << int(Qt::Key_Return) << 1 << false;
    QTest::newRow("keypad Enter on help")
        << Folder::Stock << "cmdErrorHelp" << int(Qt::Key_Enter) << 1 << false;
    QTest::newRow("Space on help")
        << Folder::Stock << "cmdErrorHelp" << int(Qt::Key_Space) << 1 << false;
    QTest::newRow("Escape on help")
        << Folder::Stock << "cmdErrorHelp" << int(Qt::Key_Escape) << 0 << false;
    QTest::newRow("Escape on rename")
        << Folder::Stock << "rename" << int(Qt::Key_Escape) << 0 << false;
    QTest::newRow("Return on rename")
        << Folder::Stock << "rename" << int(Qt::Key_Return) << 0 << true;
    QTest::newRow("Space on rename")
        << Folder::Stock << "rename" << int(Qt::Key_Space) << 0 << true;
    QTest::newRow("Return on unrename")
        << Folder::Enabled << "unrename" << int(Qt::Key_Return) << 0 << true;
    QTest::newRow("Return on help, both action buttons shown")
        << Folder::StockWithoutLastRow << "cmdErrorHelp" << int(Qt::Key_Return) << 1 << false;
}

void WindowTest::keys() {
    QFETCH(Folder, folder);
    QFETCH(QString, focused);
    QFETCH(int, key);
    QFETCH(int, helpBoxes);
    QFETCH(bool, renamed);
    Program program(folder);
    QVERIFY(startActive(program));
    const auto before = program.folder.files();
    QWidget* target = control(program, focused.toUtf8().constData());
    target->setFocus();
    QCOMPARE(QApplication::focusWidget(), target);

    QTest::keyClick(program.window().windowHandle(), static_cast<Qt::Key>(key));

    QCOMPARE(program.boxes.size(), std::size_t(helpBoxes));
    for (const auto& box : program.boxes) {
        QCOMPARE(box.title, QString("How to manage an error"));
    }
    // Nothing but the focused button reacts: no default button, no cancel
    // button, and Escape does not close the window.
    QCOMPARE(program.view.ended(), renamed);
    QCOMPARE(program.window().isVisible(), !renamed);
    QCOMPARE(program.folder.files() != before, renamed);
}

void WindowTest::errorHelpTwice_data() {
    QTest::addColumn<Folder>("folder");
    QTest::newRow("not enabled") << Folder::Stock;
    QTest::newRow("error, rec. rename") << Folder::StockWithoutLastRow;
    QTest::newRow("mod enabled") << Folder::Enabled;
    QTest::newRow("error, rec. un-rename") << Folder::ProbeBackupOnly;
}

void WindowTest::errorHelpTwice() {
    QFETCH(Folder, folder);
    Program program(folder);
    QVERIFY(!program.start());
    QWidget& window = program.window();
    const auto files = program.folder.files();
    const QString caption = window.windowTitle();
    const bool renameShown = control(program, "rename")->isVisible();
    const bool unrenameShown = control(program, "unrename")->isVisible();

    for (int click = 1; click <= 2; ++click) {
        QTest::mouseClick(control(program, "cmdErrorHelp"), Qt::LeftButton);
        QCOMPARE(program.boxes.size(), std::size_t(click));
        const auto& box = program.boxes.back();
        QCOMPARE(box.title, QString("How to manage an error"));
        QCOMPARE(box.text, kHelpText);
        QCOMPARE(box.icon, QMessageBox::Information);
        QCOMPARE(box.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
        QCOMPARE(box.modality, Qt::ApplicationModal);
        QVERIFY(box.windowVisible);

        QVERIFY(window.isVisible());
        QCOMPARE(window.windowTitle(), caption);
        QCOMPARE(control(program, "rename")->isVisible(), renameShown);
        QCOMPARE(control(program, "unrename")->isVisible(), unrenameShown);
        QVERIFY(control(program, "rename")->isEnabled());
        QVERIFY(control(program, "unrename")->isEnabled());
        QVERIFY(control(program, "cmdErrorHelp")->isEnabled());
        QCOMPARE(program.folder.files(), files);
        QVERIFY(!program.view.ended());
    }
}

void WindowTest::pictures_data() {
    QTest::addColumn<QString>("name");
    QTest::newRow("Image1") << "Image1";
    QTest::newRow("Image2") << "Image2";
}

void WindowTest::pictures() {
    QFETCH(QString, name);
    Program program(Folder::Stock);
    auto* label = control<QLabel>(program, name.toUtf8().constData());
    QVERIFY(label != nullptr);
    QCOMPARE(label->frameShape(), QFrame::NoFrame);
    QVERIFY(!label->hasScaledContents());
    QCOMPARE(label->focusPolicy(), Qt::NoFocus);
    const QImage image = label->pixmap().toImage();
    QCOMPARE(image.size(), QSize(48, 48));
    // A transparent background around an opaque portrait.
    QVERIFY(image.hasAlphaChannel());
    QCOMPARE(qAlpha(image.pixel(0, 0)), 0);
    QCOMPARE(qAlpha(image.pixel(24, 24)), 255);
}

void WindowTest::windowIcon() {
    Program program(Folder::Stock);
    const QList<QSize> sizes = program.window().windowIcon().availableSizes();
    for (int size : {16, 32, 48}) {
        QVERIFY2(sizes.contains(QSize(size, size)), qPrintable(QString::number(size)));
    }
}

void WindowTest::iconImage_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("size");
    QTest::addColumn<bool>("found");
    QTest::newRow("portrait 1, 48") << ":/icons/image1.ico" << 48 << true;
    QTest::newRow("portrait 1, 16") << ":/icons/image1.ico" << 16 << true;
    QTest::newRow("portrait 2, 48") << ":/icons/image2.ico" << 48 << true;
    QTest::newRow("portrait 2, 32") << ":/icons/image2.ico" << 32 << true;
    QTest::newRow("window icon, 48") << ":/icons/window.ico" << 48 << true;
    QTest::newRow("no such size") << ":/icons/image1.ico" << 64 << false;
    QTest::newRow("no such file") << ":/icons/none.ico" << 48 << false;
    QTest::newRow("not an icon") << "wave" << 48 << false;
    QTest::newRow("directory cut short") << "cut" << 48 << false;
}

void WindowTest::iconImage() {
    QFETCH(QString, path);
    QFETCH(int, size);
    QFETCH(bool, found);
    // Damaged files are written for the test: a sound file, and an icon whose
    // list of images ends early.
    QTemporaryFile damaged;
    if (path == "wave" || path == "cut") {
        QFile original(":/icons/image1.ico");
        QVERIFY(original.open(QIODevice::ReadOnly));
        const QByteArray bytes =
            path == "wave" ? QByteArray("RIFF\x24\0\0\0WAVEfmt ", 16) : original.read(6 + 16 * 3);
        QVERIFY(damaged.open());
        damaged.write(bytes);
        damaged.close();
        path = damaged.fileName();
    }
    const QImage image = orvando::qt::iconImage(path, size);
    QCOMPARE(!image.isNull(), found);
    if (!found) {
        return;
    }
    QCOMPARE(image.size(), QSize(size, size));
    // The 32-bit image is the one chosen: only it has soft edges, alpha
    // between none and full. The palette and 24-bit images have a 1-bit mask.
    bool soft = false;
    for (int y = 0; y < size && !soft; ++y) {
        for (int x = 0; x < size && !soft; ++x) {
            const int alpha = qAlpha(image.pixel(x, y));
            soft = alpha > 0 && alpha < 255;
        }
    }
    QVERIFY(soft);
}

QTEST_MAIN(WindowTest)
#include "window_test.moc"
