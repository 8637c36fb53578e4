#include "io/PhotoMetadata.h"
#include "sky/SkyCatalogue.h"
#include "sky/SolveHints.h"
#include "sky/Wcs.h"
#include "support/ExifFiles.h"
#include "support/FitsWriter.h"

#include <QtTest>

namespace {

// A 400x300 picture of a 1° field at M 42, up 30° east of north.
const Wcs kReference = Wcs::fromView({83.82, -5.39}, 9, 30, false, {400, 300});

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
    void viewDirections_data()
    {
        QTest::addColumn<double>("up");
        QTest::addColumn<bool>("mirrored");
        QTest::addColumn<QString>("directions"); // of the pixel above the centre, then on its left
        QTest::newRow("north up: east on the left") << 0.0 << false << "north east";
        QTest::newRow("east up: south on the left") << 90.0 << false << "east south";
        QTest::newRow("mirrored: west on the left") << 0.0 << true << "north west";
    }
    void viewDirections()
    {
        QFETCH(double, up);
        QFETCH(bool, mirrored);
        QFETCH(QString, directions);
        const Wcs wcs = Wcs::fromView({120, 20}, 10, up, mirrored, {200, 100});
        auto direction = [&](QPointF pixel) {
            const double angle = positionAngle(wcs.centre(), wcs.pixelToSky(pixel));
            const QStringList names = {"north", "east", "south", "west"};
            return names[int(std::lround(angle / 90)) % 4];
        };
        QCOMPARE(direction({100, 40}) + u' ' + direction({90, 50}), directions);
        QCOMPARE(wcs.isMirrored(), mirrored);
        QVERIFY(std::fabs(wcs.upAngle() - up) < 1e-9);
    }
    void roundTrip_data()
    {
        QTest::addColumn<Wcs>("wcs");
        QTest::newRow("tangent plane") << kReference;
        QTest::newRow("mirrored near the pole")
            << Wcs::fromView({10, 89.5}, 30, 200, true, {400, 300});
        QTest::newRow("SIP, shrunk, moved and turned")
            << withDistortion(kReference).transformed(0.5, -0.5, {20, 160}, {240, 180});
    }
    void roundTrip()
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
        QVERIFY(skyDistance(shrunk.pixelToSky({123.4 * 0.25 + 3, 56.7 * 0.5 - 7}),
                            wcs.pixelToSky({123.4, 56.7})) < 1e-9);
    }
    void hints_data()
    {
        QTest::addColumn<QStringList>("keys"); // FITS keys, or EXIF tags for a name with "Exif."
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("wcs"); // the header's WCS, rows bottom-up, is the reference's
        QTest::addColumn<QString>("position"); // "ra dec radius", empty for none
        QTest::addColumn<QString>("scale");    // "low high" in arcseconds per pixel
        const auto row = [](const char *name, const QStringList &keys, const char *typed, bool wcs,
                            const char *position, const char *scale) {
            QTest::newRow(name) << keys << typed << wcs << position << scale;
        };
        const QStringList pcCards =
            kRotated.mid(0, 8) + QStringList{"PC1_1=0.86602540378443865", "PC1_2=-0.5", "PC2_1=0.5",
                                             "PC2_2=0.86602540378443865"};
        const QStringList sin =
            QStringList(kRotated).replaceInStrings(QStringLiteral("-TAN"), QStringLiteral("-SIN"));
        // The CD matrix is the round trip's.
        row("WCS of CDELT and CROTA2", kRotated, "", true, "", "0.00 0.00");
        row("WCS of PC and CDELT", pcCards, "", true, "", "0.00 0.00");
        row("WCS of another projection", sin, "", false, "", "0.00 0.00");
        row("WCS without a scale", kRotated.mid(0, 6), "", false, "", "0.00 0.00");
        row("RA and DEC in degrees, optics with binning",
            {"RA=270.92", "DEC=-24.38", "FOCALLEN=500", "XPIXSZ=3.76", "XBINNING=2"}, "", false,
            "270.92 -24.38 1.24", "1.40 3.41");
        row("OBJCTRA and OBJCTDEC sexagesimal", {"OBJCTRA=18 03 41", "OBJCTDEC=-24 22 48"}, "",
            false, "270.92 -24.38 10", "0.00 0.00");
        row("OBJECT found in the catalogue", {"OBJECT=M 42"}, "", false, "83.82 -5.39 10",
            "0.00 0.00");
        row("the typed target before OBJECT", {"OBJECT=M 42", "PIXSIZE=4.63", "FOCALLEN=1000"},
            "干潟星雲", false, "270.92 -24.38 1.15", "0.86 1.05");
        row("EXIF focal plane resolution",
            {"Exif.Photo.FocalLength=200/1", "Exif.Photo.FocalPlaneXResolution=2000/1",
             "Exif.Photo.FocalPlaneResolutionUnit=3"},
            "", false, "", "4.64 22.69");
    }
    void hints()
    {
        QFETCH(QStringList, keys);
        QFETCH(QString, typed);
        QFETCH(bool, wcs);
        QFETCH(QString, position);
        QFETCH(QString, scale);
        QTemporaryDir dir;
        QString path = dir.filePath(QStringLiteral("photo.fits"));
        if (keys.first().startsWith(QLatin1String("Exif."))) {
            path = dir.filePath(QStringLiteral("photo.jpg"));
            QList<QByteArray> names; // the tags point into these
            ExifFiles::Tags tags;
            for (const QString &k : keys) {
                names << k.section(u'=', 0, 0).toLatin1();
                tags.append({names.last().constData(), k.section(u'=', 1).toLatin1()});
            }
            QVERIFY(ExifFiles::write(path, tags, {400, 300}));
        } else {
            QVERIFY(
                FitsWriter::write(path, {BYTE_IMG, {400, 300}, std::vector<double>(120000), keys}));
        }
        PhotoMetadata data;
        QVERIFY(PhotoMetadata::read(path, &data));
        const SolveHints h =
            SolveHints::fromMetadata(data, {400, 300}, typed, SkyCatalogue::builtIn());
        const QString found = h.position ? QStringLiteral("%1 %2 %3")
                                               .arg(h.position->ra, 0, 'f', 2)
                                               .arg(h.position->dec, 0, 'f', 2)
                                               .arg(h.radius, 0, 'g', 3)
                                         : QString();
        QCOMPARE(found, position);
        QCOMPARE(QStringLiteral("%1 %2").arg(h.scaleLow, 0, 'f', 2).arg(h.scaleHigh, 0, 'f', 2),
                 scale);
        QCOMPARE(h.headerWcs.has_value(), wcs);
        for (const QPointF p : {QPointF(0, 0), QPointF(200, 150), QPointF(390, 20)})
            QVERIFY(!wcs ||
                    skyDistance(h.headerWcs->pixelToSky(p), kReference.pixelToSky(p)) < 1e-9);
    }
};

QTEST_MAIN(tst_Wcs)
#include "tst_Wcs.moc"
