#include "FitsImage.h"

#include "Cfitsio.h"
#include "FitsTiles.h"
#include "PhotoLevels.h"

#include <QCoreApplication>
#include <QFile>

#include <algorithm>
#include <cmath>
#include <limits>
#include <new>
#include <vector>

namespace {

using PhotoLevels::Levels;
using PhotoLevels::Plane;

// One open file; closed on every way out.
class FitsFile
{
public:
    FitsFile(const Cfitsio &library, const QString &path) : fits(library)
    {
        // The disk-file opener: no extended file name syntax, so any name is just a name.
        fits.openDiskFile(&m_file, QFile::encodeName(path).constData(), READONLY, &status);
    }
    ~FitsFile()
    {
        int ignored = 0;
        if (m_file)
            fits.closeFile(m_file, &ignored);
        fits.clearMessages();
    }
    FitsFile(const FitsFile &) = delete;
    FitsFile &operator=(const FitsFile &) = delete;

    fitsfile *get() const { return m_file; }
    QString statusText() const { return fits.statusText(status); }
    const Cfitsio &fits;
    int status = 0;

private:
    fitsfile *m_file = nullptr;
};

struct ImageHdu
{
    int width = 0;
    int height = 0;
    int planes = 1; // 3: red, green, blue
    int naxis = 0;
    int bitpix = 0;
    int equivType = 0; // the type the scaled values fit (BZERO 32768 on 16 bits: USHORT_IMG)
};

// Moves to the first HDU with image data.
bool findImage(FitsFile &file, ImageHdu *hdu, QString *reason)
{
    for (int number = 1;; ++number) {
        int type = 0;
        if (file.fits.moveToHdu(file.get(), number, &type, &file.status)) {
            *reason = file.status == END_OF_FILE || file.status == BAD_HDU_NUM
                          ? QCoreApplication::translate("FitsImage", "画像のデータがありません")
                          : file.statusText();
            return false;
        }
        if (type != IMAGE_HDU)
            continue;
        int naxis = 0;
        file.fits.imageDimensions(file.get(), &naxis, &file.status);
        if (file.status || naxis < 2)
            continue;
        std::vector<LONGLONG> axes(naxis, 0);
        file.fits.imageSize(file.get(), naxis, axes.data(), &file.status);
        file.fits.imageType(file.get(), &hdu->bitpix, &file.status);
        file.fits.imageEquivalentType(file.get(), &hdu->equivType, &file.status);
        if (file.status) {
            *reason = file.statusText();
            return false;
        }
        if (std::any_of(axes.begin(), axes.end(), [](LONGLONG n) { return n <= 0; }))
            continue;
        if (axes[0] > std::numeric_limits<int>::max() ||
            axes[1] > std::numeric_limits<int>::max()) {
            *reason = QCoreApplication::translate("FitsImage", "画像が大きすぎます");
            return false;
        }
        hdu->width = int(axes[0]);
        hdu->height = int(axes[1]);
        hdu->planes = naxis >= 3 && axes[2] == 3 ? 3 : 1;
        hdu->naxis = naxis;
        return true;
    }
}

QString stringKey(FitsFile &file, const char *name)
{
    char value[FLEN_VALUE] = {};
    int status = 0;
    if (file.fits.readKey(file.get(), TSTRING, name, value, nullptr, &status))
        return QString();
    return QString::fromLatin1(value).trimmed().toUpper();
}

double numberKey(FitsFile &file, const char *name, double fallback)
{
    double value = fallback;
    int status = 0;
    if (file.fits.readKey(file.get(), TDOUBLE, name, &value, nullptr, &status) ||
        !std::isfinite(value))
        return fallback;
    return value;
}

// Only the parity of a mosaic's offset matters.
int parityKey(FitsFile &file, const char *name)
{
    return std::fmod(std::abs(numberKey(file, name, 0.0)), 2.0) >= 1.0 ? 1 : 0;
}

std::vector<LONGLONG> firstPixel(const ImageHdu &hdu, int row, int plane)
{
    std::vector<LONGLONG> first(hdu.naxis, 1);
    first[1] = row + 1;
    if (hdu.naxis >= 3)
        first[2] = plane + 1;
    return first;
}

// 8- and 16-bit integers, scaled by cfitsio to their equivalent type: the values are the levels
// (signed ones moved up by half the range), read straight into place.
bool readIntegerLevels(FitsFile &file, const ImageHdu &hdu, Levels *levels)
{
    const LONGLONG count = LONGLONG(hdu.width) * hdu.height;
    const bool isSigned = hdu.equivType == SHORT_IMG || hdu.equivType == SBYTE_IMG;
    const bool isByte = hdu.equivType == BYTE_IMG || hdu.equivType == SBYTE_IMG;
    levels->noneHi = isByte ? 255 : 65535;
    for (int p = 0; p < hdu.planes; ++p) {
        quint16 *plane = levels->planes[p].data();
        std::vector<LONGLONG> first = firstPixel(hdu, 0, p);
        int anyNull = 0;
        file.fits.readPixels(file.get(), isSigned ? TSHORT : TUSHORT, first.data(), count, nullptr,
                             plane, &anyNull, &file.status);
        if (file.status)
            return false;
        if (isSigned) {
            const quint16 offset = isByte ? 128 : 32768;
            for (LONGLONG i = 0; i < count; ++i)
                plane[i] = quint16(plane[i] + offset);
        }
    }
    return true;
}

// Other types (32 and 64-bit integers, floating point, scaled values) through doubles, a band of
// rows at a time: the values onto levels 1..65535 over their range.
bool readWideLevels(FitsFile &file, const ImageHdu &hdu, PhotoOptions::Stretch stretch,
                    Levels *levels)
{
    double lo = 0.0, hi = 1.0; // floating point data: 0 to 1
    if (hdu.bitpix > 0) {
        const double rawHi = std::ldexp(1.0, hdu.bitpix - 1);
        const double zero = numberKey(file, "BZERO", 0.0);
        const double scale = numberKey(file, "BSCALE", 1.0);
        const double a = zero - scale * rawHi;
        const double b = zero + scale * (rawHi - 1.0);
        lo = std::min(a, b), hi = std::max(a, b);
    }
    return PhotoLevels::fromValues(
        levels, stretch, lo, hi, [&](int plane, qsizetype first, qsizetype count, double *values) {
            std::vector<LONGLONG> at = firstPixel(hdu, int(first / hdu.width), plane);
            int anyNull = 0;
            return file.fits.readPixels(file.get(), TDOUBLE, at.data(), count, nullptr, values,
                                        &anyNull, &file.status) == 0;
        });
}

// ---------------------------------------------------------------------------------------------
// Colour-filter mosaics: the colour of each pixel by the parity of its position, the two colours
// it lacks as the mean of its neighbours of that colour (bilinear), edges mirrored.

int bayerColour(QChar c)
{
    return c == u'R' ? 0 : c == u'G' ? 1 : c == u'B' ? 2 : -1;
}

// The colour at each of the four parities (x & 1) | ((y & 1) << 1); false for an unknown pattern.
bool bayerLayout(const QString &pattern, int xOffset, int yOffset, int colours[4])
{
    static const char *const known[] = {"RGGB", "BGGR", "GRBG", "GBRG"};
    if (std::none_of(std::begin(known), std::end(known),
                     [&](const char *k) { return pattern == QLatin1String(k); }))
        return false;
    for (int py = 0; py < 2; ++py)
        for (int px = 0; px < 2; ++px)
            colours[px | (py << 1)] =
                bayerColour(pattern.at((((py + yOffset) & 1) << 1) | ((px + xOffset) & 1)));
    return true;
}

void demosaic(Levels *levels, const int colours[4])
{
    const int w = levels->width, h = levels->height;
    const qsizetype count = qsizetype(w) * h;
    const Plane mosaicPlane = std::move(levels->planes[0]);
    const quint16 *mosaic = mosaicPlane.data();
    levels->planes.clear();
    for (int c = 0; c < 3; ++c)
        levels->planes.emplace_back(count);
    // For each parity and colour, the neighbours (dx, dy) that carry that colour.
    struct Offsets
    {
        int count = 0;
        int dx[4], dy[4];
    } around[4][3];
    for (int parity = 0; parity < 4; ++parity)
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx) {
                if (dx == 0 && dy == 0)
                    continue;
                const int c =
                    colours[((parity & 1) ^ (dx & 1)) | ((((parity >> 1) ^ dy) & 1) << 1)];
                Offsets &o = around[parity][c];
                if (o.count < 4 && c != colours[parity]) {
                    o.dx[o.count] = dx;
                    o.dy[o.count] = dy;
                    ++o.count;
                }
            }
    auto mirror = [](int v, int n) { return v < 0 ? 1 : v >= n ? n - 2 : v; };
    for (int y = 0; y < h; ++y) {
        const quint16 *rows[3] = {mosaic + qsizetype(mirror(y - 1, h)) * w,
                                  mosaic + qsizetype(y) * w,
                                  mosaic + qsizetype(mirror(y + 1, h)) * w};
        for (int x = 0; x < w; ++x) {
            const int parity = (x & 1) | ((y & 1) << 1);
            const qsizetype at = qsizetype(y) * w + x;
            for (int c = 0; c < 3; ++c) {
                if (c == colours[parity]) {
                    levels->planes[c][at] = rows[1][x];
                    continue;
                }
                const Offsets &o = around[parity][c];
                quint32 sum = 0;
                for (int k = 0; k < o.count; ++k)
                    sum += rows[o.dy[k] + 1][mirror(x + o.dx[k], w)];
                levels->planes[c][at] = quint16(o.count ? (sum + o.count / 2) / o.count : 0);
            }
        }
    }
}
// ---------------------------------------------------------------------------------------------

QImage readImage(FitsFile &file, const ImageHdu &hdu, PhotoOptions::Stretch stretch,
                 QString *reason)
{
    Levels levels(hdu.width, hdu.height, hdu.planes);
    const bool integer = hdu.equivType == BYTE_IMG || hdu.equivType == SBYTE_IMG ||
                         hdu.equivType == SHORT_IMG || hdu.equivType == USHORT_IMG;
    if (!(integer ? readIntegerLevels(file, hdu, &levels)
                  : readWideLevels(file, hdu, stretch, &levels))) {
        *reason = file.statusText();
        return QImage();
    }
    int colours[4];
    if (hdu.planes == 1 && hdu.width >= 2 && hdu.height >= 2 &&
        bayerLayout(stringKey(file, "BAYERPAT"), parityKey(file, "XBAYROFF"),
                    parityKey(file, "YBAYROFF"), colours))
        demosaic(&levels, colours);
    const bool bottomUp = stringKey(file, "ROWORDER") != QLatin1String("TOP-DOWN");
    QImage image = PhotoLevels::render(levels, stretch, bottomUp);
    if (image.isNull())
        *reason = QCoreApplication::translate("FitsImage", "画像を作るメモリがありません");
    return image;
}

} // namespace

namespace FitsImage {

bool readSize(const QString &path, QSize *size, QString *reason)
{
    const Cfitsio *fits = Cfitsio::load(reason);
    if (!fits)
        return false;
    FitsFile file(*fits, path);
    if (file.status) {
        *reason = file.statusText();
        return false;
    }
    ImageHdu hdu;
    if (!findImage(file, &hdu, reason))
        return false;
    *size = QSize(hdu.width, hdu.height);
    return true;
}

QImage read(const QString &path, PhotoOptions::Stretch stretch, qint64 maxPixels, QString *reason)
{
    const Cfitsio *fits = Cfitsio::load(reason);
    if (!fits)
        return QImage();
    FitsFile file(*fits, path);
    if (file.status) {
        *reason = file.statusText();
        return QImage();
    }
    ImageHdu hdu;
    if (!findImage(file, &hdu, reason))
        return QImage();
    if (qint64(hdu.width) * hdu.height > maxPixels) {
        *reason = QCoreApplication::translate("FitsImage", "%1x%2 の画像は大きすぎて読み込めません")
                      .arg(hdu.width)
                      .arg(hdu.height);
        return QImage();
    }
    if (!FitsTiles::safeToDecompress(*fits, file.get(), reason))
        return QImage();
    try {
        return readImage(file, hdu, stretch, reason);
    } catch (const std::bad_alloc &) {
        *reason = QCoreApplication::translate("FitsImage", "画像を読み込むメモリがありません");
        return QImage();
    }
}

} // namespace FitsImage
