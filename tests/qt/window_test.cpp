// The Linux window on Qt's offscreen platform: what it does with the
// presenter's calls, its keys, its message boxes and its pictures.
#include <QImageReader>
#include <QLabel>
#include <QTest>
#include <QTimer>
#include <set>

#include "ui/qt/qt_view.h"
#include "ui/texts.h"

namespace {

using namespace orvando;

// The objects main() makes, over a game folder held in memory: the sources of
// a plan, with one name toggled. A rename onto a taken name is refused as
// "taken". Each box is recorded (title, first line, icon, owner).
struct Program : FileServices {
    Program(const OperationPlan* sources, const std::string& toggled) {
        if (sources)
            for (const RenamePair& pair : *sources)
                names.emplace(pair.oldname);
        if (!toggled.empty() && !names.erase(toggled))
            names.insert(toggled);
        view.attach(form);
        view.runBox = [this](QMessageBox& box) {
            QVERIFY(box.textFormat() == Qt::PlainText && box.standardButtons() == QMessageBox::Ok &&
                    box.windowModality() == Qt::ApplicationModal);
            boxes << QString("%1 | %2 | %3 %4")
                         .arg(box.windowTitle(), box.text().section('\n', 0, 0),
                              QString("none information warning critical").split(' ')[box.icon()],
                              box.parentWidget() == &view.window()        ? "over the window"
                              : view.window().renameButton()->isEnabled() ? "alone"
                                                                          : "alone, buttons off");
        };
    }
    bool fileExists(const std::string& path) override { return names.count(path); }
    std::optional<RenameError> renameNoReplace(const std::string& from,
                                               const std::string& to) override {
        if (!names.insert(to).second)
            return RenameError{RenameError::Kind::TargetExists, "taken"};
        names.erase(from);
        return {};
    }
    std::set<std::string> names;
    qt::QtView view;
    frmMusic form{view, *this};
    QStringList boxes;
};

// The image of this size with the most colours in an icon file.
QImage deepest(const QString& ico, int size) {
    QFile file(ico);
    const QByteArray d = file.open(QIODevice::ReadOnly) ? file.readAll() : "";
    QImageReader reader(ico, "ico");
    std::pair<int, QImage> best;                 // bits per pixel, image
    for (int i = 0; reader.jumpToImage(i); ++i)  // 16 bytes an image from byte 6
        if (quint8(d[6 + 16 * i]) == size && quint8(d[12 + 16 * i]) >= best.first)
            best = {quint8(d[12 + 16 * i]), reader.read().convertToFormat(QImage::Format_ARGB32)};
    return best.second;
}

// One row for each set of visible buttons, box icon, way to end and exit status.
const struct Run {
    const char *name, *toggled, *caption, *tabs, *boxes;
    const OperationPlan* sources;
    bool close;  // the close box; else Return on the first button
    int exitStatus;
} kRuns[] = {
    {"close box", "", "Orvando v2 (Det: Not Enabled)", "rename cmdErrorHelp", "", &kEnablePlan,
     true, 0},
    {"Rename, last stock track missing", "streammusic\\mus_theme_malak.wav",
     "Orvando v2 (Det: Error, rec. Rename)", "rename unrename cmdErrorHelp",
     "File rename error | Cannot locate file: streammusic\\mus_theme_malak.wav - Final name needs "
     "to be: streammusic\\mus_theme_malak.original.wav . | warning alone, buttons off",
     &kEnablePlan, false, 0},
    {"Un-rename refused", "streammusic\\mus_area_ahto.mod.wav", "Orvando v2 (Det: Mod Enabled)",
     "unrename cmdErrorHelp",
     "Orvando v2 | Cannot rename streammusic\\mus_area_ahto.wav to "
     "streammusic\\mus_area_ahto.mod.wav: taken. | critical alone, buttons off",
     &kRestorePlan, false, 1},
    {"no game folder", "", "", "",
     "File error | Place this EXE into the main KotOR folder | information alone", nullptr, false,
     1},
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
};

// A run of the program. In a game folder: the fixed tool window narrowed to
// 320 pixels; Tab moving among the visible buttons while Escape does nothing;
// "Error Help" by Return, keypad Enter and a click showing the help over the
// window and changing nothing; the designed controls, the state's caption and
// buttons, the pictures. Then one action, its boxes and the exit status.
void WindowTest::run() {
    QFETCH(int, row);
    const Run& r = kRuns[row];
    Program program(r.sources, r.toggled);
    QWidget& window = program.view.window();
    const auto control = [&](const QString& name) { return window.findChild<QWidget*>(name); };
    if (!*r.caption) {
        QCOMPARE(qt::startWindow(program.view, program.form), r.exitStatus);
        QVERIFY(window.windowHandle() == nullptr);  // never shown
    } else {
        QVERIFY(!qt::startWindow(program.view, program.form));
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QCOMPARE(window.windowFlags() & (Qt::WindowType_Mask | Qt::WindowMinMaxButtonsHint |
                                         Qt::WindowCloseButtonHint),
                 Qt::Tool | Qt::WindowCloseButtonHint);
        QVERIFY(window.frameGeometry().width() == 320 && window.height() == 206 &&
                window.minimumSize() == window.maximumSize());
        const QStringList tabs = QString(r.tabs).split(' ');
        for (qsizetype i = 0; i <= tabs.size(); ++i) {
            QCOMPARE(QApplication::focusWidget(), control(tabs[i % tabs.size()]));
            QTest::keyClick(window.windowHandle(), Qt::Key_Escape);
            QTest::keyClick(window.windowHandle(), Qt::Key_Tab);
        }
        const std::set<std::string> files = program.names;
        control("cmdErrorHelp")->setFocus();
        QTest::keyClick(window.windowHandle(), Qt::Key_Return);
        QTest::keyClick(window.windowHandle(), Qt::Key_Enter);
        QTest::mouseClick(control("cmdErrorHelp"), Qt::LeftButton);
        const QString help = QString("%1 | %2 | information over the window")
                                 .arg(text::kHelpTitle.data(), text::kHelpText.data());
        QCOMPARE(program.boxes, QStringList({help, help, help}));
        QVERIFY(program.names == files && window.windowTitle() == r.caption && window.isVisible());
        const std::tuple<const char*, const char*, QRect> controls[] = {
            // text: null for lists
            {"rename", "Rename (Enable-Mod)", {72, 16, 137, 57}},
            {"unrename", "Un-rename (Normal Music)", {72, 88, 137, 57}},
            {"cmdErrorHelp", "Error Help", {72, 160, 137, 33}},
            {"originalname", nullptr, {240, 16, 281, 56}},
            {"modname", nullptr, {240, 80, 281, 56}},
            {"Image1", "", {0, 0, 48, 48}},
            {"Image2", "", {0, 144, 48, 48}}};
        for (const auto& [name, text, box] : controls) {
            QCOMPARE(control(name)->geometry(), box);
            QCOMPARE(control(name)->isVisible(), text && (!*text || tabs.contains(name)));
            if (auto* button = qobject_cast<QAbstractButton*>(control(name)))
                QVERIFY(button->text() == text && button->isEnabled());
            if (auto* label = qobject_cast<QLabel*>(control(name)))
                QCOMPARE(label->pixmap().toImage().convertToFormat(QImage::Format_ARGB32),
                         deepest(":/icons/" + QString(name).toLower() + ".ico", 48));
        }
        for (const int size : {16, 32, 48})
            QCOMPARE(
                window.windowIcon().pixmap(size).toImage().convertToFormat(QImage::Format_ARGB32),
                deepest(":/icons/window.ico", size));
        const QFont font = control("cmdErrorHelp")->font();
        QVERIFY(font.family() == "Arial" && font.pointSize() == 9 && font.italic() &&
                font.weight() == QFont::Normal);
        program.boxes.clear();
        control(tabs[0])->setFocus();
        QTimer::singleShot(0, [&] {  // the first event of the loop, which the program ends
            r.close ? void(window.close()) : QTest::keyClick(window.windowHandle(), Qt::Key_Return);
        });
        QCOMPARE(QApplication::exec(), r.exitStatus);
    }
    QCOMPARE(program.boxes.join('\n'), QString(r.boxes));
    QVERIFY(program.view.ended() && !window.isVisible());
}

QTEST_MAIN(WindowTest)
#include "window_test.moc"
