// Layout and drawing of a 1600 x 1200 picture whose photo is already decoded, the decoding
// itself for comparison, and the steps that bring a large photo down to that size.
#include "compose/FontSetup.h"
#include "compose/FrameDescription.h"
#include "compose/LayoutMargins.h"
#include "compose/PreviewComposer.h"
#include "io/LoadPicture.h"
#include "io/PhotoScale.h"

#include <QGuiApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

FrameDescription sampleFrame()
{
    FrameDescription frame;
    frame.borderWidth = 3;
    frame.borderColor = 0x00C0C0C0;
    const char *texts[] = {"M42 オリオン大星雲", "2001/12/25 22:30 JST", "鏡筒: 10cm 屈折",
                           "露出 300秒 x 8枚", "撮影地: 入笠山"};
    for (int i = 0; i < 5; ++i) {
        TextItem &item = frame.textItems[i];
        item.text = QString::fromUtf8(texts[i]);
        item.fontName = QStringLiteral("ＭＳ ゴシック");
        item.fontSize = i == 0 ? 16 : 10;
        item.fontColor = 0x00FFFFFF;
    }
    frame.textItems[4].fontAlign = FooterAlign::Right;
    return frame;
}

QImage samplePhoto()
{
    QImage photo(1600, 1200, QImage::Format_RGB32);
    for (int y = 0; y < photo.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(photo.scanLine(y));
        for (int x = 0; x < photo.width(); ++x)
            line[x] = qRgb(x & 0xFF, y & 0xFF, (x ^ y) & 0xFF);
    }
    return photo;
}

void BM_PlacePhoto1600x1200(benchmark::State &state)
{
    FrameDescription frame = sampleFrame();
    const QImage photo = samplePhoto();
    PreviewComposer composer;
    for (auto _ : state) {
        const ComposeOutcome outcome = composer.placePhoto(frame, LayoutMargins{}, photo);
        if (!outcome.isDrawn())
            state.SkipWithError("composition failed");
        benchmark::DoNotOptimize(composer.canvas().constBits());
    }
}
BENCHMARK(BM_PlacePhoto1600x1200)->Unit(benchmark::kMillisecond);

void BM_ComposeCachedPhoto(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("photo.jpg"));
    samplePhoto().save(path, "jpeg", 90);
    FrameDescription frame = sampleFrame();
    frame.photoWidth = 640;
    frame.photoHeight = 480;
    PreviewComposer composer;
    composer.compose(frame, LayoutMargins{}, path);
    for (auto _ : state) {
        if (!composer.compose(frame, LayoutMargins{}).isDrawn())
            state.SkipWithError("composition failed");
    }
    state.counters["decodes"] = composer.decodeCount();
}
BENCHMARK(BM_ComposeCachedPhoto)->Unit(benchmark::kMillisecond);

void BM_DecodeJpeg1600x1200(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("photo.jpg"));
    samplePhoto().save(path, "jpeg", 90);
    for (auto _ : state)
        benchmark::DoNotOptimize(LoadPicture::decode(path).image.constBits());
}
BENCHMARK(BM_DecodeJpeg1600x1200)->Unit(benchmark::kMillisecond);

// What a 6000 x 4000 JPEG leaves after the DCT scaling at 3/8: 2250 x 1500, to 1600 x 1067.
void BM_ShrinkRgb2250x1500(benchmark::State &state)
{
    const QImage photo = samplePhoto().scaled(2250, 1500);
    for (auto _ : state)
        benchmark::DoNotOptimize(PhotoScale::shrink(photo, QSize(1600, 1067)).constBits());
}
BENCHMARK(BM_ShrinkRgb2250x1500)->Unit(benchmark::kMillisecond);

// A stretched 6000 x 4000 mono FITS photo, to 1600 x 1067.
void BM_ShrinkGrey6000x4000(benchmark::State &state)
{
    const QImage photo =
        samplePhoto().scaled(6000, 4000).convertToFormat(QImage::Format_Grayscale8);
    for (auto _ : state)
        benchmark::DoNotOptimize(PhotoScale::shrink(photo, QSize(1600, 1067)).constBits());
}
BENCHMARK(BM_ShrinkGrey6000x4000)->Unit(benchmark::kMillisecond);

// The whole decoding of a 6000 x 4000 JPEG shrunk into 1600 x 1200, and of a 16-bit FITS photo
// of that size, stretched and shrunk (files made by bench/make-sample-photo, named in
// MORVEL_BENCH_JPEG and MORVEL_BENCH_FITS; skipped without them).
void decodeShrunk(benchmark::State &state, const char *variable)
{
    const QString path = qEnvironmentVariable(variable);
    if (path.isEmpty()) {
        state.SkipWithError("no photo named");
        return;
    }
    PhotoOptions options;
    options.shrink = true;
    for (auto _ : state)
        benchmark::DoNotOptimize(LoadPicture::decode(path, options).image.constBits());
}
BENCHMARK_CAPTURE(decodeShrunk, Jpeg6000x4000, "MORVEL_BENCH_JPEG")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(decodeShrunk, Fits6000x4000, "MORVEL_BENCH_FITS")->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    FontSetup::install();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
