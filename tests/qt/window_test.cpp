// The Linux window on Qt's offscreen platform: presenter's calls, keys, message boxes, pictures.
#include <QAccessible>
#include <QIcon>
#include <QMessageBox>
#include <QPainter>
#include <QStyle>
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

// A row per box icon, key and font; tools/e2e.sh sees the rest on the real program.
const struct Run {
    int key, exitStatus;
    const char *caption, *tabs, *boxes;
    const OperationPlan& sources;
    std::string_view toggled;
    QFont font;
} kRuns[] = {
    {Qt::Key_Return, 0, "Orvando v2 (Det: Error, rec. Rename)", "rename unrename cmdErrorHelp",
     "File rename error | Warning alone, buttons off", kEnablePlan, kStockNames[22],
     QFont("DejaVu Sans", 9)},
    {Qt::Key_Enter, 1, "Orvando v2 (Det: Mod Enabled)", "unrename cmdErrorHelp",
     "Orvando v2 | Critical alone, buttons off", kRestorePlan, kReplacementPairs[0].replacement,
     QFont("DejaVu Sans", 15)},
};

// A dialog with a close box only, active; a help box over it, after which it is active again;
// every label whole in the font given with the style's margins, the design's proportions kept;
// each picture the file's best image for its place at the screen's scale; a screen reader told
// the buttons alone; the key, the boxes, the exit.
void runOnce(const Run& r) {
    QApplication::setFont(r.font);
    Program program(r.sources, r.toggled);
    QWidget& window = program.view.window();
    const auto control = [&](const QString& name) { return window.findChild<QWidget*>(name); };
    QVERIFY(!qt::startWindow(program.view, program.form) && QTest::qWaitForWindowActive(&window));
    QVERIFY((window.windowFlags() &
             (Qt::WindowType_Mask | Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint)) ==
            (Qt::Dialog | Qt::WindowCloseButtonHint));
    const QStringList tabs = QString(r.tabs).split(' ');  // the buttons shown
    control("cmdErrorHelp")->setFocus();
    QTest::keyClick(window.windowHandle(), Qt::Key_Space);
    QCOMPARE(program.boxes.join('\n'), "How to manage an error | Information over the window");
    QCOMPARE(program.texts, QStringList(text::kHelpText.data()));
    QVERIFY(QTest::qWaitForWindowActive(&window));

    const double k = program.view.window().layout().pixelsPerTwip() * 15;
    const std::tuple<const char*, const char*, QRect> design[] = {
        {"rename", "Rename (Enable-Mod)", {72, 16, 137, 57}},
        {"unrename", "Un-rename (Normal Music)", {72, 88, 137, 57}},
        {"cmdErrorHelp", "Error Help", {72, 160, 137, 33}},
        {"Image1", ":/icons/image1.ico", {0, 0, 48, 48}},
        {"Image2", ":/icons/image2.ico", {0, 144, 48, 48}}};
    for (const auto& [name, content, box] : design) {
        QWidget* w = control(name);
        const QRect g = w->geometry();
        const double off = std::abs(g.left() - box.left() * k) + std::abs(g.top() - box.top() * k);
        QVERIFY2(off + std::abs(g.width() - box.width() * k) <= 2, name);
        if (auto* button = qobject_cast<QPushButton*>(w)) {
            const int margins = button->style()->pixelMetric(QStyle::PM_ButtonMargin) +
                                2 * button->style()->pixelMetric(QStyle::PM_DefaultFrameWidth);
            QVERIFY2(button->fontMetrics().horizontalAdvance(content) + margins <= g.width() &&
                         button->text() == content && button->isEnabled(),
                     content);
        } else {
            const qreal dpr = window.devicePixelRatio();
            QPixmap want(g.size() * dpr);  // the file's best image for the place, on the window
            want.setDevicePixelRatio(dpr);
            want.fill(window.palette().window().color());
            QPainter(&want).drawPixmap(w->rect(), QIcon(content).pixmap(g.size(), dpr));
            QCOMPARE(w->grab().toImage().convertToFormat(QImage::Format_RGB32),
                     want.toImage().convertToFormat(QImage::Format_RGB32));
        }
    }
    QCOMPARE(window.findChildren<QWidget*>().size(), std::size(design));
    QAccessibleInterface* reader = QAccessible::queryAccessibleInterface(&window);
    QVERIFY(reader->role() == QAccessible::Dialog || reader->role() == QAccessible::Window);
    QCOMPARE(reader->text(QAccessible::Name), r.caption);
    QStringList heard, told;  // each showing control but the pictures, with its role
    for (const QString& tab : tabs)
        heard << "Button " + control(tab)->property("text").toString();
    for (int i = 0; i < reader->childCount(); ++i)
        if (QAccessibleInterface* c = reader->child(i);
            !c->state().invisible && c->role() != QAccessible::Graphic)
            told << QMetaEnum::fromType<QAccessible::Role>().valueToKey(c->role()) +
                        (' ' + c->text(QAccessible::Name));
    QCOMPARE(told, heard);
    QCOMPARE(control("cmdErrorHelp")->font(), QFont("Arial", 9, QFont::Normal, true));
    for (const int size : {16, 32, 48})  // as Qt takes them from the file: the most colours
        QVERIFY(window.windowIcon().pixmap(size).toImage() ==
                QIcon(":/icons/window.ico").pixmap(size).toImage());
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
