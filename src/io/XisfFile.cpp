#include "XisfFile.h"

#include "PhotoLevels.h"
#include "common/ImageMemory.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QHash>
#include <QXmlStreamReader>
#include <QtEndian>

#include <lz4.h>
#include <zlib.h>
#include <zstd.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <memory>
#include <new>
#include <optional>

namespace {

constexpr char kSignature[] = "XISF0100";
constexpr int kPreamble = 16;               // signature, header length, reserved
constexpr qint64 kMaxHeaderBytes = 1 << 24; // thumbnails and profiles included

// A property that gives a FITS key: a text (factor 0) or a number times the factor.
struct PropertyKey
{
    const char *id;
    const char *key;
    double factor;
};

const PropertyKey kPropertyKeys[] = {
    {"Observation:Object:Name", "OBJECT", 0},
    {"Observation:Time:Start", "DATE-OBS", 0},
    {"Instrument:ExposureTime", "EXPTIME", 1},
    {"Instrument:Filter:Name", "FILTER", 0},
    {"Instrument:Telescope:Name", "TELESCOP", 0},
    {"Instrument:Telescope:FocalLength", "FOCALLEN", 1000}, // metres
    {"Instrument:Telescope:Aperture", "APTDIA", 1000},
    {"Instrument:Camera:Name", "INSTRUME", 0},
    {"Instrument:Camera:Gain", "GAIN", 1},
    {"Instrument:Camera:XBinning", "XBINNING", 1},
    {"Instrument:Sensor:Temperature", "CCD-TEMP", 1},
    {"Instrument:Sensor:XPixelSize", "XPIXSZ", 1},
    {"Observer:Name", "OBSERVER", 0},
    {"Observation:Location:Latitude", "SITELAT", 1},
    {"Observation:Location:Longitude", "SITELONG", 1},
    {"Observation:Center:RA", "RA", 1},
    {"Observation:Center:Dec", "DEC", 1},
    {"ImageIntegration:NumberOfImages", "STACKCNT", 1},
};

enum class Codec
{
    None,
    Zlib,
    Lz4,
    Zstd
};

struct SubBlock
{
    qint64 compressed = 0;
    qint64 uncompressed = 0;
};

// The first image as the header describes it.
struct Image
{
    XisfFile::Header header;
    QString geometry;
    QString location;
    QString compression;
    QString subblocks;
    QString bounds;
    QString pixelStorage;
    QString byteOrder;
    QHash<QString, QString> properties; // by id: the image's, then the file's
};

// What read() needs of the image, checked.
struct Layout
{
    int planes = 1; // 1 or 3 read, of channels stored
    int sampleSize = 0;
    bool isFloat = false;
    qint64 position = 0;
    qint64 blockSize = 0;
    qint64 dataSize = 0; // width x height x channels x sampleSize
    Codec codec = Codec::None;
    bool shuffled = false;
    QList<SubBlock> subBlocks;
    bool planar = true;
    bool bigEndian = false;
    double lo = 0, hi = 1; // the range of floating point samples
};

QString quoted(QString text)
{
    return QLatin1Char('\'') + text.replace(QLatin1Char('\''), QLatin1String("''")) +
           QLatin1Char('\'');
}

// A start time with its zone as FITS writes DATE-OBS: in UTC, without a zone.
QString fitsDate(const QString &text)
{
    const QDateTime t = QDateTime::fromString(text.trimmed(), Qt::ISODateWithMs);
    if (!t.isValid() || t.timeSpec() == Qt::LocalTime)
        return text;
    const QDateTime utc = t.toUTC();
    return utc.toString(utc.time().msec() ? QStringLiteral("yyyy-MM-ddTHH:mm:ss.zzz")
                                          : QStringLiteral("yyyy-MM-ddTHH:mm:ss"));
}

void readProperty(QXmlStreamReader &xml, QHash<QString, QString> *properties)
{
    const QString id = xml.attributes().value(QLatin1String("id")).toString();
    QString value;
    if (xml.attributes().hasAttribute(QLatin1String("value"))) {
        value = xml.attributes().value(QLatin1String("value")).toString();
        xml.skipCurrentElement();
    } else {
        value = xml.readElementText(QXmlStreamReader::SkipChildElements);
    }
    if (!properties->contains(id))
        properties->insert(id, value);
}

void readImage(QXmlStreamReader &xml, Image *image)
{
    const QXmlStreamAttributes a = xml.attributes();
    const auto text = [&](const char *name) { return a.value(QLatin1String(name)).toString(); };
    const QStringList geometry = text("geometry").split(QLatin1Char(':'));
    XisfFile::Header &h = image->header;
    if (geometry.size() == 3) {
        h.size = QSize(geometry[0].toInt(), geometry[1].toInt());
        h.channels = geometry[2].toInt();
    }
    h.sampleFormat = text("sampleFormat");
    h.colorSpace =
        a.hasAttribute(QLatin1String("colorSpace")) ? text("colorSpace") : QStringLiteral("Gray");
    h.imageType = text("imageType");
    image->geometry = text("geometry");
    image->location = text("location");
    image->compression = text("compression");
    image->subblocks = text("subblocks");
    image->bounds = text("bounds");
    image->pixelStorage = text("pixelStorage");
    image->byteOrder = text("byteOrder");
    if (geometry.size() != 3)
        h.size = QSize(); // refused as a geometry not read

    while (xml.readNextStartElement()) {
        if (xml.name() == QLatin1String("Property")) {
            readProperty(xml, &image->properties);
        } else if (xml.name() == QLatin1String("FITSKeyword")) {
            const QXmlStreamAttributes k = xml.attributes();
            h.cards.append({k.value(QLatin1String("name")).toString().trimmed().toUpper(),
                            k.value(QLatin1String("value")).toUtf8().trimmed()});
            xml.skipCurrentElement();
        } else {
            xml.skipCurrentElement();
        }
    }
}

// The properties and the image's own attributes as the cards the keywords did not give.
void addPropertyCards(Image *image)
{
    XisfFile::Header &h = image->header;
    const auto has = [&](const QString &key) {
        return std::any_of(h.cards.begin(), h.cards.end(),
                           [&](const XisfFile::Card &c) { return c.name == key; });
    };
    QList<XisfFile::Card> added;
    for (const PropertyKey &p : kPropertyKeys) {
        const QString key = QString::fromLatin1(p.key);
        const auto it = image->properties.constFind(QString::fromLatin1(p.id));
        if (it == image->properties.constEnd() || has(key))
            continue;
        if (p.factor == 0) {
            const QString text = key == QLatin1String("DATE-OBS") ? fitsDate(*it) : *it;
            added.append({key, quoted(text.trimmed()).toUtf8()});
            continue;
        }
        bool ok = false;
        const double value = it->trimmed().toDouble(&ok) * p.factor;
        if (ok && std::isfinite(value))
            added.append({key, QByteArray::number(value, 'g', 15)});
    }
    if (!h.imageType.isEmpty() && !has(QStringLiteral("IMAGETYP")) &&
        !has(QStringLiteral("FRAME")) && !has(QStringLiteral("FRAMETYP")))
        added.append({QStringLiteral("IMAGETYP"), quoted(h.imageType).toUtf8()});
    // The image's own size, as a FITS file's header gives it.
    if (!h.size.isEmpty() && !has(QStringLiteral("NAXIS1")) && !has(QStringLiteral("NAXIS2"))) {
        added.append({QStringLiteral("NAXIS1"), QByteArray::number(h.size.width())});
        added.append({QStringLiteral("NAXIS2"), QByteArray::number(h.size.height())});
    }
    h.cards += added;
}

bool damaged(QString *reason, const QString &what)
{
    *reason = QCoreApplication::translate("XisfFile", "XISF のﾌｧｲﾙが壊れています（%1）").arg(what);
    return false;
}

bool notRead(QString *reason, const QString &what)
{
    *reason = QCoreApplication::translate("XisfFile", "この XISF のﾌｧｲﾙは読めません: %1").arg(what);
    return false;
}

bool parseHeader(QFile &file, Image *image, QString *reason)
{
    const QByteArray preamble = file.read(kPreamble);
    if (preamble.size() < kPreamble || !preamble.startsWith(kSignature))
        return damaged(reason, QCoreApplication::translate("XisfFile", "始まりが違います"));
    const quint32 length = qFromLittleEndian<quint32>(preamble.constData() + 8);
    if (length > kMaxHeaderBytes)
        return damaged(reason, QCoreApplication::translate("XisfFile", "ヘッダが大きすぎます"));
    const QByteArray bytes = file.read(length);
    if (bytes.size() < qsizetype(length))
        return damaged(reason,
                       QCoreApplication::translate("XisfFile", "ヘッダが途中で切れています"));

    QXmlStreamReader xml(bytes);
    if (!xml.readNextStartElement() || xml.name() != QLatin1String("xisf"))
        return damaged(reason, xml.hasError() ? xml.errorString()
                                              : QCoreApplication::translate(
                                                    "XisfFile", "XISF の XML ではありません"));
    const QString version = xml.attributes().value(QLatin1String("version")).toString();
    if (version != QLatin1String("1.0"))
        return notRead(reason,
                       QCoreApplication::translate("XisfFile", "版 %1").arg(version.left(40)));
    bool found = false;
    QHash<QString, QString> fileProperties;
    while (xml.readNextStartElement()) {
        if (xml.name() == QLatin1String("Image") && !found) {
            found = true;
            readImage(xml, image);
        } else if (xml.name() == QLatin1String("Property")) {
            readProperty(xml, &fileProperties);
        } else {
            xml.skipCurrentElement();
        }
    }
    if (xml.hasError())
        return damaged(reason, xml.errorString());
    if (!found)
        return notRead(reason, QCoreApplication::translate("XisfFile", "画像がありません"));
    for (auto it = fileProperties.cbegin(); it != fileProperties.cend(); ++it)
        if (!image->properties.contains(it.key()))
            image->properties.insert(it.key(), it.value());
    addPropertyCards(image);
    return true;
}

qint64 number(const QString &text, bool *ok)
{
    const qint64 value = text.toLongLong(ok);
    *ok = *ok && value >= 0;
    return value;
}

// Every check of the header against what is read and the file's size; no data is read.
bool checkLayout(const Image &image, qint64 fileSize, Layout *layout, QString *reason)
{
    const XisfFile::Header &h = image.header;
    if (h.size.isEmpty() || h.channels <= 0)
        return notRead(
            reason,
            QCoreApplication::translate("XisfFile", "画像の形 %1").arg(image.geometry.left(40)));
    if (qint64(h.size.width()) * h.size.height() > qint64(1) << 40)
        return notRead(reason, QCoreApplication::translate("XisfFile", "%1x%2 の画像")
                                   .arg(h.size.width())
                                   .arg(h.size.height()));
    static const struct
    {
        const char *name;
        int size;
        bool isFloat;
    } formats[] = {{"UInt8", 1, false},
                   {"UInt16", 2, false},
                   {"UInt32", 4, false},
                   {"Float32", 4, true},
                   {"Float64", 8, true}};
    for (const auto &f : formats) {
        if (h.sampleFormat == QLatin1String(f.name)) {
            layout->sampleSize = f.size;
            layout->isFloat = f.isFloat;
        }
    }
    if (layout->sampleSize == 0)
        return notRead(
            reason,
            QCoreApplication::translate("XisfFile", "画素の形式 %1").arg(h.sampleFormat.left(40)));
    if (h.colorSpace == QLatin1String("RGB") && h.channels >= 3)
        layout->planes = 3;
    else if (h.colorSpace != QLatin1String("Gray"))
        return notRead(reason, QCoreApplication::translate("XisfFile", "色空間 %1（%2 チャンネル）")
                                   .arg(h.colorSpace.left(40))
                                   .arg(h.channels));
    if (image.pixelStorage.isEmpty() || image.pixelStorage == QLatin1String("Planar"))
        layout->planar = true;
    else if (image.pixelStorage == QLatin1String("Normal"))
        layout->planar = false;
    else
        return notRead(reason, QCoreApplication::translate("XisfFile", "画素の並び %1")
                                   .arg(image.pixelStorage.left(40)));
    layout->bigEndian = image.byteOrder == QLatin1String("big");
    if (!image.byteOrder.isEmpty() && !layout->bigEndian &&
        image.byteOrder != QLatin1String("little"))
        return notRead(
            reason,
            QCoreApplication::translate("XisfFile", "バイト順 %1").arg(image.byteOrder.left(40)));

    // The data's size, kept far from overflowing: at most 2^40 pixels of 2^16 channels of 8 bytes.
    if (h.channels > 1 << 16)
        return notRead(reason,
                       QCoreApplication::translate("XisfFile", "%1 チャンネル").arg(h.channels));
    layout->dataSize = qint64(h.size.width()) * h.size.height() * h.channels * layout->sampleSize;

    const QStringList location = image.location.split(QLatin1Char(':'));
    if (location.value(0) != QLatin1String("attachment")) {
        if (image.location.startsWith(QLatin1String("url(")) ||
            image.location.startsWith(QLatin1String("path(")))
            return notRead(reason,
                           QCoreApplication::translate("XisfFile", "別のﾌｧｲﾙにあるデータ（%1）")
                               .arg(image.location.left(80)));
        return notRead(reason, QCoreApplication::translate("XisfFile", "ヘッダの中のデータ（%1）")
                                   .arg(image.location.left(40)));
    }
    bool ok1 = false, ok2 = false;
    layout->position = number(location.value(1), &ok1);
    layout->blockSize = number(location.value(2), &ok2);
    if (location.size() != 3 || !ok1 || !ok2)
        return damaged(reason, QCoreApplication::translate("XisfFile", "データの位置 %1")
                                   .arg(image.location.left(40)));
    if (layout->position > fileSize || layout->blockSize > fileSize - layout->position)
        return damaged(reason, QCoreApplication::translate("XisfFile",
                                                           "データのブロックがﾌｧｲﾙの外にあります"));

    // Floating point samples are shown over these bounds with no stretch (0 to 1 by default).
    const QStringList bounds = image.bounds.split(QLatin1Char(':'));
    if (layout->isFloat && bounds.size() == 2) {
        bool okLo = false, okHi = false;
        const double lo = bounds[0].toDouble(&okLo), hi = bounds[1].toDouble(&okHi);
        if (okLo && okHi && std::isfinite(lo) && std::isfinite(hi) && hi > lo)
            layout->lo = lo, layout->hi = hi;
    }

    if (image.compression.isEmpty()) {
        if (layout->blockSize != layout->dataSize)
            return damaged(reason, QCoreApplication::translate("XisfFile",
                                                               "データの大きさが画像と合いません"));
        return true;
    }
    const QStringList c = image.compression.split(QLatin1Char(':'));
    QString codec = c.value(0);
    layout->shuffled = codec.endsWith(QLatin1String("+sh"));
    if (layout->shuffled)
        codec.chop(3);
    if (codec == QLatin1String("zlib"))
        layout->codec = Codec::Zlib;
    else if (codec == QLatin1String("lz4") || codec == QLatin1String("lz4hc"))
        layout->codec = Codec::Lz4;
    else if (codec == QLatin1String("zstd"))
        layout->codec = Codec::Zstd;
    else
        return notRead(
            reason,
            QCoreApplication::translate("XisfFile", "圧縮方式 %1").arg(c.value(0).left(40)));
    bool ok = false;
    const qint64 uncompressed = number(c.value(1), &ok);
    if (c.size() < 2 || !ok || uncompressed != layout->dataSize)
        return damaged(reason,
                       QCoreApplication::translate("XisfFile", "データの大きさが画像と合いません"));
    if (layout->shuffled) {
        const qint64 item = number(c.value(2), &ok);
        if (c.size() != 3 || !ok || (item != 1 && item != layout->sampleSize))
            return damaged(reason, QCoreApplication::translate("XisfFile", "シャッフルの単位 %1")
                                       .arg(c.value(2).left(20)));
        layout->shuffled = item > 1;
    }
    // Large blocks are compressed in parts: "compressed,uncompressed:compressed,uncompressed...".
    if (image.subblocks.isEmpty()) {
        layout->subBlocks = {{layout->blockSize, layout->dataSize}};
    } else {
        qint64 compressedSum = 0, uncompressedSum = 0;
        for (const QString &part : image.subblocks.split(QLatin1Char(':'))) {
            const QStringList sizes = part.split(QLatin1Char(','));
            SubBlock b;
            b.compressed = number(sizes.value(0), &ok1);
            b.uncompressed = number(sizes.value(1), &ok2);
            if (sizes.size() != 2 || !ok1 || !ok2 || b.compressed > layout->blockSize ||
                b.uncompressed > layout->dataSize)
                return damaged(reason, QCoreApplication::translate(
                                           "XisfFile", "データの大きさが画像と合いません"));
            compressedSum += b.compressed;
            uncompressedSum += b.uncompressed;
            if (compressedSum > layout->blockSize || uncompressedSum > layout->dataSize)
                break; // refused below
            layout->subBlocks.append(b);
        }
        if (compressedSum != layout->blockSize || uncompressedSum != layout->dataSize)
            return damaged(reason, QCoreApplication::translate("XisfFile",
                                                               "データの大きさが画像と合いません"));
    }
    // No codec makes more than so many bytes of one (deflate 1032, LZ4 255, zstd some 32 000):
    // a block announced larger is damaged, and no memory is taken for it.
    const qint64 ratio = layout->codec == Codec::Zlib  ? 1032
                         : layout->codec == Codec::Lz4 ? 256
                                                       : 1 << 16;
    if (std::any_of(layout->subBlocks.begin(), layout->subBlocks.end(), [&](const SubBlock &b) {
            return b.uncompressed > b.compressed * ratio + 1024;
        }))
        return damaged(reason,
                       QCoreApplication::translate("XisfFile", "データの大きさが画像と合いません"));
    if (layout->codec == Codec::Lz4 &&
        std::any_of(layout->subBlocks.begin(), layout->subBlocks.end(), [](const SubBlock &b) {
            return b.compressed > std::numeric_limits<int>::max() ||
                   b.uncompressed > std::numeric_limits<int>::max();
        }))
        return damaged(reason,
                       QCoreApplication::translate("XisfFile", "データの大きさが画像と合いません"));
    return true;
}

// Memory for the decompressed block, in large pages where the system has them (a 6000 x 4000
// RGB master of 32-bit samples takes 70 000 page faults in 4 KB pages).
class Inflated
{
public:
    explicit Inflated(qint64 size)
    {
        constexpr int kRow = 1 << 16;
        if (size <= std::numeric_limits<int>::max())
            m_image = ImageMemory::allocate(kRow, int((size + kRow - 1) / kRow),
                                            QImage::Format_Grayscale8);
        if (m_image.isNull()) {
            m_bytes.reset(new (std::nothrow) uchar[size_t(size)]);
            if (!m_bytes)
                throw std::bad_alloc();
        }
    }
    uchar *data() { return m_bytes ? m_bytes.get() : m_image.bits(); }

private:
    QImage m_image;
    std::unique_ptr<uchar[]> m_bytes;
};

// Decompressed bytes taken a piece at a time into their samples: as they come, or, shuffled,
// byte k of sample i to i x size + k.
class Unshuffler
{
public:
    Unshuffler(uchar *out, qint64 total, int itemSize, bool shuffled)
        : m_out(out), m_total(total), m_size(shuffled ? itemSize : 1), m_count(total / m_size)
    {}
    // False when the pieces come to more than the block.
    bool put(const uchar *bytes, qint64 n)
    {
        if (n > m_total - m_at)
            return false;
        while (n > 0) {
            const qint64 k = m_at / m_count, i = m_at % m_count;
            const qint64 run = std::min(n, m_count - i);
            uchar *to = m_out + i * m_size + k;
            if (m_size == 1)
                std::memcpy(to, bytes, size_t(run));
            else
                for (qint64 j = 0; j < run; ++j)
                    to[j * m_size] = bytes[j];
            bytes += run, n -= run, m_at += run;
        }
        return true;
    }
    // Bytes already in place (an unshuffled part decompressed straight into the block).
    bool skip(qint64 n)
    {
        if (n > m_total - m_at)
            return false;
        m_at += n;
        return true;
    }
    qint64 taken() const { return m_at; }

private:
    uchar *m_out;
    qint64 m_total, m_size, m_count;
    qint64 m_at = 0;
};

constexpr size_t kPiece = size_t(1) << 18;

bool inflateZlib(const uchar *in, qint64 size, Unshuffler &out, uchar *piece)
{
    z_stream z{};
    if (inflateInit(&z) != Z_OK)
        return false;
    int result = Z_OK;
    while (result != Z_STREAM_END) {
        if (z.avail_in == 0 && size > 0) {
            z.next_in = const_cast<Bytef *>(in);
            z.avail_in = uInt(std::min<qint64>(size, 1 << 30));
            in += z.avail_in, size -= z.avail_in;
        }
        z.next_out = piece;
        z.avail_out = uInt(kPiece);
        result = inflate(&z, Z_NO_FLUSH);
        const bool stalled = result == Z_BUF_ERROR && z.avail_in == 0 && size == 0;
        if ((result != Z_OK && result != Z_STREAM_END && result != Z_BUF_ERROR) || stalled ||
            !out.put(piece, qint64(kPiece - z.avail_out))) {
            inflateEnd(&z);
            return false;
        }
    }
    inflateEnd(&z);
    return true;
}

bool inflateZstd(const uchar *in, qint64 size, Unshuffler &out, uchar *piece)
{
    const std::unique_ptr<ZSTD_DStream, size_t (*)(ZSTD_DStream *)> stream(ZSTD_createDStream(),
                                                                           ZSTD_freeDStream);
    if (!stream)
        return false;
    ZSTD_inBuffer input{in, size_t(size), 0};
    for (;;) {
        ZSTD_outBuffer output{piece, kPiece, 0};
        const size_t left = ZSTD_decompressStream(stream.get(), &output, &input);
        if (ZSTD_isError(left) || !out.put(piece, qint64(output.pos)))
            return false;
        if (input.pos == input.size && output.pos < kPiece)
            return left == 0; // a frame cut short leaves something to read
    }
}

// Each part decompressed into its place, unshuffled; false unless every part gives exactly its
// size.
bool decompress(const Layout &layout, const uchar *in, uchar *out)
{
    Unshuffler samples(out, layout.dataSize, layout.sampleSize, layout.shuffled);
    std::unique_ptr<uchar[]> piece(new uchar[kPiece]);
    for (const SubBlock &b : layout.subBlocks) {
        const qint64 before = samples.taken();
        bool ok = b.uncompressed == 0;
        if (b.compressed == 0 || ok) {
            // nothing to decompress
        } else if (layout.codec == Codec::Zlib) {
            ok = inflateZlib(in, b.compressed, samples, piece.get());
        } else if (layout.codec == Codec::Zstd) {
            ok = inflateZstd(in, b.compressed, samples, piece.get());
        } else {
            // LZ4 blocks come whole; shuffled ones pass through a buffer of their own.
            std::unique_ptr<uchar[]> whole;
            uchar *to = out + before;
            if (layout.shuffled) {
                whole.reset(new (std::nothrow) uchar[size_t(b.uncompressed)]);
                if (!whole)
                    throw std::bad_alloc();
                to = whole.get();
            }
            ok = LZ4_decompress_safe(reinterpret_cast<const char *>(in),
                                     reinterpret_cast<char *>(to), int(b.compressed),
                                     int(b.uncompressed)) == int(b.uncompressed);
            ok = ok &&
                 (layout.shuffled ? samples.put(to, b.uncompressed) : samples.skip(b.uncompressed));
        }
        if (!ok || samples.taken() - before != b.uncompressed)
            return false;
        in += b.compressed;
    }
    return true;
}

// The samples of the data block, unshuffled, in whichever order of bytes and channels it holds
// them.
struct Samples
{
    const uchar *data = nullptr;
    qint64 pixels = 0;
    int channels = 1;
    bool bigEndian = false;
    bool planar = true;

    // n samples of a channel from its pixel `first` on, as Out; a loop of its own for each type.
    template <typename T, typename Out>
    void copy(int channel, qint64 first, qint64 n, Out *out) const
    {
        const qint64 start = planar ? channel * pixels + first : first * channels + channel;
        const qint64 step = planar ? 1 : channels;
        constexpr qint64 size = sizeof(T);
        const uchar *const bytes = data;
        const bool swap = bigEndian;
        for (qint64 i = 0; i < n; ++i) {
            uchar b[size];
            std::memcpy(b, bytes + (start + i * step) * size, size);
            if (swap)
                std::reverse(b, b + size);
            T value;
            std::memcpy(&value, b, size);
            out[i] = Out(value);
        }
    }
};

void freeInflated(void *memory)
{
    delete static_cast<std::shared_ptr<Inflated> *>(memory);
}

QImage readData(const Image &image, const Layout &layout, const uchar *block,
                PhotoOptions::Stretch stretch, QString *reason)
{
    const XisfFile::Header &h = image.header;
    const qint64 pixels = qint64(h.size.width()) * h.size.height();
    std::shared_ptr<Inflated> inflated;
    const uchar *data = block;
    if (layout.codec != Codec::None) {
        inflated = std::make_shared<Inflated>(layout.dataSize);
        if (!decompress(layout, block, inflated->data())) {
            damaged(reason,
                    QCoreApplication::translate(
                        "XisfFile", "圧縮したデータを展開できないか、展開した大きさが合いません"));
            return QImage();
        }
        data = inflated->data();
    }
    Samples samples{data, pixels, h.channels, layout.bigEndian, layout.planar};

    // Decompressed planes of 16 bits or more take their levels in place, each level read before
    // it is written over, and the picture after them when it fits: no more memory than the
    // block's.
    const bool inPlace = inflated && layout.planar && layout.sampleSize >= 2;
    PhotoLevels::Levels levels(h.size.width(), h.size.height(), layout.planes,
                               inPlace ? reinterpret_cast<quint16 *>(inflated->data()) : nullptr);
    if (h.sampleFormat == QLatin1String("UInt8") || h.sampleFormat == QLatin1String("UInt16")) {
        // The values are the levels, as for FITS data of these types.
        const bool isByte = layout.sampleSize == 1;
        levels.noneHi = isByte ? 255 : 65535;
        for (int p = 0; p < layout.planes; ++p) {
            if (isByte)
                samples.copy<quint8>(p, 0, pixels, levels.planes[p].data());
            else
                samples.copy<quint16>(p, 0, pixels, levels.planes[p].data());
        }
    } else {
        const double lo = layout.isFloat ? layout.lo : 0.0;
        const double hi = layout.isFloat ? layout.hi : 4294967295.0;
        PhotoLevels::fromValues(&levels, stretch, lo, hi,
                                [&](int plane, qsizetype first, qsizetype n, double *values) {
                                    if (layout.sampleSize == 8)
                                        samples.copy<double>(plane, first, n, values);
                                    else if (layout.isFloat)
                                        samples.copy<float>(plane, first, n, values);
                                    else
                                        samples.copy<quint32>(plane, first, n, values);
                                    return true;
                                });
    }
    QImage canvas;
    if (inPlace) {
        const bool colour = layout.planes == 3;
        const qint64 offset = (pixels * 2 * layout.planes + 63) & ~qint64(63);
        const qint64 bytesPerLine = ((qint64(h.size.width()) * (colour ? 4 : 1)) + 3) & ~qint64(3);
        if (offset + bytesPerLine * h.size.height() <= layout.dataSize)
            canvas = QImage(inflated->data() + offset, h.size.width(), h.size.height(),
                            bytesPerLine, colour ? QImage::Format_RGB32 : QImage::Format_Grayscale8,
                            freeInflated, new std::shared_ptr<Inflated>(inflated));
    }
    if (!inPlace)
        inflated.reset(); // the levels are elsewhere
    QImage picture = PhotoLevels::render(levels, stretch, false, std::move(canvas));
    if (picture.isNull())
        *reason = QCoreApplication::translate("XisfFile", "画像を作るメモリがありません");
    return picture;
}

bool openAndCheck(QFile &file, Image *image, Layout *layout, QString *reason)
{
    if (!file.open(QIODevice::ReadOnly)) {
        *reason = file.errorString();
        return false;
    }
    return parseHeader(file, image, reason) && checkLayout(*image, file.size(), layout, reason);
}

} // namespace

namespace XisfFile {

bool readHeader(const QString &path, Header *header, QString *reason)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *reason = file.errorString();
        return false;
    }
    Image image;
    if (!parseHeader(file, &image, reason))
        return false;
    *header = image.header;
    return true;
}

bool readSize(const QString &path, QSize *size, QString *reason)
{
    QFile file(path);
    Image image;
    Layout layout;
    if (!openAndCheck(file, &image, &layout, reason))
        return false;
    *size = image.header.size;
    return true;
}

QImage read(const QString &path, PhotoOptions::Stretch stretch, qint64 maxPixels, QString *reason)
{
    QFile file(path);
    Image image;
    Layout layout;
    if (!openAndCheck(file, &image, &layout, reason))
        return QImage();
    const QSize size = image.header.size;
    if (qint64(size.width()) * size.height() > maxPixels) {
        *reason = QCoreApplication::translate("XisfFile", "%1x%2 の画像は大きすぎて読み込めません")
                      .arg(size.width())
                      .arg(size.height());
        return QImage();
    }
    // Planes past the first three (alpha, extra channels) are skipped, never more than the
    // picture's own: a 1-pixel image of 65536 channels is not read.
    if (layout.dataSize > maxPixels * 4 * 8) {
        *reason = QCoreApplication::translate("XisfFile", "%1x%2 の画像は大きすぎて読み込めません")
                      .arg(size.width())
                      .arg(size.height());
        return QImage();
    }
    const uchar *block = layout.blockSize ? file.map(layout.position, layout.blockSize) : nullptr;
    if (!block && layout.blockSize) {
        *reason = file.errorString();
        return QImage();
    }
    try {
        return readData(image, layout, block, stretch, reason);
    } catch (const std::bad_alloc &) {
        *reason = QCoreApplication::translate("XisfFile", "画像を読み込むメモリがありません");
        return QImage();
    }
}

} // namespace XisfFile
