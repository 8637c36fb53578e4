// Times of plate solving with astrometry.net: a hinted solve of a 1600 x 1067 JPEG of a 2° field
// (decoding, star finding, solve-field and the object list, the solver's share of a
// `morvel-compose --solve` run), the same photo read back from the cache, and a blind solve of a
// 10° field. The fields are drawn from the Tycho-2 index files as the tests draw them.
// Usage: bench_solve [ROUNDS]
//        bench_solve --photos DIR [COUNT]
//   writes the photos that bench/time-solve.sh times whole morvel-compose runs on: COUNT (20)
//   1600 x 1067 JPEGs of 2° fields about M 8, each a little moved and turned, with the focal
//   length and the sensor's pixel pitch in EXIF (the scale's hint), and blind10.jpg, a 10° field
//   in Orion without EXIF.
#include "sky/FieldSolver.h"
#include "support/ExifFiles.h"
#include "support/StarField.h"

#include <QDir>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>

namespace {

struct Case
{
    const char *name;
    SkyPoint centre;
    double width;
    double up;
    bool hinted;
    bool cached;
};

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

} // namespace

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    if (argc > 2 && QByteArray(argv[1]) == "--photos") {
        const QDir out(QString::fromLocal8Bit(argv[2]));
        out.mkpath(QStringLiteral("."));
        const int count = argc > 3 ? std::max(1, atoi(argv[3])) : 20;
        const QSize size(1600, 1067);
        // 400 mm and 4.5″ a pixel: a pitch of 8.73 µm, 1145.8 pixels a centimetre.
        const ExifFiles::Tags tags = {{"Exif.Photo.FocalLength", "400/1"},
                                      {"Exif.Photo.FocalPlaneXResolution", "11458/10"},
                                      {"Exif.Photo.FocalPlaneYResolution", "11458/10"},
                                      {"Exif.Photo.FocalPlaneResolutionUnit", "3"}};
        for (int i = 0; i < count; ++i) {
            const Wcs wcs = Wcs::fromView({270.92 + 0.05 * (i % 5), -24.38 + 0.04 * (i / 5)}, 4.5,
                                          10.0 * i, false, size);
            const QString path =
                out.filePath(QStringLiteral("m8-%1.jpg").arg(i + 1, 2, 10, QLatin1Char('0')));
            if (!StarField::render(wcs, quint32(i + 1)).save(path, "JPEG", 90) ||
                !ExifFiles::addTags(path, tags))
                return 1;
        }
        const Wcs blind = Wcs::fromView({83.8, -5.0}, 10 * 3600.0 / size.width(), 75, false, size);
        return StarField::render(blind).save(out.filePath(QStringLiteral("blind10.jpg")), "JPEG",
                                             90)
                   ? 0
                   : 1;
    }
    const int rounds = argc > 1 ? std::max(1, atoi(argv[1])) : 5;
    QTemporaryDir dir;
    const QSize size(1600, 1067);
    const Case cases[] = {
        {"hinted 2° field, 1600 x 1067 JPEG", {270.92, -24.38}, 2, 30, true, false},
        {"the same, from the cache", {270.92, -24.38}, 2, 30, true, true},
        {"blind 10° field, 1600 x 1067 JPEG", {83.8, -5.0}, 10, 75, false, false},
    };
    std::printf("%-36s %8s %8s %8s  %s\n", "case", "median", "best", "worst", "result");
    for (const Case &c : cases) {
        const Wcs truth = Wcs::fromView(c.centre, c.width * 3600 / size.width(), c.up, false, size);
        const QString photo = dir.filePath(QStringLiteral("%1.jpg").arg(c.width));
        if (!QFileInfo::exists(photo) && !StarField::render(truth).save(photo, "JPEG", 90))
            return 1;
        SolveRequest request;
        request.photoPath = photo;
        request.cacheFolder = dir.filePath(QStringLiteral("cache"));
        request.useCache = c.cached;
        if (c.hinted) {
            const double scale = truth.pixelScale();
            request.hints.scaleLow = scale * 0.9;
            request.hints.scaleHigh = scale * 1.1;
            request.hints.position = SkyPoint{c.centre.ra + 0.3, c.centre.dec - 0.2};
            request.hints.radius = 3;
        }
        if (c.cached)
            FieldSolver::solve(request);
        std::vector<double> times;
        QString outcome;
        for (int i = 0; i < rounds; ++i) {
            QElapsedTimer clock;
            clock.start();
            const SolveResult r = FieldSolver::solve(request);
            times.push_back(clock.nsecsElapsed() / 1e9);
            outcome = r.isIdentified()
                          ? QStringLiteral("centre off by %1′, %2 objects")
                                .arg(skyDistance(r.wcs->centre(), truth.centre()) * 60, 0, 'f', 2)
                                .arg(r.objects.size())
                          : r.message;
        }
        std::printf("%-36s %7.2fs %7.2fs %7.2fs  %s\n", c.name, median(times),
                    *std::min_element(times.begin(), times.end()),
                    *std::max_element(times.begin(), times.end()), qPrintable(outcome));
    }
    return 0;
}
