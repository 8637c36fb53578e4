#include "PhotoScale.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

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

// Rounds num / den to the nearest whole number, halves up, by one multiplication: num / den is a
// whole number of 1/den, so a nudge of a quarter of that turns an exact half upwards without
// moving any other value across a rounding boundary (the product's error is far smaller).
struct Divider
{
    explicit Divider(quint64 den) : inverse(1.0 / double(den)), offset(0.5 + 0.25 / double(den)) {}
    // num below 2^53: exact as a double.
    uchar operator()(qint64 num) const { return uchar(double(num) * inverse + offset); }
    double inverse;
    double offset;
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
        for (int k = 0; k < row.count; ++k) {
            const quint32 w = rowWeights[row.weights + k];
            const uchar *__restrict in = src.constScanLine(row.first + k);
            quint32 *__restrict sum = sums.data();
            if (k == 0) {
                for (qsizetype i = 0; i < n; ++i)
                    sum[i] = w * in[i];
            } else {
                for (qsizetype i = 0; i < n; ++i)
                    sum[i] += w * in[i];
            }
        }
        // Then the columns of each output pixel.
        uchar *out = dst.scanLine(y);
#ifdef __SSE2__
        if constexpr (Channels == 4) {
            // The four channels of a pixel in two pairs of doubles: the same sums, in a quarter of
            // the instructions.
            const __m128d inverse = _mm_set1_pd(divide.inverse);
            const __m128d offset = _mm_set1_pd(divide.offset);
            for (int x = 0; x < dw; ++x, out += 4) {
                const Span &col = columns[x];
                __m128d low = _mm_setzero_pd(), high = _mm_setzero_pd();
                const quint32 *sum = sums.data() + qsizetype(col.first) * 4;
                const quint32 *w = columnWeights.data() + col.weights;
                for (int k = 0; k < col.count; ++k, sum += 4) {
                    const __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i *>(sum));
                    const __m128d weight = _mm_set1_pd(double(w[k]));
                    low = _mm_add_pd(low, _mm_mul_pd(weight, _mm_cvtepi32_pd(s)));
                    high =
                        _mm_add_pd(high, _mm_mul_pd(weight, _mm_cvtepi32_pd(_mm_srli_si128(s, 8))));
                }
                const __m128i l = _mm_cvttpd_epi32(_mm_add_pd(_mm_mul_pd(low, inverse), offset));
                const __m128i h = _mm_cvttpd_epi32(_mm_add_pd(_mm_mul_pd(high, inverse), offset));
                __m128i v = _mm_unpacklo_epi64(l, h);
                v = _mm_packus_epi16(_mm_packs_epi32(v, v), v);
                const int bytes = _mm_cvtsi128_si32(v);
                std::memcpy(out, &bytes, 4);
            }
            continue;
        }
#endif
        for (int x = 0; x < dw; ++x) {
            const Span &col = columns[x];
            qint64 total[Channels] = {};
            const quint32 *sum = sums.data() + qsizetype(col.first) * Channels;
            const quint32 *w = columnWeights.data() + col.weights;
            for (int k = 0; k < col.count; ++k, sum += Channels)
                for (int c = 0; c < Channels; ++c)
                    total[c] += qint64(w[k]) * sum[c];
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
