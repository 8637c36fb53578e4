#pragma once

#include <QByteArray>
#include <QString>

// Code page 932 exactly as Windows converts it (Microsoft's table, through ICU's "windows-31j").
namespace Cp932 {

// Bytes that are no code page 932 text (a lone lead byte, an invalid pair) come out as U+001A or
// are dropped; *ok then says false.
QString decode(QByteArrayView bytes, bool *ok = nullptr);

// Writes look-alikes as their code page 932 twins first (lookAlike()), then encodes. Returns
// false when some character has no code page 932 form.
bool encode(const QString &text, QByteArray *out);

bool canEncode(const QString &text);

// The code page 932 character written for c: the reading other Shift-JIS tables give the same
// bytes (wave dash, minus sign, double vertical line, not sign), or a twin that draws the same
// glyph (em dash, cent and pound signs); c itself otherwise. A look-alike that shows differently
// here, such as the yen sign whose byte our fonts draw as a backslash, is not one.
char16_t lookAlike(char16_t c);

// The first character of text (a whole code point) that has no code page 932 form; empty when
// every character has one.
QString firstUnencodable(const QString &text);

} // namespace Cp932
