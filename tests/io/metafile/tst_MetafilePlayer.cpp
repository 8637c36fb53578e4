#include "EmfWriter.h"
#include "TestDib.h"
#include "WmfWriter.h"

#include "io/metafile/MetafilePlayer.h"
#include "store/Cp932.h"

#include <QFontMetrics>
#include <QPainter>
#include <QtTest>

namespace {

// COLORREF values (0x00BBGGRR) and the pixels they must give.
constexpr quint32 Red = 0x0000FF, Green = 0x00FF00, Blue = 0xFF0000, Black = 0x000000;
constexpr QRgb RedPixel = 0xFFFF0000, GreenPixel = 0xFF00FF00, BluePixel = 0xFF0000FF,
               WhitePixel = 0xFFFFFFFF, BlackPixel = 0xFF000000;
constexpr int PsSolid = 0, PsNull = 5, BsSolid = 0, BsNull = 1, BsHatched = 2;
constexpr int Transparent = 1, Opaque = 2;
constexpr int ShiftJisCharSet = 128;
constexpr int TaBaseline = 24;

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
            if (image.pixel(x, y) != WhitePixel)
                box |= QRect(x, y, 1, 1);
    return box;
}

// A 4 x 2 bitmap with four coloured quarters: red, green / blue, black.
QImage quarters()
{
    QImage image(4, 2, QImage::Format_RGB32);
    image.fill(Qt::white);
    for (int y = 0; y < 2; ++y) {
        image.setPixel(0, y, y == 0 ? RedPixel : BluePixel);
        image.setPixel(1, y, y == 0 ? RedPixel : BluePixel);
        image.setPixel(2, y, y == 0 ? GreenPixel : BlackPixel);
        image.setPixel(3, y, y == 0 ? GreenPixel : BlackPixel);
    }
    return image;
}

// Checks that a 4 x 2 quarters bitmap stretched to dest shows its four colours in place.
void checkQuarters(const QImage &image, const QRect &dest)
{
    const int hw = dest.width() / 2, hh = dest.height() / 2;
    QCOMPARE(image.pixel(dest.left(), dest.top()), RedPixel);
    QCOMPARE(image.pixel(dest.left() + hw - 1, dest.top() + hh - 1), RedPixel);
    QCOMPARE(image.pixel(dest.left() + hw, dest.top()), GreenPixel);
    QCOMPARE(image.pixel(dest.right(), dest.top()), GreenPixel);
    QCOMPARE(image.pixel(dest.left(), dest.bottom()), BluePixel);
    QCOMPARE(image.pixel(dest.right(), dest.bottom()), BlackPixel);
    QCOMPARE(image.pixel(dest.left() - 1, dest.top()), WhitePixel);
    QCOMPARE(image.pixel(dest.right() + 1, dest.bottom()), WhitePixel);
    QCOMPARE(image.pixel(dest.left(), dest.top() - 1), WhitePixel);
    QCOMPARE(image.pixel(dest.right(), dest.bottom() + 1), WhitePixel);
}

QByteArray cp932(const QString &text)
{
    QByteArray bytes;
    if (!Cp932::encode(text, &bytes))
        qFatal("not encodable");
    return bytes;
}

} // namespace

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
    void backgroundIsWhite();

    void fillColoursAreExact();
    void rectangleLeavesOutRightAndBottomEdge();
    void threePixelPenIsThreePixelsWide();
    void ellipseIsFilled();
    void arcChordAndPie();
    void polygonsFollowTheFillMode_data();
    void polygonsFollowTheFillMode();
    void roundRectHasRoundCorners();
    void hatchedBrushLeavesGaps();
    void mappingModes_data();
    void mappingModes();
    void placeableBoundingBoxFillsThePicture();
    void saveAndRestoreDC();
    void clipRectangles();
    void objectTableReusesFreedSlots();
    void japaneseTextFromCodePage932AndUtf16();
    void extTextOutPlacesCharactersByDx();
    void underlineAndStrikeOutSpanTheText();
    void opaqueTextBackground();
    void dibAtItsPlaceInWmf();
    void unknownRecordsAreSkipped();

    void emfShapesAndBeziers();
    void emfWorldTransform();
    void emfStockObjects();
    void emfPathIsFilled();
    void dibAtItsPlaceInEmf();
    void emfClipAndReset();
    void emfAnisotropicMapping();
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
    QTest::newRow("too short for any signature") << QByteArray("\x01\0", 2) << false;
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
    plain.setWindowOrg(0, 0);
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
    wmf.createBrush(BsSolid, Red, 0);
    wmf.selectObject(0);
    wmf.rectangle(10, 10, 90, 90);
    const QByteArray goodWmf = wmf.finish();
    QTest::newRow("WMF cut inside a record") << goodWmf.left(goodWmf.size() - 10);
    QTest::newRow("WMF cut before its end record") << goodWmf.left(goodWmf.size() - 6);
    QByteArray hugeRecord = goodWmf;
    qToLittleEndian<quint32>(0x7FFFFFFF, hugeRecord.data() + 18); // first record's size
    QTest::newRow("WMF record longer than the file") << hugeRecord;
    QByteArray zeroRecord = goodWmf;
    qToLittleEndian<quint32>(0, zeroRecord.data() + 18);
    QTest::newRow("WMF record of size 0") << zeroRecord;
    QByteArray badHeader = goodWmf;
    badHeader[2] = 5;
    QTest::newRow("WMF header of the wrong length") << badHeader;
    QTest::newRow("placeable WMF with 0 units per inch")
        << WmfWriter::placeable(QRect(0, 0, 100, 100), 0).finish();
    WmfWriter noExtent = WmfWriter::plain();
    noExtent.rectangle(0, 0, 10, 10);
    QTest::newRow("plain WMF without window extent") << noExtent.finish();

    EmfWriter emf(QSize(48, 48));
    emf.rectangle(QRect(5, 5, 10, 10));
    const QByteArray goodEmf = emf.finish();
    QTest::newRow("EMF without its end record") << goodEmf.left(goodEmf.size() - 20);
    QTest::newRow("EMF cut inside a record") << goodEmf.left(goodEmf.size() - 26);
    QByteArray oddSize = goodEmf;
    qToLittleEndian<quint32>(26, oddSize.data() + 108 + 4);
    QTest::newRow("EMF record size not a multiple of 4") << oddSize;
    QByteArray hugeEmf = goodEmf;
    qToLittleEndian<quint32>(0xFFFFFFF0, hugeEmf.data() + 108 + 4);
    QTest::newRow("EMF record longer than the file") << hugeEmf;
    QTest::newRow("EMF header cut short") << goodEmf.left(60);
    QTest::newRow("EMF frame with right left of left")
        << EmfWriter::withFrame(QRect(QPoint(1000, 0), QPoint(0, 1000))).finish();
}

void tst_MetafilePlayer::refusesDamagedFiles()
{
    QFETCH(QByteArray, data);
    QString error;
    const QImage image = MetafilePlayer::render(data, &error);
    QVERIFY(image.isNull());
    QVERIFY(!error.isEmpty());
}

void tst_MetafilePlayer::refusesPicturesTooLargeBeforeDrawing()
{
    // 30000 x 30000 pixels: refused from the header alone, no image is allocated.
    const QByteArray huge =
        EmfWriter::withFrame(QRect(QPoint(0, 0), QPoint(793750, 793750))).finish();
    QSize size;
    QString error;
    QVERIFY(MetafilePlayer::naturalSize(huge, &size, &error));
    QCOMPARE(size, QSize(30000, 30000));
    QVERIFY(MetafilePlayer::render(huge, &error).isNull());
    QVERIFY(error.contains("30000"));

    const QByteArray justFits =
        EmfWriter::withFrame(QRect(QPoint(0, 0), QPoint(42333, 31749))).finish();
    QVERIFY(MetafilePlayer::naturalSize(justFits, &size, &error));
    QCOMPARE(size, QSize(1600, 1200));
    QCOMPARE(MetafilePlayer::render(justFits, &error).size(), QSize(1600, 1200));
}

void tst_MetafilePlayer::refusesEndlessPainting()
{
    // Every record paints the whole picture: a few hundred times is a picture, a thousand
    // times is a file built to keep the player busy.
    auto paintings = [](int count) {
        WmfWriter w = pixelWmf(200, 200);
        w.createBrush(BsSolid, Red, 0);
        w.selectObject(0);
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
        w.createBrush(BsSolid, Red, 0);
        w.selectObject(0);
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
        e.createBrush(1, BsSolid, Red, 0);
        e.selectObject(1);
        e.rectangle(QRect(10, 10, 80, 80));
        return e.finish();
    };
    QTest::newRow("EMF polygon count whose byte size overflows 32 bits")
        << emfWith([](EmfWriter &e) {
               e.record(3, EmfWriter::ints({0, 0, 96, 96, 0x20000001, 1, 1, 50, 1, 50, 50}));
           });
    QTest::newRow("EMF polypolygon counts that do not add up") << emfWith([](EmfWriter &e) {
        e.record(8, EmfWriter::ints({0, 0, 96, 96, 2, 3, 2, 0x7FFFFFFF, 1, 1, 50, 1, 50, 50}));
    });
    QTest::newRow("EMF text with a character count past the record") << emfWith([](EmfWriter &e) {
        e.record(84, EmfWriter::ints({0, 0, 96, 96, 1, 0, 0, 10, 10, 0x40000000, 76, 0, 0, 0, 0, 0,
                                      0, 0x00410041}));
    });
    QTest::newRow("EMF bitmap offset past the record") << emfWith([](EmfWriter &e) {
        e.record(81, EmfWriter::ints({0, 0, 96, 96, 0, 0, 0, 0, 4, 2, 80, 40, 0x7FFFFFF0, 32, 0,
                                      0x00CC0020, 96, 96}));
    });
    QTest::newRow("EMF object handle far out of the table") << emfWith([](EmfWriter &e) {
        e.createBrush(0x7FFFFFFF, BsSolid, Blue, 0);
        e.selectObject(0x7FFFFFFF);
    });
    QTest::newRow("EMF world transform that is not a number") << emfWith([](EmfWriter &e) {
        e.setWorldTransform(qQNaN(), 0, 0, 1, 0, 0);
        e.setWorldTransform(0, 0, 0, 0, 0, 0);
    });
}

void tst_MetafilePlayer::inconsistentRecordIsSkipped()
{
    // A record whose frame is sound but whose contents contradict it is skipped; the records
    // after it are drawn.
    QFETCH(QByteArray, data);
    const QImage image = play(data);
    QVERIFY(!image.isNull());
    QCOMPARE(image.pixel(50, 50), RedPixel);
    QCOMPARE(image.pixel(5, 5), WhitePixel);
}

void tst_MetafilePlayer::backgroundIsWhite()
{
    const QImage wmf = play(pixelWmf(60, 40).finish());
    QCOMPARE(wmf.format(), QImage::Format_RGB32);
    QCOMPARE(countColor(wmf, wmf.rect(), WhitePixel), 60 * 40);
    const QImage emf = play(EmfWriter(QSize(48, 96)).finish());
    QCOMPARE(emf.size(), QSize(48, 96));
    QCOMPARE(countColor(emf, emf.rect(), WhitePixel), 48 * 96);
}

void tst_MetafilePlayer::fillColoursAreExact()
{
    WmfWriter w = pixelWmf(100, 100);
    w.createPen(PsNull, 0, 0);
    w.selectObject(0);
    const quint32 colours[] = {Red, 0x123456, 0x7F8081};
    int slot = 1;
    for (int i = 0; i < 3; ++i) {
        w.createBrush(BsSolid, colours[i], 0);
        w.selectObject(slot++);
        w.rectangle(10 + 30 * i, 10, 30 + 30 * i, 30);
    }
    const QImage image = play(w.finish());
    QCOMPARE(image.pixel(15, 15), RedPixel);
    QCOMPARE(image.pixel(45, 15), qRgb(0x56, 0x34, 0x12));
    QCOMPARE(image.pixel(75, 15), qRgb(0x81, 0x80, 0x7F));
}

void tst_MetafilePlayer::rectangleLeavesOutRightAndBottomEdge()
{
    // With a 1-pixel pen Rectangle(10, 10, 20, 20) covers pixels 10 to 19, the outline on 10
    // and 19; with no pen the fill covers 10 to 18.
    WmfWriter w = pixelWmf(100, 50);
    w.createPen(PsSolid, 1, Black);
    w.createBrush(BsSolid, Red, 0);
    w.createPen(PsNull, 0, 0);
    w.selectObject(0);
    w.selectObject(1);
    w.rectangle(10, 10, 20, 20);
    w.selectObject(2);
    w.rectangle(40, 10, 50, 20);
    const QImage image = play(w.finish());
    QCOMPARE(image.pixel(10, 10), BlackPixel);
    QCOMPARE(image.pixel(19, 19), BlackPixel);
    QCOMPARE(image.pixel(19, 14), BlackPixel);
    QCOMPARE(image.pixel(20, 14), WhitePixel);
    QCOMPARE(image.pixel(14, 20), WhitePixel);
    QCOMPARE(image.pixel(11, 11), RedPixel);
    QCOMPARE(image.pixel(18, 18), RedPixel);
    QCOMPARE(image.pixel(40, 10), RedPixel);
    QCOMPARE(image.pixel(48, 18), RedPixel);
    QCOMPARE(image.pixel(49, 14), WhitePixel);
    QCOMPARE(image.pixel(44, 19), WhitePixel);
    QCOMPARE(image.pixel(39, 14), WhitePixel);
}

void tst_MetafilePlayer::threePixelPenIsThreePixelsWide()
{
    WmfWriter w = pixelWmf(200, 200);
    w.createPen(PsSolid, 3, Blue);
    w.selectObject(0);
    w.moveTo(20, 100);
    w.lineTo(180, 100);
    w.moveTo(60, 20);
    w.lineTo(60, 80);
    const QImage image = play(w.finish());
    int rows = 0;
    for (int y = 90; y <= 110; ++y) {
        if (image.pixel(120, y) == BluePixel)
            ++rows;
        else
            QCOMPARE(image.pixel(120, y), WhitePixel);
    }
    QCOMPARE(rows, 3);
    QCOMPARE(image.pixel(120, 99), BluePixel);
    QCOMPARE(image.pixel(120, 101), BluePixel);
    int columns = 0;
    for (int x = 50; x <= 70; ++x)
        columns += image.pixel(x, 50) == BluePixel;
    QCOMPARE(columns, 3);
    QCOMPARE(image.pixel(59, 50), BluePixel);
    QCOMPARE(image.pixel(61, 50), BluePixel);

    // The same through an EMF.
    EmfWriter e(QSize(96, 96));
    e.createPen(1, PsSolid, 3, Blue);
    e.selectObject(1);
    e.moveTo(10, 50);
    e.lineTo(90, 50);
    const QImage emf = play(e.finish());
    int emfRows = 0;
    for (int y = 40; y <= 60; ++y)
        emfRows += emf.pixel(50, y) == BluePixel;
    QCOMPARE(emfRows, 3);
}

void tst_MetafilePlayer::ellipseIsFilled()
{
    WmfWriter w = pixelWmf(100, 100);
    w.createBrush(BsSolid, Green, 0);
    w.selectObject(0);
    w.createPen(PsNull, 0, 0);
    w.selectObject(1);
    w.ellipse(10, 20, 91, 81);
    const QImage image = play(w.finish());
    QCOMPARE(image.pixel(50, 50), GreenPixel);
    QCOMPARE(image.pixel(12, 50), GreenPixel);
    QCOMPARE(image.pixel(50, 22), GreenPixel);
    QCOMPARE(image.pixel(11, 21), WhitePixel); // outside the curve, inside the box
    QCOMPARE(image.pixel(89, 79), WhitePixel);
    // Filled without holes along its middle row.
    for (int x = 12; x <= 88; ++x)
        QCOMPARE(image.pixel(x, 50), GreenPixel);
}

void tst_MetafilePlayer::arcChordAndPie()
{
    WmfWriter w = pixelWmf(300, 100);
    w.createBrush(BsSolid, Red, 0);
    w.selectObject(0);
    w.createPen(PsSolid, 1, Blue);
    w.selectObject(1);
    // Pie: the quarter from 3 o'clock counterclockwise to 12 o'clock.
    w.arc(0x081A, QRect(10, 10, 80, 80), QPoint(100, 50), QPoint(50, 0));
    // Chord: the upper half, closed by the diameter.
    w.arc(0x0830, QRect(110, 10, 80, 80), QPoint(200, 50), QPoint(100, 50));
    // Arc: only the curve of the lower half.
    w.arc(0x0817, QRect(210, 10, 80, 80), QPoint(200, 50), QPoint(300, 50));
    const QImage image = play(w.finish());
    QCOMPARE(image.pixel(70, 30), RedPixel);   // inside the pie quarter
    QCOMPARE(image.pixel(30, 30), WhitePixel); // upper-left quarter: not part of it
    QCOMPARE(image.pixel(70, 70), WhitePixel);
    QCOMPARE(image.pixel(150, 30), RedPixel); // upper half of the chord
    QCOMPARE(image.pixel(150, 70), WhitePixel);
    QCOMPARE(image.pixel(250, 50), WhitePixel); // arcs are not filled
    QVERIFY(countColor(image, QRect(210, 60, 80, 31), BluePixel) > 40);
    QCOMPARE(countColor(image, QRect(210, 10, 80, 40), BluePixel), 0);
}

void tst_MetafilePlayer::polygonsFollowTheFillMode_data()
{
    QTest::addColumn<int>("fillMode");
    QTest::addColumn<QRgb>("hole");
    QTest::newRow("alternate leaves the inner square empty") << 1 << WhitePixel;
    QTest::newRow("winding fills the inner square") << 2 << RedPixel;
}

void tst_MetafilePlayer::polygonsFollowTheFillMode()
{
    QFETCH(int, fillMode);
    QFETCH(QRgb, hole);
    WmfWriter w = pixelWmf(200, 100);
    w.createBrush(BsSolid, Red, 0);
    w.selectObject(0);
    w.createPen(PsNull, 0, 0);
    w.selectObject(1);
    w.setPolyFillMode(fillMode);
    const QList<QPoint> outer{{10, 10}, {90, 10}, {90, 90}, {10, 90}};
    const QList<QPoint> inner{{30, 30}, {70, 30}, {70, 70}, {30, 70}};
    w.polyPolygon({outer, inner});
    w.polygon({{110, 90}, {150, 10}, {190, 90}});
    w.createPen(PsSolid, 1, Green);
    w.selectObject(2);
    w.polyline({{100, 95}, {199, 95}});
    const QImage image = play(w.finish());
    QCOMPARE(image.pixel(20, 50), RedPixel);
    QCOMPARE(image.pixel(50, 50), hole);
    QCOMPARE(image.pixel(150, 70), RedPixel);
    QCOMPARE(image.pixel(115, 20), WhitePixel);
    QCOMPARE(image.pixel(150, 95), GreenPixel);
    QCOMPARE(image.pixel(150, 96), WhitePixel);
}

void tst_MetafilePlayer::roundRectHasRoundCorners()
{
    WmfWriter w = pixelWmf(100, 100);
    w.createBrush(BsSolid, Blue, 0);
    w.selectObject(0);
    w.createPen(PsNull, 0, 0);
    w.selectObject(1);
    w.roundRect(10, 10, 91, 91, 40, 40);
    const QImage image = play(w.finish());
    QCOMPARE(image.pixel(50, 50), BluePixel);
    QCOMPARE(image.pixel(50, 10), BluePixel);
    QCOMPARE(image.pixel(10, 50), BluePixel);
    QCOMPARE(image.pixel(11, 11), WhitePixel);
    QCOMPARE(image.pixel(88, 88), WhitePixel);
}

void tst_MetafilePlayer::hatchedBrushLeavesGaps()
{
    WmfWriter w = pixelWmf(100, 100);
    w.setBkMode(Transparent);
    w.createBrush(BsHatched, Red, 4); // HS_CROSS
    w.selectObject(0);
    w.createPen(PsNull, 0, 0);
    w.selectObject(1);
    w.rectangle(0, 0, 101, 101);
    const QImage image = play(w.finish());
    const int red = countColor(image, QRect(16, 16, 64, 64), RedPixel);
    const int white = countColor(image, QRect(16, 16, 64, 64), WhitePixel);
    QCOMPARE(red + white, 64 * 64);
    // A cross hatch of 8-pixel cells: two lines in every eight rows and columns.
    QCOMPARE(red, 64 * 64 - 56 * 56);
}

void tst_MetafilePlayer::mappingModes_data()
{
    QTest::addColumn<int>("mapMode");
    QTest::addColumn<QPoint>("windowOrg");
    QTest::addColumn<QSize>("windowExt");
    QTest::addColumn<QPoint>("viewportOrg");
    QTest::addColumn<QSize>("viewportExt");
    QTest::addColumn<QRect>("filled"); // where Rectangle(10, 10, 20, 20) lands, no pen

    QTest::newRow("anisotropic window 100 on viewport 200 doubles")
        << 8 << QPoint(0, 0) << QSize(100, 100) << QPoint(0, 0) << QSize(200, 200)
        << QRect(QPoint(20, 20), QPoint(38, 38));
    QTest::newRow("anisotropic scales the axes apart")
        << 8 << QPoint(0, 0) << QSize(100, 100) << QPoint(0, 0) << QSize(200, 100)
        << QRect(QPoint(20, 10), QPoint(38, 18));
    QTest::newRow("isotropic keeps the smaller scale")
        << 7 << QPoint(0, 0) << QSize(100, 100) << QPoint(0, 0) << QSize(300, 200)
        << QRect(QPoint(20, 20), QPoint(38, 38));
    QTest::newRow("text mode ignores the extents")
        << 1 << QPoint(0, 0) << QSize(100, 100) << QPoint(0, 0) << QSize(200, 200)
        << QRect(QPoint(10, 10), QPoint(18, 18));
    QTest::newRow("window origin moves the picture")
        << 1 << QPoint(-30, -40) << QSize(1, 1) << QPoint(0, 0) << QSize(1, 1)
        << QRect(QPoint(40, 50), QPoint(48, 58));
    QTest::newRow("viewport origin moves the picture")
        << 8 << QPoint(0, 0) << QSize(100, 100) << QPoint(50, 60) << QSize(100, 100)
        << QRect(QPoint(60, 70), QPoint(68, 78));
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
    w.createBrush(BsSolid, Red, 0);
    w.selectObject(0);
    w.createPen(PsNull, 0, 0);
    w.selectObject(1);
    w.rectangle(10, 10, 20, 20);
    const QImage image = play(w.finish());
    QCOMPARE(image.size(), QSize(200, 200));
    QCOMPARE(inkBox(image), filled);
    QCOMPARE(countColor(image, filled, RedPixel), filled.width() * filled.height());
}

void tst_MetafilePlayer::placeableBoundingBoxFillsThePicture()
{
    // 2880 x 1440 twips is 192 x 96 pixels; the right half of the box is filled.
    WmfWriter w = WmfWriter::placeable(QRect(0, 0, 2880, 1440), 1440);
    w.createBrush(BsSolid, Green, 0);
    w.selectObject(0);
    w.createPen(PsNull, 0, 0);
    w.selectObject(1);
    w.rectangle(1440, 0, 2880, 1440);
    const QImage image = play(w.finish());
    QCOMPARE(image.size(), QSize(192, 96));
    QCOMPARE(image.pixel(95, 50), WhitePixel);
    QCOMPARE(image.pixel(96, 0), GreenPixel);
    QCOMPARE(image.pixel(190, 94), GreenPixel);
}

void tst_MetafilePlayer::saveAndRestoreDC()
{
    WmfWriter w = pixelWmf(100, 50);
    w.createPen(PsNull, 0, 0);
    w.selectObject(0);
    w.createBrush(BsSolid, Red, 0);
    w.selectObject(1);
    w.saveDC();
    w.createBrush(BsSolid, Blue, 0);
    w.selectObject(2);
    w.setWindowOrg(-50, 0);
    w.rectangle(0, 0, 20, 20); // blue, moved by the window origin
    w.restoreDC(-1);
    w.rectangle(0, 0, 20, 20); // red again, at the origin
    const QImage image = play(w.finish());
    QCOMPARE(image.pixel(55, 5), BluePixel);
    QCOMPARE(image.pixel(5, 5), RedPixel);
}

void tst_MetafilePlayer::clipRectangles()
{
    WmfWriter w = pixelWmf(100, 100);
    w.createPen(PsNull, 0, 0);
    w.selectObject(0);
    w.createBrush(BsSolid, Red, 0);
    w.selectObject(1);
    w.intersectClipRect(20, 20, 80, 80);
    w.excludeClipRect(40, 40, 60, 60);
    w.rectangle(0, 0, 101, 101);
    const QImage image = play(w.finish());
    QCOMPARE(image.pixel(19, 50), WhitePixel);
    QCOMPARE(image.pixel(20, 50), RedPixel);
    QCOMPARE(image.pixel(79, 50), RedPixel);
    QCOMPARE(image.pixel(80, 50), WhitePixel);
    QCOMPARE(image.pixel(39, 50), RedPixel);
    QCOMPARE(image.pixel(40, 50), WhitePixel);
    QCOMPARE(image.pixel(59, 59), WhitePixel);
    QCOMPARE(image.pixel(60, 60), RedPixel);
}

void tst_MetafilePlayer::objectTableReusesFreedSlots()
{
    WmfWriter w = pixelWmf(100, 50);
    w.createPen(PsNull, 0, 0);      // slot 0
    w.createRegionPlaceholder();    // slot 1: not drawn with, but it takes the slot
    w.createBrush(BsSolid, Red, 0); // slot 2
    w.selectObject(0);
    w.deleteObject(1);
    w.createBrush(BsSolid, Blue, 0); // takes the freed slot 1
    w.selectObject(1);
    w.rectangle(0, 0, 20, 20);
    w.selectObject(2);
    w.rectangle(50, 0, 70, 20);
    const QImage image = play(w.finish());
    QCOMPARE(image.pixel(5, 5), BluePixel);
    QCOMPARE(image.pixel(55, 5), RedPixel);
}

void tst_MetafilePlayer::japaneseTextFromCodePage932AndUtf16()
{
    const QString text = QStringLiteral("星雲の写真");
    const int height = -40;

    // "ＭＳ ゴシック" is not on this system: the player must pick a Japanese face for it.
    WmfWriter w = pixelWmf(480, 96);
    w.createFont(height, 400, false, false, false, ShiftJisCharSet,
                 cp932(QStringLiteral("ＭＳ ゴシック")));
    w.selectObject(0);
    w.setTextColor(Black);
    w.setBkMode(Transparent);
    w.setTextAlign(TaBaseline);
    w.textOut(20, 60, cp932(text));
    const QImage wmf = play(w.finish());

    EmfWriter e(QSize(480, 96));
    e.createFont(1, height, 400, false, false, false, ShiftJisCharSet,
                 QStringLiteral("ＭＳ ゴシック"));
    e.selectObject(1);
    e.setTextColor(Black);
    e.setBkMode(Transparent);
    e.setTextAlign(TaBaseline);
    e.extTextOutW(20, 60, 0, QRect(), text, {});
    const QImage emf = play(e.finish());

    // The same glyphs as a painter draws them in a Japanese face at that size.
    QImage expected(480, 96, QImage::Format_RGB32);
    expected.fill(Qt::white);
    {
        QPainter p(&expected);
        QFont font(QStringLiteral("IPAGothic"));
        font.setPixelSize(40);
        p.setFont(font);
        p.setPen(Qt::black);
        p.drawText(QPointF(20, 60), text);
    }
    const QRect ink = inkBox(wmf);
    QVERIFY(!ink.isEmpty());
    const QRect expectedInk = inkBox(expected);
    QVERIFY2(qAbs(ink.left() - expectedInk.left()) <= 1 &&
                 qAbs(ink.right() - expectedInk.right()) <= 2 &&
                 qAbs(ink.top() - expectedInk.top()) <= 1 &&
                 qAbs(ink.bottom() - expectedInk.bottom()) <= 1,
             qPrintable(QStringLiteral("ink %1,%2 %3x%4, expected %5,%6 %7x%8")
                            .arg(ink.x())
                            .arg(ink.y())
                            .arg(ink.width())
                            .arg(ink.height())
                            .arg(expectedInk.x())
                            .arg(expectedInk.y())
                            .arg(expectedInk.width())
                            .arg(expectedInk.height())));
    // Five full-width characters: about five em wide.
    QVERIFY(ink.width() > 4 * 40 && ink.width() <= 5 * 40);
    QVERIFY(countColor(wmf, ink, BlackPixel) > 300);
    // Code page 932 and UTF-16 give the very same picture.
    QCOMPARE(emf, wmf);
}

void tst_MetafilePlayer::extTextOutPlacesCharactersByDx()
{
    WmfWriter w = pixelWmf(300, 60);
    w.createFont(-30, 400, false, false, false, 0, "DejaVu Sans");
    w.selectObject(0);
    w.setBkMode(Transparent);
    w.extTextOut(10, 10, 0, nullptr, "III", {100, 100, 30});
    const QImage image = play(w.finish());
    // Three narrow glyphs, 100 pixels apart: ink in three separate columns.
    auto inkIn = [&](int from, int to) {
        return countColor(image, QRect(from, 0, to - from, 60), BlackPixel);
    };
    QVERIFY(inkIn(5, 30) > 0);
    QCOMPARE(inkIn(30, 105), 0);
    QVERIFY(inkIn(105, 130) > 0);
    QCOMPARE(inkIn(130, 205), 0);
    QVERIFY(inkIn(205, 230) > 0);
}

void tst_MetafilePlayer::underlineAndStrikeOutSpanTheText()
{
    WmfWriter w = pixelWmf(300, 100);
    w.createFont(-30, 400, false, true, true, 0, "DejaVu Sans");
    w.selectObject(0);
    w.setTextColor(Red);
    w.setBkMode(Transparent);
    w.setTextAlign(TaBaseline);
    w.extTextOut(10, 50, 0, nullptr, "I I", {60, 60, 20});
    const QImage image = play(w.finish());
    // Between the glyphs (x 40 to 60) only the two lines are drawn, each across the gap.
    int lines = 0;
    for (int y = 0; y < 100; ++y)
        if (image.pixel(50, y) == RedPixel && image.pixel(45, y) == RedPixel)
            ++lines;
    QVERIFY(lines >= 2);
    bool underline = false, strike = false;
    for (int y = 51; y < 60; ++y)
        underline = underline || image.pixel(50, y) == RedPixel;
    for (int y = 30; y < 49; ++y)
        strike = strike || image.pixel(50, y) == RedPixel;
    QVERIFY(underline);
    QVERIFY(strike);
}

void tst_MetafilePlayer::opaqueTextBackground()
{
    WmfWriter w = pixelWmf(200, 60);
    w.createFont(-20, 400, false, false, false, 0, "DejaVu Sans");
    w.selectObject(0);
    w.setBkMode(Opaque);
    w.setBkColor(Green);
    w.textOut(10, 10, "I I I");
    const QRect clipBox(100, 10, 60, 30);
    w.setBkColor(Blue);
    w.extTextOut(100, 10, 2 /* ETO_OPAQUE */, &clipBox, "", {});
    const QImage image = play(w.finish());
    QVERIFY(countColor(image, QRect(10, 10, 40, 20), GreenPixel) > 200);
    QCOMPARE(image.pixel(9, 15), WhitePixel);
    QCOMPARE(countColor(image, clipBox, BluePixel), 60 * 30);
}

void tst_MetafilePlayer::dibAtItsPlaceInWmf()
{
    WmfWriter w = pixelWmf(200, 100);
    w.stretchDib(QRect(20, 30, 40, 20), QRect(0, 0, 4, 2), TestDib::rgb24(quarters()));
    w.dibBitBlt(100, 40, 4, 2, TestDib::indexed8(quarters()));
    const QImage image = play(w.finish());
    checkQuarters(image, QRect(20, 30, 40, 20));
    checkQuarters(image, QRect(100, 40, 4, 2));
}

void tst_MetafilePlayer::unknownRecordsAreSkipped()
{
    WmfWriter w = pixelWmf(100, 50);
    w.record(0x0999, {1, 2, 3, 4});            // no such record
    w.record(0x0626, {15, 4, 0x4142, 0x4344}); // an escape
    w.createPen(PsNull, 0, 0);
    w.selectObject(0);
    w.createBrush(BsSolid, Red, 0);
    w.selectObject(1);
    w.rectangle(10, 10, 30, 30);
    const QImage image = play(w.finish());
    QCOMPARE(image.pixel(20, 20), RedPixel);

    EmfWriter e(QSize(48, 48));
    e.record(70, EmfWriter::ints({8, 0x2B464D45, 0})); // a comment
    e.record(200, EmfWriter::ints({1, 2, 3}));         // no such record
    e.createBrush(1, BsSolid, Red, 0);
    e.selectObject(1);
    e.rectangle(QRect(5, 5, 20, 20));
    const QImage emf = play(e.finish());
    QCOMPARE(emf.pixel(10, 10), RedPixel);
}

void tst_MetafilePlayer::emfShapesAndBeziers()
{
    EmfWriter e(QSize(240, 96));
    e.createPen(1, PsNull, 0, 0);
    e.selectObject(1);
    e.createBrush(2, BsSolid, Green, 0);
    e.selectObject(2);
    e.ellipse(QRect(10, 10, 60, 60));
    e.poly(3 + 83, {{80, 70}, {110, 10}, {140, 70}}); // Polygon16
    e.createPen(3, PsSolid, 3, Red);
    e.selectObject(3);
    // A bezier from (150, 80) bulging up to y 20 and back down to (230, 80).
    e.poly(2, {{150, 80}, {170, 0}, {210, 0}, {230, 80}});
    e.moveTo(150, 90);
    e.poly(5, {{170, 90}, {210, 90}, {230, 90}}); // PolyBezierTo along a straight line
    const QImage image = play(e.finish());
    QCOMPARE(image.pixel(40, 40), GreenPixel);
    QCOMPARE(image.pixel(11, 11), WhitePixel);
    QCOMPARE(image.pixel(110, 60), GreenPixel);
    QCOMPARE(image.pixel(85, 20), WhitePixel);
    QVERIFY(countColor(image, QRect(185, 15, 10, 12), RedPixel) > 0); // top of the curve
    QCOMPARE(countColor(image, QRect(185, 30, 10, 40), RedPixel), 0);
    QCOMPARE(countColor(image, QRect(190, 85, 1, 10), RedPixel), 3);
}

void tst_MetafilePlayer::emfWorldTransform()
{
    EmfWriter e(QSize(240, 96));
    e.createPen(1, PsNull, 0, 0);
    e.selectObject(1);
    e.createBrush(2, BsSolid, Red, 0);
    e.selectObject(2);
    e.setWorldTransform(1, 0, 0, 1, 100, 20);
    e.rectangle(QRect(0, 0, 20, 20));            // lands at (100, 20)
    e.modifyWorldTransform(2, 0, 0, 2, 0, 0, 2); // scale first, then the translation
    e.createBrush(3, BsSolid, Blue, 0);
    e.selectObject(3);
    e.rectangle(QRect(30, 0, 10, 10));           // lands at (160, 20), 20 x 20
    e.modifyWorldTransform(1, 0, 0, 1, 0, 0, 1); // identity
    e.createBrush(4, BsSolid, Green, 0);
    e.selectObject(4);
    e.rectangle(QRect(0, 0, 10, 10));
    const QImage image = play(e.finish());
    QCOMPARE(image.pixel(100, 20), RedPixel);
    QCOMPARE(image.pixel(118, 38), RedPixel);
    QCOMPARE(image.pixel(99, 20), WhitePixel);
    QCOMPARE(image.pixel(160, 20), BluePixel);
    QCOMPARE(image.pixel(178, 38), BluePixel);
    QCOMPARE(image.pixel(180, 30), WhitePixel);
    QCOMPARE(image.pixel(0, 0), GreenPixel);
}

void tst_MetafilePlayer::emfStockObjects()
{
    EmfWriter e(QSize(96, 48));
    e.selectObject(0x80000008); // NULL_PEN
    e.selectObject(0x80000004); // BLACK_BRUSH
    e.rectangle(QRect(10, 10, 20, 20));
    e.selectObject(0x80000007); // BLACK_PEN
    e.selectObject(0x80000005); // NULL_BRUSH
    e.rectangle(QRect(50, 10, 20, 20));
    const QImage image = play(e.finish());
    QCOMPARE(image.pixel(10, 10), BlackPixel);
    QCOMPARE(image.pixel(28, 28), BlackPixel);
    QCOMPARE(image.pixel(29, 20), WhitePixel); // no outline around the filled one
    QCOMPARE(image.pixel(50, 20), BlackPixel); // outline only
    QCOMPARE(image.pixel(60, 20), WhitePixel);
}

void tst_MetafilePlayer::emfPathIsFilled()
{
    EmfWriter e(QSize(96, 96));
    e.createBrush(1, BsSolid, Blue, 0);
    e.selectObject(1);
    e.beginPath();
    e.moveTo(10, 10);
    e.lineTo(80, 10);
    e.lineTo(10, 80);
    e.endPath();
    e.fillPath();
    const QImage image = play(e.finish());
    QCOMPARE(image.pixel(20, 20), BluePixel);
    QCOMPARE(image.pixel(70, 70), WhitePixel);
}

void tst_MetafilePlayer::dibAtItsPlaceInEmf()
{
    EmfWriter e(QSize(240, 96));
    e.stretchDIBits(QRect(20, 30, 40, 20), QRect(0, 0, 4, 2), TestDib::rgb24(quarters()));
    e.bitBlt(QRect(100, 40, 4, 2), QPoint(0, 0), TestDib::rgb24(quarters()));
    const QImage image = play(e.finish());
    checkQuarters(image, QRect(20, 30, 40, 20));
    checkQuarters(image, QRect(100, 40, 4, 2));
}

void tst_MetafilePlayer::emfClipAndReset()
{
    EmfWriter e(QSize(96, 96));
    e.selectObject(0x80000008);
    e.createBrush(1, BsSolid, Red, 0);
    e.selectObject(1);
    e.intersectClipRect(QRect(10, 10, 20, 20));
    e.rectangle(QRect(0, 0, 48, 48));
    e.resetClip();
    e.rectangle(QRect(60, 60, 10, 10));
    const QImage image = play(e.finish());
    QCOMPARE(inkBox(image), QRect(QPoint(10, 10), QPoint(68, 68)));
    QCOMPARE(image.pixel(9, 15), WhitePixel);
    QCOMPARE(image.pixel(29, 29), RedPixel);
    QCOMPARE(image.pixel(30, 29), WhitePixel);
    QCOMPARE(image.pixel(60, 60), RedPixel);
}

void tst_MetafilePlayer::emfAnisotropicMapping()
{
    EmfWriter e(QSize(96, 96));
    e.setMapMode(8);
    e.setWindowExt(1000, 1000);
    e.setViewportExt(96, -96);
    e.setViewportOrg(0, 96); // y grows upwards
    e.selectObject(0x80000008);
    e.createBrush(1, BsSolid, Red, 0);
    e.selectObject(1);
    e.rectangle(QRect(0, 0, 500, 250)); // the lower left part
    const QImage image = play(e.finish());
    QCOMPARE(image.pixel(10, 90), RedPixel);
    QCOMPARE(image.pixel(10, 50), WhitePixel);
    QCOMPARE(image.pixel(60, 90), WhitePixel);
}

QTEST_MAIN(tst_MetafilePlayer)
#include "tst_MetafilePlayer.moc"
