#include "compose/FrameDescription.h"
#include "compose/LayoutMargins.h"
#include "compose/PreviewComposer.h"
#include "hardening/HostileFiles.h"
#include "io/DisplayStretch.h"
#include "io/FitsTiles.h"
#include "io/LoadPicture.h"
#include "io/PhotoScale.h"
#include "io/metafile/MetafilePlayer.h"
#include "io/metafile/MetafileWriter.h"
#include "support/FitsWriter.h"
#include "support/TestFiles.h"

#include <QtEndian>
#include <QtTest>

#include <cmath>

using Stretch = PhotoOptions::Stretch;

namespace {

const double NaN = std::nan("");
// Not a key: the writer compresses the image into an extension.
const QString kCompressed = QStringLiteral("tile-compressed");

QList<QRgb> pixels(const QImage &image)
{
    QList<QRgb> list;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            list << image.pixel(x, y);
    return list;
}

QList<QRgb> greys(std::initializer_list<int> values)
{
    QList<QRgb> list;
    for (int v : values)
        list << qRgb(v, v, v);
    return list;
}

FrameDescription plainFrame()
{
    FrameDescription frame;
    frame.photoWidth = 320;
    frame.photoHeight = 240;
    frame.borderWidth = 2;
    for (TextItem &item : frame.textItems)
        item.fontSize = 10;
    return frame;
}

} // namespace

class tst_PhotoFormats : public QObject
{
    Q_OBJECT

private slots:
    void fitsPixels_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<QList<long>>("axes");
        QTest::addColumn<QList<double>>("values");
        QTest::addColumn<QStringList>("keys");
        QTest::addColumn<int>("stretch");
        QTest::addColumn<QList<QRgb>>("expected"); // top row first
        const QList<long> square{2, 2};
        const QList<double> ramp{0, 100, 200, 300};
        const int linear = int(Stretch::Linear), none = int(Stretch::None);
        // Bottom-up unless ROWORDER says otherwise.
        QTest::newRow("16-bit mono, tile-compressed, in an IMAGE extension")
            << SHORT_IMG << square << ramp << QStringList{kCompressed} << linear
            << greys({170, 255, 0, 85});
        QTest::newRow("unsigned 16-bit (BZERO 32768) over its type range")
            << USHORT_IMG << square << QList<double>{0, 65535, 32768, 257} << QStringList() << none
            << greys({128, 1, 0, 255});
        QTest::newRow("signed 16-bit over its type range")
            << SHORT_IMG << square << QList<double>{-32768, 32767, 0, -32768}
            << QStringList{"ROWORDER=TOP-DOWN"} << none << greys({0, 255, 128, 0});
        QTest::newRow("32-bit float RGB cube, planes linked")
            << FLOAT_IMG << QList<long>{2, 1, 3} << QList<double>{0, 1, 0.5, 0.25, 1, 0}
            << QStringList() << linear << QList<QRgb>{qRgb(0, 128, 255), qRgb(255, 64, 0)};
        QTest::newRow("NaN and infinity black")
            << DOUBLE_IMG << QList<long>{3, 1} << QList<double>{NaN, 0.5, INFINITY} << QStringList()
            << none << greys({0, 128, 0});
        // R 300, G 200, B 100 on their sites: every pixel comes out the same colour.
        const QList<double> rggb{300, 200, 300, 200, 200, 100, 200, 100,
                                 300, 200, 300, 200, 200, 100, 200, 100};
        const QList<double> grbg{200, 300, 200, 300, 100, 200, 100, 200,
                                 200, 300, 200, 300, 100, 200, 100, 200};
        const QList<QRgb> orange(16, qRgb(255, 128, 0));
        QTest::newRow("RGGB mosaic") << USHORT_IMG << QList<long>{4, 4} << rggb
                                     << QStringList{"BAYERPAT=RGGB"} << linear << orange;
        QTest::newRow("RGGB shifted by XBAYROFF")
            << USHORT_IMG << QList<long>{4, 4} << grbg << QStringList{"BAYERPAT=RGGB", "XBAYROFF=1"}
            << linear << orange;
    }
    void fitsPixels()
    {
        QFETCH(int, type);
        QFETCH(QList<long>, axes);
        QFETCH(QList<double>, values);
        QFETCH(QStringList, keys);
        QFETCH(int, stretch);
        QFETCH(QList<QRgb>, expected);
        // Any extension: FITS is told by its first card.
        const QString path = m_dir.filePath("photo.dat");
        const bool compressed = keys.removeAll(kCompressed) > 0;
        QVERIFY(FitsWriter::write(
            path, {type, axes, {values.begin(), values.end()}, keys, compressed, compressed}));
        const LoadPicture::Header header = LoadPicture::readHeader(path);
        QCOMPARE(header.size, QSize(axes[0], axes[1]));
        PhotoOptions options;
        options.stretch = Stretch(stretch);
        const LoadPicture::Picture picture = LoadPicture::decode(path, options);
        QVERIFY2(picture.ok(), qPrintable(picture.error));
        QCOMPARE(pixels(picture.image), expected);
    }
    void riceStreamBounds_data()
    {
        // 16-bit pixels: two bytes of first value, then four bits of split value per block of 32.
        QTest::addColumn<QByteArray>("stream");
        QTest::addColumn<int>("blockSize");
        QTest::addColumn<bool>("fits");
        QTest::newRow("flat tile") << QByteArray("\x00\x64\x00", 3) << 32 << true;
        QTest::newRow("coded pixels past the end") << QByteArray("\x00\x64\x10", 3) << 32 << false;
        QTest::newRow("direct pixels past the end")
            << QByteArray("\x00\x64\xF0\x01", 4) << 32 << false;
        QTest::newRow("no room for the first value") << QByteArray("\x00\x64", 2) << 32 << false;
        QTest::newRow("blocks of no pixels") << QByteArray("\x00\x64\x00", 3) << 0 << false;
    }
    void riceStreamBounds()
    {
        QFETCH(QByteArray, stream);
        QFETCH(int, blockSize);
        QFETCH(bool, fits);
        QCOMPARE(FitsTiles::riceStreamFits(reinterpret_cast<const uchar *>(stream.constData()),
                                           stream.size(), 64, blockSize, 2),
                 fits);
    }
    void automaticStretch()
    {
        // Lowest 0 and highest 10000 once each, 40 pixels at 1000 and 40 at 1100: median 1000, MAD
        // 100, shadows clipped at 1000 - 2.8 x 1.4826 x 100 = 584.9.
        DisplayStretch::Histogram histogram(DisplayStretch::Levels, 0);
        histogram[0] = 1;
        histogram[1000] = 40;
        histogram[1100] = 40;
        histogram[10000] = 1;
        const DisplayStretch::Table table = DisplayStretch::automatic(histogram);
        const QList<int> levels{0, 584, 900, 1000, 1100, 2000, 5000, 10000, 65535};
        const QList<int> shown{0, 0, 51, 64, 75, 143, 220, 255, 255};
        for (int i = 0; i < levels.size(); ++i)
            QCOMPARE(int(table[levels[i]]), shown[i]);
    }
    void sixteenBitsRoundedTo8_data()
    {
        QTest::addColumn<QString>("format");
        QTest::addColumn<QImage>("source");
        QTest::addColumn<QList<QRgb>>("expected");
        // 16-bit values whose rounding differs from cutting off: 129 -> 1, 128 -> 0, 65407 -> 255.
        QImage colour(3, 1, QImage::Format_RGBA64);
        colour.setPixelColor(0, 0, QColor::fromRgba64(129, 128, 65407, 65535));
        colour.setPixelColor(1, 0, QColor::fromRgba64(65535, 32767, 32896, 65535));
        colour.setPixelColor(2, 0, QColor::fromRgba64(65535, 65535, 65535, 0));
        QImage grey(3, 1, QImage::Format_Grayscale16);
        const quint16 levels[] = {129, 32767, 65407};
        for (int x = 0; x < 3; ++x)
            reinterpret_cast<quint16 *>(grey.scanLine(0))[x] = levels[x];
        QTest::newRow("16-bit grey TIFF") << "TIFF" << grey << greys({1, 127, 255});
        QTest::newRow("16-bit RGB TIFF")
            << "TIFF" << colour.convertToFormat(QImage::Format_RGBX64)
            << QList<QRgb>{qRgb(1, 0, 255), qRgb(255, 127, 128), qRgb(255, 255, 255)};
        QTest::newRow("16-bit PNG with alpha")
            << "PNG" << colour
            << QList<QRgb>{qRgb(1, 0, 255), qRgb(255, 127, 128), qRgba(0, 0, 0, 0)};
    }
    void sixteenBitsRoundedTo8()
    {
        QFETCH(QString, format);
        QFETCH(QImage, source);
        QFETCH(QList<QRgb>, expected);
        const QString path = m_dir.filePath("photo16." + format.toLower());
        QVERIFY(source.save(path, format.toLatin1()));
        const LoadPicture::Picture picture = LoadPicture::decode(path);
        QVERIFY2(picture.ok(), qPrintable(picture.error));
        QCOMPARE(picture.image.format(), source.hasAlphaChannel()
                                             ? QImage::Format_ARGB32_Premultiplied
                                             : QImage::Format_RGB32);
        QCOMPARE(pixels(picture.image), expected);
    }
    void metafileOrHugePhoto_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<bool>("drawn");
        MetafileWriter w = MetafileWriter::placeable(QRect(0, 0, 7200, 4800), 1440); // 480 x 320
        w(Wmr::SelectObject, {w.create(Wmr::CreateBrush, {0, 0xFF, 0, 0})});
        QTest::newRow("placeable WMF")
            << "m42.wmf" << w(Wmr::Rectangle, {3000, 5000, 600, 900}).finish() << QSize(480, 320)
            << true;
        MetafileWriter e = MetafileWriter::emf(QSize(480, 320));
        QTest::newRow("EMF known by its signature alone")
            << "m42.picture" << e(Emr::Rectangle, {40, 30, 300, 200}).finish() << QSize(480, 320)
            << true;
        QByteArray png = HostileFiles::encoded(QImage(8, 8, QImage::Format_RGB32), "PNG");
        qToBigEndian<quint32>(40000, png.data() + 16); // the header's width and height
        qToBigEndian<quint32>(40000, png.data() + 20);
        QTest::newRow("huge PNG") << "huge.png" << png << QSize(40000, 40000) << false;
        // Above the largest picture the player draws: the player is never asked to.
        QTest::newRow("EMF of 2000 x 1000")
            << "huge.emf"
            << MetafileWriter::emfFrame(QRect(QPoint(0, 0), QPoint(52916, 26458))).finish()
            << QSize(2000, 1000) << false;
    }
    void metafileOrHugePhoto()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, data);
        QFETCH(QSize, size);
        QFETCH(bool, drawn);
        PreviewComposer composer;
        const QString path = m_dir.filePath(name);
        QVERIFY(TestFiles::writeAll(path, data));
        FrameDescription frame = plainFrame();
        const ComposeOutcome outcome = composer.compose(frame, LayoutMargins{}, path);
        QCOMPARE(QSize(frame.photoWidth, frame.photoHeight), size);
        if (!drawn) { // judged from the header, never decoded
            QCOMPARE(outcome.kind, ComposeOutcome::Kind::PhotoSizeRefused);
            QCOMPARE(outcome.shrinkWouldFit, !name.endsWith(".emf")); // a metafile is never shrunk
            QCOMPARE(composer.decodeCount(), 0);
            return;
        }
        QVERIFY2(outcome.isDrawn(), qPrintable(outcome.message));
        // The whole photo, pixel for pixel, just inside the border.
        QString error;
        QCOMPARE(composer.canvas().copy(composer.drawnFrame().photoArea),
                 MetafilePlayer::render(data, &error));
    }
    void areaAveraging_data()
    {
        QTest::addColumn<QImage>("source");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QList<QRgb>>("expected");
        auto grey = [](int w, int h, std::initializer_list<uchar> values) {
            QImage image(w, h, QImage::Format_Grayscale8);
            auto v = values.begin();
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x)
                    image.scanLine(y)[x] = *v++;
            return image;
        };
        QTest::newRow("pairs averaged, a half rounds up")
            << grey(4, 1, {0, 255, 10, 20}) << QSize(2, 1) << greys({128, 15});
        QTest::newRow("three into two shares the middle pixel")
            << grey(3, 1, {0, 90, 180}) << QSize(2, 1) << greys({30, 150});
        QTest::newRow("rows and columns at once")
            << grey(2, 2, {0, 0, 0, 255}) << QSize(1, 1) << greys({64});
        QTest::newRow("never enlarged") << grey(2, 1, {7, 9}) << QSize(4, 4) << greys({7, 9});
        QImage colour(2, 1, QImage::Format_RGB32);
        colour.setPixel(0, 0, qRgb(255, 0, 0));
        colour.setPixel(1, 0, qRgb(0, 0, 255));
        QTest::newRow("channels apart") << colour << QSize(1, 1) << QList<QRgb>{qRgb(128, 0, 128)};
    }
    void areaAveraging()
    {
        QFETCH(QImage, source);
        QFETCH(QSize, size);
        QFETCH(QList<QRgb>, expected);
        QCOMPARE(pixels(PhotoScale::shrink(source, size)), expected);
    }
    void largeJpegShrunkOrRefused()
    {
        QImage photo(6000, 4000, QImage::Format_Grayscale8);
        photo.fill(90);
        const QString path = m_dir.filePath("large.jpg");
        QVERIFY(photo.save(path, "JPEG"));
        FrameDescription frame = plainFrame();
        PreviewComposer composer;
        ComposeOutcome outcome = composer.compose(frame, LayoutMargins{}, path);
        QCOMPARE(outcome.kind, ComposeOutcome::Kind::PhotoSizeRefused);
        QCOMPARE(outcome.message, ComposeOutcome::sizeMessage());
        QCOMPARE(QSize(frame.photoWidth, frame.photoHeight), QSize(6000, 4000));

        PhotoOptions options;
        options.shrink = true;
        composer.setPhotoOptions(options);
        frame = plainFrame();
        QVERIFY(composer.compose(frame, LayoutMargins{}).isDrawn());
        QCOMPARE(composer.drawnFrame().photoArea.size(), QSize(1600, 1067));
        QCOMPARE(composer.canvas().pixel(composer.drawnFrame().photoArea.center()),
                 qRgb(90, 90, 90));
        // The cached photo serves the same options only.
        QCOMPARE(composer.decodeCount(), 1);
        options.box = QSize(800, 600);
        composer.setPhotoOptions(options);
        frame = plainFrame();
        QVERIFY(composer.compose(frame, LayoutMargins{}).isDrawn());
        QCOMPARE(composer.drawnFrame().photoArea.size(), QSize(800, 533));
        QCOMPARE(composer.decodeCount(), 2);
    }

private:
    QTemporaryDir m_dir;
};

QTEST_MAIN(tst_PhotoFormats)
#include "tst_PhotoFormats.moc"
