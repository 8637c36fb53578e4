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
using Values = QList<std::pair<QString, QString>>;

QImage picture(QSize size = QSize(120, 90))
{
    QImage image(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            image.setPixel(x, y, qRgb(x * 2, y * 2, (x * y) & 0xff));
    return image;
}

FrameDescription captionFrame()
{
    FrameDescription frame;
    const char *const texts[] = {"M42 オリオン大星雲", "2026/01/15 22:05 JST", "R106 + C26", "",
                                 "300秒 x 24枚"};
    for (int i = 0; i < FrameDescription::ItemCount; ++i) {
        frame.textItems[i].text = QString::fromUtf8(texts[i]);
        frame.textItems[i].fontName = QStringLiteral("ＭＳ ゴシック");
        frame.textItems[i].fontSize = 10;
    }
    return frame;
}

// The XMP a file holds, read back by exiv2.
Exiv2::XmpData xmpOf(const QString &path)
{
    auto image = Exiv2::ImageFactory::open(path.toStdString());
    image->readMetadata();
    return image->xmpData();
}

QString tag(const Exiv2::XmpData &xmp, const char *key, long n = 0)
{
    const auto it = xmp.findKey(Exiv2::XmpKey(key));
    return it == xmp.end() || n >= it->count() ? QString()
                                               : QString::fromStdString(it->toString(n));
}

double number(const Exiv2::XmpData &xmp, const char *key, long n = 0)
{
    bool ok = false;
    const double v = tag(xmp, key, n).toDouble(&ok);
    return ok ? v : qQNaN();
}

} // namespace

class tst_PictureMetadata : public QObject
{
    Q_OBJECT

private slots:
    void readBack_data();
    void readBack();
    void bmpKeepsItsBytes();
    void skyPosition_data();
    void skyPosition();
    void solutionBelongsToItsPhoto();
};

void tst_PictureMetadata::readBack_data()
{
    QTest::addColumn<Format>("format");
    QTest::addColumn<Values>("data");
    QTest::addColumn<QString>("date"); // ISO 8601 in UTC, or at the photo's own offset
    QTest::addColumn<QString>("creator");

    QTest::newRow("PNG of a FITS photo: DATE-OBS in UTC, OBSERVER")
        << Format::Png
        << Values{{"DATE-OBS", "2026-01-15T13:05:30"}, {"OBSERVER", "Taro Yamada"}}
        << "2026-01-15T13:05:30Z" << "Taro Yamada";
    QTest::newRow("JPEG of a camera photo: its own offset, Artist")
        << Format::Jpeg
        << Values{{"DateTimeOriginal", "2026:01:15 22:05:30"},
                  {"OffsetTimeOriginal", "+09:00"},
                  {"Artist", "Hanako"}}
        << "2026-01-15T22:05:30+09:00" << "Hanako";
    QTest::newRow("JPEG without photo data: no date, no creator")
        << Format::Jpeg << Values{} << QString() << QString();
}

void tst_PictureMetadata::readBack()
{
    QFETCH(Format, format);
    QFETCH(Values, data);
    QFETCH(QString, date);
    QFETCH(QString, creator);
    PhotoMetadata photo;
    for (const auto &[name, value] : data)
        photo.setValue(name, value);
    const PictureXmp xmp = PictureMetadata::of(captionFrame(), photo).xmp();
    QTemporaryDir dir;
    const QString path = dir.filePath(format == Format::Png ? "a.png" : "a.jpg");
    const QImage image = picture();
    QString error;
    QVERIFY2(SavePicture::write(image, path, format, 90, &error, &xmp), qPrintable(error));

    const Exiv2::XmpData back = xmpOf(path);
    QCOMPARE(tag(back, "Xmp.dc.title"), QString::fromUtf8("M42 オリオン大星雲"));
    QCOMPARE(tag(back, "Xmp.dc.description"),
             QString::fromUtf8("2026/01/15 22:05 JST\nR106 + C26\n300秒 x 24枚"));
    QCOMPARE(tag(back, "Xmp.xmp.CreatorTool"), QStringLiteral("Morvel 2.03"));
    const QString created = tag(back, "Xmp.xmp.CreateDate");
    QCOMPARE(tag(back, "Xmp.photoshop.DateCreated"), created);
    if (date.endsWith(u'Z')) // shown at the local offset: the same moment
        QCOMPARE(QDateTime::fromString(created, Qt::ISODate).toUTC(),
                 QDateTime::fromString(date, Qt::ISODate));
    else
        QCOMPARE(created, date);
    QCOMPARE(tag(back, "Xmp.dc.creator"), creator);

    // The sRGB profile Qt wrote survives exiv2's rewrite, and so does the picture.
    const QByteArray bytes = TestFiles::readAll(path);
    QVERIFY(bytes.contains(format == Format::Png ? "iCCP" : "ICC_PROFILE"));
    const QImage reread(path);
    QCOMPARE(reread.colorSpace(), QColorSpace(QColorSpace::SRgb));
    QImage pixels = reread.convertToFormat(QImage::Format_RGB32);
    pixels.setColorSpace(QColorSpace());
    if (format == Format::Png)
        QCOMPARE(pixels, image);
    else
        QCOMPARE(reread.size(), image.size());
}

void tst_PictureMetadata::bmpKeepsItsBytes()
{
    QTemporaryDir dir;
    const PictureXmp xmp = PictureMetadata::of(captionFrame(), PhotoMetadata()).xmp();
    const QString path = dir.filePath("a.bmp");
    QVERIFY(SavePicture::write(picture(), path, Format::Bmp, 90, nullptr, &xmp));
    QCOMPARE(TestFiles::readAll(path), SavePicture::bmpBytes(picture()));
}

void tst_PictureMetadata::skyPosition_data()
{
    QTest::addColumn<Wcs>("photoWcs");
    QTest::addColumn<QRectF>("photoRect");

    // 800x600 photos shown at half size, off-centre in a 520x400 picture.
    const QSize own(800, 600);
    const QRectF placed(37, 21, 400, 300);
    QTest::newRow("north up") << Wcs::fromView({83.82, -5.39}, 1.5, 0, false, own) << placed;
    QTest::newRow("rotated 33 degrees")
        << Wcs::fromView({10.68, 41.27}, 2.1, 33, false, own) << placed;
    QTest::newRow("mirrored, rotated 120 degrees")
        << Wcs::fromView({201.37, -43.02}, 0.9, 120, true, own) << placed;
    QTest::newRow("near the pole, at its own size")
        << Wcs::fromView({37.95, 89.26}, 3.0, 250, false, own) << QRectF(11, 13, 800, 600);
}

void tst_PictureMetadata::skyPosition()
{
    QFETCH(Wcs, photoWcs);
    QFETCH(QRectF, photoRect);
    PictureMetadata m;
    m.photoWcs = photoWcs;
    m.photoRect = photoRect;
    m.pictureSize = QSize(photoRect.right() + 46, photoRect.bottom() + 79);
    const PictureXmp xmp = m.xmp();
    QTemporaryDir dir;
    const QString path = dir.filePath("a.png");
    QVERIFY(SavePicture::write(picture(m.pictureSize), path, Format::Png, 0, nullptr, &xmp));

    // The tags as a sky viewer reads them: FITS pixels, CDELT and CROTA2 of the whole picture.
    const Exiv2::XmpData back = xmpOf(path);
    QCOMPARE(tag(back, "Xmp.avm.Spatial.CoordinateFrame"), QStringLiteral("ICRS"));
    QCOMPARE(tag(back, "Xmp.avm.Spatial.Equinox"), QStringLiteral("J2000"));
    QCOMPARE(tag(back, "Xmp.avm.Spatial.CoordsystemProjection"), QStringLiteral("TAN"));
    QCOMPARE(tag(back, "Xmp.avm.Spatial.Quality"), QStringLiteral("Full"));
    const QSize dimension(number(back, "Xmp.avm.Spatial.ReferenceDimension", 0),
                          number(back, "Xmp.avm.Spatial.ReferenceDimension", 1));
    QCOMPARE(dimension, m.pictureSize);
    const QHash<QString, QString> header = {
        {"CTYPE1", "RA---TAN"},
        {"CTYPE2", "DEC--TAN"},
        {"CRVAL1", tag(back, "Xmp.avm.Spatial.ReferenceValue", 0)},
        {"CRVAL2", tag(back, "Xmp.avm.Spatial.ReferenceValue", 1)},
        {"CRPIX1", tag(back, "Xmp.avm.Spatial.ReferencePixel", 0)},
        {"CRPIX2", tag(back, "Xmp.avm.Spatial.ReferencePixel", 1)},
        {"CDELT1", tag(back, "Xmp.avm.Spatial.Scale", 0)},
        {"CDELT2", tag(back, "Xmp.avm.Spatial.Scale", 1)},
        {"CROTA2", tag(back, "Xmp.avm.Spatial.Rotation")},
    };
    const auto avm = Wcs::fromHeader(header, dimension, true);
    QVERIFY(avm);

    // A photo pixel and the picture pixel it is shown at lie at one place on the sky.
    const QSize own = photoWcs.imageSize();
    const double sx = photoRect.width() / own.width(), sy = photoRect.height() / own.height();
    for (const QPointF p : {QPointF(0.5, 0.5), QPointF(own.width() - 0.5, 0.5),
                            QPointF(own.width() / 2.0, own.height() / 2.0),
                            QPointF(12.5, own.height() - 3.5)}) {
        const QPointF shown = photoRect.topLeft() + QPointF(p.x() * sx, p.y() * sy);
        const auto there = photoWcs.skyToPixel(avm->pixelToSky(shown));
        QVERIFY(there);
        QVERIFY2(QLineF(*there, p).length() < 0.1,
                 qPrintable(QStringLiteral("(%1, %2) comes back at (%3, %4)")
                                .arg(p.x())
                                .arg(p.y())
                                .arg(there->x())
                                .arg(there->y())));
    }
}

void tst_PictureMetadata::solutionBelongsToItsPhoto()
{
    QTemporaryDir dir;
    const QString first = dir.filePath("first.png"), second = dir.filePath("second.fits");
    QVERIFY(picture(QSize(200, 150)).save(first));
    // A FITS photo solved before: its header's WCS, first row at the bottom, pixel (1, 1) there.
    FitsWriter::Image fits;
    fits.axes = {100, 80};
    fits.values.assign(100 * 80, 500.0);
    fits.keys = QStringList{"CTYPE1=RA---TAN", "CTYPE2=DEC--TAN", "CRVAL1=83.82", "CRVAL2=-5.39",
                            "CRPIX1=1",        "CRPIX2=1",        "CDELT1=-0.001", "CDELT2=0.001"};
    QVERIFY(FitsWriter::write(second, fits));
    PreviewComposer composer;
    FrameDescription frame = captionFrame();
    frame.photoWidth = 160;
    frame.photoHeight = 120;
    const LayoutMargins margins;
    QVERIFY(composer.compose(frame, margins, first).isDrawn());
    const Wcs solved = Wcs::fromView({83.82, -5.39}, 1.5, 0, false, QSize(200, 150));
    composer.setPhotoSolution(solved);

    PictureMetadata m = composer.pictureMetadata(frame);
    QCOMPARE(m.title, frame.textItems[0].text);
    QCOMPARE(m.pictureSize, composer.canvas().size());
    QCOMPARE(m.photoRect, QRectF(composer.drawnFrame().photoArea.topLeft(), QSizeF(200, 150)));
    QVERIFY(m.photoWcs && m.spatial());

    // Composed again with that photo it keeps its solution; another photo has only its own.
    QVERIFY(composer.compose(frame, margins).isDrawn());
    QVERIFY(composer.pictureMetadata(frame).photoWcs);
    QVERIFY(composer.compose(frame, margins, second).isDrawn());
    m = composer.pictureMetadata(frame);
    QVERIFY(m.photoWcs);
    const SkyPoint corner = m.photoWcs->pixelToSky(QPointF(0.5, 79.5));
    QVERIFY(qAbs(corner.ra - 83.82) < 1e-9 && qAbs(corner.dec + 5.39) < 1e-9);
    QVERIFY(composer.compose(frame, margins, first).isDrawn());
    QVERIFY(!composer.pictureMetadata(frame).photoWcs);
}

QTEST_MAIN(tst_PictureMetadata)
#include "tst_PictureMetadata.moc"
