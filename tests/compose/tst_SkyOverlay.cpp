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

// How far the direction of v (degrees on the screen, y down) is from `angle`.
double turnFrom(const QPointF &v, double angle)
{
    return std::fabs(std::fmod(std::atan2(v.y(), v.x()) * 180 / M_PI - angle + 540, 360) - 180);
}

} // namespace

class tst_SkyOverlay : public QObject
{
    Q_OBJECT

private slots:
    void labelsApartInsidePhoto_data()
    {
        QTest::addColumn<Field>("field");
        QTest::addColumn<int>("corner");
        QTest::addColumn<int>("labels");
        // Markarian's chain, M 87 at the left edge: every galaxy named.
        QTest::newRow("Virgo galaxies, shrunk to half")
            << Field{{186.6, 12.9}, 2.5, 20, false, {1600, 1067}, {800, 533}}
            << int(TemplateSky::BottomRight) << 5;
        QTest::newRow("Sagittarius nebulae, mirrored")
            << Field{{271.6, -23.2}, 3, 0, true, {640, 480}, {640, 480}}
            << int(TemplateSky::TopLeft) << 2;
        QTest::newRow("Orion in a narrow photo")
            << Field{{83.8, -5.2}, 1.2, 90, false, {300, 600}, {150, 300}}
            << int(TemplateSky::TopRight) << 2;
    }
    void labelsApartInsidePhoto()
    {
        QFETCH(Field, field);
        QFETCH(int, corner);
        QFETCH(int, labels);
        const QList<FieldObject> objects =
            FieldObjects::inField(field.wcs(), SkyCatalogue::builtIn(), {});
        TemplateSky style;
        style.corner = corner;
        const SkyOverlay::Layout layout =
            SkyOverlay::layOut(field.wcs(), objects, field.drawn, style,
                               SkyOverlay::font(style, QString()), AppSettings::Language::Japanese);
        QCOMPARE(layout.labels.size(), labels);
        QVERIFY(layout.compass && layout.scaleBar);
        QList<QRectF> boxes{layout.compass->box, layout.scaleBar->box};
        // Each label at its object in the photo as drawn (each axis scaled on its own).
        const double sx = double(field.drawn.width()) / field.solved.width();
        const double sy = double(field.drawn.height()) / field.solved.height();
        for (const SkyOverlay::Label &l : layout.labels) {
            const auto o = std::find_if(objects.begin(), objects.end(), [&](const FieldObject &f) {
                return l.text.startsWith(f.object.shortLabel());
            });
            QVERIFY(o != objects.end());
            QCOMPARE(l.centre, QPointF(o->pixel.x() * sx, o->pixel.y() * sy));
            boxes << l.box;
        }
        const QRectF photo(QPointF(0, 0), QSizeF(field.drawn));
        for (int i = 0; i < boxes.size(); ++i) {
            QVERIFY2(photo.contains(boxes[i]), qPrintable(QString::number(i)));
            for (int j = i + 1; j < boxes.size(); ++j)
                QVERIFY2(!boxes[i].intersects(boxes[j]),
                         qPrintable(QStringLiteral("%1 %2").arg(i).arg(j)));
        }
        const QPointF c = layout.compass->box.center();
        QCOMPARE(c.x() < photo.center().x(), corner == TemplateSky::TopLeft);
        QCOMPARE(c.y() < photo.center().y(), corner != TemplateSky::BottomRight);
    }
    void compassAndScaleFollowWcs_data()
    {
        QTest::addColumn<Field>("field");
        QTest::addColumn<QString>("bar");
        // Near the equator, where north hardly turns between the centre and the corner.
        QTest::newRow("north up") << Field{{150, 2}, 2, 0, false, {800, 600}, {800, 600}} << "30′";
        QTest::newRow("turned 120°, shrunk")
            << Field{{83.8, -5.2}, 4.4, 120, false, {1600, 1200}, {400, 300}} << "1°";
        QTest::newRow("mirrored, turned 300°")
            << Field{{271, -24.4}, 0.5, 300, true, {600, 400}, {600, 400}} << "5′";
        QTest::newRow("10°, turned 200°")
            << Field{{83.8, -5}, 10, 200, false, {640, 480}, {640, 480}} << "2°";
    }
    void compassAndScaleFollowWcs()
    {
        QFETCH(Field, field);
        QFETCH(QString, bar);
        TemplateSky style;
        style.labels = false;
        const SkyOverlay::Layout layout =
            SkyOverlay::layOut(field.wcs(), {}, field.drawn, style,
                               SkyOverlay::font(style, QString()), AppSettings::Language::English);
        QVERIFY(layout.compass && layout.scaleBar && layout.labels.isEmpty());
        // Up has position angle `up`: north lies that far from up toward west (clockwise on the
        // screen in a normal view, counter-clockwise in a mirrored one); east a right angle on.
        const double s = field.mirrored ? -1 : 1;
        const double north = -90 + s * field.up;
        const SkyOverlay::Compass &c = *layout.compass;
        QVERIFY(turnFrom(c.north - c.origin, north) < 1);
        QVERIFY(turnFrom(c.east - c.origin, north - s * 90) < 1);
        // The bar is as long as the angle it names, at the scale of the photo as drawn.
        QCOMPARE(layout.scaleBar->text, bar);
        const double length = QLineF(layout.scaleBar->start, layout.scaleBar->end).length();
        const double arcsec = length * field.width * 3600 / field.drawn.width();
        QCOMPARE(std::round(arcsec / (bar.endsWith(u'°') ? 3600 : 60)), bar.chopped(1).toDouble());
    }
};

QTEST_MAIN(tst_SkyOverlay)
#include "tst_SkyOverlay.moc"
