#include "MetafileText.h"

#include "common/Cp932.h"

#include <QStringDecoder>

#include <uemf.h>

namespace {

// Windows code page of a LOGFONT character set. The program's users run Japanese Windows, whose
// ANSI code page (used for DEFAULT_CHARSET) is 932.
int codePage(int charSet)
{
    switch (charSet) {
    case U_DEFAULT_CHARSET:
    case U_SHIFTJIS_CHARSET:
        return 932;
    case 129:
        return 949;
    case 134:
        return 936;
    case 136:
        return 950;
    case 161:
        return 1253;
    case 162:
        return 1254;
    case 163:
        return 1258;
    case 177:
        return 1255;
    case 178:
        return 1256;
    case 186:
        return 1257;
    case 204:
        return 1251;
    case 222:
        return 874;
    case 238:
        return 1250;
    default:
        return 1252;
    }
}

bool isLeadByte(int page, uchar b)
{
    switch (page) {
    case 932:
        return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
    case 936:
    case 949:
    case 950:
        return b >= 0x81 && b <= 0xFE;
    default:
        return false;
    }
}

QString decodeUnit(int page, QByteArrayView unit)
{
    if (page == 932)
        return Cp932::decode(unit);
    const QByteArray name =
        page == 874 ? QByteArray("windows-874") : "windows-" + QByteArray::number(page);
    QStringDecoder decoder(name.constData());
    if (!decoder.isValid())
        return QString::fromLatin1(unit.data(), unit.size());
    return decoder.decode(unit);
}

} // namespace

namespace MetafileText {

QString decode(QByteArrayView bytes, int charSet, const QList<double> &byteAdvances,
               QList<double> *charAdvances)
{
    const int page = codePage(charSet);
    if (!charAdvances)
        return decodeUnit(page, bytes);

    charAdvances->clear();
    QString text;
    qsizetype i = 0;
    while (i < bytes.size()) {
        const qsizetype length = isLeadByte(page, uchar(bytes[i])) && i + 1 < bytes.size() ? 2 : 1;
        const QString unit = decodeUnit(page, bytes.sliced(i, length));
        double advance = 0;
        for (qsizetype k = i; k < i + length; ++k)
            advance += byteAdvances.value(k);
        for (qsizetype k = 0; k < unit.size(); ++k)
            charAdvances->append(k == 0 ? advance : 0.0);
        text += unit;
        i += length;
    }
    return text;
}

QString fallbackFamily(const QString &face, int charSet, int pitchAndFamily)
{
    const bool proportional = face.contains(u"Ｐ") || face.contains(u"PGothic") ||
                              face.contains(u"PMincho") || face.contains(u"UI Gothic");
    if (face.contains(u"明朝") || face.contains(u"Mincho", Qt::CaseInsensitive))
        return proportional ? QStringLiteral("IPAPMincho") : QStringLiteral("IPAMincho");
    if (face.contains(u"ゴシック") || face.contains(u"Gothic", Qt::CaseInsensitive) ||
        face.contains(u"メイリオ") || face.contains(u"Meiryo", Qt::CaseInsensitive))
        return proportional ? QStringLiteral("IPAPGothic") : QStringLiteral("IPAGothic");
    if (charSet == U_SHIFTJIS_CHARSET)
        return (pitchAndFamily & 0xF0) == U_FF_ROMAN ? QStringLiteral("IPAMincho")
                                                     : QStringLiteral("IPAGothic");
    return {};
}

} // namespace MetafileText
