#pragma once

#include <QString>
#include <optional>

// The two text-to-number readings of the editing panel and the two roundings.
namespace TextNumber {

// Nearest integer, halves to the even neighbour (2.5 gives 2, 3.5 gives 4). Empty when the value
// does not fit 32 bits.
std::optional<qint32> roundHalfEven(double value);

// The whole text read as a number in the user's locale (or the C locale), blanks around it
// allowed, a fraction rounded halves to even ("01" gives 1, "640.5" gives 640). Empty when the
// text is not a number or the number does not fit 32 bits.
std::optional<qint32> number(const QString &text);

// The longest number at the start of the text, blanks ignored, sign and a period as decimal
// point allowed, as a floating value: 0 when the text does not start with a number ("12pt" 12).
double leadingValue(const QString &text);

// leadingValue rounded halves to even; empty only when it does not fit 32 bits.
std::optional<qint32> leadingNumber(const QString &text);

// Fix(x + 0.5): 2.5 gives 3, -1.5 gives -1, -1.7 gives -1.
double roundHalfUp(double x);

} // namespace TextNumber
