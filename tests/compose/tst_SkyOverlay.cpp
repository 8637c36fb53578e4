#include "compose/SkyOverlay.h"
#include "sky/SkyCatalogue.h"

#include <QtTest>

namespace {

struct Field
{
    SkyPoint centre;
    double width = 0; // degrees
    double up = 0;
    bool mirrored = false;
    QSize solved; // the pixels the solve gave
    QSize drawn;  // the photo as drawn

    Wcs wcs() const
    {
        return Wcs::fromView(centre, width * 3600 / solved.width(), up, mirrored, solved);
    }
};

QFont labelFont()
{
    TemplateSky style;
    style.fontSize = 10;
    return SkyOverlay::font(style, QString());
}

// Every rectangle the overlay covers with text or marks.
QList<QRectF> boxes(const SkyOverlay::Layout &layout)
{
    QList<QRectF> all;
    for (const SkyOverlay::Label &l : layout.labels)
        all << l.box;
    if (layout.compass)
        all << layout.compass->box;
    if (layout.scaleBar)
        all << layout.scaleBar->box;
    return all;
}

double angleOf(const QPointF &v)
{
    return std::atan2(v.y(), v.x()) * 180 / M_PI;
}

double turn(double a, double b)
{
    return std::fabs(std::fmod(a - b + 540, 360) - 180);
}

} // namespace

class tst_SkyOverlay : public QObject
{
    Q_OBJECT

private slots:
    void labelsApartInsidePhoto_data();
    void labelsApartInsidePhoto();
    void compassAndScaleFollowWcs_data();
    void compassAndScaleFollowWcs();
};

void tst_SkyOverlay::labelsApartInsidePhoto_data()
{
    QTest::addColumn<Field>("field");
    QTest::addColumn<int>("corner");
    QTest::addColumn<int>("minimum"); // labels at least
    // Markarian's chain, M 87 at the left edge: every galaxy named.
    QTest::newRow("Virgo galaxies, shrunk to half")
        << Field{{186.6, 12.9}, 2.5, 20, false, {1600, 1067}, {800, 533}}
        << int(TemplateSky::BottomRight) << 5;
    QTest::newRow("Sagittarius nebulae at the edges, mirrored")
        << Field{{271.6, -23.2}, 3, 0, true, {640, 480}, {640, 480}} << int(TemplateSky::TopLeft)
        << 2;
    QTest::newRow("Orion in a narrow photo")
        << Field{{83.8, -5.2}, 1.2, 90, false, {300, 600}, {150, 300}}
        << int(TemplateSky::TopRight) << 1;
}

void tst_SkyOverlay::labelsApartInsidePhoto()
{
    QFETCH(Field, field);
    QFETCH(int, corner);
    QFETCH(int, minimum);
    const Wcs wcs = field.wcs();
    const QList<FieldObject> objects = FieldObjects::inField(wcs, SkyCatalogue::builtIn(), {});
    TemplateSky style;
    style.corner = corner;
    const SkyOverlay::Layout layout = SkyOverlay::layOut(
        wcs, objects, field.drawn, style, labelFont(), AppSettings::Language::Japanese);
    QVERIFY2(layout.labels.size() >= minimum, qPrintable(QString::number(layout.labels.size())));
    QVERIFY(layout.compass && layout.scaleBar);
    const QRectF photo(QPointF(0, 0), QSizeF(field.drawn));
    const QList<QRectF> all = boxes(layout);
    for (int i = 0; i < all.size(); ++i) {
        QVERIFY2(photo.contains(all[i]), qPrintable(QString::number(i)));
        for (int j = i + 1; j < all.size(); ++j)
            QVERIFY2(!all[i].intersects(all[j]), qPrintable(QStringLiteral("%1 %2").arg(i).arg(j)));
    }
    // Each label next to its object in the photo as drawn, which the shrink moved.
    const double sx = double(field.drawn.width()) / field.solved.width();
    const double sy = double(field.drawn.height()) / field.solved.height();
    for (const SkyOverlay::Label &l : layout.labels) {
        const auto o = std::find_if(objects.begin(), objects.end(), [&](const FieldObject &f) {
            return l.text.startsWith(f.object.shortLabel());
        });
        QVERIFY(o != objects.end());
        QCOMPARE(l.centre, QPointF(o->pixel.x() * sx, o->pixel.y() * sy));
        const QRectF near = l.box.adjusted(-l.major - 8, -l.major - 8, l.major + 8, l.major + 8);
        QVERIFY2(near.contains(l.centre), qPrintable(l.text));
    }
    // The corner's marks in the chosen corner: the compass touches its two edges' margins.
    const QPointF c = layout.compass->box.center();
    QCOMPARE(c.x() < photo.center().x(), corner == TemplateSky::TopLeft);
    QCOMPARE(c.y() < photo.center().y(), corner != TemplateSky::BottomRight);
}

void tst_SkyOverlay::compassAndScaleFollowWcs_data()
{
    QTest::addColumn<Field>("field");
    QTest::addColumn<QString>("bar");
    // Near the equator, where north hardly turns between the centre and the corner.
    QTest::newRow("north up") << Field{{150, 2}, 2, 0, false, {800, 600}, {800, 600}}
                              << QStringLiteral("30′");
    QTest::newRow("turned 120°, shrunk") << Field{{83.8, -5.2}, 4.4, 120, false, {1600, 1200}, {400, 300}}
                                         << QStringLiteral("1°");
    QTest::newRow("mirrored, turned 300°")
        << Field{{271, -24.4}, 0.5, 300, true, {600, 400}, {600, 400}} << QStringLiteral("5′");
    QTest::newRow("10°, turned 200°") << Field{{83.8, -5}, 10, 200, false, {640, 480}, {640, 480}}
                                      << QStringLiteral("2°");
}

void tst_SkyOverlay::compassAndScaleFollowWcs()
{
    QFETCH(Field, field);
    QFETCH(QString, bar);
    TemplateSky style;
    style.labels = false;
    const SkyOverlay::Layout layout = SkyOverlay::layOut(
        field.wcs(), {}, field.drawn, style, labelFont(), AppSettings::Language::English);
    QVERIFY(layout.compass && layout.scaleBar);
    QVERIFY(layout.labels.isEmpty());
    // Up has position angle `up`: north lies that far from up, toward west (clockwise on the
    // screen in a normal view, counter-clockwise in a mirrored one); east a right angle on.
    const double s = field.mirrored ? -1 : 1;
    const double north = -90 + s * field.up;
    const double east = north - s * 90;
    const SkyOverlay::Compass &c = *layout.compass;
    QVERIFY2(turn(angleOf(c.north - c.origin), north) < 1,
             qPrintable(QString::number(angleOf(c.north - c.origin))));
    QVERIFY2(turn(angleOf(c.east - c.origin), east) < 1,
             qPrintable(QString::number(angleOf(c.east - c.origin))));
    // The bar's length is the angle it names, at the scale of the photo as drawn.
    QCOMPARE(layout.scaleBar->text, bar);
    const double drawnScale = field.width * 3600 / field.drawn.width();
    const double arcsec = bar.endsWith(u'°') ? 3600 : 60;
    QCOMPARE(std::round(QLineF(layout.scaleBar->start, layout.scaleBar->end).length() * drawnScale /
                        arcsec),
             bar.chopped(1).toDouble());
}

QTEST_MAIN(tst_SkyOverlay)
#include "tst_SkyOverlay.moc"
