#include "compose/FrameDescription.h"
#include "compose/PictureMetadata.h"
#include "compose/PreviewComposer.h"
#include "io/PhotoMetadata.h"
#include "io/SavePicture.h"
#include "support/FitsWriter.h"
#include "support/TestFiles.h"

#include <QColorSpace>
#include <QtTest>

#include <exiv2/exiv2.hpp>

namespace {

using Format = SavePicture::Format;

QImage picture(QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            image.setPixel(x, y, qRgb(x, y, x ^ y));
    return image;
}

FrameDescription captionFrame()
{
    FrameDescription frame;
    frame.photoWidth = 160; // the photo's size before one is placed
    frame.photoHeight = 120;
    const char *const texts[] = {"M42 オリオン大星雲", "2026/01/15", "R106", "", "300秒 x 24枚"};
    for (int i = 0; i < FrameDescription::ItemCount; ++i)
        frame.textItems[i] = {QString::fromUtf8(texts[i]), QStringLiteral("ＭＳ ゴシック"), 10};
    return frame;
}

// Writes the picture with the XMP of m, and reads that XMP back through exiv2.
Exiv2::XmpData writeAndRead(const PictureMetadata &m, const QString &path, Format format,
                            const QImage &image)
{
    const PictureXmp xmp = m.xmp();
    if (!SavePicture::write(image, path, format, 90, nullptr, &xmp))
        return {};
    auto file = Exiv2::ImageFactory::open(path.toStdString());
    file->readMetadata();
    return file->xmpData();
}

QString tag(const Exiv2::XmpData &xmp, const char *key, long n = 0)
{
    const auto it = xmp.findKey(Exiv2::XmpKey(key));
    return it == xmp.end() || n >= it->count() ? QString()
                                               : QString::fromStdString(it->toString(n));
}

} // namespace

class tst_PictureMetadata : public QObject
{
    Q_OBJECT

private slots:
    void readBack_data()
    {
        QTest::addColumn<Format>("format");
        QTest::addColumn<QStringList>("data"); // name=value
        QTest::addColumn<QString>("date");     // in UTC, or at the photo's own offset
        QTest::addColumn<QString>("creator");
        QTest::newRow("PNG of a FITS photo: DATE-OBS in UTC, OBSERVER")
            << Format::Png << QStringList{"DATE-OBS=2026-01-15T13:05:30", "OBSERVER=Taro"}
            << "2026-01-15T13:05:30Z"
            << "Taro";
        QTest::newRow("JPEG of a camera photo: its own offset, Artist")
            << Format::Jpeg
            << QStringList{"DateTimeOriginal=2026:01:15 22:05:30", "OffsetTimeOriginal=+09:00",
                           "Artist=Hanako"}
            << "2026-01-15T22:05:30+09:00"
            << "Hanako";
    }
    void readBack()
    {
        QFETCH(Format, format);
        QFETCH(QStringList, data);
        QFETCH(QString, date);
        QFETCH(QString, creator);
        PhotoMetadata photo;
        for (const QString &pair : data)
            photo.setValue(pair.section(u'=', 0, 0), pair.section(u'=', 1));
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("a"));
        const QImage image = picture(QSize(120, 90));
        const Exiv2::XmpData back =
            writeAndRead(PictureMetadata::of(captionFrame(), photo), path, format, image);
        QCOMPARE(tag(back, "Xmp.dc.title"), QString::fromUtf8("M42 オリオン大星雲"));
        QCOMPARE(tag(back, "Xmp.dc.description"),
                 QString::fromUtf8("2026/01/15\nR106\n300秒 x 24枚"));
        QCOMPARE(tag(back, "Xmp.xmp.CreatorTool"), QStringLiteral("Morvel 2.03"));
        const QString created = tag(back, "Xmp.xmp.CreateDate");
        QCOMPARE(tag(back, "Xmp.photoshop.DateCreated"), created);
        if (date.endsWith(u'Z')) // at the local offset: the same moment
            QCOMPARE(QDateTime::fromString(created, Qt::ISODate),
                     QDateTime::fromString(date, Qt::ISODate));
        else
            QCOMPARE(created, date);
        QCOMPARE(tag(back, "Xmp.dc.creator"), creator);

        // The sRGB profile Qt wrote survives exiv2's rewrite.
        QVERIFY(TestFiles::readAll(path).contains(format == Format::Png ? "iCCP" : "ICC_PROFILE"));
        QCOMPARE(QImage(path).colorSpace(), QColorSpace(QColorSpace::SRgb));
    }
    void skyPosition_data()
    {
        QTest::addColumn<Wcs>("photoWcs");
        QTest::addColumn<QRectF>("photoRect"); // where the 800x600 photo is shown

        const QSize own(800, 600);
        const QRectF half(37, 21, 400, 300);
        QTest::newRow("north up, half size")
            << Wcs::fromView({83.8, -5.4}, 1.5, 0, false, own) << half;
        QTest::newRow("mirrored, rotated 120°")
            << Wcs::fromView({201.4, -43.0}, 0.9, 120, true, own) << half;
        QTest::newRow("near the pole, own size")
            << Wcs::fromView({38.0, 89.3}, 3.0, 250, false, own) << QRectF(11, 13, 800, 600);
    }
    void skyPosition()
    {
        QFETCH(Wcs, photoWcs);
        QFETCH(QRectF, photoRect);
        PictureMetadata m;
        m.photoWcs = photoWcs;
        m.photoRect = photoRect;
        m.pictureSize = QSize(photoRect.right() + 46, photoRect.bottom() + 79);
        QTemporaryDir dir;
        const Exiv2::XmpData back =
            writeAndRead(m, dir.filePath("a.png"), Format::Png, picture(m.pictureSize));
        QCOMPARE(tag(back, "Xmp.avm.Spatial.CoordinateFrame") +
                     tag(back, "Xmp.avm.Spatial.Equinox") +
                     tag(back, "Xmp.avm.Spatial.CoordsystemProjection") +
                     tag(back, "Xmp.avm.Spatial.Quality"),
                 QStringLiteral("ICRSJ2000TANFull"));
        const QSize dimension(tag(back, "Xmp.avm.Spatial.ReferenceDimension", 0).toInt(),
                              tag(back, "Xmp.avm.Spatial.ReferenceDimension", 1).toInt());
        QCOMPARE(dimension, m.pictureSize);
        // As a sky viewer reads the tags: FITS pixels of the whole picture, CDELT and CROTA2.
        QHash<QString, QString> header = {{"CTYPE1", "RA---TAN"},
                                          {"CTYPE2", "DEC--TAN"},
                                          {"CROTA2", tag(back, "Xmp.avm.Spatial.Rotation")}};
        for (const auto &[fits, avm] :
             {std::pair("CRVAL", "ReferenceValue"), std::pair("CRPIX", "ReferencePixel"),
              std::pair("CDELT", "Scale")})
            for (int i : {0, 1})
                header.insert(fits + QString::number(i + 1),
                              tag(back, ("Xmp.avm.Spatial." + QByteArray(avm)).constData(), i));
        const auto avm = Wcs::fromHeader(header, dimension, true);
        QVERIFY(avm);
        // A photo pixel and the picture pixel it is shown at lie at one place on the sky.
        const double scale = photoRect.width() / 800;
        for (const QPointF p :
             {QPointF(0.5, 0.5), QPointF(799.5, 0.5), QPointF(400, 300), QPointF(12.5, 596.5)}) {
            const auto there =
                photoWcs.skyToPixel(avm->pixelToSky(photoRect.topLeft() + p * scale));
            QVERIFY(there);
            QVERIFY2(QLineF(*there, p).length() < 0.1, qPrintable(QString::number(there->x())));
        }
    }
    void solutionOfThePhotoShown()
    {
        QTemporaryDir dir;
        const QString png = dir.filePath("a.png"), fits = dir.filePath("b.fits");
        QVERIFY(picture(QSize(200, 150)).save(png));
        // A FITS photo with its header's WCS: the first row is the bottom one, pixel (1, 1) there.
        FitsWriter::Image image;
        image.axes = {100, 80};
        image.values.assign(100 * 80, 500.0);
        image.keys =
            QStringList{"CTYPE1=RA---TAN", "CTYPE2=DEC--TAN", "CRVAL1=83.82",  "CRVAL2=-5.39",
                        "CRPIX1=1",        "CRPIX2=1",        "CDELT1=-0.001", "CDELT2=0.001"};
        QVERIFY(FitsWriter::write(fits, image));
        PreviewComposer composer;
        FrameDescription frame = captionFrame();
        QVERIFY(composer.compose(frame, {}, png).isDrawn());
        composer.setPhotoSolution(PreviewComposer::PhotoSolution{
            png, Wcs::fromView({83.8, -5.4}, 1.5, 0, false, QSize(200, 150)), {}});

        PictureMetadata m = composer.pictureMetadata(frame);
        QCOMPARE(m.pictureSize, composer.canvas().size());
        QCOMPARE(m.photoRect, QRectF(composer.drawnFrame().photoArea.topLeft(), QSizeF(200, 150)));
        QVERIFY(m.photoWcs);
        QVERIFY(composer.compose(frame, {}).isDrawn()); // the same photo keeps it
        QVERIFY(composer.pictureMetadata(frame).photoWcs);
        QVERIFY(composer.compose(frame, {}, fits).isDrawn()); // another has only its header's
        const SkyPoint corner = composer.pictureMetadata(frame).photoWcs->pixelToSky({0.5, 79.5});
        QVERIFY(qAbs(corner.ra - 83.82) < 1e-9 && qAbs(corner.dec + 5.39) < 1e-9);
        QVERIFY(composer.compose(frame, {}, png).isDrawn()); // the solution belongs to its photo
        QCOMPARE(composer.pictureMetadata(frame).photoWcs->pixelScale(), 1.5);
    }
};

QTEST_MAIN(tst_PictureMetadata)
#include "tst_PictureMetadata.moc"
