#include "SavePicture.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QImageWriter>
#include <QSaveFile>
#include <QtEndian>

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("SavePicture", text);
}

constexpr int kFileHeaderSize = 14;
constexpr int kInfoHeaderSize = 40;
constexpr qint32 kDotsPerMeter = 3780; // 96 dpi

template <typename T> void put(uchar *&p, T value)
{
    qToLittleEndian<T>(value, p);
    p += sizeof(T);
}

bool commit(QSaveFile &file, const QString &path, QString *error)
{
    if (!file.commit()) {
        if (error)
            *error = tr("「%1」に保存できません: %2")
                         .arg(QDir::toNativeSeparators(path), file.errorString());
        return false;
    }
    return true;
}

bool open(QSaveFile &file, const QString &path, QString *error)
{
    if (!file.open(QIODevice::WriteOnly)) {
        if (error)
            *error = tr("「%1」に保存できません: %2")
                         .arg(QDir::toNativeSeparators(path), file.errorString());
        return false;
    }
    return true;
}

} // namespace

namespace SavePicture {

QByteArray bmpBytes(const QImage &source)
{
    const QImage image = source.format() == QImage::Format_RGB32
                             ? source
                             : source.convertToFormat(QImage::Format_RGB32);
    const int w = image.width();
    const int h = image.height();
    const qint64 stride = (qint64(w) * 3 + 3) & ~qint64(3);
    const qint64 imageSize = stride * h;
    const qint64 offset = kFileHeaderSize + kInfoHeaderSize;
    QByteArray bytes(offset + imageSize, '\0');
    uchar *p = reinterpret_cast<uchar *>(bytes.data());
    put<quint8>(p, 'B');
    put<quint8>(p, 'M');
    put<quint32>(p, quint32(offset + imageSize));
    put<quint32>(p, 0);
    put<quint32>(p, quint32(offset));
    put<quint32>(p, kInfoHeaderSize);
    put<qint32>(p, w);
    put<qint32>(p, h);
    put<quint16>(p, 1);  // planes
    put<quint16>(p, 24); // bits per pixel
    put<quint32>(p, 0);  // BI_RGB
    put<quint32>(p, quint32(imageSize));
    put<qint32>(p, kDotsPerMeter);
    put<qint32>(p, kDotsPerMeter);
    put<quint32>(p, 0);
    put<quint32>(p, 0);
    // Rows bottom-up, each pixel blue, green, red, each row padded to four bytes.
    for (int y = 0; y < h; ++y) {
        const auto *src = reinterpret_cast<const QRgb *>(image.constScanLine(h - 1 - y));
        uchar *dst = reinterpret_cast<uchar *>(bytes.data()) + offset + stride * y;
        for (int x = 0; x < w; ++x) {
            const QRgb c = src[x];
            *dst++ = uchar(qBlue(c));
            *dst++ = uchar(qGreen(c));
            *dst++ = uchar(qRed(c));
        }
    }
    return bytes;
}

bool writeBmp(const QImage &image, const QString &path, QString *error)
{
    if (image.isNull()) {
        if (error)
            *error = tr("保存する画像がありません。");
        return false;
    }
    QSaveFile file(path);
    if (!open(file, path, error))
        return false;
    const QByteArray bytes = bmpBytes(image);
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        if (error)
            *error = tr("「%1」に保存できません: %2")
                         .arg(QDir::toNativeSeparators(path), file.errorString());
        return false;
    }
    return commit(file, path, error);
}

bool write(const QImage &image, const QString &path, Format format, int jpegQuality, QString *error)
{
    if (format == Format::Bmp)
        return writeBmp(image, path, error);
    if (image.isNull()) {
        if (error)
            *error = tr("保存する画像がありません。");
        return false;
    }
    QSaveFile file(path);
    if (!open(file, path, error))
        return false;
    QImageWriter writer(&file, format == Format::Png ? "png" : "jpeg");
    if (format == Format::Jpeg)
        writer.setQuality(qBound(0, jpegQuality, 100));
    if (!writer.write(image)) {
        file.cancelWriting();
        if (error)
            *error = tr("「%1」に保存できません: %2")
                         .arg(QDir::toNativeSeparators(path), writer.errorString());
        return false;
    }
    return commit(file, path, error);
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
