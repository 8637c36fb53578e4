#include "PictureHeader.h"

#include "FitsImage.h"
#include "XisfFile.h"
#include "metafile/MetafilePlayer.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QtEndian>

namespace {

constexpr int HeadBytes = 64;

QString shown(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

QString cannotOpen(const QString &path, const QString &reason)
{
    return QCoreApplication::translate("LoadPicture", "画像ﾌｧｲﾙ「%1」を開けません: %2")
        .arg(shown(path), reason);
}

QString notAPicture(const QString &path)
{
    return QCoreApplication::translate(
               "LoadPicture",
               "「%1」は読み込める画像ﾌｧｲﾙ（BMP、JPEG、GIF、WMF、EMF、FITS、TIFF、PNG）ではありませ"
               "ん。")
        .arg(shown(path));
}

// Width and height from a BMP's headers: the 12-byte OS/2 core header holds 16-bit sizes, every
// later one 32-bit sizes (a negative height is a top-down bitmap).
bool bmpSize(const QByteArray &head, QSize *size)
{
    if (head.size() < 26)
        return false;
    const auto *p = reinterpret_cast<const uchar *>(head.constData());
    const quint32 headerSize = qFromLittleEndian<quint32>(p + 14);
    qint64 width, height;
    if (headerSize == 12) {
        width = qFromLittleEndian<quint16>(p + 18);
        height = qFromLittleEndian<quint16>(p + 20);
    } else if (headerSize >= 16 && head.size() >= 26) {
        width = qFromLittleEndian<qint32>(p + 18);
        height = qFromLittleEndian<qint32>(p + 22);
        if (height < 0)
            height = -height;
    } else {
        return false;
    }
    if (width <= 0 || height <= 0 || width > INT_MAX || height > INT_MAX)
        return false;
    *size = QSize(int(width), int(height));
    return true;
}

// A PNG's size from its first chunk, which must be the image header.
bool pngSize(const QByteArray &head, QSize *size)
{
    if (head.size() < 24 || head.mid(12, 4) != "IHDR")
        return false;
    const auto *p = reinterpret_cast<const uchar *>(head.constData());
    const quint32 width = qFromBigEndian<quint32>(p + 16);
    const quint32 height = qFromBigEndian<quint32>(p + 20);
    if (width == 0 || height == 0 || width > INT_MAX || height > INT_MAX)
        return false;
    *size = QSize(int(width), int(height));
    return true;
}

} // namespace

namespace PictureHeader {

QString cannotRead(const QString &path, const QString &reason)
{
    return QCoreApplication::translate("LoadPicture", "画像ﾌｧｲﾙ「%1」を読み込めません: %2")
        .arg(shown(path), reason);
}

bool readHead(const QString &path, QByteArray *head, LoadPicture::Format *format, QString *error)
{
    const QFileInfo info(path);
    if (!info.exists()) {
        *error = QCoreApplication::translate("LoadPicture", "画像ﾌｧｲﾙ「%1」が見つかりません。")
                     .arg(shown(path));
        return false;
    }
    if (!info.isFile()) {
        *error = QCoreApplication::translate("LoadPicture", "「%1」はﾌｧｲﾙではありません。")
                     .arg(shown(path));
        return false;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = cannotOpen(path, file.errorString());
        return false;
    }
    *head = file.read(HeadBytes);
    *format = LoadPicture::detectFormat(*head);
    if (*format == LoadPicture::Format::Unknown) {
        *error = notAPicture(path);
        return false;
    }
    return true;
}

bool gifScreenSize(const QByteArray &head, QSize *size)
{
    if (head.size() < 10)
        return false;
    const auto *p = reinterpret_cast<const uchar *>(head.constData()) + 6;
    const QSize screen(qFromLittleEndian<quint16>(p), qFromLittleEndian<quint16>(p + 2));
    if (screen.isEmpty())
        return false;
    *size = screen;
    return true;
}

bool bmpCutShort(const QByteArray &head, qint64 fileSize)
{
    QSize size;
    if (head.size() < 30 || !bmpSize(head, &size))
        return false;
    const auto *p = reinterpret_cast<const uchar *>(head.constData());
    const quint32 headerSize = qFromLittleEndian<quint32>(p + 14);
    const bool core = headerSize == 12;
    const int bits = qFromLittleEndian<quint16>(p + (core ? 24 : 28));
    const quint32 compression = core ? 0 : qFromLittleEndian<quint32>(p + 30);
    if (compression != 0 && compression != 3) // run-length and embedded formats: not judged
        return false;
    const qint64 stride = (qint64(size.width()) * bits + 31) / 32 * 4;
    return qFromLittleEndian<quint32>(p + 10) + stride * size.height() > fileSize;
}

const char *qtFormat(LoadPicture::Format format)
{
    switch (format) {
    case LoadPicture::Format::Bmp:
        return "bmp";
    case LoadPicture::Format::Jpeg:
        return "jpeg";
    case LoadPicture::Format::Gif:
        return "gif";
    case LoadPicture::Format::Tiff:
        return "tiff";
    case LoadPicture::Format::Png:
        return "png";
    default:
        return nullptr;
    }
}

bool isMetafile(LoadPicture::Format format)
{
    return format == LoadPicture::Format::Wmf || format == LoadPicture::Format::Emf;
}

bool readMetafile(const QString &path, QByteArray *data, QSize *size, QString *error)
{
    QFile file(path);
    if (file.size() > MetafilePlayer::MaxFileBytes) {
        *error =
            QCoreApplication::translate("LoadPicture", "画像ﾌｧｲﾙ「%1」は大きすぎて読み込めません。")
                .arg(shown(path));
        return false;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        *error = cannotOpen(path, file.errorString());
        return false;
    }
    *data = file.readAll();
    QString reason;
    if (!MetafilePlayer::naturalSize(*data, size, &reason)) {
        *error = cannotRead(path, reason);
        return false;
    }
    return true;
}

JpegDecoder::Result readJpeg(const QString &path, QSize *size, QImage *image, QString *error,
                             const PhotoOptions &options, bool *damaged)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) {
        *error = cannotOpen(path, file.errorString());
        return JpegDecoder::Result::Failed;
    }
    QString reason;
    const JpegDecoder::Result result =
        JpegDecoder::read(&file, size, image, &reason, options, damaged);
    if (result == JpegDecoder::Result::Failed)
        *error = cannotRead(path, reason);
    return result;
}

} // namespace PictureHeader

namespace LoadPicture {

Format detectFormat(const QByteArray &head)
{
    const auto *p = reinterpret_cast<const uchar *>(head.constData());
    const qsizetype n = head.size();
    if (n >= 2 && p[0] == 'B' && p[1] == 'M')
        return Format::Bmp;
    if (n >= 3 && p[0] == 0xFF && p[1] == 0xD8 && p[2] == 0xFF)
        return Format::Jpeg;
    if (head.startsWith("GIF87a") || head.startsWith("GIF89a"))
        return Format::Gif;
    switch (MetafilePlayer::kindOf(head)) {
    case MetafilePlayer::Kind::Wmf:
        return Format::Wmf;
    case MetafilePlayer::Kind::Emf:
        return Format::Emf;
    case MetafilePlayer::Kind::None:
        break;
    }
    if (head.startsWith(QByteArrayLiteral("II*\0")) ||
        head.startsWith(QByteArrayLiteral("MM\0*")) ||
        head.startsWith(QByteArrayLiteral("II+\0")) || head.startsWith(QByteArrayLiteral("MM\0+")))
        return Format::Tiff;
    if (head.startsWith("\x89PNG\r\n\x1A\n"))
        return Format::Png;
    if (head.startsWith("SIMPLE  ="))
        return Format::Fits;
    if (head.startsWith("XISF0100"))
        return Format::Xisf;
    return Format::Unknown;
}

Header readHeader(const QString &path)
{
    Header header;
    QByteArray head;
    if (!PictureHeader::readHead(path, &head, &header.format, &header.error))
        return header;
    switch (header.format) {
    case Format::Unknown:
        break;
    case Format::Bmp:
        if (!bmpSize(head, &header.size))
            header.error = notAPicture(path);
        break;
    case Format::Jpeg:
        PictureHeader::readJpeg(path, &header.size, nullptr, &header.error);
        break;
    case Format::Gif:
        if (PictureHeader::gifScreenSize(head, &header.size))
            break;
        [[fallthrough]];
    case Format::Tiff: {
        QImageReader reader(path, PictureHeader::qtFormat(header.format));
        header.size = reader.size();
        if (!header.size.isValid() || header.size.isEmpty())
            header.error = PictureHeader::cannotRead(path, reader.errorString());
        break;
    }
    case Format::Wmf:
    case Format::Emf: {
        QByteArray data;
        PictureHeader::readMetafile(path, &data, &header.size, &header.error);
        break;
    }
    case Format::Png:
        if (!pngSize(head, &header.size))
            header.error = PictureHeader::cannotRead(
                path, QCoreApplication::translate("LoadPicture", "PNG の見出しが壊れています"));
        break;
    case Format::Fits: {
        QString reason;
        if (!FitsImage::readSize(path, &header.size, &reason))
            header.error = PictureHeader::cannotRead(path, reason);
        break;
    }
    case Format::Xisf: {
        QString reason;
        if (!XisfFile::readSize(path, &header.size, &reason))
            header.error = PictureHeader::cannotRead(path, reason);
        break;
    }
    }
    return header;
}

} // namespace LoadPicture
