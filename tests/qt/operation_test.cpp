// A click on an action button: the window hides before the first rename, the
// boxes stand alone, the files end up renamed, and the program ends with the
// right exit status, through the real event loop too.
#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "detection/detection.h"
#include "program_fixture.h"
#include "support/game_folders.h"

using orvando::InstallState;
using orvando::testing::Folder;
using orvando::testing::Program;

Q_DECLARE_METATYPE(orvando::InstallState)

namespace {

// Runs the application's event loop until the program ends, with `action`
// as its first event. A guard ends a loop that would otherwise never end.
int runLoop(const std::function<void()>& action) {
    QTimer::singleShot(0, action);
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [] { QCoreApplication::exit(-1); });
    guard.start(20000);
    return QApplication::exec();
}

}  // namespace

class OperationTest : public QObject {
    Q_OBJECT

  private slots:
    void actionClick_data();
    void actionClick();
    void exitStatusFromTheEventLoop_data();
    void exitStatusFromTheEventLoop();
    void warningBoxesWaitForTheUser();
    void realBoxIsModalWithOneOk_data();
    void realBoxIsModalWithOneOk();
};

void OperationTest::actionClick_data() {
    QTest::addColumn<Folder>("folder");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QStringList>("boxTitles");
    QTest::addColumn<int>("exitStatus");
    QTest::addColumn<InstallState>("after");
    const QString warning = "File rename error";
    QTest::newRow("enable a stock folder")
        << Folder::Stock << "rename" << QStringList{} << 0 << InstallState::ModEnabled;
    QTest::newRow("restore an enabled folder")
        << Folder::Enabled << "unrename" << QStringList{} << 0 << InstallState::NotEnabled;
    QTest::newRow("enable with two replacement tracks missing")
        << Folder::StockWithoutReplacements << "rename" << QStringList{warning, warning} << 0
        << InstallState::ModEnabled;
    QTest::newRow("restore with a backup track missing")
        << Folder::EnabledWithoutBackup7 << "unrename" << QStringList{warning} << 0
        << InstallState::ErrorRecRename;
    QTest::newRow("enable from an error state")
        << Folder::StockWithoutLastRow << "rename" << QStringList{warning} << 0
        << InstallState::ErrorRecUnrename;
    // The replacement names are still there, so the first move back out
    // meets a taken name and the run stops before any rename.
    QTest::newRow("restore from an error state")
        << Folder::StockWithoutLastRow << "unrename" << QStringList{"Orvando v2"} << 1
        << InstallState::ErrorRecRename;
    QTest::newRow("enable refused halfway")
        << Folder::StockRefusingRow5 << "rename" << QStringList{"Orvando v2"} << 1
        << InstallState::ErrorRecUnrename;
}

void OperationTest::actionClick() {
    QFETCH(Folder, folder);
    QFETCH(QString, button);
    QFETCH(QStringList, boxTitles);
    QFETCH(int, exitStatus);
    QFETCH(InstallState, after);
    Program program(folder);
    QVERIFY(!program.start());
    const auto contentsBefore = orvando::testing::contents(program.folder);
    auto* clicked = program.window().findChild<QPushButton*>(button);
    QVERIFY(clicked != nullptr && clicked->isVisible());

    QTest::mouseClick(clicked, Qt::LeftButton);

    QCOMPARE(program.boxes.size(), std::size_t(boxTitles.size()));
    for (std::size_t i = 0; i < program.boxes.size(); ++i) {
        const auto& box = program.boxes[i];
        QCOMPARE(box.title, boxTitles[qsizetype(i)]);
        QCOMPARE(box.icon,
                 box.title == "Orvando v2" ? QMessageBox::Critical : QMessageBox::Warning);
        QCOMPARE(box.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
        QCOMPARE(box.format, Qt::PlainText);
        // The run hides the window and disables both buttons before its first
        // rename; every box stands alone.
        QVERIFY(!box.windowVisible);
        QVERIFY(!box.renameEnabled);
        QVERIFY(!box.unrenameEnabled);
        QVERIFY(box.standsAlone);
        QCOMPARE(box.modality, Qt::ApplicationModal);
    }
    QVERIFY(program.view.ended());
    QCOMPARE(program.view.exitStatus(), exitStatus);
    QVERIFY(!program.window().isVisible());
    QVERIFY(!program.window().renameButton()->isEnabled());
    QVERIFY(!program.window().unrenameButton()->isEnabled());
    QCOMPARE(orvando::detectInstallState(program.folder), after);
    QCOMPARE(orvando::testing::contents(program.folder), contentsBefore);

    // Once ended, no click reaches the program any more.
    const auto files = program.folder.files();
    program.window().errorHelpButton()->click();
    program.window().renameButton()->setEnabled(true);
    program.window().renameButton()->click();
    QCOMPARE(program.boxes.size(), std::size_t(boxTitles.size()));
    QCOMPARE(program.folder.files(), files);
}

void OperationTest::exitStatusFromTheEventLoop_data() {
    QTest::addColumn<Folder>("folder");
    QTest::addColumn<QString>("action");
    QTest::addColumn<int>("exitStatus");
    QTest::addColumn<bool>("renamed");
    QTest::newRow("enable") << Folder::Stock << "rename" << 0 << true;
    QTest::newRow("restore") << Folder::Enabled << "unrename" << 0 << true;
    QTest::newRow("refused rename") << Folder::StockRefusingRow5 << "rename" << 1 << true;
    QTest::newRow("close box") << Folder::Stock << "close" << 0 << false;
}

void OperationTest::exitStatusFromTheEventLoop() {
    QFETCH(Folder, folder);
    QFETCH(QString, action);
    QFETCH(int, exitStatus);
    QFETCH(bool, renamed);
    Program program(folder);
    QVERIFY(!program.start());
    const auto before = program.folder.files();

    const int status = runLoop([&] {
        if (action == "close") {
            program.window().close();
        } else {
            QTest::mouseClick(program.window().findChild<QPushButton*>(action), Qt::LeftButton);
        }
    });

    QCOMPARE(status, exitStatus);
    QCOMPARE(program.view.exitStatus(), exitStatus);
    QVERIFY(!program.window().isVisible());
    QCOMPARE(program.folder.files() != before, renamed);
}

void OperationTest::warningBoxesWaitForTheUser() {
    // Real boxes, one after another with the main window hidden: closing one
    // (the last window on screen) must neither end the program nor close the
    // next one.
    Program program(Folder::StockWithoutReplacements);
    int shown = 0;
    int closedByUser = 0;
    program.view.runBox = [&](QMessageBox& box) {
        ++shown;
        box.exec();
    };
    QVERIFY(!program.start());
    QTimer user;
    QObject::connect(&user, &QTimer::timeout, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            // The first with its close box, the second with OK.
            ++closedByUser;
            if (closedByUser == 1) {
                box->close();
            } else {
                box->button(QMessageBox::Ok)->click();
            }
        }
    });
    user.start(0);

    const int status = runLoop([&] { program.window().renameButton()->click(); });

    QCOMPARE(status, 0);
    QCOMPARE(shown, 2);
    QCOMPARE(closedByUser, 2);
    QCOMPARE(orvando::detectInstallState(program.folder), InstallState::ModEnabled);
}

void OperationTest::realBoxIsModalWithOneOk_data() {
    QTest::addColumn<QString>("closeWith");
    QTest::newRow("OK button") << "ok";
    QTest::newRow("Return") << "return";
    QTest::newRow("Escape") << "escape";
}

void OperationTest::realBoxIsModalWithOneOk() {
    QFETCH(QString, closeWith);
    Program program(Folder::Stock);
    program.view.runBox = [](QMessageBox& box) { box.exec(); };
    QVERIFY(!program.start());

    // Looks at the box while it is up, then closes it as the user would.
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    int buttons = 0;
    Qt::WindowModality modality = Qt::NonModal;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr) {
            return;
        }
        title = box->windowTitle();
        text = box->text();
        icon = box->icon();
        buttons = int(box->buttons().size());
        modality = box->windowModality();
        if (closeWith == "ok") {
            box->button(QMessageBox::Ok)->click();
        } else {
            QTest::keyClick(box, closeWith == "return" ? Qt::Key_Return : Qt::Key_Escape);
        }
    });
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [] {
        if (QWidget* stuck = QApplication::activeModalWidget()) {
            stuck->close();
        }
    });
    guard.start(20000);
    program.window().errorHelpButton()->click();

    QCOMPARE(title, QString("How to manage an error"));
    QVERIFY(text.endsWith("new name."));
    QCOMPARE(icon, QMessageBox::Information);
    QCOMPARE(buttons, 1);
    // While the box is up the window takes no clicks.
    QCOMPARE(modality, Qt::ApplicationModal);
    QVERIFY(program.window().isVisible());
    QVERIFY(!program.view.ended());
}

QTEST_MAIN(OperationTest)
#include "operation_test.moc"
