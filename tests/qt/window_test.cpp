// The Linux window on Qt's offscreen platform over real temporary game
// folders: each run's layout, texts, keys, boxes and exit status; the pictures.
#include <QDirIterator>
#include <QImageReader>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "catalogue/catalogue.h"
#include "detection/detection.h"
#include "ui/qt/qt_view.h"

namespace {

using enum orvando::InstallState;

QString path(std::string_view name) {
    return QString::fromLatin1(name.data(), qsizetype(name.size())).replace('\\', '/');
}

// The objects main() makes, in a folder of words: "stock" or "enabled" (as a
// complete enable leaves it) for the 30 music files, "+name" or "-name" for a
// file more or less. Each message box is recorded, then run and closed.
struct Program {
    explicit Program(const QString& folder) {
        for (const QString& word : folder.split(' ', Qt::SkipEmptyParts)) {
            const bool stock = word == "stock";
            QStringList names{word.mid(1)};
            if (stock || word == "enabled") {
                names.clear();
                for (const auto& name : stock ? orvando::kStockNames : orvando::kBackupNames)
                    names << path(name);
                for (const auto& pair : orvando::kReplacementPairs)
                    names << path(stock ? pair.replacement : pair.stock);
            }
            for (const QString& name : names) {
                QDir(dir.path()).mkpath(QFileInfo(name).path());
                QFile file(dir.filePath(name));
                word[0] == '-' ? file.remove() : file.open(QIODevice::WriteOnly);
            }
        }
        view.attach(form);
        view.runBox = [this](QMessageBox& box) {
            const char* icons[] = {"none", "information", "warning", "critical"};
            const auto& w = view.window();
            boxes << QString("%1 | %2 | %3 %4%5")
                         .arg(box.windowTitle(), box.text(), icons[box.icon() % 4],
                              box.parentWidget()              ? "over the window"
                              : w.isVisible()                 ? "beside the window"
                              : w.renameButton()->isEnabled() ? "alone"
                                                              : "alone, buttons off",
                              box.textFormat() == Qt::PlainText && box.buttons().size() == 1 &&
                                      box.windowModality() == Qt::ApplicationModal
                                  ? ""
                                  : ", not a modal OK box");
            QTimer::singleShot(0, &box, &QWidget::close);
            box.exec();
        };
    }
    QWidget* control(const QString& name) { return view.window().findChild<QWidget*>(name); }
    QStringList listing() const {
        QStringList names;
        for (QDirIterator it(dir.path(), QDir::Files, QDirIterator::Subdirectories); it.hasNext();)
            names << it.next();
        return names;
    }

    QTemporaryDir dir;
    std::unique_ptr<orvando::FileServices> files =
        orvando::makeSystemFileServices(dir.path().toStdString());
    orvando::qt::QtView view;
    orvando::frmMusic form{view, *files};
    QStringList boxes;
};

const QString kHelp =
    "How to manage an error | The renaming function will report which file cannot be located and "
    "renamed. That file will be skipped and the process will continue. All you then have to do is "
    "manually rename the file to match the correct new name. | information over the window";

// Boxes are joined by newlines; '*' stands for the system's reason.
const struct Run {
    const char *name, *folder, *caption, *tabs, *action, *boxes;
    int exitStatus;
    orvando::InstallState after;
} kRuns[] = {
    {"enable", "stock", "Orvando v2 (Det: Not Enabled)", "rename cmdErrorHelp", "rename", "", 0,
     ModEnabled},
    {"Return on the focused button", "stock", "Orvando v2 (Det: Not Enabled)",
     "rename cmdErrorHelp", "Return", "", 0, ModEnabled},
    {"enable, last stock track missing", "stock -streammusic/mus_theme_malak.wav",
     "Orvando v2 (Det: Error, rec. Rename)", "rename unrename cmdErrorHelp", "rename",
     "File rename error | Cannot locate file: streammusic\\mus_theme_malak.wav - Final name needs "
     "to be: streammusic\\mus_theme_malak.original.wav . | warning alone, buttons off",
     0, ErrorRecUnrename},
    {"restore", "enabled", "Orvando v2 (Det: Mod Enabled)", "unrename cmdErrorHelp", "unrename", "",
     0, NotEnabled},
    {"restore refused: a replacement name is taken", "enabled +streammusic/mus_area_ahto.mod.wav",
     "Orvando v2 (Det: Mod Enabled)", "unrename cmdErrorHelp", "unrename",
     "Orvando v2 | Cannot rename streammusic\\mus_area_ahto.wav to "
     "streammusic\\mus_area_ahto.mod.wav: * | critical alone, buttons off",
     1, ModEnabled},
    {"close box, probe backup only", "+streammusic/mus_area_desert.original.wav",
     "Orvando v2 (Det: Error, rec. Un-rename)", "rename unrename cmdErrorHelp", "close", "", 0,
     ErrorRecUnrename},
    {"no game folder", "", "", "", "",
     "File error | Place this EXE into the main KotOR folder | information alone", 1, NoGameFolder},
};

}  // namespace

class WindowTest : public QObject {
    Q_OBJECT

  private slots:
    void run_data() {
        QTest::addColumn<int>("row");
        for (int i = 0; i < int(std::size(kRuns)); ++i)
            QTest::newRow(kRuns[i].name) << i;
    }
    void run();
    void pictures();
};

// A run of the program. In a game folder: the fixed tool window narrowed to
// 320 pixels, the designed controls, the state's caption and buttons; Tab
// moving among the visible buttons while Escape does nothing; "Error Help" by
// Return, keypad Enter and a click showing the help and changing nothing.
// Then one action, its boxes, the exit status and the folder left behind.
void WindowTest::run() {
    QFETCH(int, row);
    const Run& r = kRuns[row];
    Program program(r.folder);
    QWidget& window = program.view.window();
    if (!*r.caption) {
        QCOMPARE(orvando::qt::startWindow(program.view, program.form), r.exitStatus);
        QVERIFY(window.windowHandle() == nullptr);  // never shown
    } else {
        QVERIFY(!orvando::qt::startWindow(program.view, program.form));
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QCOMPARE(window.windowFlags() & (Qt::WindowType_Mask | Qt::WindowMinMaxButtonsHint |
                                         Qt::WindowCloseButtonHint),
                 Qt::Tool | Qt::WindowCloseButtonHint);
        QCOMPARE(window.frameGeometry().width(), 320);
        QVERIFY(window.minimumSize() == window.maximumSize() && window.height() == 206);
        const struct {
            const char *name, *text;  // text: null for the hidden lists
            QRect box;
        } controls[] = {{"rename", "Rename (Enable-Mod)", {72, 16, 137, 57}},
                        {"unrename", "Un-rename (Normal Music)", {72, 88, 137, 57}},
                        {"cmdErrorHelp", "Error Help", {72, 160, 137, 33}},
                        {"originalname", nullptr, {240, 16, 281, 56}},
                        {"modname", nullptr, {240, 80, 281, 56}},
                        {"Image1", "", {0, 0, 48, 48}},
                        {"Image2", "", {0, 144, 48, 48}}};
        const QStringList tabs = QString(r.tabs).split(' ');
        const auto check = [&] {
            QVERIFY(window.windowTitle() == r.caption && window.isVisible());
            for (const auto& c : controls) {
                QWidget* widget = program.control(c.name);
                QCOMPARE(widget->geometry(), c.box);
                QCOMPARE(widget->isVisible(), c.text && (!*c.text || tabs.contains(c.name)));
                if (auto* button = qobject_cast<QAbstractButton*>(widget))
                    QVERIFY(button->text() == c.text && button->isEnabled());
            }
            const QFont help = program.control("cmdErrorHelp")->font();
            QVERIFY(help.family() == "Arial" && help.pointSize() == 9 && help.italic() &&
                    help.weight() == QFont::Normal);
        };
        check();
        for (qsizetype i = 0; i <= tabs.size(); ++i) {
            QCOMPARE(QApplication::focusWidget(), program.control(tabs[i % tabs.size()]));
            QTest::keyClick(window.windowHandle(), Qt::Key_Escape);
            QTest::keyClick(window.windowHandle(), Qt::Key_Tab);
        }
        const QStringList files = program.listing();
        program.control("cmdErrorHelp")->setFocus();
        QTest::keyClick(window.windowHandle(), Qt::Key_Return);
        QTest::keyClick(window.windowHandle(), Qt::Key_Enter);
        QTest::mouseClick(program.control("cmdErrorHelp"), Qt::LeftButton);
        QCOMPARE(program.boxes, QStringList({kHelp, kHelp, kHelp}));
        check();
        QCOMPARE(program.listing(), files);
        program.boxes.clear();
        program.control(tabs[0])->setFocus();
        const QString action = r.action;
        QTimer::singleShot(0, [&] {  // the first event of the loop, which the program ends
            if (action == "close")
                window.close();
            else if (action == "Return")
                QTest::keyClick(window.windowHandle(), Qt::Key_Return);
            else
                QTest::mouseClick(program.control(action), Qt::LeftButton);
        });
        QCOMPARE(QApplication::exec(), r.exitStatus);
    }
    const QStringList part = QString(r.boxes).split('*');
    const QString shown = program.boxes.join('\n');
    QVERIFY2(
        part.size() == 1 ? shown == r.boxes : shown.startsWith(part[0]) && shown.endsWith(part[1]),
        qPrintable(shown));
    QVERIFY(program.view.ended() && !window.isVisible());
    QCOMPARE(orvando::detectInstallState(*program.files), r.after);
}

// Each icon file's images (size/bits per pixel), each with transparent and
// opaque pixels, black where transparent; at 32 bits with soft edges and the
// mask set exactly where the alpha is 0. The window shows the deepest images.
void WindowTest::pictures() {
    Program program("");
    for (const QString row : {"window 48/24 32/24 48/32 32/32 16/32",
                              "image1 48/8 32/8 48/24 32/24 16/24 48/32 32/32 16/32",
                              "image2 48/8 32/8 16/8 48/24 32/24 16/24 48/32 32/32 16/32"}) {
        const QString name = row.section(' ', 0, 0);
        QFile file(":/icons/" + name + ".ico");
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray d = file.readAll();
        const auto u16 = [&](int at) { return quint8(d[at]) | quint8(d[at + 1]) << 8; };
        QImageReader reader(file.fileName(), "ico");
        QStringList listed{name};
        std::map<int, QImage> deepest;  // by size
        for (int i = 0; i < u16(4); ++i) {
            const int entry = 6 + 16 * i, size = quint8(d[entry]), bits = u16(entry + 6);
            listed << QString("%1/%2").arg(size).arg(bits);
            QVERIFY(reader.jumpToImage(i));
            const QImage image = reader.read().convertToFormat(QImage::Format_ARGB32);
            QCOMPARE(image.size(), QSize(size, size));
            // The mask follows the bitmap header, palette and pixels, bottom row first.
            const int mask = u16(entry + 12) + 40 + (bits <= 8 ? 4 << bits : 0) +
                             (size * bits + 31) / 32 * 4 * size;
            int transparent = 0, soft = 0, wrong = 0;
            for (int y = 0; y < size; ++y) {
                for (int x = 0; x < size; ++x) {
                    const QRgb p = image.pixel(x, y);
                    const int byte = mask + (size - 1 - y) * ((size + 31) / 32 * 4) + x / 8;
                    const bool masked = quint8(d[byte]) & (0x80 >> x % 8);
                    transparent += masked;
                    soft += qAlpha(p) % 255 != 0;
                    wrong += (masked && (p & 0xFFFFFF)) || (bits == 32 && masked != !qAlpha(p));
                }
            }
            QVERIFY(transparent > 0 && transparent < size * size && (bits < 32 || soft > 0));
            QCOMPARE(wrong, 0);
            if (!deepest.count(size) || bits == 32)
                deepest[size] = image;
        }
        QCOMPARE(listed.join(' '), row);
        const auto* label =
            program.view.window().findChild<QLabel*>(name == "image1" ? "Image1" : "Image2");
        for (const int size : {16, 32, 48}) {
            const QPixmap shown = name == "window" ? program.view.window().windowIcon().pixmap(size)
                                  : size == 48     ? label->pixmap()
                                                   : QPixmap();
            QVERIFY(shown.isNull()
                        ? name != "window" && size < 48
                        : shown.toImage().convertToFormat(QImage::Format_ARGB32) == deepest[size]);
        }
    }
}

QTEST_MAIN(WindowTest)
#include "window_test.moc"
