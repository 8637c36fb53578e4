#include "PhotoScale.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

// Output pixel x covers [x * from, (x + 1) * from) and source pixel i covers [i * to, (i + 1) * to)
// in units of 1 / (from * to) of the image: every overlap is a whole number, and the overlaps of
// one output pixel add up to `from`.
struct Span
{
    int first;
    int count;
    int weights; // index of the first weight
};

std::vector<Span> spans(int from, int to, std::vector<quint32> *weights)
{
    std::vector<Span> result(to);
    for (int x = 0; x < to; ++x) {
        const qint64 begin = qint64(x) * from;
        const qint64 end = begin + from;
        const int first = int(begin / to);
        const int last = int((end - 1) / to);
        result[x] = {first, last - first + 1, int(weights->size())};
        for (int i = first; i <= last; ++i) {
            const qint64 overlap =
                std::min(end, qint64(i + 1) * to) - std::max(begin, qint64(i) * to);
            weights->push_back(quint32(overlap));
        }
    }
    return result;
}

// Rounds num / den to the nearest whole number, halves up, without a division per value.
struct Divider
{
    explicit Divider(quint64 d) : den(d), inverse(1.0 / double(d)) {}
    uchar operator()(quint64 num) const
    {
        quint64 q = quint64(double(num) * inverse + 0.5);
        const quint64 twice = 2 * num + den;
        while (q > 0 && q * 2 * den > twice)
            --q;
        while ((q + 1) * 2 * den <= twice)
            ++q;
        return uchar(q);
    }
    quint64 den;
    double inverse;
};

template <int Channels> void shrinkInto(const QImage &src, QImage &dst)
{
    const int sw = src.width(), sh = src.height(), dw = dst.width(), dh = dst.height();
    std::vector<quint32> columnWeights, rowWeights;
    const std::vector<Span> columns = spans(sw, dw, &columnWeights);
    const std::vector<Span> rows = spans(sh, dh, &rowWeights);
    const Divider divide(quint64(sw) * quint64(sh));
    const qsizetype n = qsizetype(sw) * Channels;
    std::vector<quint32> sums(n);
    for (int y = 0; y < dh; ++y) {
        // The source rows of this output row, weighed, added column by column.
        const Span &row = rows[y];
        std::fill(sums.begin(), sums.end(), 0);
        for (int k = 0; k < row.count; ++k) {
            const quint32 w = rowWeights[row.weights + k];
            const uchar *in = src.constScanLine(row.first + k);
            quint32 *sum = sums.data();
            for (qsizetype i = 0; i < n; ++i)
                sum[i] += w * in[i];
        }
        // Then the columns of each output pixel.
        uchar *out = dst.scanLine(y);
        for (int x = 0; x < dw; ++x) {
            const Span &col = columns[x];
            quint64 total[Channels] = {};
            const quint32 *sum = sums.data() + qsizetype(col.first) * Channels;
            const quint32 *w = columnWeights.data() + col.weights;
            for (int k = 0; k < col.count; ++k, sum += Channels)
                for (int c = 0; c < Channels; ++c)
                    total[c] += quint64(w[k]) * sum[c];
            for (int c = 0; c < Channels; ++c)
                *out++ = divide(total[c]);
        }
    }
}

} // namespace

namespace PhotoScale {

QImage shrink(const QImage &image, QSize size)
{
    QImage src = image;
    const QImage::Format format = image.format();
    if (format != QImage::Format_Grayscale8 && format != QImage::Format_RGB32 &&
        format != QImage::Format_ARGB32_Premultiplied)
        src = image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied
                                                            : QImage::Format_RGB32);
    size = size.boundedTo(src.size());
    if (size == src.size() || size.isEmpty() || src.isNull())
        return src;
    QImage dst(size, src.format());
    if (dst.isNull())
        return dst;
    if (src.format() == QImage::Format_Grayscale8)
        shrinkInto<1>(src, dst);
    else
        shrinkInto<4>(src, dst);
    return dst;
}

} // namespace PhotoScale
