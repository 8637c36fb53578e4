#include "LoadPicture.h"

#include "FitsImage.h"
#include "PhotoScale.h"
#include "common/ImageMemory.h"
#include "metafile/MetafilePlayer.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QPainter>
#include <QtEndian>
#include <csetjmp>
#include <cstdio> // jpeglib.h needs FILE
#include <memory>

extern "C" {
#include <jerror.h>
#include <jpeglib.h>
}

namespace {

// The loader's messages, each naming the file.
QString shown(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

QString cannotOpen(const QString &path, const QString &reason)
{
    return QCoreApplication::translate("LoadPicture", "画像ﾌｧｲﾙ「%1」を開けません: %2")
        .arg(shown(path), reason);
}

QString cannotRead(const QString &path, const QString &reason)
{
    return QCoreApplication::translate("LoadPicture", "画像ﾌｧｲﾙ「%1」を読み込めません: %2")
        .arg(shown(path), reason);
}

QString readInPart(const QString &path)
{
    return QCoreApplication::translate("LoadPicture",
                                       "画像ﾌｧｲﾙ「%1」は壊れているため、一部しか読めませんでした。")
        .arg(shown(path));
}

// Qt's image readers report a damaged file in English through the message log. While a photo is
// read, their messages are counted instead, and the user is told in the program's words.
class ReaderMessages
{
public:
    ReaderMessages()
    {
        s_active = this;
        m_previous = qInstallMessageHandler(take);
    }
    ~ReaderMessages()
    {
        qInstallMessageHandler(m_previous);
        s_active = nullptr;
    }
    ReaderMessages(const ReaderMessages &) = delete;
    ReaderMessages &operator=(const ReaderMessages &) = delete;
    int warnings() const { return m_warnings; }

private:
    static void take(QtMsgType type, const QMessageLogContext &context, const QString &text)
    {
        ReaderMessages *self = s_active;
        if (!self)
            return;
        if (context.category && QByteArrayView(context.category).startsWith("qt.gui.imageio")) {
            if (type != QtDebugMsg && type != QtInfoMsg)
                ++self->m_warnings;
            return;
        }
        if (self->m_previous)
            self->m_previous(type, context, text);
    }

    static inline ReaderMessages *s_active = nullptr; // photos are read on one thread
    QtMessageHandler m_previous = nullptr;
    int m_warnings = 0;
};

QString notAPicture(const QString &path)
{
    return QCoreApplication::translate(
               "LoadPicture",
               "「%1」は読み込める画像ﾌｧｲﾙ（BMP、JPEG、GIF、WMF、EMF、FITS、TIFF、PNG）ではありませ"
               "ん。")
        .arg(shown(path));
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
        *error =
            QCoreApplication::translate("LoadPicture", "画像ﾌｧｲﾙ「%1」は大きすぎて読み込めません。")
                .arg(shown(path));
        return false;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        *error = cannotOpen(path, file.errorString());
        return false;
    }
    const QByteArray data = file.readAll();
    QString reason;
    if (!MetafilePlayer::naturalSize(data, size, &reason)) {
        *error = cannotRead(path, reason);
        return false;
    }
    if (!decode)
        return true;
    *image = MetafilePlayer::render(data, &reason);
    if (image->isNull()) {
        *error = cannotRead(path, reason);
        return false;
    }
    return true;
}
// ---------------------------------------------------------------------------------------------

// ---------------------------------------------------------------------------------------------
// JPEG through libjpeg directly: the header alone for the size, the pixels straight into an
// RGB32 image. The same library and settings as Qt's reader (accurate integer DCT, smooth chroma
// upsampling), so the pixels are the same; the colour spaces other than grey, YCbCr and RGB
// (CMYK, YCCK) are left to Qt's reader.

constexpr int kJpegChunk = 64 * 1024;
constexpr qint64 kMaxDecodedBytes = qint64(256) << 20;   // Qt's allocation limit for a read
constexpr qint64 kMaxPhotoPixels = kMaxDecodedBytes / 4; // FITS, TIFF, PNG: 8192 x 8192

struct JpegSource
{
    jpeg_source_mgr manager;
    QFile *file;
    JOCTET buffer[kJpegChunk];
};

struct JpegError
{
    jpeg_error_mgr manager;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

extern "C" {

static void jpegInitSource(j_decompress_ptr) {}

static boolean jpegFill(j_decompress_ptr info)
{
    auto *source = reinterpret_cast<JpegSource *>(info->src);
    const qint64 n = source->file->read(reinterpret_cast<char *>(source->buffer), kJpegChunk);
    source->manager.next_input_byte = source->buffer;
    if (n <= 0) {
        // A file cut short ends as if its end-of-image marker were there, as in Qt's reader.
        WARNMS(info, JWRN_JPEG_EOF);
        source->buffer[0] = JOCTET(0xFF);
        source->buffer[1] = JOCTET(JPEG_EOI);
        source->manager.bytes_in_buffer = 2;
    } else {
        source->manager.bytes_in_buffer = size_t(n);
    }
    return TRUE;
}

static void jpegSkip(j_decompress_ptr info, long count)
{
    auto *source = reinterpret_cast<JpegSource *>(info->src);
    if (count <= 0)
        return;
    while (count > long(source->manager.bytes_in_buffer)) {
        count -= long(source->manager.bytes_in_buffer);
        jpegFill(info);
    }
    source->manager.next_input_byte += count;
    source->manager.bytes_in_buffer -= size_t(count);
}

static void jpegTermSource(j_decompress_ptr) {}

static void jpegErrorExit(j_common_ptr info)
{
    auto *error = reinterpret_cast<JpegError *>(info->err);
    error->manager.format_message(info, error->message);
    std::longjmp(error->jump, 1);
}

// Warnings (corrupt data, a file cut short) do not stop the reading: they are counted, and the
// picture is told to be damaged in the program's words. Trace messages are dropped.
static void jpegMessage(j_common_ptr info, int level)
{
    if (level < 0)
        ++info->err->num_warnings;
}

} // extern "C"

enum class JpegResult
{
    Done,
    Failed,
    LeftToQt
};

// The smallest of libjpeg's scales N/8 that keeps the picture at least as large as target.
int jpegScale(QSize natural, QSize target)
{
    for (int n = 1; n < 8; ++n) {
        if ((qint64(natural.width()) * n + 7) / 8 >= target.width() &&
            (qint64(natural.height()) * n + 7) / 8 >= target.height())
            return n;
    }
    return 8;
}

// Reads the header (*size is the natural size), and the pixels into *image when image is set,
// already reduced by the DCT scaling when the options shrink the picture. The caller owns nothing
// that a jump out of libjpeg would skip: every resource lives in *info, *source or the image.
JpegResult readJpeg(QFile *file, QSize *size, QImage *image, QString *reason,
                    const PhotoOptions &options, bool *damaged = nullptr)
{
    jpeg_decompress_struct info;
    JpegError error;
    auto source = std::make_unique<JpegSource>();
    source->file = file;
    source->manager.init_source = jpegInitSource;
    source->manager.fill_input_buffer = jpegFill;
    source->manager.skip_input_data = jpegSkip;
    source->manager.resync_to_restart = jpeg_resync_to_restart;
    source->manager.term_source = jpegTermSource;
    source->manager.bytes_in_buffer = 0;
    source->manager.next_input_byte = nullptr;
    info.err = jpeg_std_error(&error.manager);
    error.manager.error_exit = jpegErrorExit;
    error.manager.emit_message = jpegMessage;
    error.message[0] = '\0';
    jpeg_create_decompress(&info);
    info.src = &source->manager;
    if (setjmp(error.jump)) {
        jpeg_destroy_decompress(&info);
        *reason = QString::fromLocal8Bit(error.message);
        return JpegResult::Failed;
    }
    jpeg_read_header(&info, TRUE);
    *size = QSize(int(info.image_width), int(info.image_height));
    if (image) {
        info.scale_num = unsigned(jpegScale(*size, options.fittedSize(*size)));
        info.scale_denom = 8;
    }
    jpeg_calc_output_dimensions(&info);
    const bool ownColours = info.jpeg_color_space == JCS_GRAYSCALE ||
                            info.jpeg_color_space == JCS_YCbCr || info.jpeg_color_space == JCS_RGB;
    if (!image || !ownColours ||
        qint64(info.output_width) * info.output_height * 4 > kMaxDecodedBytes) {
        jpeg_destroy_decompress(&info);
        return image ? JpegResult::LeftToQt : JpegResult::Done;
    }
    // Blue, green, red and 0xFF in memory: the 0xffRRGGBB words of an RGB32 image.
    info.out_color_space = Q_BYTE_ORDER == Q_LITTLE_ENDIAN ? JCS_EXT_BGRX : JCS_EXT_XRGB;
    const QImage pixels = ImageMemory::allocate(int(info.output_width), int(info.output_height),
                                                QImage::Format_RGB32);
    if (pixels.isNull()) {
        jpeg_destroy_decompress(&info);
        return JpegResult::LeftToQt;
    }
    // Set again now that the image exists: nothing made after this point needs destroying, and
    // the image is not changed after it, so it is intact after a jump and freed on return.
    if (setjmp(error.jump)) {
        jpeg_destroy_decompress(&info);
        *reason = QString::fromLocal8Bit(error.message);
        return JpegResult::Failed;
    }
    jpeg_start_decompress(&info);
    uchar *const bits = const_cast<uchar *>(pixels.constBits()); // the only owner: no copy
    const qsizetype bytesPerLine = pixels.bytesPerLine();
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = bits + bytesPerLine * qsizetype(info.output_scanline);
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    if (damaged)
        *damaged = error.manager.num_warnings > 0;
    jpeg_destroy_decompress(&info);
    *image = pixels;
    return JpegResult::Done;
}

JpegResult readJpeg(const QString &path, QSize *size, QImage *image, QString *error,
                    const PhotoOptions &options = PhotoOptions(), bool *damaged = nullptr)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) {
        *error = cannotOpen(path, file.errorString());
        return JpegResult::Failed;
    }
    QString reason;
    const JpegResult result = readJpeg(&file, size, image, &reason, options, damaged);
    if (result == JpegResult::Failed)
        *error = cannotRead(path, reason);
    return result;
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

// True when an uncompressed BMP's pixel rows run past the end of the file: Qt's reader then
// gives the rows that are there and leaves the rest black, without a word.
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

// A GIF's natural size is its logical screen, from bytes 6 to 9; frames are drawn inside it.
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

bool readHead(const QString &path, QByteArray *head, QString *error)
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
    *head = file.read(kHeadBytes);
    return true;
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
        readJpeg(path, &header.size, nullptr, &header.error);
        break;
    case Format::Gif:
        if (gifScreenSize(head, &header.size))
            break;
        [[fallthrough]];
    case Format::Tiff: {
        QImageReader reader(path, qtFormat(header.format));
        header.size = reader.size();
        if (!header.size.isValid() || header.size.isEmpty())
            header.error = cannotRead(path, reader.errorString());
        break;
    }
    case Format::Wmf:
    case Format::Emf:
        readMetafile(path, header.format, false, &header.size, nullptr, &header.error);
        break;
    case Format::Png:
        if (!pngSize(head, &header.size))
            header.error = cannotRead(
                path, QCoreApplication::translate("LoadPicture", "PNG の見出しが壊れています"));
        break;
    case Format::Fits: {
        QString reason;
        if (!FitsImage::readSize(path, &header.size, &reason))
            header.error = cannotRead(path, reason);
        break;
    }
    }
    return header;
}

QSize decodedSize(const Header &header, const PhotoOptions &options)
{
    if (isMetafile(header.format) && (header.size.width() > MetafilePlayer::MaxWidth ||
                                      header.size.height() > MetafilePlayer::MaxHeight))
        return header.size;
    return options.fittedSize(header.size);
}

Picture decode(const QString &path, const PhotoOptions &options)
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
    const auto unreadable = [&](const QString &reason) {
        picture.error = cannotRead(path, reason);
        return picture;
    };
    QImage image;
    QSize natural; // the size the options' box is judged by
    bool decoded = false;
    if (isMetafile(format)) {
        if (!readMetafile(path, format, true, &natural, &image, &picture.error))
            return picture;
        decoded = true;
    } else if (format == Format::Jpeg) {
        bool damaged = false;
        const JpegResult result =
            readJpeg(path, &natural, &image, &picture.error, options, &damaged);
        if (result == JpegResult::Failed)
            return picture;
        decoded = result == JpegResult::Done;
        if (damaged)
            picture.notice = readInPart(path);
    } else if (format == Format::Fits) {
        QString reason;
        image = FitsImage::read(path, options.stretch, kMaxPhotoPixels, &reason);
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
            if (qint64(screen.width()) * screen.height() * 4 > kMaxDecodedBytes)
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
