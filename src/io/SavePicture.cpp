#include "SavePicture.h"

#include "PictureXmp.h"
#include "common/AtomicFile.h"

#include <QBuffer>
#include <QColorSpace>
#include <QCoreApplication>
#include <QDir>
#include <QFileDevice>
#include <QFileInfo>
#include <QImageWriter>
#include <QtEndian>
#include <cerrno>
#include <cstring>
#include <memory>

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#include <immintrin.h>
#endif

#ifdef Q_OS_LINUX
#include <fcntl.h>
#endif

namespace {

QString noPicture()
{
    return QCoreApplication::translate("SavePicture", "保存する画像がありません。");
}

constexpr int kFileHeaderSize = 14;
constexpr int kInfoHeaderSize = 40;
constexpr qint32 kDotsPerMeter = 3780; // 96 dpi
constexpr qint64 kHeaderSize = kFileHeaderSize + kInfoHeaderSize;
constexpr qint64 kWriteBlockBytes = 256 * 1024;

template <typename T> void put(uchar *&p, T value)
{
    qToLittleEndian<T>(value, p);
    p += sizeof(T);
}

QImage rgb32(const QImage &image)
{
    return image.format() == QImage::Format_RGB32 ? image
                                                  : image.convertToFormat(QImage::Format_RGB32);
}

// The sizes of a 24-bit BMP of the image: rows padded to four bytes.
struct BmpShape
{
    explicit BmpShape(const QImage &image)
        : width(image.width()), height(image.height()),
          stride((qint64(image.width()) * 3 + 3) & ~qint64(3)), imageSize(stride * height),
          fileSize(kHeaderSize + imageSize)
    {}
    int width;
    int height;
    qint64 stride;
    qint64 imageSize;
    qint64 fileSize;
};

void putHeader(uchar *p, const BmpShape &shape)
{
    put<quint8>(p, 'B');
    put<quint8>(p, 'M');
    put<quint32>(p, quint32(shape.fileSize));
    put<quint32>(p, 0);
    put<quint32>(p, quint32(kHeaderSize));
    put<quint32>(p, kInfoHeaderSize);
    put<qint32>(p, shape.width);
    put<qint32>(p, shape.height);
    put<quint16>(p, 1);  // planes
    put<quint16>(p, 24); // bits per pixel
    put<quint32>(p, 0);  // BI_RGB
    put<quint32>(p, quint32(shape.imageSize));
    put<qint32>(p, kDotsPerMeter);
    put<qint32>(p, kDotsPerMeter);
    put<quint32>(p, 0);
    put<quint32>(p, 0);
}

// One row of 0xffRRGGBB pixels as blue, green, red bytes. Four pixels make three 32-bit words.
#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#define MORVEL_BMP_SSSE3 1
// Four pixels at a time with one byte shuffle. Each store writes 16 bytes of which 12 count;
// the extra 4 fall on the next pixels, which are written after, so the loop stops while two
// pixels (6 bytes) remain and the plain loop below does the rest.
__attribute__((target("ssse3"))) int putRowSsse3(const QRgb *src, int width, uchar *dst)
{
    const __m128i blueGreenRed =
        _mm_setr_epi8(0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, -1, -1, -1, -1);
    int x = 0;
    for (; x + 6 <= width; x += 4) {
        const __m128i pixels = _mm_loadu_si128(reinterpret_cast<const __m128i *>(src + x));
        _mm_storeu_si128(reinterpret_cast<__m128i *>(dst + 3 * x),
                         _mm_shuffle_epi8(pixels, blueGreenRed));
    }
    return x;
}

bool hasSsse3()
{
    static const bool has = __builtin_cpu_supports("ssse3");
    return has;
}
#endif

void putRow(const QRgb *src, int width, uchar *dst)
{
    int x = 0;
#ifdef MORVEL_BMP_SSSE3
    if (hasSsse3()) {
        x = putRowSsse3(src, width, dst);
        src += x;
        dst += 3 * x;
    }
#endif
    for (; x + 4 <= width; x += 4, src += 4, dst += 12) {
        const quint32 p0 = src[0], p1 = src[1], p2 = src[2], p3 = src[3];
        qToLittleEndian<quint32>((p0 & 0xFFFFFFu) | (p1 << 24), dst);
        qToLittleEndian<quint32>(((p1 >> 8) & 0xFFFFu) | (p2 << 16), dst + 4);
        qToLittleEndian<quint32>(((p2 >> 16) & 0xFFu) | (p3 << 8), dst + 8);
    }
    for (; x < width; ++x, ++src) {
        *dst++ = uchar(qBlue(*src));
        *dst++ = uchar(qGreen(*src));
        *dst++ = uchar(qRed(*src));
    }
}

// Rows first .. first + count - 1 of the file (the file's rows go bottom-up), each padded with
// zeros to the stride.
void putRows(const QImage &image, const BmpShape &shape, int first, int count, uchar *dst)
{
    const qint64 rowBytes = qint64(shape.width) * 3;
    for (int y = first; y < first + count; ++y, dst += shape.stride) {
        putRow(reinterpret_cast<const QRgb *>(image.constScanLine(shape.height - 1 - y)),
               shape.width, dst);
        std::memset(dst + rowBytes, 0, size_t(shape.stride - rowBytes));
    }
}

// Starts writing the bytes just written out to the disk without waiting, so that the sync at the
// commit finds most of the file already there instead of starting it all then.
void startWriteBack(QIODevice &out, qint64 from, qint64 count)
{
#ifdef Q_OS_LINUX
    auto *file = qobject_cast<QFileDevice *>(&out);
    if (file && file->handle() >= 0 && file->flush())
        sync_file_range(file->handle(), from, count, SYNC_FILE_RANGE_WRITE);
#else
    Q_UNUSED(out);
    Q_UNUSED(from);
    Q_UNUSED(count);
#endif
}

// Writes the file whole or not at all; a failure names the file and the reason.
bool writeFile(const QString &path, const AtomicFile::Fill &fill, QString *error)
{
    QString reason;
    if (AtomicFile::write(path, fill, &reason))
        return true;
    if (error)
        *error = QCoreApplication::translate("SavePicture", "「%1」に保存できません: %2")
                     .arg(QDir::toNativeSeparators(path), reason);
    return false;
}

} // namespace

namespace SavePicture {

QByteArray bmpBytes(const QImage &source)
{
    const QImage image = rgb32(source);
    const BmpShape shape(image);
    QByteArray bytes(shape.fileSize, Qt::Uninitialized);
    auto *p = reinterpret_cast<uchar *>(bytes.data());
    putHeader(p, shape);
    putRows(image, shape, 0, shape.height, p + kHeaderSize);
    return bytes;
}

bool writeBmp(const QImage &source, const QString &path, QString *error)
{
    if (source.isNull()) {
        if (error)
            *error = noPicture();
        return false;
    }
    const QImage image = rgb32(source);
    const BmpShape shape(image);
    // The rows go out in blocks through one small buffer that stays in the cache: no copy of
    // the whole picture in memory, and a few large writes rather than one per row.
    const int rowsPerBlock =
        int(qBound(qint64(1), kWriteBlockBytes / shape.stride, qint64(shape.height)));
    std::unique_ptr<uchar[]> buffer(new uchar[size_t(kHeaderSize + shape.stride * rowsPerBlock)]);
    return writeFile(
        path,
        [&](QIODevice &file, QString *) {
            uchar *block = buffer.get();
            putHeader(block, shape);
            qint64 blockBytes = kHeaderSize;
            qint64 written = 0;
            for (int row = 0; row < shape.height; row += rowsPerBlock) {
                const int rows = qMin(rowsPerBlock, shape.height - row);
                putRows(image, shape, row, rows, block + blockBytes);
                blockBytes += shape.stride * rows;
                errno = 0;
                if (file.write(reinterpret_cast<const char *>(buffer.get()), blockBytes) !=
                    blockBytes)
                    return false;
                startWriteBack(file, written, blockBytes);
                written += blockBytes;
                block = buffer.get();
                blockBytes = 0;
            }
            return true;
        },
        error);
}

bool write(const QImage &image, const QString &path, Format format, int jpegQuality, QString *error,
           const PictureXmp *metadata)
{
    if (format == Format::Bmp)
        return writeBmp(image, path, error);
    if (image.isNull()) {
        if (error)
            *error = noPicture();
        return false;
    }
    const auto encode = [&](QIODevice &out, const QImage &picture, QString *reason) {
        QImageWriter writer(&out, format == Format::Png ? "png" : "jpeg");
        if (format == Format::Jpeg)
            writer.setQuality(qBound(0, jpegQuality, 100));
        if (writer.write(picture))
            return true;
        *reason = writer.errorString();
        return false;
    };
    if (!metadata) {
        return writeFile(
            path, [&](QIODevice &file, QString *reason) { return encode(file, image, reason); },
            error);
    }
    // Qt writes the profile (iCCP, APP2) of a picture in sRGB; exiv2 adds the packet in memory,
    // so that the file is still written whole or not at all.
    QImage tagged = image;
    tagged.setColorSpace(QColorSpace::SRgb);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QString reason;
    if (!encode(buffer, tagged, &reason) || !metadata->embed(&bytes, &reason)) {
        if (error)
            *error = QCoreApplication::translate("SavePicture", "「%1」に保存できません: %2")
                         .arg(QDir::toNativeSeparators(path), reason);
        return false;
    }
    return writeFile(
        path, [&](QIODevice &file, QString *) { return file.write(bytes) == bytes.size(); }, error);
}

Format formatForPath(const QString &path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("png"))
        return Format::Png;
    if (suffix == QLatin1String("jpg") || suffix == QLatin1String("jpeg"))
        return Format::Jpeg;
    return Format::Bmp;
}

} // namespace SavePicture
