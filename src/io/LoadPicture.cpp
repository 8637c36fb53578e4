#include "LoadPicture.h"

#include "metafile/MetafilePlayer.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QtEndian>

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("LoadPicture", text);
}

QString shown(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

constexpr int kHeadBytes = 64;

// ---------------------------------------------------------------------------------------------
// Metafiles (WMF, EMF): the single call site of the metafile player. Gives the natural pixel
// size, and the pixels as well when decode is set.
bool readMetafile(const QString &path, LoadPicture::Format format, bool decode, QSize *size,
                  QImage *image, QString *error)
{
    Q_UNUSED(format);
    QFile file(path);
    if (file.size() > MetafilePlayer::MaxFileBytes) {
        *error = tr("画像ﾌｧｲﾙ「%1」は大きすぎて読み込めません。").arg(shown(path));
        return false;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        *error = tr("画像ﾌｧｲﾙ「%1」を開けません: %2").arg(shown(path), file.errorString());
        return false;
    }
    const QByteArray data = file.readAll();
    QString reason;
    if (!MetafilePlayer::naturalSize(data, size, &reason)) {
        *error = tr("画像ﾌｧｲﾙ「%1」を読み込めません: %2").arg(shown(path), reason);
        return false;
    }
    if (!decode)
        return true;
    *image = MetafilePlayer::render(data, &reason);
    if (image->isNull()) {
        *error = tr("画像ﾌｧｲﾙ「%1」を読み込めません: %2").arg(shown(path), reason);
        return false;
    }
    return true;
}
// ---------------------------------------------------------------------------------------------

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

const char *qtFormat(LoadPicture::Format format)
{
    switch (format) {
    case LoadPicture::Format::Bmp:
        return "bmp";
    case LoadPicture::Format::Jpeg:
        return "jpeg";
    case LoadPicture::Format::Gif:
        return "gif";
    default:
        return nullptr;
    }
}

bool readHead(const QString &path, QByteArray *head, QString *error)
{
    const QFileInfo info(path);
    if (!info.exists()) {
        *error = tr("画像ﾌｧｲﾙ「%1」が見つかりません。").arg(shown(path));
        return false;
    }
    if (!info.isFile()) {
        *error = tr("「%1」はﾌｧｲﾙではありません。").arg(shown(path));
        return false;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = tr("画像ﾌｧｲﾙ「%1」を開けません: %2").arg(shown(path), file.errorString());
        return false;
    }
    *head = file.read(kHeadBytes);
    return true;
}

QString notAPicture(const QString &path)
{
    return tr("「%1」は読み込める画像ﾌｧｲﾙ（BMP、JPEG、GIF、WMF、EMF）ではありません。")
        .arg(shown(path));
}

bool isMetafile(LoadPicture::Format format)
{
    return format == LoadPicture::Format::Wmf || format == LoadPicture::Format::Emf;
}

} // namespace

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
    if (n >= 4 && qFromLittleEndian<quint32>(p) == 0x9AC6CDD7u) // placeable metafile key
        return Format::Wmf;
    if (n >= 6) {
        const quint16 type = qFromLittleEndian<quint16>(p);
        const quint16 headerWords = qFromLittleEndian<quint16>(p + 2);
        const quint16 version = qFromLittleEndian<quint16>(p + 4);
        if ((type == 1 || type == 2) && headerWords == 9 &&
            (version == 0x0100 || version == 0x0300))
            return Format::Wmf;
    }
    if (n >= 44 && qFromLittleEndian<quint32>(p) == 1 &&
        qFromLittleEndian<quint32>(p + 40) == 0x464D4520u) // EMR_HEADER, " EMF"
        return Format::Emf;
    return Format::Unknown;
}

Header readHeader(const QString &path)
{
    Header header;
    QByteArray head;
    if (!readHead(path, &head, &header.error))
        return header;
    header.format = detectFormat(head);
    switch (header.format) {
    case Format::Unknown:
        header.error = notAPicture(path);
        break;
    case Format::Bmp:
        if (!bmpSize(head, &header.size))
            header.error = notAPicture(path);
        break;
    case Format::Jpeg:
    case Format::Gif: {
        QImageReader reader(path, qtFormat(header.format));
        header.size = reader.size();
        if (!header.size.isValid() || header.size.isEmpty())
            header.error =
                tr("画像ﾌｧｲﾙ「%1」を読み込めません: %2").arg(shown(path), reader.errorString());
        break;
    }
    case Format::Wmf:
    case Format::Emf:
        readMetafile(path, header.format, false, &header.size, nullptr, &header.error);
        break;
    }
    return header;
}

Picture decode(const QString &path)
{
    Picture picture;
    QByteArray head;
    if (!readHead(path, &head, &picture.error))
        return picture;
    const Format format = detectFormat(head);
    if (format == Format::Unknown) {
        picture.error = notAPicture(path);
        return picture;
    }
    if (isMetafile(format)) {
        QSize size;
        readMetafile(path, format, true, &size, &picture.image, &picture.error);
        return picture;
    }
    QImageReader reader(path, qtFormat(format));
    QImage image;
    if (!reader.read(&image) || image.isNull()) {
        picture.error =
            tr("画像ﾌｧｲﾙ「%1」を読み込めません: %2").arg(shown(path), reader.errorString());
        return picture;
    }
    // Transparent GIF pixels keep their alpha so that the background shows through.
    picture.image = image.convertToFormat(
        image.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
    return picture;
}

} // namespace LoadPicture
