#include "Cp932.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace {

constexpr const char *kCodecName = "windows-31j";

// The candidates were the entries of Microsoft's best-fit table for code page 932 that do not
// come back as themselves, and the em dash; each was drawn with its twin in IPAGothic,
// IPAPGothic, IPAMincho and IPAPMincho and compared pixel for pixel. The em dash, cent, pound
// and not signs draw alike in all four; the others change what the user sees (¥ to \, « to ≪,
// ¯ to ￣, · to ・, µ to μ, accented letters to plain ones) and stay reasons for UTF-8. The wave
// dash, minus sign and double vertical line are what other Shift-JIS tables read these bytes as,
// kept for files that pass through them, though − and ‖ draw differently here from their twins.
constexpr struct
{
    char16_t from;
    char16_t to;
} kLookAlikes[] = {
    {0x301C, 0xFF5E}, // wave dash: 0x8160
    {0x2212, 0xFF0D}, // minus sign: 0x817C
    {0x2016, 0x2225}, // double vertical line: 0x8161
    {0x00AC, 0xFFE2}, // not sign: 0x81CA
    {0x2014, 0x2015}, // em dash: 0x815C
    {0x00A2, 0xFFE0}, // cent sign: 0x8191
    {0x00A3, 0xFFE1}, // pound sign: 0x8192
};

QString toWindowsForms(const QString &text)
{
    QString mapped = text;
    for (QChar &c : mapped)
        c = QChar(Cp932::lookAlike(c.unicode()));
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

char16_t lookAlike(char16_t c)
{
    for (const auto &pair : kLookAlikes) {
        if (pair.from == c)
            return pair.to;
    }
    return c;
}

QString firstUnencodable(const QString &text)
{
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype length = text[i].isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        const QString character = text.mid(i, length);
        if (!canEncode(character))
            return character;
        i += length;
    }
    return QString();
}

} // namespace Cp932
