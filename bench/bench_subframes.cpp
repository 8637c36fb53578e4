// The sub-frame summary of a folder of FITS light frames: headers as a capture program writes
// them (some forty cards), read through cfitsio without their data.
#include "compose/SubframeSummary.h"

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <fitsio.h>
#include <map>
#include <memory>
#include <vector>

namespace {

bool writeFrame(const QString &path, int index)
{
    fitsfile *f = nullptr;
    int status = 0;
    long axes[2] = {64, 48};
    fits_create_diskfile(&f, QFile::encodeName(path).constData(), &status);
    fits_create_img(f, USHORT_IMG, 2, axes, &status);
    const QString filter = index % 3 == 0 ? QStringLiteral("Ha") : QStringLiteral("L");
    const double exposure = index % 3 == 0 ? 600 : 300;
    const QByteArray date = QStringLiteral("2026-03-0%1T%2:%3:00.123")
                                .arg(1 + index / 2000)
                                .arg(12 + index % 2000 / 200, 2, 10, QLatin1Char('0'))
                                .arg(index % 60, 2, 10, QLatin1Char('0'))
                                .toLatin1();
    const std::pair<const char *, QByteArray> texts[] = {
        {"IMAGETYP", "LIGHT"},
        {"FILTER", filter.toLatin1()},
        {"OBJECT", "M 42"},
        {"TELESCOP", "R106 refractor"},
        {"INSTRUME", "C26 cooled CMOS"},
        {"DATE-OBS", date},
        {"BAYERPAT", "RGGB"},
        {"ROWORDER", "TOP-DOWN"},
        {"SWCREATE", "Capture 3.0"},
        {"FOCNAME", "Focuser"},
        {"EQUINOX", "2000"},
        {"OBJCTRA", "05 35 17"},
        {"OBJCTDEC", "-05 23 28"},
        {"SITENAME", "Home"},
    };
    for (const auto &[key, value] : texts)
        fits_update_key(f, TSTRING, key, const_cast<char *>(value.constData()), "", &status);
    const char *numbers[] = {"XBINNING", "YBINNING", "GAIN",     "OFFSET",  "CCD-TEMP", "SET-TEMP",
                             "XPIXSZ",   "YPIXSZ",   "FOCALLEN", "APTDIA",  "SITELAT",  "SITELONG",
                             "SITEELEV", "RA",       "DEC",      "AIRMASS", "FOCPOS",   "FOCTEMP",
                             "CLOUDCVR", "HUMIDITY", "PRESSURE", "AMBTEMP"};
    double value = 1;
    for (const char *key : numbers)
        fits_update_key(f, TDOUBLE, key, &value, "", &status);
    fits_update_key(f, TDOUBLE, "EXPTIME", const_cast<double *>(&exposure), "[s]", &status);
    fits_update_key(f, TDOUBLE, "EXPOSURE", const_cast<double *>(&exposure), "[s]", &status);
    std::vector<unsigned short> pixels(64 * 48, 1000);
    fits_write_img(f, TUSHORT, 1, LONGLONG(pixels.size()), pixels.data(), &status);
    fits_close_file(f, &status);
    return status == 0;
}

// One folder a size, written once for all the runs.
const QTemporaryDir *folderOf(int count)
{
    static std::map<int, std::unique_ptr<QTemporaryDir>> folders;
    auto &dir = folders[count];
    if (!dir) {
        dir = std::make_unique<QTemporaryDir>();
        for (int i = 0; i < count; ++i) {
            if (!writeFrame(
                    dir->filePath(QStringLiteral("Light_%1.fits").arg(i, 5, 10, QLatin1Char('0'))),
                    i))
                return nullptr;
        }
    }
    return dir.get();
}

void BM_SubframeHeaders(benchmark::State &state)
{
    const int count = int(state.range(0));
    const QTemporaryDir *dir = folderOf(count);
    if (!dir) {
        state.SkipWithError("cannot write the frames");
        return;
    }
    for (auto _ : state) {
        const SubframeSummary summary = SubframeSummary::read({dir->path()});
        if (summary.lightCount() != count)
            state.SkipWithError("frames missing from the summary");
        benchmark::DoNotOptimize(summary.totalSeconds());
    }
    state.counters["files"] = count;
}
BENCHMARK(BM_SubframeHeaders)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
