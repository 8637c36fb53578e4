#include "FitsTiles.h"

#include <QCoreApplication>

#include <algorithm>
#include <bit>
#include <vector>

namespace {

constexpr int kMaxAxes = 9;
constexpr qint64 kMaxCount = qint64(1) << 40; // of tiles, and of pixels in a tile: no overflow

qint64 intKey(const Cfitsio &fits, fitsfile *file, const QByteArray &name, qint64 fallback)
{
    LONGLONG value = fallback;
    int status = 0;
    if (fits.readKey(file, TLONGLONG, name.constData(), &value, nullptr, &status))
        return fallback;
    return value;
}

} // namespace

namespace FitsTiles {

bool riceStreamFits(const uchar *bytes, qint64 length, qint64 pixels, int blockSize, int bytePix)
{
    // The decoder's constants for the pixel size: bits of the split value, its largest value
    // (which marks directly coded pixels), bits of a directly coded pixel.
    const int fsBits = bytePix == 1 ? 3 : bytePix == 2 ? 4 : 5;
    const int fsMax = bytePix == 1 ? 6 : bytePix == 2 ? 14 : 25;
    const int pixelBits = bytePix == 1 ? 8 : bytePix == 2 ? 16 : 32;
    const int first = bytePix == 1 ? 1 : bytePix == 2 ? 2 : 4; // the first pixel, as it is
    if (blockSize < 1 || length < first + 1)
        return false;
    const uchar *c = bytes + first;
    const uchar *const end = bytes + length;
    // The same steps as the decoder, each byte it would take checked first.
    quint32 b = *c++;
    int nbits = 8;
    auto take = [&](quint32 *into) {
        if (c >= end)
            return false;
        *into = *c++;
        return true;
    };
    quint32 next = 0;
    for (qint64 i = 0; i < pixels;) {
        nbits -= fsBits;
        while (nbits < 0) {
            if (!take(&next))
                return false;
            b = (b << 8) | next;
            nbits += 8;
        }
        const int fs = int(b >> nbits) - 1;
        b &= (1u << nbits) - 1;
        const qint64 blockEnd = std::min(i + blockSize, pixels);
        if (fs < 0) {
            i = blockEnd;
        } else if (fs == fsMax) {
            for (; i < blockEnd; ++i) {
                int k = pixelBits - nbits;
                for (k -= 8; k >= 0; k -= 8)
                    if (!take(&b))
                        return false;
                if (nbits > 0) {
                    if (!take(&b))
                        return false;
                    b &= (1u << nbits) - 1;
                } else {
                    b = 0;
                }
            }
        } else {
            for (; i < blockEnd; ++i) {
                while (b == 0) {
                    if (!take(&b))
                        return false;
                    nbits += 8;
                }
                // The leading one bit of b, then fs more bits.
                nbits = std::bit_width(b) - 1;
                b ^= 1u << nbits;
                nbits -= fs;
                while (nbits < 0) {
                    if (!take(&next))
                        return false;
                    b = (b << 8) | next;
                    nbits += 8;
                }
                b &= (1u << nbits) - 1;
            }
        }
    }
    return true;
}

bool safeToDecompress(const Cfitsio &fits, fitsfile *file, QString *reason)
{
    int status = 0;
    if (!fits.isCompressedImage(file, &status))
        return true;
    char method[FLEN_VALUE] = {};
    if (fits.readKey(file, TSTRING, "ZCMPTYPE", method, nullptr, &status)) {
        *reason = QCoreApplication::translate("FitsTiles", "圧縮の方法がありません");
        return false;
    }
    const QByteArray name = QByteArray(method).trimmed().toUpper();
    if (name != "RICE_1" && name != "RICE_ONE") {
        if (name == "HCOMPRESS_1" || name == "PLIO_1") {
            *reason =
                QCoreApplication::translate("FitsTiles", "%1 で圧縮された画像は読み込めません")
                    .arg(QString::fromLatin1(name));
            return false;
        }
        return true; // GZIP_1, GZIP_2, NOCOMPRESS: decompressed by zlib into sized buffers
    }

    // The tiles, in the table's order (first axis fastest), each a row of COMPRESSED_DATA.
    const int axes = int(intKey(fits, file, "ZNAXIS", 0));
    if (axes < 1 || axes > kMaxAxes) {
        *reason = QCoreApplication::translate("FitsTiles", "圧縮された画像の次元が読めません");
        return false;
    }
    qint64 size[kMaxAxes], tile[kMaxAxes], tiles[kMaxAxes];
    qint64 tileCount = 1, tilePixels = 1;
    for (int a = 0; a < axes; ++a) {
        const QByteArray n = QByteArray::number(a + 1);
        size[a] = intKey(fits, file, "ZNAXIS" + n, 0);
        tile[a] = intKey(fits, file, "ZTILE" + n, a == 0 ? size[a] : 1);
        const bool sized = size[a] >= 1 && size[a] <= INT_MAX && tile[a] >= 1 && tile[a] <= size[a];
        tiles[a] = sized ? (size[a] + tile[a] - 1) / tile[a] : 0;
        if (!sized || tiles[a] > kMaxCount / tileCount || tile[a] > kMaxCount / tilePixels) {
            *reason = QCoreApplication::translate(
                "FitsTiles", "圧縮された画像のタイルの大きさが正しくありません");
            return false;
        }
        tileCount *= tiles[a];
        tilePixels *= tile[a];
    }
    int blockSize = 32, bytePix = 4;
    for (int k = 1; k <= kMaxAxes; ++k) {
        char option[FLEN_VALUE] = {};
        int s = 0;
        const QByteArray n = QByteArray::number(k);
        if (fits.readKey(file, TSTRING, ("ZNAME" + n).constData(), option, nullptr, &s))
            break;
        const QByteArray key = QByteArray(option).trimmed().toUpper();
        if (key == "BLOCKSIZE")
            blockSize = int(intKey(fits, file, "ZVAL" + n, blockSize));
        else if (key == "BYTEPIX")
            bytePix = int(intKey(fits, file, "ZVAL" + n, bytePix));
    }
    int column = 0;
    LONGLONG rows = 0;
    char columnName[] = "COMPRESSED_DATA";
    fits.columnNumber(file, CASEINSEN, columnName, &column, &status);
    fits.rowCount(file, &rows, &status);
    if (status) {
        fits.clearMessages();
        *reason = QCoreApplication::translate("FitsTiles", "圧縮された画像の表が読めません");
        return false;
    }
    const qint64 heap = intKey(fits, file, "PCOUNT", 0);
    std::vector<uchar> bytes;
    for (qint64 t = 0; t < std::min<qint64>(tileCount, rows); ++t) {
        qint64 pixels = 1;
        for (qint64 a = 0, rest = t; a < axes; rest /= tiles[a], ++a)
            pixels *= std::min(tile[a], size[a] - (rest % tiles[a]) * tile[a]);
        LONGLONG length = 0, offset = 0;
        fits.readDescriptor(file, column, t + 1, &length, &offset, &status);
        // A tile's bytes lie within the heap that follows the table.
        if (!status && (length < 0 || offset < 0 || length > heap || offset > heap - length))
            status = BAD_DIMEN;
        if (!status && length > 0) {
            bytes.resize(size_t(length));
            int anyNull = 0;
            fits.readColumn(file, TBYTE, column, t + 1, 1, length, nullptr, bytes.data(), &anyNull,
                            &status);
        }
        if (status) {
            fits.clearMessages();
            *reason =
                QCoreApplication::translate("FitsTiles", "圧縮された画像のタイルが読めません");
            return false;
        }
        // An empty tile is stored uncompressed elsewhere, which cfitsio reads by its size.
        if (length > 0 && !riceStreamFits(bytes.data(), length, pixels, blockSize, bytePix)) {
            *reason =
                QCoreApplication::translate("FitsTiles", "圧縮された画像のデータが壊れています");
            return false;
        }
    }
    return true;
}

} // namespace FitsTiles
