#include "compose/FrameDescription.h"
#include "compose/FrameLayout.h"
#include "compose/LayoutMargins.h"
#include "compose/PreviewComposer.h"
#include "compose/TextMeasurer.h"

#include <QHash>
#include <QPainter>
#include <QTest>

Q_DECLARE_METATYPE(LayoutMargins)

namespace {

// Each text measures the size set for it; any other text is 0 wide and 16 high.
struct FixedMeasurer : TextMeasurer
{
    QHash<QString, QSizeF> sizes;
    QSizeF measure(const TextItem &, const QString &text) const override
    {
        return sizes.value(text, QSizeF(0, 16));
    }
};

// The worked example: 640 x 480, border 2, item 0 100 x 24, item 1 150 x 18, item 2 200 x 16
// centred, item 3 120 x 16 aligned to the left edge of item 2, item 4 empty.
struct Example
{
    FixedMeasurer measurer;
    FrameDescription frame;

    Example()
    {
        frame.photoWidth = 640;
        frame.photoHeight = 480;
        frame.borderWidth = 2;
        frame.borderColor = 0x00FFFFFF;
        frame.backColor = 0;
        const char *texts[] = {"M42", "2001/12/25 22:30", "f=640mm", "ISO 800", ""};
        const QSizeF sizes[] = {{100, 24}, {150, 18}, {200, 16}, {120, 16}, {0, 16}};
        for (int i = 0; i < 5; ++i) {
            TextItem &item = frame.textItems[i];
            item.text = QString::fromLatin1(texts[i]);
            item.fontSize = 10;
            item.fontColor = 0x00FFFFFF;
            if (!item.text.isEmpty())
                measurer.sizes.insert(item.text, sizes[i]);
        }
        frame.textItems[2].fontAlign = FooterAlign::Centre;
        frame.textItems[3].fontAlign = FooterAlign::LeftOfAbove;
        measurer.sizes.insert(QStringLiteral("   "), {9, 16});
    }
};

} // namespace

class tst_FrameLayout : public QObject
{
    Q_OBJECT

private slots:
    void workedExample()
    {
        // The texts' places are checked by their pixels in stylesAndAlignmentInPixels, the photo
        // area and the border's edges in borderWidthsFillExactly.
        Example ex;
        PreviewComposer composer(&ex.measurer);
        QCOMPARE(composer.layOut(ex.frame, LayoutMargins{}).kind, ComposeOutcome::Kind::Drawn);
        QCOMPARE(composer.canvas().size(), QSize(682, 570));
        QVERIFY(composer.drawFrame(ex.frame).isDrawn());
        QCOMPARE(composer.borderLeft(), 20);
        QCOMPARE(composer.borderTop(), 40);

        // A one pixel wider canvas (a header need of 683): roundHalfUp(21.5 - 1) = 21.
        ex.measurer.sizes.insert(QStringLiteral("M42"), {502, 24});
        QVERIFY(composer.layOut(ex.frame, LayoutMargins{}).isDrawn());
        QCOMPARE(composer.canvas().width(), 683);
        QVERIFY(composer.drawFrame(ex.frame).isDrawn());
        QCOMPARE(composer.borderLeft(), 21);
        // roundHalfUp is Fix(x + 0.5): halves go up, also below zero.
        QCOMPARE(PreviewComposer::roundHalfUp(-1.5), -1.0);
        QCOMPARE(PreviewComposer::roundHalfUp(-1.2), 0.0);

        // A footer line of 400 needs 20 + 400 + 2, and its 16 pixels of height.
        ex.frame.photoWidth = 100;
        ex.measurer.sizes.insert(QStringLiteral("M42"), {100, 24});
        ex.measurer.sizes.insert(QStringLiteral("wide"), {400, 16});
        ex.frame.textItems[4].text = QStringLiteral("wide");
        QSize size;
        QVERIFY(FrameLayout::layOut(ex.frame, LayoutMargins{}, ex.measurer, &size).isDrawn());
        QCOMPARE(size, QSize(422, 480 + 106));
    }
    void alignmentCodes_data()
    {
        // Items 2, 3, 4 with the widths 200, 120, 80 on the 682-wide canvas; "-" is an empty item.
        QTest::addColumn<QString>("texts");
        QTest::addColumn<QList<int>>("codes");
        QTest::addColumn<QList<int>>("xs"); // -1 for an item not drawn
        const QString all = QStringLiteral("abc");
        QTest::newRow("right edge of the item above")
            << all << QList<int>{1, 4, 4} << QList<int>{241, 321, 361};
        QTest::newRow("codes 3 and 4 first behave as left and right")
            << QStringLiteral("-bc") << QList<int>{0, 3, 4} << QList<int>{-1, 10, 50};
        QTest::newRow("first drawn item with code 4 is right aligned")
            << QStringLiteral("-b-") << QList<int>{0, 4, 0} << QList<int>{-1, 552, -1};
        QTest::newRow("code 4 after an empty item aligns to the last drawn one")
            << QStringLiteral("a-c") << QList<int>{1, 0, 4} << QList<int>{241, -1, 361};
        QTest::newRow("unknown codes are left")
            << all << QList<int>{5, -1, 99} << QList<int>{10, 10, 10};
    }
    void alignmentCodes()
    {
        QFETCH(QString, texts);
        QFETCH(QList<int>, codes);
        QFETCH(QList<int>, xs);
        Example ex;
        const QSizeF sizes[] = {{200, 16}, {120, 16}, {80, 16}};
        for (int f = 0; f < 3; ++f) {
            TextItem &item = ex.frame.textItems[2 + f];
            item.text = texts[f] == u'-' ? QString() : QStringLiteral("footer %1").arg(f);
            item.fontAlign = FooterAlign(codes[f]);
            ex.measurer.sizes.insert(QStringLiteral("footer %1").arg(f), sizes[f]);
        }
        PreviewComposer composer(&ex.measurer);
        QVERIFY(composer.layOut(ex.frame, LayoutMargins{}).isDrawn());
        QVERIFY(composer.drawFrame(ex.frame).isDrawn());
        int y = 528;
        for (int f = 0; f < 3; ++f) {
            const bool drawn = composer.drawnFrame().textDrawn[2 + f];
            QCOMPARE(drawn, xs[f] >= 0);
            if (drawn) {
                QCOMPARE(composer.drawnFrame().textTopLeft[2 + f], QPoint(xs[f], y));
                y += 16;
            }
        }
        QCOMPARE(composer.canvas().height(), y + 10);
    }
    void borderWidthsFillExactly_data()
    {
        QTest::addColumn<int>("borderWidth");
        for (int w = 1; w <= 10; ++w)
            QTest::addRow("border %d", w) << w;
    }
    void borderWidthsFillExactly()
    {
        QFETCH(int, borderWidth);
        Example ex;
        ex.frame.borderWidth = borderWidth;
        ex.frame.borderColor = 0x000000FF; // red
        ex.frame.backColor = 0x00FF0000;   // blue
        PreviewComposer composer(&ex.measurer);
        QVERIFY(composer.layOut(ex.frame, LayoutMargins{}).isDrawn());
        QVERIFY(composer.drawFrame(ex.frame).isDrawn());
        const int half = (borderWidth + 1) / 2;
        const QRect inside(composer.borderLeft() + half, composer.borderTop() + half, 640, 480);
        const QRect outer = inside.adjusted(-borderWidth, -borderWidth, borderWidth, borderWidth);
        QCOMPARE(composer.drawnFrame().photoArea, inside);
        // The band from just above the border to just below it, as it must be: the background, the
        // border's lines, the background again inside, where the photo goes.
        QImage expected(composer.canvas().size(), QImage::Format_RGB32);
        expected.fill(Qt::blue);
        QPainter painter(&expected);
        painter.fillRect(outer, Qt::red);
        painter.fillRect(inside, Qt::blue);
        painter.end();
        const QRect band(0, outer.top() - 2, expected.width(), outer.height() + 4);
        QCOMPARE(composer.canvas().copy(band), expected.copy(band));
    }
    void overflowIsAnError_data()
    {
        QTest::addColumn<LayoutMargins>("margins");
        QTest::addColumn<int>("borderWidth");
        QTest::addColumn<bool>("drawn");
        QTest::newRow("double border overflows 16 bits") << LayoutMargins{} << 20000 << false;
        QTest::newRow("border 0 is refused") << LayoutMargins{} << 0 << false;
        QTest::newRow("canvas too large") << LayoutMargins{20000, 10, 10, 5} << 2 << false;
        QTest::newRow("negative margins still draw") << LayoutMargins{-5, -3, -2, -1} << 2 << true;
    }
    void overflowIsAnError()
    {
        QFETCH(LayoutMargins, margins);
        QFETCH(int, borderWidth);
        QFETCH(bool, drawn);
        Example ex;
        ex.frame.borderWidth = borderWidth;
        QImage photo(640, 480, QImage::Format_RGB32);
        photo.fill(Qt::green);
        PreviewComposer composer(&ex.measurer);
        const ComposeOutcome outcome = composer.placePhoto(ex.frame, margins, photo);
        QCOMPARE(outcome.isDrawn(), drawn);
        QCOMPARE(outcome.message.isEmpty(), drawn);
    }
    void stylesAndAlignmentInPixels_data()
    {
        // Item 4 reads "ISO 800" too, left aligned; the footer lines are 16 high from y 528.
        QTest::addColumn<int>("item");
        QTest::addColumn<QString>("style"); // b i s u
        QTest::addColumn<int>("align");
        QTest::addColumn<QPoint>("at");
        const QPoint tops[] = {{10, 10}, {522, 16}, {241, 528}, {241, 544}, {10, 560}};
        for (int item = 0; item < 5; ++item)
            for (const char *style : {"b", "i", "s", "u"})
                QTest::addRow("item %d %s", item, style)
                    << item << QString::fromLatin1(style) << 3 << tops[item];
        const QPoint aligned[] = {{10, 544}, {281, 544}, {552, 544}, {241, 544}, {321, 544}};
        for (int code = 0; code < 5; ++code)
            QTest::addRow("footer align %d", code) << 3 << QString() << code << aligned[code];
    }
    void stylesAndAlignmentInPixels()
    {
        QFETCH(int, item);
        QFETCH(QString, style);
        QFETCH(int, align);
        QFETCH(QPoint, at);
        Example ex;
        ex.frame.textItems[4].text = QStringLiteral("ISO 800");
        ex.frame.textItems[3].fontAlign = FooterAlign(align);
        TextItem &t = ex.frame.textItems[item];
        t.fontBold = style == u'b';
        t.fontItalic = style == u'i';
        t.fontStrikethru = style == u's';
        t.fontUnderline = style == u'u';
        PreviewComposer composer(&ex.measurer);
        QVERIFY(composer.layOut(ex.frame, LayoutMargins{}).isDrawn());
        QVERIFY(composer.drawFrame(ex.frame).isDrawn());
        // The canvas, its text redrawn at `at` in a font made here: the very same pixels.
        QImage expected = composer.canvas().copy();
        QFont font;
        font.setPixelSize(13);
        font.setBold(t.fontBold);
        font.setItalic(t.fontItalic);
        font.setStrikeOut(t.fontStrikethru);
        font.setUnderline(t.fontUnderline);
        font.setKerning(false);
        font.setStyleStrategy(QFont::NoAntialias);
        QPainter p(&expected);
        p.fillRect(QRect(at.x() - 4, at.y(), 160, 16), Qt::black);
        p.setFont(font);
        p.setPen(Qt::white);
        p.drawText(QPointF(at.x(), at.y() + std::round(QFontMetricsF(font, &expected).ascent())),
                   t.text);
        p.end();
        QCOMPARE(composer.canvas(), expected);
    }
};

QTEST_MAIN(tst_FrameLayout)
#include "tst_FrameLayout.moc"
