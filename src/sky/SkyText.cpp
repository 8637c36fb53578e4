#include "SkyText.h"

#include <QList>
#include <QStringList>
#include <cmath>

namespace {

const QChar kMinus(0x2212);

struct Parsed
{
    double value = 0; // the first field plus the others as sixtieths
    bool sexagesimal = false;
};

// "+12 34 56.7", "12:34:56", "12h34m56s", "-12°34′56″" or a plain number; the sign applies to
// the whole value.
std::optional<Parsed> parse(QString text)
{
    text = text.trimmed();
    text.replace(kMinus, u'-');
    double sign = 1;
    if (text.startsWith(u'-') || text.startsWith(u'+')) {
        sign = text.startsWith(u'-') ? -1 : 1;
        text = text.mid(1).trimmed();
    }
    if (text.isEmpty() || !(text.at(0).isDigit() || text.at(0) == u'.'))
        return std::nullopt;
    static const QString separators = QStringLiteral(" :hHmMsSdD\u00B0\u2032\u2033'\"");
    QStringList fields;
    QString field;
    bool sexagesimal = false;
    for (const QChar c : text) {
        if (separators.contains(c)) {
            sexagesimal = true;
            if (!field.isEmpty())
                fields << field;
            field.clear();
        } else {
            field += c;
        }
    }
    if (!field.isEmpty())
        fields << field;
    if (fields.isEmpty() || fields.size() > 3)
        return std::nullopt;
    Parsed p{0, sexagesimal};
    double unit = 1;
    for (int i = 0; i < fields.size(); ++i, unit /= 60) {
        bool ok = false;
        const double v = fields[i].toDouble(&ok);
        // Only the last field may have a fraction; minutes and seconds stay below 60.
        if (!ok || !std::isfinite(v) || v < 0 || (i > 0 && v >= 60) ||
            (i + 1 < fields.size() && v != std::floor(v)))
            return std::nullopt;
        p.value += v * unit;
    }
    p.value *= sign;
    return p;
}

// Whole units, minutes and seconds of a rounded number of seconds.
QString sexagesimal(long long seconds, const char *format, QChar sign)
{
    return QString::asprintf(format, int(seconds / 3600), int(seconds / 60 % 60), int(seconds % 60))
        .prepend(sign.isNull() ? QString() : QString(sign));
}

} // namespace

namespace SkyText {

std::optional<double> parseRa(const QString &text)
{
    const auto p = parse(text);
    if (!p)
        return std::nullopt;
    const double degrees = p->sexagesimal ? p->value * 15 : p->value;
    if (degrees < 0 || degrees >= 360)
        return std::nullopt;
    return degrees;
}

std::optional<double> parseDec(const QString &text)
{
    const auto p = parse(text);
    if (!p || std::fabs(p->value) > 90)
        return std::nullopt;
    return p->value;
}

QString raText(double degrees)
{
    const long long seconds = std::llround(degrees / 15 * 3600) % (24 * 3600);
    return sexagesimal(seconds < 0 ? seconds + 24 * 3600 : seconds, "%02dh%02dm%02ds", QChar());
}

QString decText(double degrees)
{
    const long long seconds = std::llround(std::fabs(degrees) * 3600);
    return sexagesimal(seconds, "%02d\u00B0%02d\u2032%02d\u2033",
                       degrees < 0 && seconds > 0 ? kMinus : QChar(u'+'));
}

QString fieldText(double width, double height)
{
    if (std::max(width, height) >= 1)
        return QString::asprintf("%.2f\u00B0\u00D7%.2f\u00B0", width, height);
    return QString::asprintf("%.1f\u2032\u00D7%.1f\u2032", width * 60, height * 60);
}

QString scaleText(double arcsecPerPixel)
{
    return QString::asprintf("%.2f\u2033/px", arcsecPerPixel);
}

QString angleText(double degrees)
{
    double rounded = std::round(degrees * 10) / 10;
    if (rounded >= 360)
        rounded -= 360;
    return QString::asprintf("%.1f\u00B0", rounded);
}

} // namespace SkyText
