// Start-up of the main window to its first composed picture, one Preview command with an unchanged
// 1600 x 1200 photo, and the recomposition of the live preview after one keystroke with that
// photo. Run with QT_QPA_PLATFORM=offscreen.
#include "app/MainWindow.h"
#include "app/PreviewCanvas.h"
#include "app/PreviewWindow.h"
#include "compose/FontSetup.h"
#include "store/AppSettings.h"
#include "support/FakePlatformServices.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLineEdit>
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
        MainWindow window(&services, dir.path());
        window.start();
        if (!window.lastOutcome().isDrawn())
            state.SkipWithError("no picture");
        benchmark::DoNotOptimize(window.previewWindow()->canvasImage().constBits());
        state.PauseTiming();
        window.hide();
        state.ResumeTiming();
    }
    state.counters["first_start_ms"] = g_firstStartMs;
}
BENCHMARK(BM_StartupToFirstPicture)->Unit(benchmark::kMillisecond);

// A window with texts and a 1600 x 1200 JPEG photo composed once (decoded once).
struct PhotoWindow
{
    QTemporaryDir dir;
    FakePlatformServices services;
    std::unique_ptr<MainWindow> window;
    int decodes = 0;

    PhotoWindow();
    // The photo composed at its size, and not decoded again.
    const char *fault() const
    {
        if (!window->lastOutcome().isDrawn() || window->frame().photoWidth != 1600)
            return "the photo was not composed";
        if (window->previewWindow()->composer().decodeCount() != decodes)
            return "the unchanged photo was decoded again";
        return nullptr;
    }
};

PhotoWindow::PhotoWindow()
{
    QImage photo(1600, 1200, QImage::Format_RGB32);
    for (int y = 0; y < photo.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(photo.scanLine(y));
        for (int x = 0; x < photo.width(); ++x)
            line[x] = qRgb(x & 0xFF, y & 0xFF, (x ^ y) & 0xFF);
    }
    const QString path = dir.filePath(QStringLiteral("m42.jpg"));
    photo.save(path, "JPEG", 90);

    window = std::make_unique<MainWindow>(&services, dir.path());
    window->start();
    PanelValues values = window->panelValues();
    values.targetName = QStringLiteral("M42 オリオン大星雲");
    values.footer[0] = QStringLiteral("口径106mm 屈折 + 冷却CMOS  ISO1600 300秒 x 12枚");
    window->setPanelValues(values);
    services.openAnswers.enqueue(path);
    window->openPhoto(); // decodes the photo once
    window->preview();
    decodes = window->previewWindow()->composer().decodeCount();
}

void BM_PreviewUnchangedPhoto1600x1200(benchmark::State &state)
{
    PhotoWindow w;
    for (auto _ : state) {
        w.window->preview();
        benchmark::DoNotOptimize(w.window->previewWindow()->canvasImage().constBits());
    }
    if (const char *fault = w.fault())
        state.SkipWithError(fault);
}
BENCHMARK(BM_PreviewUnchangedPhoto1600x1200)->Unit(benchmark::kMillisecond);

// One key typed into the target name (a letter, then Backspace in the next round) and the
// recomposition it starts, run at once instead of after the pause in the typing.
void BM_LivePreviewKeystroke1600x1200(benchmark::State &state)
{
    PhotoWindow w;
    w.window->settings().setLivePreview(true);
    auto *name = w.window->findChild<QLineEdit *>(QStringLiteral("txtTargetName"));
    name->setFocus();
    w.window->flushLivePreview();
    bool letter = true;
    for (auto _ : state) {
        const int key = letter ? Qt::Key_A : Qt::Key_Backspace;
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier,
                        letter ? QStringLiteral("a") : QString());
        QApplication::sendEvent(name, &press);
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
        QApplication::sendEvent(name, &release);
        if (!w.window->livePreviewPending())
            state.SkipWithError("the keystroke started no recomposition");
        w.window->flushLivePreview();
        benchmark::DoNotOptimize(w.window->previewWindow()->canvasImage().constBits());
        letter = !letter;
    }
    if (const char *fault = w.fault())
        state.SkipWithError(fault);
    if (w.window->frame().textItems[0].text != name->text())
        state.SkipWithError("the typed text was not composed");
}
BENCHMARK(BM_LivePreviewKeystroke1600x1200)->Unit(benchmark::kMillisecond);

// The fitted view after a recomposition: the canvas scaled down smoothly to the client area of
// the window at its first-start size, and painted.
void BM_FittedViewPaint1600x1200(benchmark::State &state)
{
    PhotoWindow w;
    w.window->settings().setFitWindow(true);
    w.window->preview();
    PreviewCanvas *canvas = w.window->previewWindow()->canvas();
    for (auto _ : state) {
        canvas->setImage(w.window->previewWindow()->canvasImage());
        w.window->previewWindow()->fitToCanvas();
        const QPixmap shown = canvas->grab();
        benchmark::DoNotOptimize(shown.cacheKey());
    }
    if (canvas->width() >= w.window->previewWindow()->canvasImage().width())
        state.SkipWithError("the view was not scaled down");
}
BENCHMARK(BM_FittedViewPaint1600x1200)->Unit(benchmark::kMillisecond);

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
        MainWindow window(&services, dir.path());
        window.start();
        g_firstStartMs = double(timer.nsecsElapsed()) / 1e6;
    }
    std::printf("First start in a fresh process (application, fonts, window, picture): %.1f ms\n",
                g_firstStartMs);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
