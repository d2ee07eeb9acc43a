// Start-up of the Linux window: constructing it and running the load event in
// a stock game folder until the window is shown, beside an empty Qt window
// shown the same way. Runs on Qt's offscreen platform, or on the one that
// QT_QPA_PLATFORM names (a desktop's X11 or Wayland).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QWidget>

#include "app/frm_music.h"
#include "catalogue/catalogue.h"
#include "platform/file_services.h"
#include "ratio_reporter.h"
#include "temp_folder.h"
#include "ui/qt/qt_view.h"

namespace orvando {
namespace {

void BM_WindowStart(benchmark::State& state) {
    bench::TempFolder folder;
    for (auto n : kStockNames)
        folder.addFile(std::string(n), "x");
    for (const auto& p : kReplacementPairs)
        folder.addFile(std::string(p.replacement), "x");
    for (auto _ : state) {
        qt::QtView view;
        auto files = makeSystemFileServices(folder.path().string());
        frmMusic form(view, *files);
        view.attach(form);
        if (qt::startWindow(view, form)) {
            state.SkipWithError("the window did not open");
        }
        QGuiApplication::sync();  // the window system has taken the window
    }
}
BENCHMARK(BM_WindowStart)->Unit(benchmark::kMicrosecond);

void BM_EmptyWindowStart(benchmark::State& state) {
    for (auto _ : state) {
        QWidget window;
        window.show();
        QGuiApplication::sync();  // the window system has taken the window
    }
}
BENCHMARK(BM_EmptyWindowStart)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace orvando

int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    // The offscreen platform warns about every window it cannot raise.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    orvando::bench::RatioReporter reporter(
        {{std::string("BM_WindowStart"), std::string("BM_EmptyWindowStart")}});
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
