// Writes a synthetic astronomical photo (a star field around a glowing nebula) for the sample
// run and the benchmark: make-sample-photo OUTPUT [WIDTH HEIGHT [rgb32]]. The format follows the
// name; .fits is 16-bit unsigned mono data as a camera gives it (linear, a sky level, noise).
// With rgb32, .fits and .xisf hold the same data as a stacked colour master: 32-bit floating
// point RGB planes in 0..1, the XISF compressed with zstd, byte-shuffled.
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QRadialGradient>
#include <QRandomGenerator>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

#include <fitsio.h>

#include "support/XisfWriter.h"

namespace {

// A FITS file of planes (1, or 3 as a cube) of the image's size, rows top first.
bool writeFitsData(const QString &path, QSize size, int planes, int imageType, int dataType,
                   void *data)
{
    QFile::remove(path);
    fitsfile *f = nullptr;
    int status = 0;
    long axes[3] = {size.width(), size.height(), planes};
    long first[3] = {1, 1, 1};
    char order[] = "TOP-DOWN";
    fits_create_diskfile(&f, QFile::encodeName(path).constData(), &status);
    fits_create_img(f, imageType, planes > 1 ? 3 : 2, axes, &status);
    fits_update_key(f, TSTRING, "ROWORDER", order, nullptr, &status);
    fits_write_pix(f, dataType, first, LONGLONG(size.width()) * size.height() * planes, data,
                   &status);
    int closing = 0;
    fits_close_file(f, &closing);
    return status == 0 && closing == 0;
}

// Linear floating point RGB planes from the drawing, with a sky level and noise, top row first.
std::vector<double> colourPlanes(const QImage &image)
{
    const size_t count = size_t(image.width()) * size_t(image.height());
    std::vector<double> planes(count * 3);
    QRandomGenerator noise(7);
    for (int y = 0; y < image.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const int channel[3] = {qRed(line[x]), qGreen(line[x]), qBlue(line[x])};
            for (int c = 0; c < 3; ++c) {
                const double signal = 0.02 + std::pow(channel[c] / 255.0, 2.2) * 0.6;
                planes[c * count + size_t(y) * image.width() + x] =
                    std::clamp(signal + (noise.generateDouble() - 0.5) * 0.004, 0.0, 1.0);
            }
        }
    }
    return planes;
}

bool writeColour(const QImage &image, const QString &path)
{
    std::vector<double> planes = colourPlanes(image);
    if (path.endsWith(QLatin1String(".xisf"), Qt::CaseInsensitive)) {
        XisfWriter::Image xisf(image.width(), image.height(), 3, "Float32", "zstd", true);
        xisf.values = std::move(planes);
        return XisfWriter::write(path, xisf);
    }
    return writeFitsData(path, image.size(), 3, FLOAT_IMG, TDOUBLE, planes.data());
}

bool writeFits(const QImage &image, const QString &path)
{
    std::vector<quint16> data(size_t(image.width()) * size_t(image.height()));
    QRandomGenerator noise(7);
    for (int y = 0; y < image.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            // Shot noise (about the square root of the signal) hides the 8-bit steps of the
            // drawing once the data is stretched.
            const double signal = 900.0 + std::pow(qGray(line[x]) / 255.0, 2.2) * 40000.0;
            const double gauss = std::sqrt(-2.0 * std::log(1.0 - noise.generateDouble())) *
                                 std::cos(6.283185307 * noise.generateDouble());
            data[size_t(y) * image.width() + x] =
                quint16(std::clamp(signal + gauss * std::sqrt(signal), 0.0, 65535.0));
        }
    }
    return writeFitsData(path, image.size(), 1, USHORT_IMG, TUSHORT, data.data());
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    const bool colour = args.size() == 5 && args.at(4) == QLatin1String("rgb32");
    if (args.size() != 2 && args.size() != 4 && !colour) {
        std::fprintf(stderr, "usage: make-sample-photo OUTPUT [WIDTH HEIGHT [rgb32]]\n");
        return 2;
    }
    const int width = args.size() >= 4 ? args.at(2).toInt() : 640;
    const int height = args.size() >= 4 ? args.at(3).toInt() : 480;
    if (width < 1 || height < 1 || width > 20000 || height > 20000) {
        std::fprintf(stderr, "make-sample-photo: bad size\n");
        return 2;
    }
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(QColor(4, 6, 16));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QPointF centre(width * 0.55, height * 0.45);
    QRadialGradient glow(centre, qMin(width, height) * 0.45);
    glow.setColorAt(0.0, QColor(255, 190, 210, 230));
    glow.setColorAt(0.25, QColor(200, 60, 120, 150));
    glow.setColorAt(0.6, QColor(40, 50, 140, 70));
    glow.setColorAt(1.0, QColor(0, 0, 0, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(glow);
    p.drawEllipse(centre, qMin(width, height) * 0.45, qMin(width, height) * 0.3);
    QRandomGenerator rng(42);
    const int stars = width * height / 900;
    for (int i = 0; i < stars; ++i) {
        const QPointF at(rng.bounded(double(width)), rng.bounded(double(height)));
        const double r = 0.4 + std::pow(rng.generateDouble(), 6) * 3.0;
        const int shade = 150 + rng.bounded(106);
        p.setBrush(QColor(shade, shade, qMin(255, shade + 30)));
        p.drawEllipse(at, r, r);
    }
    p.end();
    const bool fits = args.at(1).endsWith(QLatin1String(".fits"), Qt::CaseInsensitive);
    if (colour ? !writeColour(image, args.at(1))
        : fits ? !writeFits(image, args.at(1))
               : !image.save(args.at(1), nullptr, 90)) {
        std::fprintf(stderr, "make-sample-photo: cannot write %s\n", qPrintable(args.at(1)));
        return 1;
    }
    return 0;
}
