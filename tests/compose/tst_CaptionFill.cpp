#include "compose/CaptionFill.h"
#include "io/PhotoMetadata.h"
#include "store/AppSettings.h"
#include "support/LocalZone.h"

#include <QtTest>

namespace {

// "NAME=value" pairs.
PhotoMetadata data(const QStringList &pairs)
{
    PhotoMetadata d;
    for (const QString &pair : pairs)
        d.setValue(pair.section(QLatin1Char('='), 0, 0), pair.section(QLatin1Char('='), 1));
    return d;
}

PanelValues panel()
{
    PanelValues p =
        PanelValues::startupDefaults(QDateTime(QDate(2002, 12, 31), QTime(23, 59)), {}, true);
    p.targetName = QStringLiteral("typed");
    p.footer = {QStringLiteral("one"), QStringLiteral("two"), QStringLiteral("three")};
    return p;
}

CaptionFill::Patterns defaults()
{
    return {AppSettings::defaultCaptionPattern(0), AppSettings::defaultCaptionPattern(1),
            AppSettings::defaultCaptionPattern(2)};
}

} // namespace

class tst_CaptionFill : public QObject
{
    Q_OBJECT

private slots:
    void init() { setLocalZone("Asia/Tokyo"); }
    void dateAndTime_data()
    {
        QTest::addColumn<QByteArray>("zone");
        QTest::addColumn<QStringList>("values");
        QTest::addColumn<QString>("date"); // year/month/day as the panel shows them
        QTest::addColumn<QString>("time");
        const auto row = [](const char *what, const char *zone, const QStringList &values,
                            const char *date, const char *time) {
            QTest::newRow(what) << QByteArray(zone) << values << QString::fromUtf8(date)
                                << QString::fromUtf8(time);
        };
        row("back over midnight west of UTC, a zone named by its offset", "America/Sao_Paulo",
            {"DATE-OBS=2026-03-01T02:00:00"}, "2026/Feb/28", "23:00 -03");
        row("a zone without a short name shows its offset", "<ABCDEFGHIJ>-5:30",
            {"DATE-OBS=2026-01-15T13:05:30"}, "2026/Jan/15", "18:35 UTC+05:30");
        row("DATE-OBS is UTC; any zone nine hours ahead is JST", "Asia/Seoul",
            {"DATE-OBS=2026-01-15T13:05:30.5Z"}, "2026/Jan/15", "22:05 JST");
        row("past the year 9999 keeps the date", "Asia/Tokyo", {"DATE-OBS=9999-12-31T20:00:00"},
            "2002/Dec/31", "23:59 JST");
        row("a date alone keeps the time", "Asia/Tokyo", {"DATE-OBS=2026-01-15"}, "2026/Jan/15",
            "23:59 JST");
        row("DATE-LOC is local time", "Asia/Tokyo",
            {"DATE-OBS=2026-13-45T00:00:00", "DATE-LOC=2026-01-15T22:05:00"}, "2026/Jan/15",
            "22:05 JST");
        row("EXIF at its offset", "Asia/Tokyo",
            {"DateTimeOriginal=2026:01:15 22:05:30", "OffsetTimeOriginal=+01:00"}, "2026/Jan/16",
            "06:05 JST");
        row("EXIF without a valid offset is local time", "Asia/Tokyo",
            {"DateTimeOriginal=2026:01:15 22:05:30", "OffsetTimeOriginal=+25:00"}, "2026/Jan/15",
            "22:05 JST");
        row("EXIF's blank date", "Asia/Tokyo", {"DateTimeOriginal=    :  :     :  :  "},
            "2002/Dec/31", "23:59 JST");
    }
    void dateAndTime()
    {
        QFETCH(QByteArray, zone);
        QFETCH(QStringList, values);
        QFETCH(QString, date);
        QFETCH(QString, time);
        setLocalZone(zone);
        const PanelValues filled = CaptionFill::fill(panel(), data(values), {});
        QCOMPARE(filled.year + '/' + filled.monthText() + '/' + filled.dayText(), date);
        QCOMPARE(filled.time, time);
    }
    void patterns_data()
    {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QStringList>("values");
        QTest::addColumn<QString>("line"); // "one": the line is kept
        const auto row = [](const char *what, const char *pattern, const QStringList &values,
                            const char *line) {
            QTest::newRow(what) << QString::fromUtf8(pattern) << values << QString::fromUtf8(line);
        };
        row("a missing value is empty", "{TELESCOP} + {INSTRUME}", {"INSTRUME=C26"}, "+ C26");
        row("brackets that hold no part", "[L [{FILTER}] [x", {"FILTER=Ha"}, "[L Ha [x");
        row("a part needs all its values", "{OBJECT}[ ({EXPTIME}s x {STACKCNT})]",
            {"OBJECT=M42", "EXPTIME=30"}, "M42");
        row("no value keeps the line", "{TELESCOP} + {INSTRUME}", {"OBJECT=M42"}, "one");
        row("unknown names stay as written", "{FOO} {{object}} }", {"OBJECT=M42"}, "{FOO} {M42} }");
        row("values are not patterns", "{OBJECT}", {"OBJECT={EXPTIME}", "EXPTIME=30"}, "{EXPTIME}");
        row("total in hours and minutes", "{TOTAL}", {"EXPTIME=90", "STACKCNT=50"}, "1時間15分");
        row("total under a minute", "{TOTAL}", {"EXPTIME=10", "STACKCNT=3"}, "30秒");
        row("no total without a count", "{TOTAL}", {"EXPTIME=300"}, "one");
        // "+NAME=value": an extra value (the field of a solved photo).
        row("extra values", "[{TARGET}: ]{RA}", {"+TARGET=M 8 干潟星雲", "+RA=18h03m41s"},
            "M 8 干潟星雲: 18h03m41s");
        row("an empty extra value drops its part", "{TELESCOP}[ {FOV}]", {"TELESCOP=R", "+FOV="},
            "R");
    }
    void patterns()
    {
        QFETCH(QString, pattern);
        QFETCH(QStringList, values);
        QFETCH(QString, line);
        CaptionFill::Values extra;
        for (const QString &v : values.filter(QRegularExpression(QStringLiteral("^\\+"))))
            extra.append({v.mid(1).section(u'=', 0, 0), v.section(u'=', 1)});
        values.removeIf([](const QString &v) { return v.startsWith(u'+'); });
        const PanelValues filled =
            CaptionFill::fill(panel(), data(values), {pattern}, {}, nullptr, extra);
        QCOMPARE(filled.footer[0], line);
    }
    void defaultPatterns_data()
    {
        QTest::addColumn<QStringList>("values");
        QTest::addColumn<QStringList>("footer");
        QTest::newRow("FITS photo")
            << QStringList{"TELESCOP=106mm 屈折", "INSTRUME=CMOS C26", "FOCALLEN=530",
                           "EXPTIME=300",         "STACKCNT=24",       "GAIN=100",
                           "CCD-TEMP=-10",        "FILTER=L-Pro"}
            << QStringList{"106mm 屈折 + CMOS C26 (f=530mm)",
                           "300秒 x 24枚 (計 2時間) Gain 100 -10℃", "フィルター: L-Pro"};
        QTest::newRow("camera photo")
            << QStringList{"Model=Camera X",  "LensModel=Lens 24mm", "FocalLength=24",
                           "ExposureTime=30", "FNumber=2.8",         "ISO=3200"}
            << QStringList{"Lens 24mm + Camera X (f=24mm)", "30秒 F2.8 ISO3200", "three"};
    }
    void defaultPatterns()
    {
        QFETCH(QStringList, values);
        QFETCH(QStringList, footer);
        const PanelValues filled = CaptionFill::fill(panel(), data(values), defaults());
        QCOMPARE(QStringList(filled.footer.begin(), filled.footer.end()), footer);
    }
};

QTEST_GUILESS_MAIN(tst_CaptionFill)
#include "tst_CaptionFill.moc"
