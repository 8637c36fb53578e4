// A separate process for what a test cannot do to itself: measure the peak memory of one picture
// load, or be killed in the middle of a save.
//
//   hardening_probe load FILE      the preview's way: header, then pixels for an accepted size
//   hardening_probe decode FILE    the pixels whatever the header says
//   hardening_probe save-loop PATH saves BMP version 0, 1, 2 ... over PATH until killed; prints
//                                  "saved N" after each
//
// Results go to standard output as "key=value" lines.
#include "compose/FrameLayout.h"
#include "io/LoadPicture.h"
#include "io/SavePicture.h"

#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>

#include <cstdio>

namespace {

// The peak resident size of this program since it started. Not getrusage(): its ru_maxrss
// carries the parent's peak over fork and exec.
long peakKilobytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    }
    return -1;
}

int load(const QString &path, bool throughHeader)
{
    QElapsedTimer timer;
    timer.start();
    QString result;
    QSize size;
    const LoadPicture::Header header = LoadPicture::readHeader(path);
    if (throughHeader && !header.ok()) {
        result = QStringLiteral("refused");
    } else if (throughHeader &&
               !FrameLayout::photoSizeAccepted(header.size.width(), header.size.height())) {
        result = QStringLiteral("size-refused");
        size = header.size;
    } else {
        const LoadPicture::Picture picture = LoadPicture::decode(path);
        result = picture.ok() ? QStringLiteral("shown") : QStringLiteral("refused");
        size = picture.image.size();
    }
    std::printf("result=%s\nwidth=%d\nheight=%d\nms=%lld\npeak_kb=%ld\n", qPrintable(result),
                size.width(), size.height(), timer.elapsed(), peakKilobytes());
    return 0;
}

// Version n of the saved file: every pixel says n, so a torn file shows.
QImage bmpVersion(int n)
{
    QImage image(1600, 1200, QImage::Format_RGB32);
    image.fill(qRgb(n % 251, (n * 7) % 253, 128));
    return image;
}

int saveLoop(const QString &path)
{
    for (int n = 0;; ++n) {
        QString error;
        if (!SavePicture::writeBmp(bmpVersion(n), path, &error)) {
            std::printf("failed=%s\n", qPrintable(error));
            return 1;
        }
        std::printf("saved %d\n", n);
        std::fflush(stdout);
    }
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 3 && args[1] == QLatin1String("load"))
        return load(args[2], true);
    if (args.size() == 3 && args[1] == QLatin1String("decode"))
        return load(args[2], false);
    if (args.size() == 3 && args[1] == QLatin1String("save-loop"))
        return saveLoop(args[2]);
    std::fprintf(stderr, "usage: see the top of hardening_probe.cpp\n");
    return 2;
}
