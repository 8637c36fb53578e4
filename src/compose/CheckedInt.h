#pragma once

#include <QtGlobal>
#include <optional>

// 32-bit signed arithmetic that reports an overflow instead of wrapping.
namespace CheckedInt {

inline std::optional<qint32> add(qint32 a, qint32 b)
{
    qint32 r;
    if (__builtin_add_overflow(a, b, &r))
        return std::nullopt;
    return r;
}

inline std::optional<qint32> sub(qint32 a, qint32 b)
{
    qint32 r;
    if (__builtin_sub_overflow(a, b, &r))
        return std::nullopt;
    return r;
}

inline std::optional<qint32> mul(qint32 a, qint32 b)
{
    qint32 r;
    if (__builtin_mul_overflow(a, b, &r))
        return std::nullopt;
    return r;
}

// The same in 16 bits, for the canvas's line width.
inline std::optional<qint16> mul16(qint32 a, qint32 b)
{
    qint16 r;
    if (a < -32768 || a > 32767 || b < -32768 || b > 32767 ||
        __builtin_mul_overflow(qint16(a), qint16(b), &r))
        return std::nullopt;
    return r;
}

} // namespace CheckedInt
