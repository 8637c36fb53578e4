#pragma once

#include <QByteArray>
#include <QString>

// Code page 932 exactly as Windows converts it (Microsoft's table, through ICU's "windows-31j").
namespace Cp932 {

// Bytes that are no code page 932 text (a lone lead byte, an invalid pair) come out as U+001A or
// are dropped; *ok then says false.
QString decode(QByteArrayView bytes, bool *ok = nullptr);

// Maps the four characters that other Shift-JIS tables give different code points (wave dash,
// minus sign, double vertical line, not sign) to the ones Windows uses, then encodes.
// Returns false when some character has no code page 932 form.
bool encode(const QString &text, QByteArray *out);

bool canEncode(const QString &text);

} // namespace Cp932
