#include "io/PhotoMetadata.h"
#include "sky/SkyCatalogue.h"
#include "sky/SolveHints.h"
#include "sky/Wcs.h"
#include "support/ExifFiles.h"
#include "support/FitsWriter.h"

#include <QtTest>

namespace {

using Header = QHash<QString, QString>;

// A 400x300 picture of a 1° field at M 42, up 30° east of north.
const Wcs kReference = Wcs::fromView({83.82, -5.39}, 9, 30, false, {400, 300});

Header cards(const QStringList &pairs)
{
    Header h;
    for (const QString &pair : pairs)
        h.insert(pair.section(u'=', 0, 0), pair.section(u'=', 1));
    return h;
}

// The reference's header as FITS cards, rows top-down.
QStringList fitsCards()
{
    QStringList c;
    for (const auto &[key, value] : kReference.headerCards())
        c << key + u'=' + QString(value).remove(u'\'').trimmed();
    return c;
}

// The reference in FITS's own rows, bottom-up: CDELT2 positive, rotation -30°.
const QStringList kRotated = {"CTYPE1=RA---TAN", "CTYPE2=DEC--TAN", "CRVAL1=83.82",
                              "CRVAL2=-5.39",    "CRPIX1=200.5",    "CRPIX2=150.5",
                              "CDELT1=-0.0025",  "CDELT2=0.0025",   "CROTA2=-30"};

Wcs withDistortion(Wcs wcs)
{
    SipPolynomial a{2, {{0, 0, 2e-5}, {0, -1e-5, 0}, {3e-5, 0, 0}}};
    SipPolynomial b{2, {{0, 0, -1e-5}, {0, 2e-5, 0}, {1e-5, 0, 0}}};
    wcs.setDistortion(a, b, {}, {});
    return wcs;
}

} // namespace

class tst_Wcs : public QObject
{
    Q_OBJECT

private slots:
    void viewDirections_data();
    void viewDirections();
    void roundTrip_data();
    void roundTrip();
    void header_data();
    void header();
    void hints_data();
    void hints();
};

void tst_Wcs::viewDirections_data()
{
    QTest::addColumn<double>("up");
    QTest::addColumn<bool>("mirrored");
    QTest::addColumn<QString>("above");  // where the pixel above the centre lies
    QTest::addColumn<QString>("onLeft"); // and the one on its left
    QTest::newRow("north up: east on the left") << 0.0 << false << "north"
                                                << "east";
    QTest::newRow("east up: south on the left") << 90.0 << false << "east"
                                                << "south";
    QTest::newRow("mirrored: west on the left") << 0.0 << true << "north"
                                                << "west";
}

void tst_Wcs::viewDirections()
{
    QFETCH(double, up);
    QFETCH(bool, mirrored);
    QFETCH(QString, above);
    QFETCH(QString, onLeft);
    const Wcs wcs = Wcs::fromView({120, 20}, 10, up, mirrored, {200, 100});
    const SkyPoint c = wcs.centre();
    auto direction = [&](QPointF pixel) {
        const SkyPoint p = wcs.pixelToSky(pixel);
        const double angle = positionAngle(c, p);
        const QStringList names = {"north", "east", "south", "west"};
        return names[int(std::lround(angle / 90)) % 4];
    };
    QCOMPARE(direction({100, 40}), above);
    QCOMPARE(direction({90, 50}), onLeft);
    QCOMPARE(wcs.isMirrored(), mirrored);
    QVERIFY(std::fabs(wcs.upAngle() - up) < 1e-9);
    QVERIFY(std::fabs(wcs.pixelScale() - 10) < 1e-9);
    QVERIFY(std::fabs(wcs.fieldWidth() - 2000.0 / 3600) < 1e-5);
}

void tst_Wcs::roundTrip_data()
{
    QTest::addColumn<Wcs>("wcs");
    QTest::newRow("tangent plane") << kReference;
    QTest::newRow("mirrored near the pole") << Wcs::fromView({10, 89.5}, 30, 200, true, {400, 300});
    QTest::newRow("SIP, no inverse terms") << withDistortion(kReference);
    QTest::newRow("SIP, shrunk, moved and turned")
        << withDistortion(kReference).transformed(0.5, -0.5, {20, 160}, {240, 180});
}

void tst_Wcs::roundTrip()
{
    QFETCH(Wcs, wcs);
    const auto again = Wcs::fromHeader(FitsCards::parse(FitsCards::write(wcs.headerCards())));
    QVERIFY(again);
    for (const QPointF p : {QPointF(0, 0), QPointF(37.5, 250), QPointF(399, 10)}) {
        const auto back = wcs.skyToPixel(wcs.pixelToSky(p));
        QVERIFY(back && QLineF(*back, p).length() < 1e-6);
        QVERIFY(skyDistance(again->pixelToSky(p), wcs.pixelToSky(p)) < 1e-9);
    }
    // The same sky in the shrunk copy's pixels, distortion included.
    const Wcs shrunk = wcs.transformed(0.25, 0.5, {3, -7}, {100, 150});
    const QPointF p(123.4, 56.7);
    QVERIFY(skyDistance(shrunk.pixelToSky({p.x() * 0.25 + 3, p.y() * 0.5 - 7}), wcs.pixelToSky(p)) <
            1e-9);
}

void tst_Wcs::header_data()
{
    QTest::addColumn<QStringList>("keys");
    QTest::addColumn<bool>("bottomUp");
    QTest::addColumn<bool>("valid");
    const double rho = 30 * M_PI / 180;
    auto pc = [](const char *key, double v) {
        return QStringLiteral("%1=%2").arg(key).arg(v, 0, 'g', 17);
    };
    QStringList pcCards = kRotated.mid(0, 8);
    pcCards << pc("PC1_1", std::cos(rho)) << pc("PC1_2", -std::sin(rho))
            << pc("PC2_1", std::sin(rho)) << pc("PC2_2", std::cos(rho));
    QTest::newRow("CD matrix") << fitsCards() << false << true;
    QTest::newRow("CDELT and CROTA2, rows bottom-up") << kRotated << true << true;
    QTest::newRow("PC and CDELT, rows bottom-up") << pcCards << true << true;
    QStringList sin = fitsCards();
    sin.replaceInStrings(QStringLiteral("-TAN"), QStringLiteral("-SIN"));
    QTest::newRow("another projection") << sin << false << false;
    QTest::newRow("no scale") << kRotated.mid(0, 6) << false << false;
}

void tst_Wcs::header()
{
    QFETCH(QStringList, keys);
    QFETCH(bool, bottomUp);
    QFETCH(bool, valid);
    const auto wcs = Wcs::fromHeader(cards(keys), QSize(400, 300), bottomUp);
    QCOMPARE(wcs.has_value(), valid);
    if (!valid)
        return;
    QCOMPARE(wcs->imageSize(), QSize(400, 300));
    for (const QPointF p : {QPointF(0, 0), QPointF(200, 150), QPointF(390, 20)})
        QVERIFY2(
            skyDistance(wcs->pixelToSky(p), kReference.pixelToSky(p)) < 1e-9,
            qPrintable(QString::number(skyDistance(wcs->pixelToSky(p), kReference.pixelToSky(p)))));
}

void tst_Wcs::hints_data()
{
    QTest::addColumn<QStringList>("keys"); // FITS keys, or EXIF tags for a name with "Exif."
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("position"); // "ra dec radius", empty for none
    QTest::addColumn<QString>("scale");    // "low high" in arcseconds per pixel
    QTest::newRow("a WCS in the header") << kRotated << ""
                                         << ""
                                         << "0.00 0.00";
    QTest::newRow("RA and DEC in degrees, optics with binning")
        << QStringList{"RA=270.92", "DEC=-24.38", "FOCALLEN=500", "XPIXSZ=3.76", "XBINNING=2"} << ""
        << "270.92 -24.38 1.24"
        << "1.40 3.41";
    QTest::newRow("OBJCTRA and OBJCTDEC sexagesimal")
        << QStringList{"OBJCTRA=18 03 41", "OBJCTDEC=-24 22 48"} << ""
        << "270.92 -24.38 10"
        << "0.00 0.00";
    QTest::newRow("OBJECT found in the catalogue") << QStringList{"OBJECT=M 42"} << ""
                                                   << "83.82 -5.39 10"
                                                   << "0.00 0.00";
    QTest::newRow("the typed target before OBJECT")
        << QStringList{"OBJECT=M 42", "PIXSIZE=4.63", "FOCALLEN=1000"} << "干潟星雲"
        << "270.92 -24.38 1.15"
        << "0.86 1.05";
    QTest::newRow("EXIF focal plane resolution")
        << QStringList{"Exif.Photo.FocalLength=200/1", "Exif.Photo.FocalPlaneXResolution=2000/1",
                       "Exif.Photo.FocalPlaneResolutionUnit=3"}
        << ""
        << ""
        << "4.64 22.69";
}

void tst_Wcs::hints()
{
    QFETCH(QStringList, keys);
    QFETCH(QString, typed);
    QFETCH(QString, position);
    QFETCH(QString, scale);
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("photo.fits"));
    if (keys.first().startsWith(QLatin1String("Exif."))) {
        path = dir.filePath(QStringLiteral("photo.jpg"));
        QList<QByteArray> names;
        for (const QString &k : keys)
            names << k.section(u'=', 0, 0).toLatin1();
        ExifFiles::Tags tags;
        for (int i = 0; i < keys.size(); ++i)
            tags.append({names[i].constData(), keys[i].section(u'=', 1).toLatin1()});
        QVERIFY(ExifFiles::write(path, tags, {400, 300}));
    } else {
        QVERIFY(FitsWriter::write(path, {BYTE_IMG, {400, 300}, std::vector<double>(120000), keys}));
    }
    PhotoMetadata data;
    QVERIFY(PhotoMetadata::read(path, &data));
    const SolveHints h = SolveHints::fromMetadata(data, {400, 300}, typed, SkyCatalogue::builtIn());
    const QString found = h.position ? QStringLiteral("%1 %2 %3")
                                           .arg(h.position->ra, 0, 'f', 2)
                                           .arg(h.position->dec, 0, 'f', 2)
                                           .arg(h.radius, 0, 'g', 3)
                                     : QString();
    QCOMPARE(found, position);
    QCOMPARE(QStringLiteral("%1 %2").arg(h.scaleLow, 0, 'f', 2).arg(h.scaleHigh, 0, 'f', 2), scale);
    QCOMPARE(h.headerWcs.has_value(), keys.contains(QStringLiteral("CTYPE1=RA---TAN")));
    if (h.headerWcs)
        QVERIFY(skyDistance(h.headerWcs->pixelToSky({10, 20}), kReference.pixelToSky({10, 20})) <
                1e-9);
}

QTEST_MAIN(tst_Wcs)
#include "tst_Wcs.moc"
