#include "TextNumber.h"

#include <QLocale>
#include <cmath>
#include <string>

namespace TextNumber {

std::optional<qint32> roundHalfEven(double value)
{
    if (!std::isfinite(value))
        return std::nullopt;
    const double r = std::nearbyint(value); // the default rounding mode sends halves to even
    if (r < -2147483648.0 || r > 2147483647.0)
        return std::nullopt;
    return static_cast<qint32>(r);
}

std::optional<qint32> number(const QString &text)
{
    const QString t = text.trimmed();
    if (t.isEmpty())
        return std::nullopt;
    bool ok = false;
    double v = QLocale::system().toDouble(t, &ok);
    if (!ok)
        v = QLocale::c().toDouble(t, &ok);
    if (!ok)
        return std::nullopt;
    return roundHalfEven(v);
}

double leadingValue(const QString &text)
{
    // Collects sign, digits, one period and an exponent, skipping blanks anywhere, up to the
    // first other character.
    std::string s;
    int i = 0;
    const int n = int(text.size());
    auto skipBlanks = [&] {
        while (i < n &&
               (text[i] == u' ' || text[i] == u'\t' || text[i] == u'\n' || text[i] == u'\r'))
            ++i;
    };
    auto digits = [&] {
        int count = 0;
        for (;;) {
            skipBlanks();
            if (i < n && text[i] >= u'0' && text[i] <= u'9') {
                s += char(text[i].unicode());
                ++i;
                ++count;
            } else {
                return count;
            }
        }
    };
    skipBlanks();
    if (i < n && (text[i] == u'-' || text[i] == u'+')) {
        s += char(text[i].unicode());
        ++i;
    }
    int count = digits();
    skipBlanks();
    if (i < n && text[i] == u'.') {
        s += '.';
        ++i;
        count += digits();
    }
    if (count == 0)
        return 0.0;
    skipBlanks();
    if (i < n && (text[i] == u'e' || text[i] == u'E' || text[i] == u'd' || text[i] == u'D')) {
        const int save = i;
        const std::string mantissa = s;
        s += 'e';
        ++i;
        skipBlanks();
        if (i < n && (text[i] == u'-' || text[i] == u'+')) {
            s += char(text[i].unicode());
            ++i;
        }
        if (digits() == 0) {
            i = save;
            s = mantissa;
        }
    }
    return std::strtod(s.c_str(), nullptr);
}

std::optional<qint32> leadingNumber(const QString &text)
{
    return roundHalfEven(leadingValue(text));
}

double roundHalfUp(double x)
{
    return std::trunc(x + 0.5);
}

} // namespace TextNumber
