// The Linux window on Qt's offscreen platform: presenter's calls, keys, message boxes, pictures.
#include <QIcon>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <set>

#include "app/texts.h"
#include "ui/qt/qt_view.h"

namespace {

using namespace orvando;

// main()'s objects on a folder in memory (a plan's files, one toggled); records and OKs each box.
struct Program : QObject, FileServices {
    Program(const OperationPlan& sources, std::string_view toggled) {
        for (const RenamePair& pair : sources)
            names.emplace(pair.oldname);
        if (!names.erase(std::string(toggled)))
            names.emplace(toggled);
        view.attach(form);
        startTimer(10);  // looks for a box
    }
    void timerEvent(QTimerEvent*) override {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box)
            return;
        const auto close = qScopeGuard([box] { box->done(QMessageBox::Ok); });
        texts << box->text();
        boxes << box->windowTitle() + " | " +
                     QMetaEnum::fromType<QMessageBox::Icon>().valueToKey(box->icon()) +
                     (box->parentWidget() == &view.window() ? " over the window" : " alone") +
                     (view.window().renameButton()->isEnabled() ? "" : ", buttons off");
        QVERIFY(box->textFormat() == Qt::PlainText && box->standardButtons() == QMessageBox::Ok &&
                box->windowModality() == Qt::ApplicationModal);
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
    QStringList boxes, texts;
};

// A row per box icon and key; tools/e2e.sh sees the rest: stock music, size and type, close box.
const struct Run {
    int key, exitStatus;
    const char *caption, *tabs, *boxes;
    const OperationPlan& sources;
    std::string_view toggled;
} kRuns[] = {
    {Qt::Key_Return, 0, "Orvando v2 (Det: Error, rec. Rename)", "rename unrename cmdErrorHelp",
     "File rename error | Warning alone, buttons off", kEnablePlan, kStockNames[22]},
    {Qt::Key_Enter, 1, "Orvando v2 (Det: Mod Enabled)", "unrename cmdErrorHelp",
     "Orvando v2 | Critical alone, buttons off", kRestorePlan, kReplacementPairs[0].replacement},
};

// A tool window with a close box only; Tab among the visible buttons, Escape doing nothing; a
// help box that changes nothing; the controls (text: null for lists), pictures; key, boxes, exit.
void runOnce(const Run& r) {
    Program program(r.sources, r.toggled);
    QWidget& window = program.view.window();
    const auto control = [&](const QString& name) { return window.findChild<QWidget*>(name); };
    QVERIFY(!qt::startWindow(program.view, program.form) && QTest::qWaitForWindowActive(&window));
    QVERIFY((window.windowFlags() &
             (Qt::WindowType_Mask | Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint)) ==
            (Qt::Tool | Qt::WindowCloseButtonHint));
    const QStringList tabs = QString(r.tabs).split(' ');
    for (qsizetype i = 0; i <= tabs.size(); ++i) {
        QCOMPARE(QApplication::focusWidget(), control(tabs[i % tabs.size()]));
        QTest::keySequence(window.windowHandle(), QKeySequence(Qt::Key_Escape, Qt::Key_Tab));
    }
    const auto files = program.names;
    QTest::mouseClick(control("cmdErrorHelp"), Qt::LeftButton);
    QCOMPARE(program.boxes.join('\n'), "How to manage an error | Information over the window");
    QCOMPARE(program.texts, QStringList(text::kHelpText.data()));
    QVERIFY(program.names == files && window.windowTitle() == r.caption && window.isVisible());
    const std::tuple<const char*, const char*, QRect> controls[] = {
        {"rename", "Rename (Enable-Mod)", {72, 16, 137, 57}},
        {"unrename", "Un-rename (Normal Music)", {72, 88, 137, 57}},
        {"cmdErrorHelp", "Error Help", {72, 160, 137, 33}},
        {"originalname", nullptr, {240, 16, 281, 56}},
        {"modname", nullptr, {240, 80, 281, 56}},
        {"Image1", ":/icons/image1.ico", {0, 0, 48, 48}},
        {"Image2", ":/icons/image2.ico", {0, 144, 48, 48}}};
    for (const auto& [name, text, box] : controls) {
        const bool label = control(name)->inherits("QLabel");
        QCOMPARE(control(name)->geometry(), box);
        QCOMPARE(control(name)->isVisible(), text && (label || tabs.contains(name)));
        QVERIFY(!label || control(name)->property("pixmap").value<QPixmap>().toImage() ==
                              QIcon(text).pixmap(48).toImage());
        if (auto* button = qobject_cast<QAbstractButton*>(control(name)))
            QVERIFY(button->text() == text && button->isEnabled());
    }
    for (const int size : {16, 32, 48})  // as Qt takes them from the file: the most colours
        QVERIFY(window.windowIcon().pixmap(size).toImage() ==
                QIcon(":/icons/window.ico").pixmap(size).toImage());
    QCOMPARE(control("cmdErrorHelp")->font(), QFont("Arial", 9, QFont::Normal, true));
    program.boxes.clear();
    control(tabs[0])->setFocus();
    QTimer::singleShot(0, [&] {  // the first event of the loop, which the program ends
        QTest::keyClick(window.windowHandle(), Qt::Key(r.key));
    });
    QTimer::singleShot(5000, &window, [] { QApplication::exit(99); });  // it never ended
    QCOMPARE(QApplication::exec(), r.exitStatus);
    QCOMPARE(program.boxes.join('\n'), QString(r.boxes));
    QVERIFY(program.view.ended() && !window.isVisible());
}

}  // namespace

class WindowTest : public QObject {
    Q_OBJECT

  private slots:
    void run() { std::ranges::for_each(kRuns, runOnce); }
};

QTEST_MAIN(WindowTest)
#include "window_test.moc"
