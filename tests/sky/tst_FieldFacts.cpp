#include "sky/FieldFacts.h"
#include "sky/SkyCatalogue.h"
#include "sky/SkyText.h"

#include <QtTest>

namespace {

using Language = AppSettings::Language;

// A 2° by 1.33° picture centred on M 8, north up.
const Wcs kLagoon = Wcs::fromView({270.92, -24.38}, 9, 0, false, {800, 533});

QString degrees(std::optional<double> value)
{
    return value ? QString::number(*value, 'f', 6) : QStringLiteral("no");
}

} // namespace

class tst_FieldFacts : public QObject
{
    Q_OBJECT

private slots:
    void texts_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        // Degrees read from a text, to six places; "no" when refused. A southern declination, the
        // field in degrees and the scale are the placeholders' rows.
        const auto ra = [](const char *text) { return degrees(SkyText::parseRa(text)); };
        const auto dec = [](const char *text) { return degrees(SkyText::parseDec(text)); };
        QTest::newRow("hours, colons and a fraction") << ra("18:06:09.6") << "271.540000";
        QTest::newRow("a plain number is degrees") << ra("271.5375") << "271.537500";
        QTest::newRow("24 hours is out of range") << ra("24 00 00") << "no";
        QTest::newRow("a fraction before the seconds") << ra("18.5 06 00") << "no";
        QTest::newRow("declination with the minus sign") << dec("−24°04′43″") << "-24.078611";
        QTest::newRow("minus zero degrees") << dec("-00 30 00") << "-0.500000";
        QTest::newRow("plus sign") << dec("+05:30") << "5.500000";
        QTest::newRow("beyond the pole") << dec("91") << "no";
        QTest::newRow("RA rounds up to 0h") << SkyText::raText(359.9999) << "00h00m00s";
        QTest::newRow("DEC just below zero") << SkyText::decText(-0.0001) << "+00°00′00″";
        QTest::newRow("DEC a second below zero") << SkyText::decText(-1 / 3600.0) << "−00°00′01″";
        QTest::newRow("field below 1°") << SkyText::fieldText(0.7083, 0.4717) << "42.5′×28.3′";
        QTest::newRow("angle rounds to 0°") << SkyText::angleText(359.96) << "0.0°";
    }
    void texts()
    {
        QFETCH(QString, text);
        QFETCH(QString, expected);
        QCOMPARE(text, expected);
    }
    void find_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("label"); // in Japanese (English: the placeholders); empty: none
        const auto row = [](const char *name, const char *typed, const char *label) {
            QTest::newRow(name) << typed << label;
        };
        const char *m8 = "M 8 (NGC 6523) 干潟星雲";
        row("messier 8, lower case", "messier 8", m8);
        row("full-width", "Ｍ　８", m8);
        row("NGC number with zeros", "NGC 06523", m8);
        row("Japanese name", "干潟星雲", m8);
        row("designation and name", "M8 Lagoon", m8);
        row("alias", "すばる", "M 45 プレアデス星団");
        row("Caldwell number", "C20", "NGC 7000 北アメリカ星雲");
        row("no common name", "NGC 6530", "NGC 6530");
        row("M 80 is not M 8", "M80", "M 80 (NGC 6093)");
        row("unknown", "my garden", "");
        row("nothing", "", "");
    }
    void find()
    {
        QFETCH(QString, typed);
        QFETCH(QString, label);
        const SkyObject *o = SkyCatalogue::builtIn().find(typed);
        QCOMPARE(o ? o->label(Language::Japanese) : QString(), label);
    }
    void objectsInField()
    {
        // astrometry.net's list: M 8 (ours already), NGC 6526 (not ours), one outside.
        const QByteArray json = R"(plot-constellations: some message
    { "annotations": [
    { "type": "ngc", "names": [ "NGC 6523", "Lagoon Nebula", "M 8" ], "pixelx": 400.5, "pixely": 267, "radius": 150 },
    { "type": "ngc", "names": [ "NGC 6526" ], "pixelx": 376.5, "pixely": 315.5, "radius": 83.3 },
    { "type": "ngc", "names": [ "IC 9999" ], "pixelx": -40, "pixely": 10, "radius": 5 } ] })";
        const auto listed = FieldObjects::parseListed(json);
        QCOMPARE(listed[1].pixel, QPointF(376, 315));
        const QList<FieldObject> objects =
            FieldObjects::inField(kLagoon, SkyCatalogue::builtIn(), listed);
        QStringList names;
        for (const FieldObject &o : objects)
            names << o.object.shortLabel() + (o.fromCatalogue ? QString() : QStringLiteral("*"));
        QCOMPARE(names, QStringList({"M 8", "NGC 6526*", "NGC 6530"}));
        // M 8: 45′ by 30′ at 9″ a pixel, no position angle: the major axis points north, up.
        const FieldObject m8 = objects.first();
        QVERIFY(std::fabs(m8.majorPixels - 300) < 0.5 && std::fabs(m8.minorPixels - 200) < 0.5);
        QVERIFY(QLineF(m8.pixel, *kLagoon.skyToPixel(m8.object.position)).length() < 1e-9);
        QVERIFY(std::fabs(m8.axisAngle + 90) < 0.01);
        // M 31's major axis at 35° east of north: from up toward the left, east, in a normal view.
        const SkyObject &m31 = *SkyCatalogue::builtIn().find(QStringLiteral("M31"));
        const FieldObject placed =
            FieldObjects::place(m31, Wcs::fromView(m31.position, 10, 0, false, {800, 600}));
        QVERIFY(std::fabs(placed.axisAngle + 125) < 0.05);
    }
    void target_data()
    {
        QTest::addColumn<QList<SkyObject>>("objects");
        QTest::addColumn<QString>("target");
        const auto object = [](const char *name, SkyPoint position, double size) {
            SkyObject o;
            o.designation = QLatin1String(name);
            o.position = position;
            o.majorAxis = o.minorAxis = size;
            return o;
        };
        // The field's shorter side is 1.33°: 5% is 4′.
        const SkyPoint c = kLagoon.centre();
        const SkyObject small = object("small at the centre", c, 3.9);
        const SkyObject near = object("near", {c.ra + 0.2, c.dec}, 10);
        const SkyObject far = object("far", {c.ra - 0.5, c.dec}, 60);
        const SkyObject twin = object("as near and larger", {c.ra - 0.2, c.dec + 0.005}, 20);
        QTest::newRow("the nearest large enough") << QList{small, far, near} << "near";
        QTest::newRow("a tie goes to the larger") << QList{near, twin} << "as near and larger";
        QTest::newRow("none large enough") << QList{small} << "";
    }
    void target()
    {
        QFETCH(QList<SkyObject>, objects);
        QFETCH(QString, target);
        QList<FieldObject> placed;
        for (const SkyObject &o : objects)
            placed << FieldObjects::place(o, kLagoon);
        const auto chosen = FieldObjects::target(placed, kLagoon);
        QCOMPARE(chosen ? chosen->object.designation : QString(), target);
    }
    void placeholders_data()
    {
        QTest::addColumn<int>("language");
        QTest::addColumn<QStringList>("values"); // none for a field not identified
        const QStringList field = {"18h03m41s", "−24°22′48″", "2.00°×1.33°", "9.00″/px", "0.0°"};
        QTest::newRow("Japanese") << int(Language::Japanese)
                                  << field + QStringList{"M 8 干潟星雲、M 20 三裂星雲、NGC 6530",
                                                         "M 8 (NGC 6523) 干潟星雲"};
        QTest::newRow("English") << int(Language::English)
                                 << field + QStringList{
                                                "M 8 Lagoon Nebula, M 20 Trifid Nebula, NGC 6530",
                                                "M 8 (NGC 6523) Lagoon Nebula"};
        QTest::newRow("not identified: every name, no values")
            << int(Language::Japanese) << QStringList(7);
    }
    void placeholders()
    {
        QFETCH(int, language);
        QFETCH(QStringList, values);
        SolveResult r;
        if (!values.first().isEmpty()) {
            r.wcs = kLagoon;
            for (const char *name : {"M8", "M20", "NGC6530"})
                r.objects << FieldObjects::place(*SkyCatalogue::builtIn().find(QLatin1String(name)),
                                                 kLagoon);
            r.target = FieldObjects::target(r.objects, kLagoon);
        }
        QStringList names, texts;
        for (const auto &[name, text] : FieldFacts::values(r, Language(language))) {
            names << name;
            texts << text;
        }
        QCOMPARE(names, FieldFacts::names());
        QCOMPARE(texts, values);
    }
};

QTEST_MAIN(tst_FieldFacts)
#include "tst_FieldFacts.moc"
