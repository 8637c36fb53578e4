#pragma once

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QString>
#include <QStringList>
#include <QtEndian>

#include <lz4.h>
#include <lz4hc.h>
#include <zlib.h>
#include <zstd.h>

#include <cstring>
#include <utility>
#include <vector>

// XISF files for the tests, the fuzz seeds and the benchmark: one image in an attached block.
namespace XisfWriter {

struct Image
{
    Image(int width = 1, int height = 1, int channels = 1, const QString &format = "UInt16",
          const QString &codec = {}, bool shuffled = false)
        : width(width), height(height), channels(channels), sampleFormat(format), codec(codec),
          shuffled(shuffled)
    {}
    int width, height, channels; // 3: RGB
    QString sampleFormat;
    std::vector<double> values; // planar: each channel's rows, top first
    QString codec;              // "", "zlib", "lz4", "lz4hc", "zstd"
    bool shuffled;
    QStringList keywords;                          // FITSKeyword elements, "NAME=value as written"
    QList<std::pair<QString, QString>> properties; // String properties of the image: id, value
    QString extraXml;                              // inside the Image element
    // Attributes written instead of the true ones when set.
    QString geometry, location, compression;
};

inline QByteArray samples(const Image &image)
{
    const QString &f = image.sampleFormat;
    const int size = f == u"UInt8" ? 1 : f == u"UInt16" ? 2 : f == u"Float64" ? 8 : 4;
    QByteArray out(qsizetype(image.values.size()) * size, '\0');
    char *p = out.data();
    for (double v : image.values) {
        if (f == u"UInt8")
            *p = char(quint8(v));
        else if (f == u"UInt16")
            qToLittleEndian(quint16(v), p);
        else if (f == u"UInt32")
            qToLittleEndian(quint32(v), p);
        else if (f == u"Float32")
            qToLittleEndian(float(v), p);
        else
            qToLittleEndian(v, p);
        p += size;
    }
    if (image.shuffled) { // byte k of every sample together
        QByteArray in = out;
        const qsizetype n = in.size() / size;
        for (qsizetype i = 0; i < n; ++i)
            for (int k = 0; k < size; ++k)
                out[k * n + i] = in[i * size + k];
    }
    return out;
}

inline QByteArray compressed(const QByteArray &data, const QString &codec)
{
    QByteArray out(qsizetype(ZSTD_compressBound(size_t(data.size())) + compressBound(data.size()) +
                             LZ4_compressBound(int(data.size()))),
                   '\0');
    auto *to = out.data();
    const auto *from = data.constData();
    size_t n = 0;
    if (codec == u"zlib") {
        uLongf size = uLongf(out.size());
        compress2(reinterpret_cast<Bytef *>(to), &size, reinterpret_cast<const Bytef *>(from),
                  uLong(data.size()), 6);
        n = size;
    } else if (codec == u"lz4") {
        n = size_t(LZ4_compress_default(from, to, int(data.size()), int(out.size())));
    } else if (codec == u"lz4hc") {
        n = size_t(LZ4_compress_HC(from, to, int(data.size()), int(out.size()), 9));
    } else {
        n = ZSTD_compress(to, size_t(out.size()), from, size_t(data.size()), 1);
    }
    out.truncate(qsizetype(n));
    return out;
}

inline QByteArray bytes(const Image &image)
{
    const QByteArray raw = samples(image);
    const QByteArray block = image.codec.isEmpty() ? raw : compressed(raw, image.codec);
    const int size = int(raw.size() / qsizetype(std::max<size_t>(image.values.size(), 1)));
    QString compression = image.compression;
    if (compression.isEmpty() && !image.codec.isEmpty())
        compression =
            image.codec + (image.shuffled ? QStringLiteral("+sh:%1:%2").arg(raw.size()).arg(size)
                                          : QStringLiteral(":%1").arg(raw.size()));
    QString inner;
    for (const QString &k : image.keywords)
        inner += QStringLiteral("<FITSKeyword name=\"%1\" value=\"%2\" comment=\"\"/>")
                     .arg(k.section(u'=', 0, 0), k.section(u'=', 1).toHtmlEscaped());
    for (const auto &[id, value] : image.properties)
        inner += QStringLiteral("<Property id=\"%1\" type=\"String\">%2</Property>")
                     .arg(id, value.toHtmlEscaped());
    inner += image.extraXml;
    // The block follows the header; its position is written into the header, so settle it.
    qsizetype position = 0;
    QByteArray xml;
    for (int pass = 0; pass < 3; ++pass) {
        const QString location =
            image.location.isEmpty()
                ? QStringLiteral("attachment:%1:%2").arg(position).arg(block.size())
                : image.location;
        const QString geometry =
            image.geometry.isEmpty()
                ? QStringLiteral("%1:%2:%3").arg(image.width).arg(image.height).arg(image.channels)
                : image.geometry;
        xml =
            QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?><xisf version=\"1.0\">"
                           "<Image geometry=\"%1\" sampleFormat=\"%2\" colorSpace=\"%3\" "
                           "location=\"%4\"%5%6>%7</Image></xisf>")
                .arg(geometry, image.sampleFormat,
                     image.channels == 3 ? QStringLiteral("RGB") : QStringLiteral("Gray"), location,
                     compression.isEmpty() ? QString()
                                           : QStringLiteral(" compression=\"%1\"").arg(compression),
                     image.sampleFormat.startsWith(u'F') ? QStringLiteral(" bounds=\"0:1\"")
                                                         : QString(),
                     inner)
                .toUtf8();
        position = 16 + xml.size();
    }
    QByteArray file("XISF0100");
    char length[8] = {};
    qToLittleEndian(quint32(xml.size()), length);
    file.append(length, 8).append(xml).append(block);
    return file;
}

inline bool write(const QString &path, const Image &image)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes(image)) >= 0;
}

} // namespace XisfWriter
