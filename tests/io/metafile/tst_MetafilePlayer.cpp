#include "EmfWriter.h"
#include "TestDib.h"
#include "WmfWriter.h"

#include "io/metafile/MetafilePlayer.h"
#include "common/Cp932.h"

#include <QPainter>
#include <QTest>
#include <QtEndian>

namespace {

constexpr QRgb Red = 0xFFFF0000, Green = 0xFF00FF00, Blue = 0xFF0000FF, White = 0xFFFFFFFF,
               Black = 0xFF000000;
constexpr int PsSolid = 0, PsNull = 5, BsSolid = 0, BsHatched = 2, Transparent = 1;
constexpr quint32 NullPen = 0x80000008, NullBrush = 0x80000005;

// The COLORREF (0x00BBGGRR) of a pixel colour.
constexpr quint32 ref(QRgb c)
{
    return quint32(qRed(c)) | quint32(qGreen(c)) << 8 | quint32(qBlue(c)) << 16;
}

QImage play(const QByteArray &metafile)
{
    QString error;
    const QImage image = MetafilePlayer::render(metafile, &error);
    if (image.isNull())
        qWarning() << "render failed:" << error;
    return image;
}

// A plain WMF whose logical units are pixels: MM_TEXT over a window of the given size.
WmfWriter pixelWmf(int width, int height)
{
    WmfWriter w = WmfWriter::plain();
    w.setMapMode(1);
    w.setWindowOrg(0, 0);
    w.setWindowExt(width, height);
    return w;
}

// Shapes drawn next are filled with `colour` and have no outline.
void fill(WmfWriter &w, QRgb colour)
{
    w.selectObject(w.createPen(PsNull, 0, 0));
    w.selectObject(w.createBrush(BsSolid, ref(colour), 0));
}

void fill(EmfWriter &e, QRgb colour)
{
    e.selectObject(NullPen);
    e.selectObject(e.createBrush(BsSolid, ref(colour), 0));
}

struct Pixel
{
    int x, y;
    QRgb colour;
};

// The pixels that are not as expected, as "x,y=AARRGGBB" (empty when all are).
QString wrongPixels(const QImage &image, const QList<Pixel> &pixels)
{
    QString wrong;
    for (const Pixel &p : pixels)
        if (image.pixel(p.x, p.y) != p.colour)
            wrong +=
                QStringLiteral("%1,%2=%3 ").arg(p.x).arg(p.y).arg(image.pixel(p.x, p.y), 8, 16);
    return wrong;
}

int countColor(const QImage &image, const QRect &area, QRgb color)
{
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            n += image.pixel(x, y) == color;
    return n;
}

// Bounding box of the pixels that are not white.
QRect inkBox(const QImage &image)
{
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != White)
                box |= QRect(x, y, 1, 1);
    return box;
}

// A 4 x 2 bitmap with four coloured quarters: red, green / blue, black.
QImage quarters()
{
    QImage image(4, 2, QImage::Format_RGB32);
    for (int x = 0; x < 4; ++x) {
        image.setPixel(x, 0, x < 2 ? Red : Green);
        image.setPixel(x, 1, x < 2 ? Blue : Black);
    }
    return image;
}

// A quarters bitmap stretched to `dest` shows its four colours in place and nothing outside.
QString wrongQuarters(const QImage &image, const QRect &d)
{
    const int x = d.left() + d.width() / 2, y = d.top() + d.height() / 2;
    return wrongPixels(image, {{d.left(), d.top(), Red},
                               {x - 1, y - 1, Red},
                               {x, d.top(), Green},
                               {d.right(), d.top(), Green},
                               {d.left(), d.bottom(), Blue},
                               {d.right(), d.bottom(), Black},
                               {d.left() - 1, d.top(), White},
                               {d.right() + 1, d.bottom(), White},
                               {d.left(), d.top() - 1, White},
                               {d.right(), d.bottom() + 1, White}});
}

QByteArray cp932(const QString &text)
{
    QByteArray bytes;
    if (!Cp932::encode(text, &bytes))
        qFatal("not encodable");
    return bytes;
}

} // namespace

Q_DECLARE_METATYPE(Pixel)

class tst_MetafilePlayer : public QObject
{
    Q_OBJECT

private slots:
    void recognisesSignatures_data();
    void recognisesSignatures();
    void naturalSize_data();
    void naturalSize();
    void refusesDamagedFiles_data();
    void refusesDamagedFiles();
    void refusesPicturesTooLargeBeforeDrawing();
    void refusesEndlessPainting();
    void inconsistentRecordIsSkipped_data();
    void inconsistentRecordIsSkipped();

    void fillColoursAreExactOnWhite();
    void pixelsInPlace_data();
    void pixelsInPlace();
    void threePixelPenIsThreePixelsWide();
    void ellipseIsFilled();
    void arcChordAndPie();
    void roundRectAndHatchedBrush();
    void mappingModes_data();
    void mappingModes();
    void japaneseTextFromCodePage932AndUtf16();
    void textSpacingLinesAndBackground();
    void dibAtItsPlace();

    void emfShapesAndBeziers();
    void emfClipAndMapping();
};

void tst_MetafilePlayer::recognisesSignatures_data()
{
    QTest::addColumn<QByteArray>("head");
    QTest::addColumn<bool>("metafile");
    QTest::newRow("placeable WMF")
        << WmfWriter::placeable(QRect(0, 0, 100, 100), 1440).finish() << true;
    QTest::newRow("plain WMF") << pixelWmf(10, 10).finish() << true;
    QTest::newRow("EMF") << EmfWriter(QSize(48, 48)).finish() << true;
    QTest::newRow("BMP") << QByteArray("BM\x36\0\0\0\0\0\0\0\x36\0\0\0", 14) << false;
    QTest::newRow("EMF type without signature")
        << QByteArray(64, '\0').replace(0, 1, "\x01") << false;
}

void tst_MetafilePlayer::recognisesSignatures()
{
    QFETCH(QByteArray, head);
    QFETCH(bool, metafile);
    QCOMPARE(MetafilePlayer::isMetafile(head.left(44)), metafile);
}

void tst_MetafilePlayer::naturalSize_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<QSize>("size");
    QTest::newRow("EMF frame of 10582 hundredths of a mm is 400 pixels")
        << EmfWriter::withFrame(QRect(QPoint(0, 0), QPoint(10582, 5291))).finish()
        << QSize(400, 200);
    QTest::newRow("EMF frame not at the origin")
        << EmfWriter::withFrame(QRect(QPoint(1000, 2000), QPoint(11582, 12582))).finish()
        << QSize(400, 400);
    QTest::newRow("placeable WMF of 6000 units at 1440 per inch is 400 pixels")
        << WmfWriter::placeable(QRect(0, 0, 6000, 3000), 1440).finish() << QSize(400, 200);
    QTest::newRow("placeable WMF at 2540 units per inch")
        << WmfWriter::placeable(QRect(-500, -500, 2540, 1270), 2540).finish() << QSize(96, 48);
    WmfWriter plain = WmfWriter::plain();
    plain.setMapMode(8);
    plain.setWindowExt(320, -240);
    QTest::newRow("plain WMF takes its window extent") << plain.finish() << QSize(320, 240);
    QTest::newRow("EMF above the largest picture still reports its size")
        << EmfWriter::withFrame(QRect(QPoint(0, 0), QPoint(52916, 26458))).finish()
        << QSize(2000, 1000);
}

void tst_MetafilePlayer::naturalSize()
{
    QFETCH(QByteArray, data);
    QFETCH(QSize, size);
    QSize actual;
    QString error;
    QVERIFY2(MetafilePlayer::naturalSize(data, &actual, &error), qPrintable(error));
    QCOMPARE(actual, size);
}

void tst_MetafilePlayer::refusesDamagedFiles_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("not a metafile") << QByteArray("GIF89a and some more bytes of no meaning");

    WmfWriter wmf = pixelWmf(100, 100);
    fill(wmf, Red);
    wmf.rectangle(10, 10, 90, 90);
    const QByteArray goodWmf = wmf.finish();
    // Patches the 32-bit value at `at` of a copy of `data`.
    const auto patched = [](QByteArray data, int at, quint32 value) {
        qToLittleEndian<quint32>(value, data.data() + at);
        return data;
    };
    QTest::newRow("WMF cut inside a record") << goodWmf.left(goodWmf.size() - 10);
    QTest::newRow("WMF cut before its end record") << goodWmf.left(goodWmf.size() - 6);
    QTest::newRow("WMF record longer than the file") << patched(goodWmf, 18, 0x7FFFFFFF);
    QTest::newRow("WMF record of size 0") << patched(goodWmf, 18, 0);
    QTest::newRow("placeable WMF with 0 units per inch")
        << WmfWriter::placeable(QRect(0, 0, 100, 100), 0).finish();
    WmfWriter noExtent = WmfWriter::plain();
    noExtent.rectangle(0, 0, 10, 10);
    QTest::newRow("plain WMF without window extent") << noExtent.finish();

    EmfWriter emf(QSize(48, 48));
    emf.rectangle(QRect(5, 5, 10, 10));
    const QByteArray goodEmf = emf.finish();
    QTest::newRow("EMF without its end record") << goodEmf.left(goodEmf.size() - 20);
    QTest::newRow("EMF record size not a multiple of 4") << patched(goodEmf, 112, 26);
    QTest::newRow("EMF record longer than the file") << patched(goodEmf, 112, 0xFFFFFFF0);
    QTest::newRow("EMF header cut short") << goodEmf.left(60);
    QTest::newRow("EMF frame with right left of left")
        << EmfWriter::withFrame(QRect(QPoint(1000, 0), QPoint(0, 1000))).finish();
}

void tst_MetafilePlayer::refusesDamagedFiles()
{
    QFETCH(QByteArray, data);
    QString error;
    QVERIFY(MetafilePlayer::render(data, &error).isNull());
    QVERIFY(!error.isEmpty());
}

void tst_MetafilePlayer::refusesPicturesTooLargeBeforeDrawing()
{
    // 30000 x 30000 pixels: refused from the header alone, no image is allocated.
    const QByteArray huge =
        EmfWriter::withFrame(QRect(QPoint(0, 0), QPoint(793750, 793750))).finish();
    QString error;
    QVERIFY(MetafilePlayer::render(huge, &error).isNull());
    QVERIFY(error.contains("30000"));
    const QByteArray justFits =
        EmfWriter::withFrame(QRect(QPoint(0, 0), QPoint(42333, 31749))).finish();
    QCOMPARE(MetafilePlayer::render(justFits, &error).size(), QSize(1600, 1200));
}

void tst_MetafilePlayer::refusesEndlessPainting()
{
    // Every record paints the whole picture: a few hundred times is a picture, a thousand
    // times is a file built to keep the player busy.
    auto paintings = [](int count) {
        WmfWriter w = pixelWmf(200, 200);
        fill(w, Red);
        for (int i = 0; i < count; ++i)
            w.rectangle(0, 0, 201, 201);
        return w.finish();
    };
    QString error;
    QVERIFY(!MetafilePlayer::render(paintings(300), &error).isNull());
    QVERIFY(MetafilePlayer::render(paintings(1000), &error).isNull());
    QVERIFY(!error.isEmpty());
}

void tst_MetafilePlayer::inconsistentRecordIsSkipped_data()
{
    QTest::addColumn<QByteArray>("data");
    auto wmfWith = [](auto damage) {
        WmfWriter w = pixelWmf(100, 100);
        damage(w);
        fill(w, Red);
        w.rectangle(10, 10, 90, 90);
        return w.finish();
    };
    QTest::newRow("WMF polygon counting more points than it holds") << wmfWith([](WmfWriter &w) {
        w.record(0x0324, {0x7FFF, 1, 1, 50, 1, 50, 50});
    });
    QTest::newRow("WMF polypolygon counts past the record") << wmfWith([](WmfWriter &w) {
        w.record(0x0538, {2, 3, -1, 1, 1, 50, 1, 50, 50});
    });
    QTest::newRow("WMF text longer than its record") << wmfWith([](WmfWriter &w) {
        w.record(0x0521, {0x7FFF, 0x4141, 10, 10});
    });
    QTest::newRow("WMF DIB with a height past its bits") << wmfWith([](WmfWriter &w) {
        QByteArray dib = TestDib::rgb24(quarters());
        qToLittleEndian<qint32>(30000, dib.data() + 8);
        w.stretchDib(QRect(0, 0, 50, 50), QRect(0, 0, 4, 2), dib);
    });

    auto emfWith = [](auto damage) {
        EmfWriter e(QSize(96, 96));
        damage(e);
        fill(e, Red);
        e.rectangle(QRect(10, 10, 80, 80));
        return e.finish();
    };
    const auto emfRecord = [&](quint32 type, const QList<qint32> &fields) {
        return emfWith([&](EmfWriter &e) { e.record(type, EmfWriter::ints(fields)); });
    };
    QTest::newRow("EMF polygon count whose byte size overflows 32 bits")
        << emfRecord(3, {0, 0, 96, 96, 0x20000001, 1, 1, 50, 1, 50, 50});
    QTest::newRow("EMF polypolygon counts that do not add up")
        << emfRecord(8, {0, 0, 96, 96, 2, 3, 2, 0x7FFFFFFF, 1, 1, 50, 1, 50, 50});
    QTest::newRow("EMF text with a character count past the record") << emfRecord(
        84, {0, 0, 96, 96, 1, 0, 0, 10, 10, 0x40000000, 76, 0, 0, 0, 0, 0, 0, 0x00410041});
    QTest::newRow("EMF bitmap offset past the record") << emfRecord(
        81, {0, 0, 96, 96, 0, 0, 0, 0, 4, 2, 80, 40, 0x7FFFFFF0, 32, 0, 0x00CC0020, 96, 96});
    QTest::newRow("EMF object handle far out of the table")
        << emfRecord(39, {0x7FFFFFFF, BsSolid, 0xFF0000, 0});
    QTest::newRow("EMF world transform that is not a number") << emfWith([](EmfWriter &e) {
        e.setWorldTransform({float(qQNaN()), 0, 0, 1, 0, 0});
        e.setWorldTransform({0, 0, 0, 0, 0, 0});
    });
}

void tst_MetafilePlayer::inconsistentRecordIsSkipped()
{
    // A record whose frame is sound but whose contents contradict it is skipped; the records
    // after it are drawn.
    QFETCH(QByteArray, data);
    const QImage image = play(data);
    QVERIFY(!image.isNull());
    QCOMPARE(wrongPixels(image, {{50, 50, Red}, {5, 5, White}}), QString());
}

void tst_MetafilePlayer::fillColoursAreExactOnWhite()
{
    WmfWriter w = pixelWmf(100, 100);
    const QRgb colours[] = {Red, qRgb(0x56, 0x34, 0x12), qRgb(0x81, 0x80, 0x7F)};
    for (int i = 0; i < 3; ++i) {
        fill(w, colours[i]);
        w.rectangle(10 + 30 * i, 10, 30 + 30 * i, 30);
    }
    const QImage image = play(w.finish());
    QCOMPARE(image.format(), QImage::Format_RGB32);
    QCOMPARE(
        wrongPixels(
            image,
            {{15, 15, colours[0]}, {45, 15, colours[1]}, {75, 15, colours[2]}, {50, 50, White}}),
        QString());
    const QImage emf = play(EmfWriter(QSize(48, 96)).finish());
    QCOMPARE(countColor(emf, QRect(0, 0, 48, 96), White), 48 * 96);
}

void tst_MetafilePlayer::pixelsInPlace_data()
{
    QTest::addColumn<QByteArray>("metafile");
    QTest::addColumn<QList<Pixel>>("pixels");
    WmfWriter w = pixelWmf(100, 50);
    // With a 1-pixel pen Rectangle(10, 10, 20, 20) covers pixels 10 to 19, the outline on 10
    // and 19; with no pen the fill covers 10 to 18.
    w.selectObject(w.createPen(PsSolid, 1, ref(Black)));
    w.selectObject(w.createBrush(BsSolid, ref(Red), 0));
    w.rectangle(10, 10, 20, 20);
    w.selectObject(w.createPen(PsNull, 0, 0));
    w.rectangle(40, 10, 50, 20);
    QTest::newRow("rectangle leaves out its right and bottom edge")
        << w.finish()
        << QList<Pixel>{{10, 10, Black}, {19, 19, Black}, {19, 14, Black}, {20, 14, White},
                        {14, 20, White}, {11, 11, Red},   {18, 18, Red},   {40, 10, Red},
                        {48, 18, Red},   {49, 14, White}, {44, 19, White}, {39, 14, White}};

    for (int mode : {1, 2}) {
        w = pixelWmf(200, 100);
        fill(w, Red);
        w.setPolyFillMode(mode);
        w.polyPolygon(
            {{{10, 10}, {90, 10}, {90, 90}, {10, 90}}, {{30, 30}, {70, 30}, {70, 70}, {30, 70}}});
        w.polygon({{110, 90}, {150, 10}, {190, 90}});
        w.selectObject(w.createPen(PsSolid, 1, ref(Green)));
        w.polyline({{100, 95}, {199, 95}});
        QTest::newRow(mode == 1 ? "alternate fill leaves the inner square empty"
                                : "winding fill fills the inner square")
            << w.finish() << QList<Pixel>{{20, 50, Red},    {50, 50, mode == 1 ? White : Red},
                                          {150, 70, Red},   {115, 20, White},
                                          {150, 95, Green}, {150, 96, White}};
    }

    // 2880 x 1440 twips is 192 x 96 pixels; the right half of the box is filled.
    w = WmfWriter::placeable(QRect(0, 0, 2880, 1440), 1440);
    fill(w, Green);
    w.rectangle(1440, 0, 2880, 1440);
    QTest::newRow("placeable bounding box fills the picture")
        << w.finish() << QList<Pixel>{{95, 50, White}, {96, 0, Green}, {190, 94, Green}};

    w = pixelWmf(200, 100);
    fill(w, Red); // slots 0 and 1
    w.saveDC();
    w.selectObject(w.createBrush(BsSolid, ref(Blue), 0));
    w.setWindowOrg(-50, 0);
    w.rectangle(0, 0, 20, 20); // blue, moved by the window origin
    w.restoreDC(-1);
    w.rectangle(0, 0, 20, 20); // red again, at the origin
    w.createRegion();          // slot 3, freed and taken by the next object
    w.deleteObject(3);
    w.createBrush(BsSolid, ref(Green), 0);
    w.selectObject(3);
    w.intersectClipRect(100, 20, 160, 80);
    w.excludeClipRect(120, 40, 140, 60);
    w.rectangle(80, 0, 201, 101);
    QTest::newRow("saved state, object table and clip rectangles")
        << w.finish()
        << QList<Pixel>{{55, 5, Blue},    {5, 5, Red},      {99, 50, White},  {100, 50, Green},
                        {159, 50, Green}, {160, 50, White}, {119, 50, Green}, {120, 50, White},
                        {139, 59, White}, {140, 60, Green}};

    w = pixelWmf(100, 50);
    w.record(0x0999, {1, 2, 3, 4});            // no such record
    w.record(0x0626, {15, 4, 0x4142, 0x4344}); // an escape
    fill(w, Red);
    w.rectangle(10, 10, 30, 30);
    QTest::newRow("WMF records unknown or escapes skipped")
        << w.finish() << QList<Pixel>{{20, 20, Red}};

    EmfWriter e(QSize(48, 48));
    e.record(70, EmfWriter::ints({8, 0x2B464D45, 0})); // a comment
    e.record(200, EmfWriter::ints({1, 2, 3}));         // no such record
    fill(e, Red);
    e.rectangle(QRect(5, 5, 20, 20));
    QTest::newRow("EMF records unknown or comments skipped")
        << e.finish() << QList<Pixel>{{10, 10, Red}};

    e = EmfWriter(QSize(240, 96));
    fill(e, Red);
    e.setWorldTransform({1, 0, 0, 1, 100, 20});
    e.rectangle(QRect(0, 0, 20, 20));              // lands at (100, 20)
    e.modifyWorldTransform({2, 0, 0, 2, 0, 0}, 2); // scale first, then the translation
    e.selectObject(e.createBrush(BsSolid, ref(Blue), 0));
    e.rectangle(QRect(30, 0, 10, 10));             // lands at (160, 20), 20 x 20
    e.modifyWorldTransform({1, 0, 0, 1, 0, 0}, 1); // identity
    e.selectObject(e.createBrush(BsSolid, ref(Green), 0));
    e.rectangle(QRect(0, 0, 10, 10));
    QTest::newRow("EMF world transform")
        << e.finish()
        << QList<Pixel>{{100, 20, Red},  {118, 38, Red},   {99, 20, White}, {160, 20, Blue},
                        {178, 38, Blue}, {180, 30, White}, {0, 0, Green}};

    e = EmfWriter(QSize(96, 96));
    e.selectObject(NullPen);
    e.selectObject(0x80000004); // BLACK_BRUSH
    e.rectangle(QRect(10, 10, 20, 20));
    e.selectObject(0x80000007); // BLACK_PEN
    e.selectObject(NullBrush);
    e.rectangle(QRect(50, 10, 20, 20));
    e.selectObject(NullPen);
    e.selectObject(e.createBrush(BsSolid, ref(Blue), 0));
    e.beginPath();
    e.moveTo(10, 40);
    e.lineTo(80, 40);
    e.lineTo(10, 90);
    e.endPath();
    e.fillPath();
    QTest::newRow("EMF stock objects and a filled path")
        << e.finish()
        << QList<Pixel>{{10, 10, Black}, {28, 28, Black}, {29, 20, White}, {50, 20, Black},
                        {60, 20, White}, {20, 50, Blue},  {70, 85, White}};
}

void tst_MetafilePlayer::pixelsInPlace()
{
    QFETCH(QByteArray, metafile);
    QFETCH(QList<Pixel>, pixels);
    QCOMPARE(wrongPixels(play(metafile), pixels), QString());
}

void tst_MetafilePlayer::threePixelPenIsThreePixelsWide()
{
    WmfWriter w = pixelWmf(200, 200);
    w.selectObject(w.createPen(PsSolid, 3, ref(Blue)));
    w.moveTo(20, 100);
    w.lineTo(180, 100);
    w.moveTo(60, 20);
    w.lineTo(60, 80);
    const QImage image = play(w.finish());
    QCOMPARE(countColor(image, QRect(120, 90, 1, 21), Blue), 3);
    QCOMPARE(countColor(image, QRect(120, 90, 1, 21), White), 18);
    QCOMPARE(countColor(image, QRect(50, 50, 21, 1), Blue), 3);
    QCOMPARE(
        wrongPixels(image, {{120, 99, Blue}, {120, 101, Blue}, {59, 50, Blue}, {61, 50, Blue}}),
        QString());

    EmfWriter e(QSize(96, 96)); // the same through an EMF
    e.selectObject(e.createPen(PsSolid, 3, ref(Blue)));
    e.moveTo(10, 50);
    e.lineTo(90, 50);
    QCOMPARE(countColor(play(e.finish()), QRect(50, 40, 1, 21), Blue), 3);
}

void tst_MetafilePlayer::ellipseIsFilled()
{
    WmfWriter w = pixelWmf(100, 100);
    fill(w, Green);
    w.ellipse(10, 20, 91, 81);
    const QImage image = play(w.finish());
    // Filled without holes along its middle row; outside the curve the box stays white.
    QCOMPARE(countColor(image, QRect(12, 50, 77, 1), Green), 77);
    QCOMPARE(wrongPixels(image, {{50, 22, Green}, {11, 21, White}, {89, 79, White}}), QString());
}

void tst_MetafilePlayer::arcChordAndPie()
{
    WmfWriter w = pixelWmf(300, 100);
    w.selectObject(w.createBrush(BsSolid, ref(Red), 0));
    w.selectObject(w.createPen(PsSolid, 1, ref(Blue)));
    // Pie: the quarter from 3 o'clock counterclockwise to 12 o'clock.
    w.arc(0x081A, QRect(10, 10, 80, 80), QPoint(100, 50), QPoint(50, 0));
    // Chord: the upper half, closed by the diameter.
    w.arc(0x0830, QRect(110, 10, 80, 80), QPoint(200, 50), QPoint(100, 50));
    // Arc: only the curve of the lower half.
    w.arc(0x0817, QRect(210, 10, 80, 80), QPoint(200, 50), QPoint(300, 50));
    const QImage image = play(w.finish());
    QCOMPARE(wrongPixels(image, {{70, 30, Red},
                                 {30, 30, White},
                                 {70, 70, White},
                                 {150, 30, Red},
                                 {150, 70, White},
                                 {250, 50, White}}),
             QString());
    QVERIFY(countColor(image, QRect(210, 60, 80, 31), Blue) > 40);
    QCOMPARE(countColor(image, QRect(210, 10, 80, 40), Blue), 0);
}

void tst_MetafilePlayer::roundRectAndHatchedBrush()
{
    WmfWriter w = pixelWmf(200, 100);
    fill(w, Blue);
    w.roundRect(10, 10, 91, 91, 40, 40);
    w.setBkMode(Transparent);
    w.selectObject(w.createBrush(BsHatched, ref(Red), 4)); // HS_CROSS
    w.rectangle(100, 0, 201, 101);
    const QImage image = play(w.finish());
    QCOMPARE(wrongPixels(image, {{50, 10, Blue}, {10, 50, Blue}, {11, 11, White}, {88, 88, White}}),
             QString());
    // A cross hatch of 8-pixel cells: two lines in every eight rows and columns, white between.
    const QRect cells(116, 16, 64, 64);
    QCOMPARE(countColor(image, cells, Red), 64 * 64 - 56 * 56);
    QCOMPARE(countColor(image, cells, White), 56 * 56);
}

void tst_MetafilePlayer::mappingModes_data()
{
    QTest::addColumn<int>("mapMode");
    QTest::addColumn<QPoint>("windowOrg");
    QTest::addColumn<QSize>("windowExt");
    QTest::addColumn<QPoint>("viewportOrg");
    QTest::addColumn<QSize>("viewportExt");
    QTest::addColumn<QRect>("filled"); // where Rectangle(10, 10, 20, 20) lands, no pen
    const QPoint o(0, 0);
    const QSize s(100, 100);
    QTest::newRow("anisotropic window 100 on viewport 200 doubles")
        << 8 << o << s << o << QSize(200, 200) << QRect(QPoint(20, 20), QPoint(38, 38));
    QTest::newRow("anisotropic scales the axes apart")
        << 8 << o << s << o << QSize(200, 100) << QRect(QPoint(20, 10), QPoint(38, 18));
    QTest::newRow("isotropic keeps the smaller scale")
        << 7 << o << s << o << QSize(300, 200) << QRect(QPoint(20, 20), QPoint(38, 38));
    QTest::newRow("text mode ignores the extents")
        << 1 << o << s << o << QSize(200, 200) << QRect(QPoint(10, 10), QPoint(18, 18));
    QTest::newRow("window origin moves the picture")
        << 1 << QPoint(-30, -40) << s << o << s << QRect(QPoint(40, 50), QPoint(48, 58));
    QTest::newRow("viewport origin moves the picture")
        << 8 << o << s << QPoint(50, 60) << s << QRect(QPoint(60, 70), QPoint(68, 78));
}

void tst_MetafilePlayer::mappingModes()
{
    QFETCH(int, mapMode);
    QFETCH(QPoint, windowOrg);
    QFETCH(QSize, windowExt);
    QFETCH(QPoint, viewportOrg);
    QFETCH(QSize, viewportExt);
    QFETCH(QRect, filled);
    WmfWriter w = WmfWriter::plain();
    w.setWindowExt(200, 200); // the natural size
    w.setMapMode(mapMode);
    w.setWindowOrg(windowOrg.x(), windowOrg.y());
    w.setWindowExt(windowExt.width(), windowExt.height());
    w.setViewportOrg(viewportOrg.x(), viewportOrg.y());
    w.setViewportExt(viewportExt.width(), viewportExt.height());
    fill(w, Red);
    w.rectangle(10, 10, 20, 20);
    const QImage image = play(w.finish());
    QCOMPARE(image.size(), QSize(200, 200));
    QCOMPARE(inkBox(image), filled);
    QCOMPARE(countColor(image, filled, Red), filled.width() * filled.height());
}

void tst_MetafilePlayer::japaneseTextFromCodePage932AndUtf16()
{
    const QString text = QStringLiteral("星雲の写真");
    // "ＭＳ ゴシック" is not on this system: the player must pick a Japanese face for it.
    WmfWriter w = pixelWmf(480, 96);
    w.selectObject(w.createFont(-40, 400, false, false, false, 128, cp932("ＭＳ ゴシック")));
    w.setBkMode(Transparent);
    w.setTextAlign(24); // TA_BASELINE
    w.textOut(20, 60, cp932(text));
    const QImage wmf = play(w.finish());

    EmfWriter e(QSize(480, 96));
    e.selectObject(e.createFont(-40, 400, false, false, false, 128, "ＭＳ ゴシック"));
    e.setBkMode(Transparent);
    e.setTextAlign(24);
    e.extTextOutW(20, 60, text);
    // Code page 932 and UTF-16 give the very same picture.
    QCOMPARE(play(e.finish()), wmf);

    // The same glyphs as a painter draws them in a Japanese face at that size.
    QImage expected(480, 96, QImage::Format_RGB32);
    expected.fill(Qt::white);
    QPainter p(&expected);
    QFont font(QStringLiteral("IPAGothic"));
    font.setPixelSize(40);
    p.setFont(font);
    p.drawText(QPointF(20, 60), text);
    p.end();
    const QRect ink = inkBox(wmf), want = inkBox(expected);
    QVERIFY2(qAbs(ink.left() - want.left()) <= 1 && qAbs(ink.right() - want.right()) <= 2 &&
                 qAbs(ink.top() - want.top()) <= 1 && qAbs(ink.bottom() - want.bottom()) <= 1,
             qPrintable(QDebug::toString(ink) + " " + QDebug::toString(want)));
    QVERIFY(ink.width() > 4 * 40 && ink.width() <= 5 * 40); // five full-width characters
    QVERIFY(countColor(wmf, ink, Black) > 300);
}

void tst_MetafilePlayer::textSpacingLinesAndBackground()
{
    WmfWriter w = pixelWmf(300, 160);
    w.selectObject(w.createFont(-30, 400, false, true, true, 0, "DejaVu Sans"));
    w.setTextColor(ref(Red));
    w.setBkMode(Transparent);
    w.setTextAlign(24);
    // Narrow glyphs placed by their advances: underline and strike-out span the gaps.
    w.extTextOut(10, 50, 0, nullptr, "I I", {100, 100, 20});
    w.setTextAlign(0);
    w.selectObject(w.createFont(-20, 400, false, false, false, 0, "DejaVu Sans"));
    w.setBkMode(2); // OPAQUE
    w.setBkColor(ref(Green));
    w.textOut(10, 100, "I I I");
    const QRect box(100, 100, 60, 30);
    w.setBkColor(ref(Blue));
    w.extTextOut(100, 100, 2 /* ETO_OPAQUE */, &box, "", {});
    const QImage image = play(w.finish());
    // The second "I" 200 pixels on; between them only the lines, across the whole gap.
    QVERIFY(countColor(image, QRect(205, 20, 25, 30), Red) > 30);
    for (int x : {30, 60, 150}) {
        QVERIFY(countColor(image, QRect(x, 0, 1, 80), Red) <= 6);
        QVERIFY(countColor(image, QRect(x, 51, 1, 9), Red) > 0);  // underline
        QVERIFY(countColor(image, QRect(x, 30, 1, 19), Red) > 0); // strike-out
    }
    QVERIFY(countColor(image, QRect(10, 100, 40, 20), Green) > 200);
    QCOMPARE(image.pixel(9, 105), White);
    QCOMPARE(countColor(image, box, Blue), 60 * 30);
}

void tst_MetafilePlayer::dibAtItsPlace()
{
    WmfWriter w = pixelWmf(200, 100);
    w.stretchDib(QRect(20, 30, 40, 20), QRect(0, 0, 4, 2), TestDib::rgb24(quarters()));
    w.dibBitBlt(100, 40, 4, 2, TestDib::indexed8(quarters()));
    const QImage wmf = play(w.finish());
    QCOMPARE(wrongQuarters(wmf, QRect(20, 30, 40, 20)), QString());
    QCOMPARE(wrongQuarters(wmf, QRect(100, 40, 4, 2)), QString());

    EmfWriter e(QSize(240, 96));
    e.stretchDIBits(QRect(20, 30, 40, 20), QRect(0, 0, 4, 2), TestDib::rgb24(quarters()));
    e.bitBlt(QRect(100, 40, 4, 2), QPoint(0, 0), TestDib::rgb24(quarters()));
    const QImage emf = play(e.finish());
    QCOMPARE(wrongQuarters(emf, QRect(20, 30, 40, 20)), QString());
    QCOMPARE(wrongQuarters(emf, QRect(100, 40, 4, 2)), QString());
}

void tst_MetafilePlayer::emfShapesAndBeziers()
{
    EmfWriter e(QSize(240, 96));
    fill(e, Green);
    e.ellipse(QRect(10, 10, 60, 60));
    e.poly(3 + 83, {{80, 70}, {110, 10}, {140, 70}}); // Polygon16
    e.selectObject(e.createPen(PsSolid, 3, ref(Red)));
    // A bezier from (150, 80) bulging up to y 20 and back down to (230, 80).
    e.poly(2, {{150, 80}, {170, 0}, {210, 0}, {230, 80}});
    e.moveTo(150, 90);
    e.poly(5, {{170, 90}, {210, 90}, {230, 90}}); // PolyBezierTo along a straight line
    const QImage image = play(e.finish());
    QCOMPARE(
        wrongPixels(image, {{40, 40, Green}, {11, 11, White}, {110, 60, Green}, {85, 20, White}}),
        QString());
    QVERIFY(countColor(image, QRect(185, 15, 10, 12), Red) > 0); // top of the curve
    QCOMPARE(countColor(image, QRect(185, 30, 10, 40), Red), 0);
    QCOMPARE(countColor(image, QRect(190, 85, 1, 10), Red), 3);
}

void tst_MetafilePlayer::emfClipAndMapping()
{
    EmfWriter e(QSize(96, 96));
    fill(e, Red);
    e.intersectClipRect(QRect(10, 10, 20, 20));
    e.rectangle(QRect(0, 0, 48, 48));
    e.resetClip();
    e.rectangle(QRect(60, 60, 10, 10));
    const QImage clipped = play(e.finish());
    QCOMPARE(inkBox(clipped), QRect(QPoint(10, 10), QPoint(68, 68)));
    QCOMPARE(wrongPixels(clipped, {{29, 29, Red}, {30, 29, White}, {60, 60, Red}}), QString());

    EmfWriter m(QSize(96, 96));
    m.setMapMode(8);
    m.setWindowExt(1000, 1000);
    m.setViewportExt(96, -96);
    m.setViewportOrg(0, 96); // y grows upwards
    fill(m, Red);
    m.rectangle(QRect(0, 0, 500, 250)); // the lower left part
    QCOMPARE(wrongPixels(play(m.finish()), {{10, 90, Red}, {10, 50, White}, {60, 90, White}}),
             QString());
}

QTEST_MAIN(tst_MetafilePlayer)
#include "tst_MetafilePlayer.moc"
