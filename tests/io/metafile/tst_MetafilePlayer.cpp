#include "MetafileWriter.h"

#include "common/Cp932.h"
#include "io/metafile/MetafilePlayer.h"
#include "io/metafile/MetafileText.h"

#include <QPainter>
#include <QTest>
#include <QtEndian>

namespace {

constexpr QRgb Red = 0xFFFF0000, Green = 0xFF00FF00, Blue = 0xFF0000FF, White = 0xFFFFFFFF,
               Black = 0xFF000000;
constexpr quint32 NullPen = 0x80000008, NullBrush = 0x80000005;
using W = MetafileWriter;

QImage play(const QByteArray &metafile)
{
    QString error;
    const QImage image = MetafilePlayer::render(metafile, &error);
    if (image.isNull())
        qWarning() << "render failed:" << error;
    return image;
}

// A plain WMF in MM_TEXT: logical units are pixels.
W pixelWmf(int width, int height)
{
    W w = W::wmf(QSize(width, height));
    w(Wmr::SetMapMode, {1});
    return w;
}

// The WMF pen, brush and text colour fields of a COLORREF.
QList<qint64> pen(int style, int width, QRgb c)
{
    return {style, width, 0, W::ref(c) & 0xFFFF, W::ref(c) >> 16};
}
QList<qint64> brush(int style, QRgb c, int hatch = 0)
{
    return {style, W::ref(c) & 0xFFFF, W::ref(c) >> 16, hatch};
}

// Shapes drawn next are filled with `c` and have no outline.
void fill(W &w, QRgb c)
{
    w(Wmr::SelectObject, {w.create(Wmr::CreatePen, pen(5, 0, 0))});
    w(Wmr::SelectObject, {w.create(Wmr::CreateBrush, brush(0, c))});
}
void fillEmf(W &e, QRgb c)
{
    e(Emr::SelectObject, {NullPen});
    e(Emr::SelectObject, {e.create(Emr::CreateBrush, {0, W::ref(c), 0})});
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

// A 4 x 2 bitmap of four coloured quarters: red, green / blue, black.
QImage quarters()
{
    QImage image(4, 2, QImage::Format_RGB32);
    for (int x = 0; x < 4; ++x) {
        image.setPixel(x, 0, x < 2 ? Red : Green);
        image.setPixel(x, 1, x < 2 ? Blue : Black);
    }
    return image;
}

// A box of one colour (or of a brush's pattern) in a reference picture.
struct Paint
{
    QRect box;
    QBrush brush;
};

// The reference picture: white, then each box painted in turn.
QImage reference(QSize size, const QList<Paint> &paints)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(White);
    QPainter p(&image);
    for (const Paint &paint : paints)
        p.fillRect(paint.box, paint.brush);
    return image;
}

} // namespace

class tst_MetafilePlayer : public QObject
{
    Q_OBJECT

private slots:
    void naturalSize_data()
    {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<QSize>("size");
        QTest::newRow("EMF frame of 10582 hundredths of a mm, not at the origin, is 400 pixels")
            << W::emfFrame(QRect(QPoint(1000, 2000), QPoint(11582, 12582))).finish()
            << QSize(400, 400);
        QTest::newRow("placeable WMF at 2540 units per inch, not at the origin")
            << W::placeable(QRect(-500, -500, 2540, 1270), 2540).finish() << QSize(96, 48);
        QTest::newRow("plain WMF takes its window extent")
            << W::wmf(QSize(320, -240)).finish() << QSize(320, 240);
    }
    void naturalSize()
    {
        QFETCH(QByteArray, data);
        QFETCH(QSize, size);
        QSize actual;
        QString error;
        QVERIFY2(MetafilePlayer::naturalSize(data, &actual, &error), qPrintable(error));
        QCOMPARE(actual, size);
    }
    void refusesDamagedFiles_data()
    {
        QTest::addColumn<QByteArray>("data");
        QTest::newRow("empty") << QByteArray();
        W wmf = pixelWmf(100, 100);
        fill(wmf, Red);
        const QByteArray goodWmf = wmf(Wmr::Rectangle, {90, 90, 10, 10}).finish();
        QByteArray noExtent = goodWmf;
        noExtent[22] = char(0x99); // the window extent record made unknown
        const auto patched = [](QByteArray data, int at, quint32 value) {
            qToLittleEndian<quint32>(value, data.data() + at);
            return data;
        };
        QTest::newRow("WMF cut before its end record") << goodWmf.left(goodWmf.size() - 6);
        QTest::newRow("WMF record longer than the file") << patched(goodWmf, 18, 0x7FFFFFFF);
        QTest::newRow("WMF record of size 0") << patched(goodWmf, 18, 0);
        QTest::newRow("placeable WMF with 0 units per inch")
            << W::placeable(QRect(0, 0, 100, 100), 0).finish();
        QTest::newRow("plain WMF without window extent") << noExtent;
        W emf = W::emf(QSize(48, 48));
        const QByteArray goodEmf = emf(Emr::Rectangle, {5, 5, 15, 15}).finish();
        QTest::newRow("EMF without its end record") << goodEmf.left(goodEmf.size() - 20);
        QTest::newRow("EMF record size not a multiple of 4") << patched(goodEmf, 112, 26);
        QTest::newRow("EMF record longer than the file") << patched(goodEmf, 112, 0xFFFFFFF0);
        QTest::newRow("EMF header cut short") << goodEmf.left(60);
        QTest::newRow("EMF frame with right left of left")
            << W::emfFrame(QRect(QPoint(1000, 0), QPoint(0, 1000))).finish();
    }
    void refusesDamagedFiles()
    {
        QFETCH(QByteArray, data);
        QString error;
        QVERIFY(MetafilePlayer::render(data, &error).isNull());
        QVERIFY(!error.isEmpty());
    }
    void refusesPicturesTooLargeOrEndless()
    {
        // 30000 x 30000 pixels: refused from the header alone, no image is allocated.
        QString error;
        QVERIFY(MetafilePlayer::render(W::emfFrame(QRect(0, 0, 793751, 793751)).finish(), &error)
                    .isNull());
        QVERIFY(error.contains("30000"));
        QCOMPARE(
            MetafilePlayer::render(W::emfFrame(QRect(0, 0, 42334, 31750)).finish(), &error).size(),
            QSize(1600, 1200));
        // Every record paints the whole picture: a few hundred times is a picture, a thousand
        // times is a file built to keep the player busy.
        const auto paintings = [](int count, bool emf) {
            W w = emf ? W::emf(QSize(200, 200)) : pixelWmf(200, 200);
            emf ? fillEmf(w, Red) : fill(w, Red);
            for (int i = 0; i < count; ++i)
                emf ? w(Emr::Rectangle, {0, 0, 201, 201}) : w(Wmr::Rectangle, {201, 201, 0, 0});
            return w.finish();
        };
        for (bool emf : {false, true}) {
            QVERIFY(!MetafilePlayer::render(paintings(300, emf), &error).isNull());
            QVERIFY(MetafilePlayer::render(paintings(1000, emf), &error).isNull());
            QVERIFY(!error.isEmpty());
        }
    }
    void inconsistentRecordIsSkipped_data()
    {
        // Each record's frame is sound but its contents contradict it.
        QTest::addColumn<QByteArray>("data");
        const auto wmfWith = [](quint32 type, const QList<qint64> &fields,
                                const QByteArray &bytes) {
            W w = pixelWmf(100, 100);
            w(type, fields, bytes);
            fill(w, Red);
            return w(Wmr::Rectangle, {90, 90, 10, 10}).finish();
        };
        const auto emfWith = [](quint32 type, const QList<qint64> &fields) {
            W e = W::emf(QSize(96, 96));
            e(type, fields);
            fillEmf(e, Red);
            return e(Emr::Rectangle, {10, 10, 90, 90}).finish();
        };
        QTest::newRow("WMF polygon counting more points than it holds")
            << wmfWith(Wmr::Polygon, {0x7FFF, 1, 1, 50, 1, 50, 50}, {});
        QTest::newRow("WMF polypolygon counts past the record")
            << wmfWith(Wmr::PolyPolygon, {2, 3, -1, 1, 1, 50, 1, 50, 50}, {});
        QTest::newRow("WMF text longer than its record")
            << wmfWith(Wmr::TextOut, {0x7FFF, 0x4141, 10, 10}, {});
        QByteArray tall = W::dib(quarters());
        qToLittleEndian<qint32>(30000, tall.data() + 8);
        QTest::newRow("WMF DIB with a height past its bits")
            << wmfWith(Wmr::StretchDib, {0x20, 0xCC, 0, 2, 4, 0, 0, 50, 50, 0, 0}, tall);
        QTest::newRow("EMF polygon count whose byte size overflows 32 bits")
            << emfWith(Emr::Polygon, {0, 0, 96, 96, 0x20000001, 1, 1, 50, 1, 50, 50});
        QTest::newRow("EMF polypolygon counts that do not add up")
            << emfWith(Emr::PolyPolygon, {0, 0, 96, 96, 2, 3, 2, 0x7FFFFFFF, 1, 1, 50, 1, 50, 50});
        QTest::newRow("EMF text with a character count past the record")
            << emfWith(Emr::ExtTextOutW,
                       {0, 0, 96, 96, 1, 0, 0, 10, 10, 0x40000000, 76, 0, 0, 0, 0, 0, 0, 0x410041});
        QTest::newRow("EMF bitmap offset past the record")
            << emfWith(Emr::StretchDIBits, {0, 0, 96, 96, 0, 0, 0, 0, 4, 2, 80, 40, 0x7FFFFFF0, 32,
                                            0, 0x00CC0020, 96, 96});
        QTest::newRow("EMF object handle far out of the table")
            << emfWith(Emr::CreateBrush, {0x7FFFFFFF, 0, 0xFF0000, 0});
        QTest::newRow("EMF world transform that is not a number")
            << emfWith(Emr::SetWorldTransform, {W::real(qQNaN()), 0, 0, W::real(1), 0, 0});
    }
    void inconsistentRecordIsSkipped()
    {
        // The record is skipped; the records after it are drawn.
        QFETCH(QByteArray, data);
        const QImage image = play(data);
        QVERIFY(!image.isNull());
        QCOMPARE(image, reference(image.size(), {{QRect(10, 10, 79, 79), QColor(Red)}}));
    }
    void boxesAsPainted_data()
    {
        QTest::addColumn<QByteArray>("metafile");
        QTest::addColumn<QList<Paint>>("paints");
        const QColor red(Red), green(Green), blue(Blue), black(Black), white(White);

        // With a pen Rectangle(10, 10, 20, 20) covers pixels 10 to 19, its outline on 10 and 19;
        // with no pen the fill covers 10 to 18.
        W w = pixelWmf(100, 50);
        w(Wmr::Escape, {15, 4, 0x4142, 0x4344})(0x0999, {1, 2, 3}); // skipped
        w(Wmr::SelectObject, {w.create(Wmr::CreatePen, pen(0, 1, Black))});
        w(Wmr::SelectObject, {w.create(Wmr::CreateBrush, brush(0, Red))});
        w(Wmr::Rectangle, {20, 20, 10, 10});
        w(Wmr::SelectObject, {w.create(Wmr::CreatePen, pen(5, 0, 0))});
        w(Wmr::Rectangle, {20, 50, 10, 40});
        QTest::newRow("rectangle leaves out its right and bottom edge")
            << w.finish()
            << QList<Paint>{
                   {{10, 10, 10, 10}, black}, {{11, 11, 8, 8}, red}, {{40, 10, 9, 9}, red}};

        w = W::placeable(QRect(0, 0, 2880, 1440), 1440); // 192 x 96 pixels
        fill(w, Green);
        w(Wmr::Rectangle, {1440, 2880, 0, 1440});
        w(Wmr::ScaleWindowExt, {1, 2, 1, 2})(Wmr::Rectangle,
                                             {720, 2880, 0, 2160}); // twice the units
        QTest::newRow("placeable bounding box fills the picture, then scaled")
            << w.finish() << QList<Paint>{{{96, 0, 95, 95}, green}, {{72, 0, 23, 23}, green}};

        w = pixelWmf(200, 100);
        fill(w, Red); // slots 0 and 1
        w(Wmr::SaveDC, {})(Wmr::SelectObject, {w.create(Wmr::CreateBrush, brush(0, Blue))});
        w(Wmr::SetWindowOrg, {0, -50})(Wmr::Rectangle, {20, 20, 0, 0}); // moved by the origin
        w(Wmr::RestoreDC, {-1})(Wmr::Rectangle, {20, 20, 0, 0});        // red at the origin again
        w(Wmr::DeleteObject, {w.create(Wmr::CreateRegion, {0, 6, 0, 0, 22, 0, 0, 0, 0, 0, 0})});
        w.create(Wmr::CreateBrush, brush(0, Green));
        w(Wmr::SelectObject, {3}); // the slot the region freed
        w(Wmr::IntersectClipRect, {80, 150, 20, 90})(Wmr::ExcludeClipRect, {60, 130, 40, 110});
        w(Wmr::OffsetClipRgn, {0, 10});
        w(Wmr::Rectangle, {101, 201, 0, 80});
        const QList<Paint> tableAndClip = {{{50, 0, 19, 19}, blue},
                                           {{0, 0, 19, 19}, red},
                                           {{100, 20, 60, 60}, green},
                                           {{120, 40, 20, 20}, white}};
        QTest::newRow("saved state, object table and clip rectangles")
            << w.finish() << tableAndClip;
        // Some writers count their objects short: the table grows for the objects past the count.
        QTest::newRow("objects past the header's count") << w.finish(1) << tableAndClip;

        // R2_XORPEN: blue over red gives magenta, over white yellow; R2_NOP draws nothing.
        const QList<Paint> xorAndNop = {{{10, 10, 29, 29}, red},
                                        {{20, 20, 29, 29}, QColor(0xFFFF00)},
                                        {{20, 20, 19, 19}, QColor(0xFF00FF)}};
        w = pixelWmf(60, 60);
        fill(w, Red);
        w(Wmr::Rectangle, {40, 40, 10, 10})(Wmr::SetRop2, {7});
        w(Wmr::SelectObject, {w.create(Wmr::CreateBrush, brush(0, Blue))});
        w(Wmr::Rectangle, {50, 50, 20, 20})(Wmr::SetRop2, {11})(Wmr::Rectangle, {60, 60, 0, 0});
        QTest::newRow("WMF raster operations") << w.finish() << xorAndNop;

        // A DIB pattern tiles from the picture's origin, its first row at the top.
        w = pixelWmf(40, 20);
        w(Wmr::SelectObject, {w.create(Wmr::CreatePen, pen(5, 0, 0))});
        w(Wmr::SelectObject, {w.create(Wmr::DibCreatePatternBrush, {5, 0}, W::dib(quarters()))});
        w(Wmr::Rectangle, {16, 32, 1, 3});
        QTest::newRow("WMF DIB pattern brush")
            << w.finish() << QList<Paint>{{{3, 1, 28, 14}, quarters()}};
        W e = W::emf(QSize(60, 60));
        fillEmf(e, Red);
        e(Emr::Rectangle, {10, 10, 40, 40})(Emr::SetRop2, {7});
        e(Emr::SelectObject, {e.create(Emr::CreateBrush, {0, W::ref(Blue), 0})});
        e(Emr::Rectangle, {20, 20, 50, 50})(Emr::SetRop2, {11})(Emr::Rectangle, {0, 0, 60, 60});
        QTest::newRow("EMF raster operations") << e.finish() << xorAndNop;
        e = W::emf(QSize(40, 20));
        const QByteArray pattern = W::dib(quarters());
        e(Emr::SelectObject, {NullPen});
        e(Emr::SelectObject,
          {e.create(Emr::CreateDibPatternBrush, {0, 32, 40, 72, pattern.size() - 40}, pattern)});
        e(Emr::Rectangle, {3, 1, 32, 16});
        QTest::newRow("EMF DIB pattern brush")
            << e.finish() << QList<Paint>{{{3, 1, 28, 14}, quarters()}};

        // Bitmaps stretched whole pixels, and one copied as it is.
        w = pixelWmf(200, 100);
        w(Wmr::StretchDib, {0x20, 0xCC, 0, 2, 4, 0, 0, 20, 40, 30, 20}, W::dib(quarters()));
        w(Wmr::DibBitBlt, {0x20, 0xCC, 0, 0, 2, 4, 40, 100}, W::dib(quarters(), 8));
        const QList<Paint> bitmaps = {{{20, 30, 20, 10}, red},
                                      {{40, 30, 20, 10}, green},
                                      {{20, 40, 20, 10}, blue},
                                      {{40, 40, 20, 10}, black},
                                      {{100, 40, 4, 2}, quarters()}};
        QTest::newRow("WMF bitmaps") << w.finish() << bitmaps;
        e = W::emf(QSize(200, 100));
        e(Emr::StretchDIBits,
          {20, 30, 60, 50, 20, 30, 0, 0, 4, 2, 80, 40, 120, pattern.size() - 40, 0, 0xCC0020, 40,
           20},
          pattern);
        e(Emr::BitBlt,
          {100,        40, 104, 42, 100, 40,  4,  2,   0xCC0020,           0, 0, W::real(1), 0, 0,
           W::real(1), 0,  0,   0,  0,   100, 40, 140, pattern.size() - 40},
          pattern);
        QTest::newRow("EMF bitmaps") << e.finish() << bitmaps;

        e = W::emf(QSize(240, 96));
        e(Emr::Comment, {8, 0x2B464D45, 0})(200, {1, 2, 3}); // skipped
        fillEmf(e, Red);
        e(Emr::SetWorldTransform, {W::real(1), 0, 0, W::real(1), W::real(100), W::real(20)});
        e(Emr::Rectangle, {0, 0, 20, 20}); // lands at (100, 20)
        // Scaled first, then moved: lands at (160, 20), 20 x 20.
        e(Emr::ModifyWorldTransform, {W::real(2), 0, 0, W::real(2), 0, 0, 2});
        e(Emr::SelectObject, {e.create(Emr::CreateBrush, {0, W::ref(Blue), 0})});
        e(Emr::Rectangle, {30, 0, 40, 10});
        // A quarter turn: x' = 180 - y, y' = x.
        e(Emr::SetWorldTransform, {0, W::real(1), W::real(-1), 0, W::real(180), 0});
        e(Emr::Rectangle, {60, 0, 70, 20});
        e(Emr::ModifyWorldTransform, {W::real(1), 0, 0, W::real(1), 0, 0, 1}); // identity
        e(Emr::BeginPath, {})(Emr::MoveTo, {10, 70})(Emr::LineTo, {40, 70})(Emr::LineTo, {40, 90});
        e(Emr::LineTo, {10, 90})(Emr::EndPath, {})(Emr::FillPath, {0, 0, 240, 96});
        e(Emr::SelectObject, {0x80000004})(Emr::Rectangle, {0, 0, 10, 10}); // BLACK_BRUSH
        e(Emr::SelectObject, {0x80000007})(Emr::SelectObject, {NullBrush}); // BLACK_PEN
        e(Emr::IntersectClipRect, {50, 50, 70, 70})(Emr::Rectangle, {60, 60, 100, 100});
        e(Emr::ExtSelectClipRgn, {0, 5})(Emr::Rectangle, {200, 50, 230, 70});
        e(Emr::SelectObject, {0x80000006})(Emr::Rectangle, {15, 75, 25, 85}); // WHITE_PEN
        QTest::newRow("EMF world transform, stock objects and clipping")
            << e.finish() << QList<Paint>{{{100, 20, 19, 19}, red},   {{160, 20, 19, 19}, blue},
                                          {{0, 0, 9, 9}, black},      {{200, 50, 30, 20}, black},
                                          {{201, 51, 28, 18}, white}, {{160, 60, 20, 10}, blue},
                                          {{10, 70, 30, 20}, blue},   {{60, 60, 10, 1}, black},
                                          {{60, 60, 1, 10}, black},   {{15, 75, 10, 10}, white},
                                          {{16, 76, 8, 8}, blue}};
    }
    void boxesAsPainted()
    {
        QFETCH(QByteArray, metafile);
        QFETCH(QList<Paint>, paints);
        const QImage image = play(metafile);
        QCOMPARE(image, reference(image.size(), paints));
    }
    void penWidthsAndCurves()
    {
        W w = pixelWmf(300, 300);
        w(Wmr::SelectObject, {w.create(Wmr::CreatePen, pen(0, 3, Blue))});
        w(Wmr::MoveTo, {190, 20})(Wmr::LineTo, {190, 280}); // 3 pixels across, rows 189 to 191
        w(Wmr::SelectObject, {w.create(Wmr::CreateBrush, brush(0, Red))});
        w(Wmr::SelectObject, {w.create(Wmr::CreatePen, pen(0, 1, Green))});
        // Pie: 3 o'clock counterclockwise to 12; chord: the upper half; arc: the lower half's
        // curve.
        w(Wmr::Pie, {0, 50, 50, 100, 90, 90, 10, 10})(Wmr::Chord,
                                                      {50, 100, 50, 200, 90, 190, 10, 110});
        w(Wmr::Arc, {50, 300, 50, 200, 90, 290, 10, 210});
        w(Wmr::SelectObject, {w.create(Wmr::CreatePen, pen(5, 0, 0))});
        w(Wmr::SetPolyFillMode, {1})(Wmr::PolyPolygon, {2, 4, 4, 10, 110, 90, 110, 90, 180, 10, 180,
                                                        30, 130, 70, 130, 70, 160, 30, 160});
        w(Wmr::SetPolyFillMode,
          {2})(Wmr::PolyPolygon, {2, 4, 4, 100, 110, 180, 110, 180, 180, 100, 180, 120, 130, 160,
                                  130, 160, 160, 120, 160});
        w(Wmr::Ellipse, {161, 281, 100, 200})(Wmr::SetBkMode, {1});
        w(Wmr::SelectObject, {w.create(Wmr::CreateBrush, brush(2, Blue, 4))}); // HS_CROSS
        w(Wmr::RoundRect, {40, 40, 291, 291, 200, 200});
        w(Wmr::SelectObject, {w.create(Wmr::CreatePen, pen(1, 1, Blue))}); // PS_DASH
        w(Wmr::MoveTo, {295, 160})(Wmr::LineTo, {295, 290});
        const QImage image = play(w.finish());
        QCOMPARE(countColor(image, QRect(150, 0, 1, 300), Blue), 3);
        QCOMPARE(countColor(image, QRect(150, 189, 1, 3), Blue), 3);
        const auto at = [&](int x, int y) { return image.pixel(x, y); };
        QCOMPARE(QList<QRgb>({at(70, 30), at(30, 30), at(70, 70), at(150, 30), at(150, 70)}),
                 QList<QRgb>({Red, White, White, Red, White}));
        QVERIFY(countColor(image, QRect(210, 60, 80, 31), Green) > 40);
        QCOMPARE(countColor(image, QRect(210, 10, 80, 40), Green), 0);
        // Alternate fill leaves the inner box empty, winding fills it.
        QCOMPARE(QList<QRgb>({at(20, 150), at(50, 145), at(110, 150), at(140, 145)}),
                 QList<QRgb>({Red, White, Red, Red}));
        // The ellipse filled without holes along its middle row, white outside its curve.
        QCOMPARE(countColor(image, QRect(202, 130, 77, 1), Red), 77);
        QCOMPARE(QList<QRgb>({at(201, 101), at(279, 159)}), QList<QRgb>({White, White}));
        // The round rectangle's corners stay white; a cross hatch of 8-pixel cells fills it.
        QCOMPARE(at(201, 201), White);
        QCOMPARE(countColor(image, QRect(210, 210, 64, 64), Blue), 64 * 64 - 56 * 56);
        QCOMPARE(countColor(image, QRect(210, 210, 64, 64), White), 56 * 56);
        // The dashed line keeps its gaps.
        const int dashed = countColor(image, QRect(160, 295, 130, 1), Blue);
        QVERIFY2(dashed > 60 && dashed < 120, qPrintable(QString::number(dashed)));

        W e = W::emf(QSize(240, 192));
        fillEmf(e, Green);
        e(Emr::Pie, {10, 100, 90, 180, 90, 140, 50, 100}); // 3 o'clock to 12, the centre included
        e(Emr::Ellipse, {10, 10, 70, 70})(Emr::Polygon16, {80, 10, 140, 70, 3},
                                          W::words({80, 70, 110, 10, 140, 70}));
        e(Emr::SelectObject, {e.create(Emr::CreatePen, {0, 3, 0, W::ref(Red)})});
        // A bezier from (150, 80) bulging up to y 20 and down to (230, 80); then one along a line.
        e(Emr::PolyBezier, {0, 0, 240, 96, 4, 150, 80, 170, 0, 210, 0, 230, 80});
        e(Emr::MoveTo, {150, 90})(Emr::PolyBezierTo, {0, 0, 240, 96, 3, 170, 90, 210, 90, 230, 90});
        // From the current point to the circle, then a quarter counterclockwise from 0 degrees.
        e(Emr::MoveTo, {150, 140})(Emr::AngleArc, {190, 140, 30, W::real(0), W::real(90)});
        const QImage emf = play(e.finish());
        QCOMPARE(QList<QRgb>(
                     {emf.pixel(40, 40), emf.pixel(11, 11), emf.pixel(110, 60), emf.pixel(85, 20)}),
                 QList<QRgb>({Green, White, Green, White}));
        QVERIFY(countColor(emf, QRect(185, 15, 10, 12), Red) > 0); // top of the curve
        QCOMPARE(countColor(emf, QRect(185, 30, 10, 40), Red), 0);
        QCOMPARE(countColor(emf, QRect(190, 85, 1, 10), Red), 3);
        QCOMPARE(QList<QRgb>({emf.pixel(52, 134), emf.pixel(30, 160), emf.pixel(170, 140),
                              emf.pixel(190, 110), emf.pixel(190, 170), emf.pixel(160, 150)}),
                 QList<QRgb>({Green, White, Red, Red, White, White}));
    }
    void mappingModes_data()
    {
        // A window of 100 x 100 at the origin (a moved window origin is in boxesAsPainted).
        QTest::addColumn<int>("mapMode");
        QTest::addColumn<QRect>("viewport"); // origin and extent
        QTest::addColumn<QRect>("filled");   // where Rectangle(10, 10, 20, 20) lands, no pen
        QTest::newRow("anisotropic scales the axes apart")
            << 8 << QRect(0, 0, 200, 100) << QRect(QPoint(20, 10), QPoint(38, 18));
        QTest::newRow("isotropic keeps the smaller scale")
            << 7 << QRect(0, 0, 300, 200) << QRect(QPoint(20, 20), QPoint(38, 38));
        QTest::newRow("text mode ignores the extents")
            << 1 << QRect(0, 0, 200, 200) << QRect(QPoint(10, 10), QPoint(18, 18));
        QTest::newRow("viewport origin moves the picture")
            << 8 << QRect(50, 60, 100, 100) << QRect(QPoint(60, 70), QPoint(68, 78));
    }
    void mappingModes()
    {
        QFETCH(int, mapMode);
        QFETCH(QRect, viewport);
        QFETCH(QRect, filled);
        W w = W::wmf(QSize(200, 200));
        w(Wmr::SetMapMode, {mapMode})(Wmr::SetWindowExt, {100, 100});
        w(Wmr::SetViewportOrg, {viewport.y(), viewport.x()});
        w(Wmr::SetViewportExt, {viewport.height(), viewport.width()});
        fill(w, Red);
        const QImage image = play(w(Wmr::Rectangle, {20, 20, 10, 10}).finish());
        QCOMPARE(image, reference(QSize(200, 200), {{filled, QColor(Red)}}));

        // An EMF whose y grows upwards: the lower left part.
        W e = W::emf(QSize(96, 96));
        e(Emr::SetMapMode, {8})(Emr::SetWindowExt, {1000, 1000})(Emr::SetViewportExt, {96, -96});
        e(Emr::SetViewportOrg, {0, 96});
        fillEmf(e, Red);
        const QImage up = play(e(Emr::Rectangle, {0, 0, 500, 250}).finish());
        QCOMPARE(QList<QRgb>({up.pixel(10, 90), up.pixel(10, 50), up.pixel(60, 90)}),
                 QList<QRgb>({Red, White, White}));
    }
    void eastAsianTextFromCodePagesAndUtf16()
    {
        const QString text = QStringLiteral("星雲の写真");
        // "ＭＳ ゴシック" is not on this system: the player must pick a Japanese face for it. The
        // name ends at its NUL: a Mincho name after it is left unread.
        QByteArray face, rest, bytes;
        Cp932::encode(QStringLiteral("ＭＳ ゴシック"), &face);
        Cp932::encode(QStringLiteral("ＭＳ 明朝"), &rest);
        face += '\0' + rest;
        Cp932::encode(text, &bytes);
        W w = pixelWmf(480, 96);
        w(Wmr::SelectObject,
          {w.create(Wmr::CreateFont, {-40, 0, 0, 0, 400, 0, 128 << 8, 0, 0}, face)});
        w(Wmr::SetBkMode, {1})(Wmr::SetTextAlign, {24}); // TA_BASELINE
        const QImage wmf =
            play(w(Wmr::TextOut, {bytes.size()}, bytes + W::words({60, 20})).finish());

        W e = W::emf(QSize(480, 96));
        e(Emr::SelectObject,
          {e.create(
              Emr::CreateFont, {-40, 0, 0, 0, 400, 128 << 24, 0},
              W::utf16(QStringLiteral("ＭＳ ゴシック\0ＭＳ 明朝")).leftJustified(292, '\0'))});
        e(Emr::SetBkMode, {1})(Emr::SetTextAlign, {24});
        e(Emr::ExtTextOutW, {0, 0, 480, 96, 1, 0, 0, 20, 60, 5, 76, 0, 0, 0, 0, 0, 0},
          W::utf16(text));
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
        QCOMPARE(wmf, expected);
    }
    void textSpacingLinesAndBackground()
    {
        W w = pixelWmf(300, 160);
        w(Wmr::SelectObject, {w.create(Wmr::CreateFont, {-30, 0, 0, 0, 400, 0x0100, 1, 0, 0},
                                       "DejaVu Sans")}); // underlined, struck out
        w(Wmr::SetTextColor, {0xFF, 0})(Wmr::SetBkMode, {1})(Wmr::SetTextAlign, {24});
        // Narrow glyphs placed by their advances: underline and strike-out span the gaps.
        w(Wmr::ExtTextOut, {50, 10, 3, 0}, QByteArray("I I\0", 4) + W::words({100, 100, 20}));
        w(Wmr::SetTextAlign, {0});
        w(Wmr::SelectObject,
          {w.create(Wmr::CreateFont, {-20, 0, 0, 0, 400, 0, 0, 0, 0}, "DejaVu Sans")});
        w(Wmr::SetBkMode, {2})(Wmr::SetBkColor, {0xFF00, 0}); // OPAQUE, green
        w(Wmr::TextOut, {5}, QByteArray("I I I\0", 6) + W::words({100, 10}));
        w(Wmr::SetBkColor, {0, 0xFF}); // blue behind an empty ETO_OPAQUE box
        w(Wmr::ExtTextOut, {100, 100, 0, 2, 100, 100, 160, 130});
        const QImage image = play(w.finish());
        // The second "I" 200 pixels on; between them only the lines, across the whole gap.
        QVERIFY(countColor(image, QRect(205, 20, 25, 30), Red) > 30);
        for (int x : {30, 60, 150}) {
            QVERIFY(countColor(image, QRect(x, 0, 1, 80), Red) <= 6);
            QVERIFY(countColor(image, QRect(x, 51, 1, 9), Red) > 0);  // underline
            QVERIFY(countColor(image, QRect(x, 30, 1, 19), Red) > 0); // strike-out
        }
        QVERIFY(countColor(image, QRect(10, 100, 40, 20), Green) > 200);
        QCOMPARE(countColor(image, QRect(100, 100, 60, 30), Blue), 60 * 30);
    }
    void textAlignmentAndCurrentPosition()
    {
        // "H" at x 150 once or twice with an alignment; the current position is moved to 150 too.
        const auto ink = [](int align, int times) {
            W w = pixelWmf(300, 60);
            w(Wmr::SelectObject,
              {w.create(Wmr::CreateFont, {-30, 0, 0, 0, 400, 0, 0, 0, 0}, "DejaVu Sans")});
            w(Wmr::SetBkMode, {1})(Wmr::SetTextAlign, {align})(Wmr::MoveTo, {10, 150});
            for (int i = 0; i < times; ++i)
                w(Wmr::TextOut, {1}, QByteArray("H\0", 2) + W::words({10, 150}));
            return inkBox(play(w.finish()));
        };
        const QRect left = ink(0, 1), centre = ink(6, 1), right = ink(2, 1);
        const int advance = left.left() - right.left();
        QVERIFY2(left.left() >= 150 && left.left() <= 154 && advance > 15,
                 qPrintable(QDebug::toString(left)));
        QVERIFY(qAbs(centre.left() - (left.left() - advance / 2)) <= 1);
        // From the current position: left goes on to the right, right to the left, centre stays.
        QVERIFY(qAbs(ink(1, 2).right() - (left.right() + advance)) <= 1);
        QVERIFY(qAbs(ink(3, 2).left() - (right.left() - advance)) <= 1);
        QCOMPARE(ink(7, 2), centre);
        // A narrow font (width 12) whose escapement of 90 degrees turns "HHH" to run upwards from
        // (150, 150), the glyphs hanging to the right of it; its orientation is left at 0.
        W w = pixelWmf(300, 300);
        w(Wmr::SelectObject,
          {w.create(Wmr::CreateFont, {-30, 12, 900, 0, 400, 0, 0, 0, 0}, "DejaVu Sans")});
        w(Wmr::SetBkMode, {1})(Wmr::TextOut, {3}, QByteArray("HHH\0", 4) + W::words({150, 150}));
        const QRect turned = inkBox(play(w.finish()));
        QVERIFY2(turned.left() >= 150 && turned.bottom() <= 150 &&
                     turned.height() > 2 * turned.width(),
                 qPrintable(QDebug::toString(turned)));
    }
    void codePagesAndFallbackFaces()
    {
        // The two bytes of a Shift-JIS character add up their advances on it; a lead byte at the
        // end takes no byte after it and decodes to nothing.
        QList<double> advances;
        const QByteArray bytes("\x90\xaf\x41\x90\x40"); // 星, "A", a lead byte, "@"
        QCOMPARE(
            MetafileText::decode(QByteArrayView(bytes).first(4), 128, {10, 5, 7, 4}, &advances),
            QStringLiteral("星A"));
        QCOMPARE(advances, (QList<double>{15, 7}));
        QCOMPARE(MetafileText::decode("\xe1", 161), QStringLiteral("α"));                // Greek
        QCOMPARE(MetafileText::decode("\xe9", 0), QStringLiteral("é"));                  // ANSI
        QCOMPARE(MetafileText::decode("\xa1", 222), QStringLiteral("ก"));                // Thai
        QCOMPARE(MetafileText::decode("\xb0\xa1", 129), QStringLiteral("가"));           // Korean
        QCOMPARE(MetafileText::decode("\xd0\xc7\xd4\xc6", 134), QStringLiteral("星云")); // GB2312
        using MetafileText::fallbackFamily;
        QCOMPARE(fallbackFamily(QStringLiteral("ＭＳ Ｐ明朝"), 128, 0), "IPAPMincho");
        QCOMPARE(fallbackFamily(QStringLiteral("ms mincho"), 0, 0), "IPAMincho");
        QCOMPARE(fallbackFamily(QStringLiteral("MS UI Gothic"), 0, 0), "IPAPGothic");
        QCOMPARE(fallbackFamily(QStringLiteral("メイリオ"), 0, 0), "IPAGothic");
        QCOMPARE(fallbackFamily(QStringLiteral("Times"), 128, 0x10), "IPAMincho"); // FF_ROMAN
        QCOMPARE(fallbackFamily(QStringLiteral("Arial"), 128, 0x20), "IPAGothic");
        QCOMPARE(fallbackFamily(QStringLiteral("Arial"), 0, 0x10), QString());
    }
};

QTEST_MAIN(tst_MetafilePlayer)
#include "tst_MetafilePlayer.moc"
