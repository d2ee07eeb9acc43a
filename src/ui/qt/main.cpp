// orvando: the program's window on Linux. Started in the game's main folder,
// it shows the install state and switches the music with one click.
#include <QApplication>
#include <cstdio>
#include <cstring>

#include "app/frm_music.h"
#include "app/texts.h"
#include "platform/file_services.h"
#include "ui/qt/qt_view.h"

int main(int argc, char** argv) {
    QApplication::setApplicationName("orvando");
    QApplication::setApplicationVersion(
        QString::fromUtf8(orvando::text::kVersion.data(), orvando::text::kVersion.size()));
    // Answered before the window system is reached, so it works without a display.
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        std::printf("orvando %s\n", QApplication::applicationVersion().toUtf8().constData());
        return 0;
    }
    QApplication app(argc, argv);

    orvando::qt::QtView view;
    QApplication::setWindowIcon(view.window().windowIcon());
    auto files = orvando::makeSystemFileServices();
    orvando::frmMusic form(view, *files);
    view.attach(form);
    if (auto status = orvando::qt::startWindow(view, form)) {
        return *status;
    }
    return QApplication::exec();
}
