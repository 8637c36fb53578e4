#include "Cp932.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace {

constexpr const char *kCodecName = "windows-31j";

QString toWindowsForms(const QString &text)
{
    QString mapped = text;
    for (QChar &c : mapped) {
        switch (c.unicode()) {
        case 0x301C: c = QChar(0xFF5E); break;
        case 0x2212: c = QChar(0xFF0D); break;
        case 0x2016: c = QChar(0x2225); break;
        case 0x00AC: c = QChar(0xFFE2); break;
        default: break;
        }
    }
    return mapped;
}

} // namespace

namespace Cp932 {

QString decode(QByteArrayView bytes)
{
    QStringDecoder decoder(kCodecName);
    return decoder.decode(bytes);
}

bool encode(const QString &text, QByteArray *out)
{
    QStringEncoder encoder(kCodecName);
    QByteArray bytes = encoder.encode(toWindowsForms(text));
    if (encoder.hasError())
        return false;
    if (out)
        *out = bytes;
    return true;
}

bool canEncode(const QString &text)
{
    return encode(text, nullptr);
}

} // namespace Cp932
