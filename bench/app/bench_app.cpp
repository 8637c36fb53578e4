// Start-up of the main window to its first composed picture, and one Preview command with an
// unchanged 1600 x 1200 photo. Run with QT_QPA_PLATFORM=offscreen.
#include "app/frmMdiMain.h"
#include "app/frmPreview.h"
#include "compose/FontSetup.h"
#include "support/FakePlatformServices.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <cstdio>

namespace {

// The first start in this process: fonts, the style and the window built from nothing.
double g_firstStartMs = 0;

void BM_StartupToFirstPicture(benchmark::State &state)
{
    QTemporaryDir dir;
    FakePlatformServices services;
    for (auto _ : state) {
        frmMdiMain window(&services, dir.path());
        window.Form_Load();
        if (!window.lastOutcome().isDrawn())
            state.SkipWithError("no picture");
        benchmark::DoNotOptimize(window.preview()->canvasImage().constBits());
        state.PauseTiming();
        window.hide();
        state.ResumeTiming();
    }
    state.counters["first_start_ms"] = g_firstStartMs;
}
BENCHMARK(BM_StartupToFirstPicture)->Unit(benchmark::kMillisecond);

void BM_PreviewUnchangedPhoto1600x1200(benchmark::State &state)
{
    QTemporaryDir dir;
    QImage photo(1600, 1200, QImage::Format_RGB32);
    for (int y = 0; y < photo.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(photo.scanLine(y));
        for (int x = 0; x < photo.width(); ++x)
            line[x] = qRgb(x & 0xFF, y & 0xFF, (x ^ y) & 0xFF);
    }
    const QString path = dir.filePath(QStringLiteral("m42.jpg"));
    photo.save(path, "JPEG", 90);

    FakePlatformServices services;
    frmMdiMain window(&services, dir.path());
    window.Form_Load();
    PanelValues values = window.panelValues();
    values.TargetName = QStringLiteral("M42 オリオン大星雲");
    values.Footer[0] = QStringLiteral("口径106mm 屈折 + 冷却CMOS  ISO1600 300秒 x 12枚");
    window.setPanelValues(values);
    window.preview()->composer().PhotoPath = path;
    window.cmdPreview_Click(); // decodes the photo once
    const int decodes = window.preview()->composer().decodeCount();
    for (auto _ : state) {
        window.cmdPreview_Click();
        benchmark::DoNotOptimize(window.preview()->canvasImage().constBits());
    }
    if (!window.lastOutcome().isDrawn() || window.frame().PhotoWidth != 1600)
        state.SkipWithError("the photo was not composed");
    if (window.preview()->composer().decodeCount() != decodes)
        state.SkipWithError("the unchanged photo was decoded again");
}
BENCHMARK(BM_PreviewUnchangedPhoto1600x1200)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    QElapsedTimer timer;
    timer.start();
    QApplication app(argc, argv);
    FontSetup::install();
    {
        QTemporaryDir dir;
        FakePlatformServices services;
        frmMdiMain window(&services, dir.path());
        window.Form_Load();
        g_firstStartMs = double(timer.nsecsElapsed()) / 1e6;
    }
    std::printf("First start in a fresh process (application, fonts, window, picture): %.1f ms\n",
                g_firstStartMs);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
