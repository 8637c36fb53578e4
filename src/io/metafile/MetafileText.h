#pragma once

#include <QByteArrayView>
#include <QList>
#include <QString>

// 8-bit text of metafiles (WMF strings and face names, EMF ExtTextOutA) in the code page of the
// font's character set. Code page 932 goes through Cp932, the others through ICU.
namespace MetafileText {

// Decodes bytes written for a font of the given LOGFONT character set. byteAdvances (one per
// byte, may be empty) become charAdvances (one per UTF-16 unit of the result): the advances of a
// double-byte character are added up on its first unit.
QString decode(QByteArrayView bytes, int charSet, const QList<double> &byteAdvances = {},
               QList<double> *charAdvances = nullptr);

// A face name that this system has, for a face that only Windows has (Japanese faces map to the
// IPA fonts); empty when there is nothing better than the face itself.
QString fallbackFamily(const QString &face, int charSet, int pitchAndFamily);

} // namespace MetafileText
