#include "FitsCards.h"

namespace {

constexpr int kCard = 80;
constexpr int kBlock = 2880;

QByteArray card(const QString &key, const QString &value)
{
    QByteArray c = key.toLatin1().leftJustified(8, ' ', true);
    if (!value.isNull())
        c += "= " + value.toLatin1().rightJustified(value.startsWith(u'\'') ? 0 : 20, ' ');
    return c.leftJustified(kCard, ' ', true);
}

void pad(QByteArray *bytes, char with)
{
    const qsizetype rest = bytes->size() % kBlock;
    if (rest != 0)
        bytes->append(kBlock - rest, with);
}

} // namespace

namespace FitsCards {

QHash<QString, QString> parse(const QByteArray &header)
{
    QHash<QString, QString> values;
    for (qsizetype at = 0; at + kCard <= header.size(); at += kCard) {
        const QByteArrayView c = QByteArrayView(header).sliced(at, kCard);
        const QByteArray key = c.first(8).trimmed().toByteArray().toUpper();
        if (key == "END")
            return values;
        if (c.sliced(8, 2) != "= ")
            continue;
        QByteArrayView rest = c.sliced(10).trimmed();
        QString value;
        if (rest.startsWith('\'')) {
            QByteArray text;
            for (qsizetype i = 1; i < rest.size(); ++i) {
                if (rest[i] == '\'') {
                    if (i + 1 < rest.size() && rest[i + 1] == '\'') {
                        text += '\'';
                        ++i;
                        continue;
                    }
                    break;
                }
                text += rest[i];
            }
            value = QString::fromLatin1(text).trimmed();
        } else {
            const qsizetype slash = rest.indexOf('/');
            value = QString::fromLatin1(slash < 0 ? rest : rest.first(slash)).trimmed();
        }
        values.insert(QString::fromLatin1(key), value);
    }
    return {};
}

QByteArray write(const QList<Card> &cards)
{
    QByteArray bytes;
    for (const auto &[key, value] : cards)
        bytes += card(key, value);
    bytes += card(QStringLiteral("END"), QString());
    pad(&bytes, ' ');
    return bytes;
}

QString number(double value)
{
    return QString::number(value, 'G', 15);
}

QString string(const QString &text)
{
    QString quoted = text;
    quoted.replace(u'\'', QStringLiteral("''"));
    return QLatin1Char('\'') + quoted.leftJustified(8, u' ') + QLatin1Char('\'');
}

QString boolean(bool value)
{
    return value ? QStringLiteral("T") : QStringLiteral("F");
}

QByteArray greyImage(const QByteArray &pixels, int width, int height)
{
    QByteArray bytes = write({{QStringLiteral("SIMPLE"), boolean(true)},
                              {QStringLiteral("BITPIX"), QStringLiteral("8")},
                              {QStringLiteral("NAXIS"), QStringLiteral("2")},
                              {QStringLiteral("NAXIS1"), QString::number(width)},
                              {QStringLiteral("NAXIS2"), QString::number(height)}});
    bytes += pixels;
    pad(&bytes, '\0');
    return bytes;
}

} // namespace FitsCards
