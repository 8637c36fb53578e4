#pragma once

#include <QColor>

// Colours as the frame description, the editing panel and the files hold them: 24-bit RGB packed
// as 0x00BBGGRR. The high byte is ignored; alpha is not kept.
namespace ColorRef {

inline QColor toColor(qint32 bgr)
{
    const quint32 c = quint32(bgr);
    return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF));
}

inline qint32 fromColor(const QColor &color)
{
    const QColor rgb = color.toRgb();
    return qint32(rgb.red()) | (qint32(rgb.green()) << 8) | (qint32(rgb.blue()) << 16);
}

} // namespace ColorRef
