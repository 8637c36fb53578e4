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

QString decode(QByteArrayView bytes, bool *ok)
{
    // Stateless: a lead byte at the very end is an error, not the start of a later call's pair.
    QStringDecoder decoder(kCodecName, QStringConverter::Flag::Stateless);
    QString text = decoder.decode(bytes);
    if (ok)
        *ok = !decoder.hasError();
    return text;
}

bool encode(const QString &text, QByteArray *out)
{
    // Stateless: a lone high surrogate at the end is an error, not silently dropped.
    QStringEncoder encoder(kCodecName, QStringConverter::Flag::Stateless);
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
