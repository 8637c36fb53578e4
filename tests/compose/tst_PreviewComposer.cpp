#include "compose/Canvas.h"
#include "compose/FontSetup.h"
#include "compose/FrameDescription.h"
#include "compose/LayoutMargins.h"
#include "compose/PreviewComposer.h"
#include "support/TestFiles.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QTest>

namespace {

FrameDescription panelFrame()
{
    FrameDescription frame;
    frame.photoWidth = 320;
    frame.photoHeight = 240;
    frame.borderWidth = 2;
    frame.borderColor = 0x00FFFFFF;
    frame.backColor = 0x00400000; // dark blue
    for (TextItem &item : frame.textItems) {
        item.fontName = QStringLiteral("ＭＳ ゴシック");
        item.fontSize = 10;
        item.fontColor = 0x00FFFFFF;
    }
    frame.textItems[0].text = QStringLiteral("M42 オリオン大星雲");
    frame.textItems[1].text = QStringLiteral("2001/12/25 22:30");
    frame.textItems[2].text = QStringLiteral("10cm 屈折");
    return frame;
}

// A photo with a colour of its own in each corner.
QImage cornerPhoto(int w, int h)
{
    QImage photo(w, h, QImage::Format_RGB32);
    photo.fill(qRgb(0, 128, 0));
    photo.setPixel(0, 0, qRgb(255, 0, 0));
    photo.setPixel(w - 1, 0, qRgb(0, 0, 255));
    photo.setPixel(0, h - 1, qRgb(255, 255, 0));
    photo.setPixel(w - 1, h - 1, qRgb(0, 255, 255));
    return photo;
}

} // namespace

class tst_PreviewComposer : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        FontSetup::install();
        QVERIFY(m_dir.isValid());
    }
    void decodesOnceUntilChangedOrGone()
    {
        // The photo pixel for pixel in its area; the area inside the border and the texts are
        // the frame layout's tests.
        const QString path = m_dir.filePath(QStringLiteral("again.bmp"));
        QVERIFY(cornerPhoto(300, 200).save(path, "bmp"));
        FrameDescription frame = panelFrame();
        PreviewComposer composer;
        QVERIFY(composer.loadPhotoFile(path, frame, LayoutMargins{}).isDrawn());
        QCOMPARE(composer.photoPath(), path);
        QCOMPARE(composer.canvas().copy(composer.drawnFrame().photoArea), cornerPhoto(300, 200));
        const QImage first = composer.canvas().copy();
        frame = panelFrame();
        QVERIFY(composer.compose(frame, LayoutMargins{}).isDrawn());
        QCOMPARE(composer.decodeCount(), 1);
        QCOMPARE(composer.canvas(), first);

        // A changed file is read again.
        QVERIFY(cornerPhoto(250, 200).save(path, "bmp"));
        QVERIFY(composer.compose(frame, LayoutMargins{}).isDrawn());
        QCOMPARE(composer.decodeCount(), 2);
        QCOMPARE(frame.photoWidth, 250);

        // A vanished file is no photo: the panel's size on the background.
        QVERIFY(QFile::remove(path));
        frame = panelFrame();
        QVERIFY(composer.compose(frame, LayoutMargins{}).isDrawn());
        const QRect area = composer.drawnFrame().photoArea;
        QCOMPARE(area.size(), QSize(320, 240));
        QCOMPARE(composer.canvas().pixel(area.topLeft()), qRgb(0, 0, 0x40));
    }
    void unreadablePhotoAndEmptyText()
    {
        // Text that is no photo, then a good JPEG header and nothing after it: the canvas, the
        // photo path and the frame stay (the message is the window's test).
        const QString path = m_dir.filePath(QStringLiteral("notes.jpg"));
        QVERIFY(TestFiles::writeAll(path, "these are notes, not a photo"));
        FrameDescription frame = panelFrame();
        PreviewComposer composer;
        QVERIFY(composer.compose(frame, LayoutMargins{}).isDrawn());
        const QImage before = composer.canvas().copy();
        for (bool cut : {false, true}) {
            QVERIFY(!cut || (cornerPhoto(64, 64).save(path, "jpeg") && QFile::resize(path, 200)));
            QCOMPARE(composer.loadPhotoFile(path, frame, LayoutMargins{}).kind,
                     ComposeOutcome::Kind::PhotoUnreadable);
            QCOMPARE(composer.photoPath(), QString()); // changed only by a photo that reads
            QCOMPARE(composer.canvas(), before);
            QCOMPARE(frame.photoWidth, 320);
        }

        // An empty text has the line's height.
        frame.textItems[1].text.clear();
        QVERIFY(composer.layOut(frame, LayoutMargins{}).isDrawn());
        QCOMPARE(frame.textItems[1].measuredHeight, frame.textItems[0].measuredHeight);
        QCOMPARE(frame.textItems[1].measuredWidth, 0);
        // A size the canvas cannot draw fails the composition.
        frame.textItems[3].fontSize = 0;
        const ComposeOutcome outcome = composer.compose(frame, LayoutMargins{});
        QCOMPARE(outcome.kind, ComposeOutcome::Kind::Failed);
        QVERIFY(outcome.message.contains(QStringLiteral("0")));
    }
    void japaneseFacesDrawnWithIpaFonts()
    {
        if (!QFontDatabase::hasFamily(QStringLiteral("IPAGothic")))
            QSKIP("the IPA fonts are not installed");
        TextItem item;
        item.fontSize = 10;
        for (const auto &[face, twin] :
             {std::pair("MS UI Gothic", "IPAPGothic"), std::pair("ＭＳ Ｐ明朝", "IPAPMincho")}) {
            item.fontName = QString::fromUtf8(face);
            QFont font;
            QVERIFY(Canvas::makeFont(item, &font, nullptr));
            QCOMPARE(QFontInfo(font).family(), QString::fromLatin1(twin));
            QVERIFY(FontSetup::panelFontNames().contains(item.fontName));
        }
    }

private:
    QTemporaryDir m_dir;
};

QTEST_MAIN(tst_PreviewComposer)
#include "tst_PreviewComposer.moc"
