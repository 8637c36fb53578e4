#include "LoadPicture.h"

#include "FitsImage.h"
#include "PhotoScale.h"
#include "XisfFile.h"
#include "metafile/MetafilePlayer.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QPainter>
#include <mutex>

namespace {

constexpr qint64 kMaxPhotoPixels =
    JpegDecoder::MaxDecodedBytes / 4; // FITS, XISF, TIFF, PNG: 8192 x 8192

QString readInPart(const QString &path)
{
    return QCoreApplication::translate("LoadPicture",
                                       "画像ﾌｧｲﾙ「%1」は壊れているため、一部しか読めませんでした。")
        .arg(QDir::toNativeSeparators(path));
}

// Qt's image readers report a damaged file in English through the message log. While a photo is
// read, the reading thread's messages from them are counted instead, and the user is told in the
// program's words. The handler is installed while any thread reads a photo and passes every other
// message to the handler it replaced, which is back in place when the last reading ends.
class ReaderMessages
{
public:
    ReaderMessages()
    {
        t_active = this;
        const std::lock_guard lock(s_mutex);
        if (s_readers++ == 0)
            s_previous = qInstallMessageHandler(take);
    }
    ~ReaderMessages()
    {
        {
            const std::lock_guard lock(s_mutex);
            if (--s_readers == 0)
                qInstallMessageHandler(s_previous);
        }
        t_active = nullptr;
    }
    ReaderMessages(const ReaderMessages &) = delete;
    ReaderMessages &operator=(const ReaderMessages &) = delete;
    int warnings() const { return m_warnings; }

private:
    static void take(QtMsgType type, const QMessageLogContext &context, const QString &text)
    {
        ReaderMessages *self = t_active;
        if (self && context.category &&
            QByteArrayView(context.category).startsWith("qt.gui.imageio")) {
            if (type != QtDebugMsg && type != QtInfoMsg)
                ++self->m_warnings;
            return;
        }
        QtMessageHandler previous = nullptr;
        {
            const std::lock_guard lock(s_mutex);
            previous = s_previous;
        }
        if (previous)
            previous(type, context, text);
    }

    static inline thread_local ReaderMessages *t_active = nullptr;
    static inline std::mutex s_mutex;
    static inline int s_readers = 0;
    static inline QtMessageHandler s_previous = nullptr;
    int m_warnings = 0;
};

// 16 bits per channel to 8 by rounding (v / 257 to the nearest whole number), so that full
// white stays 255 and no level is pulled down; other formats are returned as they are.
QImage roundedTo8Bits(const QImage &image)
{
    const auto round8 = [](quint16 v) { return uchar((quint32(v) + 128) / 257); };
    const QImage::Format format = image.format();
    if (format == QImage::Format_Grayscale16) {
        QImage out(image.size(), QImage::Format_Grayscale8);
        for (int y = 0; !out.isNull() && y < image.height(); ++y) {
            const auto *in = reinterpret_cast<const quint16 *>(image.constScanLine(y));
            uchar *o = out.scanLine(y);
            for (int x = 0; x < image.width(); ++x)
                o[x] = round8(in[x]);
        }
        return out;
    }
    if (format != QImage::Format_RGBX64 && format != QImage::Format_RGBA64 &&
        format != QImage::Format_RGBA64_Premultiplied)
        return image;
    // Premultiplied stays premultiplied; straight alpha is premultiplied after the rounding.
    QImage out(image.size(), format == QImage::Format_RGBX64 ? QImage::Format_RGB32
                             : format == QImage::Format_RGBA64
                                 ? QImage::Format_ARGB32
                                 : QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; !out.isNull() && y < image.height(); ++y) {
        const auto *in = reinterpret_cast<const QRgba64 *>(image.constScanLine(y));
        auto *o = reinterpret_cast<QRgb *>(out.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            o[x] = qRgba(round8(in[x].red()), round8(in[x].green()), round8(in[x].blue()),
                         format == QImage::Format_RGBX64 ? 255 : round8(in[x].alpha()));
    }
    return out;
}

} // namespace

namespace LoadPicture {

QSize decodedSize(const Header &header, const PhotoOptions &options)
{
    if (PictureHeader::isMetafile(header.format) &&
        (header.size.width() > MetafilePlayer::MaxWidth ||
         header.size.height() > MetafilePlayer::MaxHeight))
        return header.size;
    return options.fittedSize(header.size);
}

Picture decode(const QString &path, const PhotoOptions &options)
{
    using namespace PictureHeader;
    Picture picture;
    QByteArray head;
    Format format = Format::Unknown;
    if (!readHead(path, &head, &format, &picture.error))
        return picture;
    const auto unreadable = [&](const QString &reason) {
        picture.error = cannotRead(path, reason);
        return picture;
    };
    QImage image;
    QSize natural; // the size the options' box is judged by
    bool decoded = false;
    if (isMetafile(format)) {
        QByteArray data;
        if (!readMetafile(path, &data, &natural, &picture.error))
            return picture;
        QString reason;
        image = MetafilePlayer::render(data, &reason);
        if (image.isNull())
            return unreadable(reason);
        decoded = true;
    } else if (format == Format::Jpeg) {
        bool damaged = false;
        const JpegDecoder::Result result =
            readJpeg(path, &natural, &image, &picture.error, options, &damaged);
        if (result == JpegDecoder::Result::Failed)
            return picture;
        decoded = result == JpegDecoder::Result::Done;
        if (damaged)
            picture.notice = readInPart(path);
    } else if (format == Format::Fits || format == Format::Xisf) {
        QString reason;
        image = format == Format::Fits
                    ? FitsImage::read(path, options.stretch, kMaxPhotoPixels, &reason)
                    : XisfFile::read(path, options.stretch, kMaxPhotoPixels, &reason);
        if (image.isNull())
            return unreadable(reason);
        decoded = true;
    }
    if (!decoded) {
        QImageReader reader(path, qtFormat(format));
        if (format == Format::Tiff || format == Format::Png) {
            // Up to 8192 x 8192 at 16 bits per channel with alpha: more than Qt allows by default.
            const QSize size = reader.size();
            if (qint64(size.width()) * size.height() > kMaxPhotoPixels)
                return unreadable(
                    QCoreApplication::translate("LoadPicture", "%1x%2 の画像は大きすぎます")
                        .arg(size.width())
                        .arg(size.height()));
            reader.setAllocationLimit(int(kMaxPhotoPixels * 8 >> 20));
        }
        const ReaderMessages messages;
        if (!reader.read(&image) || image.isNull())
            return unreadable(reader.errorString());
        if (messages.warnings() > 0 ||
            (format == Format::Bmp && bmpCutShort(head, QFileInfo(path).size())))
            picture.notice = readInPart(path);
        // A GIF frame smaller or larger than its screen sits at the screen's top left; the rest
        // of the screen is transparent, so the picture always has the size its header announced.
        QSize screen;
        if (format == Format::Gif && gifScreenSize(head, &screen) && image.size() != screen) {
            if (qint64(screen.width()) * screen.height() * 4 > JpegDecoder::MaxDecodedBytes)
                return unreadable(
                    QCoreApplication::translate("LoadPicture", "画面が %1x%2 と大きすぎます")
                        .arg(screen.width())
                        .arg(screen.height()));
            QImage onScreen(screen, QImage::Format_ARGB32_Premultiplied);
            onScreen.fill(Qt::transparent);
            QPainter painter(&onScreen);
            painter.drawImage(0, 0, image);
            painter.end();
            image = onScreen;
        }
        image = roundedTo8Bits(image);
    }
    if (natural.isEmpty())
        natural = image.size();
    const QSize target = options.fittedSize(natural);
    if (image.size() != target) {
        image = PhotoScale::shrink(image, target);
        if (image.isNull())
            return unreadable(
                QCoreApplication::translate("LoadPicture", "%1x%2 に縮小するメモリがありません")
                    .arg(target.width())
                    .arg(target.height()));
    }
    // Transparent pixels (GIF, PNG, TIFF) keep their alpha so that the background shows through.
    picture.image =
        image.format() == QImage::Format_RGB32 ||
                image.format() == QImage::Format_ARGB32_Premultiplied
            ? image
            : image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied
                                                            : QImage::Format_RGB32);
    return picture;
}

} // namespace LoadPicture
