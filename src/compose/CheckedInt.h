#pragma once

#include <QtGlobal>
#include <QtNumeric>
#include <initializer_list>
#include <limits>
#include <optional>

// 32-bit signed arithmetic that reports an overflow instead of wrapping.
namespace CheckedInt {

// The exact result, worked out in 64 bits, when it fits in T.
template <typename T> std::optional<T> fit(qint64 exact)
{
    if (exact < std::numeric_limits<T>::min() || exact > std::numeric_limits<T>::max())
        return std::nullopt;
    return T(exact);
}

inline std::optional<qint32> add(qint32 a, qint32 b)
{
    return fit<qint32>(qint64(a) + b);
}

inline std::optional<qint32> sub(qint32 a, qint32 b)
{
    return fit<qint32>(qint64(a) - b);
}

inline std::optional<qint32> mul(qint32 a, qint32 b)
{
    return fit<qint32>(qint64(a) * b);
}

// Terms added from left to right, each partial sum checked as 32-bit arithmetic checks it; a
// missing term (an earlier step that overflowed) gives none.
inline std::optional<qint32> sum(std::initializer_list<std::optional<qint32>> terms)
{
    qint32 total = 0;
    for (const std::optional<qint32> &term : terms) {
        if (!term || qAddOverflow(total, *term, &total))
            return std::nullopt;
    }
    return total;
}

// The same in 16 bits, for the canvas's line width: both factors must be 16-bit values too.
inline std::optional<qint16> mul16(qint32 a, qint32 b)
{
    if (!fit<qint16>(a) || !fit<qint16>(b))
        return std::nullopt;
    return fit<qint16>(qint64(a) * b);
}

} // namespace CheckedInt
