#include "DigitsValidator.h"

#include <algorithm>

DigitsValidator::DigitsValidator(QLineEdit *box) : InsertionValidator(box) {}

QString DigitsValidator::judge(const QString &, const QString &inserted) const
{
    const QString ascii = toAscii(inserted);
    const bool digits =
        std::all_of(ascii.begin(), ascii.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
    return digits ? ascii : QString();
}
