#include "hardening/HostileFiles.h"
#include "io/ExistingFolder.h"
#include "io/LoadPicture.h"
#include "io/SavePicture.h"
#include "support/TestFiles.h"

#include <QImageReader>
#include <QTest>
#include <QtEndian>
#include <atomic>
#include <cstdio> // jpeglib.h needs FILE
#include <thread>

extern "C" {
#include <jpeglib.h>
}

using HostileFiles::encoded;
using HostileFiles::gif;
using TestFiles::readAll;
using TestFiles::writeAll;

namespace {

QImage testImage(int w, int h)
{
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y, qRgb(10 * x + 1, 20 * y + 2, 3));
    return image;
}

// A CMYK JPEG written by libjpeg itself (Qt writes none; the loader leaves it to Qt's reader).
QByteArray cmykJpeg(const QImage &source)
{
    const QImage image = source.convertToFormat(QImage::Format_RGB888);
    jpeg_compress_struct info;
    jpeg_error_mgr error;
    info.err = jpeg_std_error(&error);
    jpeg_create_compress(&info);
    unsigned char *out = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &out, &size);
    info.image_width = JDIMENSION(image.width());
    info.image_height = JDIMENSION(image.height());
    info.input_components = 4;
    info.in_color_space = JCS_CMYK;
    jpeg_set_defaults(&info);
    jpeg_start_compress(&info, TRUE);
    QByteArray row(image.width() * 4, '\0');
    while (info.next_scanline < info.image_height) {
        const uchar *in = image.constScanLine(int(info.next_scanline));
        for (int x = 0; x < image.width(); ++x) {
            for (int c = 0; c < 3; ++c)
                row[4 * x + c] = char(255 - in[3 * x + c]);
            row[4 * x + 3] = char(200 + x % 56);
        }
        JSAMPROW rows[1] = {reinterpret_cast<JSAMPROW>(row.data())};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    const QByteArray bytes(reinterpret_cast<const char *>(out), qsizetype(size));
    jpeg_destroy_compress(&info);
    free(out);
    return bytes;
}

} // namespace

class tst_PictureFiles : public QObject
{
    Q_OBJECT

private slots:
    void bmpBytesExactly()
    {
        // File and info headers (78 bytes in all, 3 x 2 pixels, 24 bits, 96 dpi), then the rows
        // padded from 9 to 12 bytes, bottom row first.
        QCOMPARE(SavePicture::bmpBytes(testImage(3, 2)).toHex(),
                 QByteArray("424d4e000000000000003600000028000000030000000200000001001800"
                            "0000000018000000c40e0000c40e00000000000000000000"
                            "03160103160b031615000000"
                            "03020103020b030215000000"));
    }
    void largeBmpRoundTrip_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::addColumn<QString>("name"); // written as BMP under exactly this name
        // Rows padded by 3 bytes or by 1; heights that span several write blocks, with a short last
        // block.
        QTest::newRow("1603 wide, three pixels after the groups, named .png")
            << 1603 << 298 << "結果 M42.png";
        QTest::newRow("one pixel wide") << 1 << 1000 << "large.bmp";
    }
    void largeBmpRoundTrip()
    {
        QFETCH(int, width);
        QFETCH(int, height);
        QFETCH(QString, name);
        const QImage image = HostileFiles::gradient(width, height);
        const QString path = m_dir.filePath(name);
        QString error;
        QVERIFY2(SavePicture::writeBmp(image, path, &error), qPrintable(error));
        const QByteArray written = readAll(path);
        QCOMPARE(written, SavePicture::bmpBytes(image));
        // Qt's own reader gives every pixel back.
        QCOMPARE(QImage::fromData(written, "BMP").convertToFormat(QImage::Format_RGB32), image);
    }
    void writtenInTheFormatOfItsName_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("format"); // as Qt's reader finds it
        QTest::newRow("png") << "b.png" << QByteArray("png");
        QTest::newRow("upper-case JPG") << "b.JPG" << QByteArray("jpeg");
        QTest::newRow("jpeg") << "b.jpeg" << QByteArray("jpeg");
        QTest::newRow("gif is written as BMP") << "b.gif" << QByteArray("bmp");
    }
    void writtenInTheFormatOfItsName()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, format);
        const QImage image = testImage(16, 16);
        const QString path = m_dir.filePath(name);
        QString error;
        QVERIFY2(SavePicture::write(image, path, SavePicture::formatForPath(path), 90, &error),
                 qPrintable(error));
        QImageReader reader(path);
        QCOMPARE(reader.format(), format);
        // No picture, no file.
        const QString none = m_dir.filePath(QStringLiteral("none.") + name.section(u'.', 1));
        QVERIFY(!SavePicture::write(QImage(), none, SavePicture::formatForPath(none), 80, &error));
        QVERIFY(!QFile::exists(none));
    }
    void formatAndSizeFromTheHeader_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("format");
        QTest::addColumn<QSize>("size"); // read from a file of these bytes when valid
        using F = LoadPicture::Format;
        QTest::newRow("JPEG's marker without its first byte")
            << QByteArray("\x00\xD8\xFF\xE0", 4) << int(F::Unknown) << QSize();
        QTest::newRow("GIF87a") << QByteArray("GIF87a") << int(F::Gif) << QSize();
        QTest::newRow("plain WMF")
            << QByteArray("\x01\x00\x09\x00\x00\x03", 6) << int(F::Wmf) << QSize();
        QTest::newRow("PNG signature cut short")
            << QByteArray("\x89PNG\r\n", 6) << int(F::Unknown) << QSize();
        QTest::newRow("empty") << QByteArray() << int(F::Unknown) << QSize();
        // The OS/2 core header: 12 bytes, 16-bit sizes (the width's low half is already in place).
        QByteArray core = HostileFiles::bmpHeader(640, 0, 0);
        qToLittleEndian<quint32>(12, core.data() + 14);
        qToLittleEndian<quint16>(480, core.data() + 20);
        QTest::newRow("OS/2 BMP header") << core << int(F::Bmp) << QSize(640, 480);
        QTest::newRow("top-down BMP over Qt's limit")
            << HostileFiles::bmpHeader(70000, -300, 0) << int(F::Bmp) << QSize(70000, 300);
    }
    void formatAndSizeFromTheHeader()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, format);
        QFETCH(QSize, size);
        QCOMPARE(int(LoadPicture::detectFormat(bytes)), format);
        if (!size.isValid())
            return;
        const QString path = m_dir.filePath(QStringLiteral("header.pic"));
        QVERIFY(writeAll(path, bytes));
        const LoadPicture::Header header = LoadPicture::readHeader(path);
        QVERIFY2(header.ok(), qPrintable(header.error));
        QCOMPARE(header.size, size);
    }
    void pixelsAsQtDecodesThem_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("damaged"); // read in part, and told so
        const QImage odd =
            HostileFiles::gradient(61, 37); // sizes not multiples of the 8 x 8 or 16 x 16 blocks
        QTest::newRow("Qt's writer, quality 75") << encoded(odd, "JPEG") << false;
        QTest::newRow("grey") << encoded(odd.convertToFormat(QImage::Format_Grayscale8), "JPEG", 85)
                              << false;
        QTest::newRow("CMYK") << cmykJpeg(odd) << false;
        QTest::newRow("cut short")
            << encoded(HostileFiles::gradient(200, 150), "JPEG", 90).left(3000) << true;
        const QByteArray cmyk = cmykJpeg(HostileFiles::gradient(200, 150));
        QTest::newRow("CMYK cut short, through Qt's reader") << cmyk.left(cmyk.size() / 2) << true;
        // Qt reads a BMP cut short without a word: its size tells it.
        QTest::newRow("BMP cut short") << HostileFiles::bmpHeader(60, 40, 60 * 40 * 3 / 2) << true;
        QTest::newRow("BMP") << HostileFiles::bmpHeader(60, 40, 60 * 40 * 3) << false;
        QTest::newRow("GIF") << gif(5, 3) << false;
    }
    void pixelsAsQtDecodesThem()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, damaged);
        const QString path = m_dir.filePath(QStringLiteral("variant.jpg")); // whatever its format
        QVERIFY(writeAll(path, bytes));
        QImage expected;
        QImageReader reader(path);
        QVERIFY(reader.read(&expected));
        expected = expected.convertToFormat(QImage::Format_RGB32);
        // Qt's reader above says a damaged file is damaged on the terminal; the loader does not.
        QTest::failOnWarning(QRegularExpression(QStringLiteral(".")));
        const LoadPicture::Header header = LoadPicture::readHeader(path);
        QVERIFY2(header.ok(), qPrintable(header.error));
        QCOMPARE(header.size, expected.size());
        const LoadPicture::Picture picture = LoadPicture::decode(path);
        QVERIFY2(picture.ok(), qPrintable(picture.error));
        QCOMPARE(picture.image.format(), QImage::Format_RGB32);
        QCOMPARE(picture.image, expected);
        QCOMPARE(picture.notice.contains(QStringLiteral("variant.jpg")), damaged);
    }
    void noticesStayWithTheirPhotoOnThreads()
    {
        // CMYK JPEGs go through Qt's reader, whose warnings about a cut file make the notice; a
        // reading thread counts its own warnings only.
        const QByteArray whole = cmykJpeg(HostileFiles::gradient(120, 90));
        QStringList photos, expected;
        for (int i = 0; i < 6; ++i) {
            photos << m_dir.filePath(QStringLiteral("thread%1.jpg").arg(i));
            QVERIFY(writeAll(photos.last(), i % 2 ? whole.left(whole.size() / 2) : whole));
            expected << LoadPicture::decode(photos.last()).notice; // one of the program's own
        }
        constexpr int Threads = 4, Rounds = 5;
        std::atomic<int> wrong{0};
        std::vector<std::thread> threads;
        for (int t = 0; t < Threads; ++t) {
            threads.emplace_back([&] {
                for (int round = 0; round < Rounds; ++round)
                    for (qsizetype i = 0; i < photos.size(); ++i)
                        wrong += LoadPicture::decode(photos[i]).notice != expected[i];
            });
        }
        for (std::thread &thread : threads)
            thread.join();
        QCOMPARE(wrong.load(), 0);
    }
    void brokenJpeg_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("headerReadable");
        const QByteArray good = encoded(HostileFiles::gradient(64, 48), "JPEG", 90);
        QTest::newRow("signature only") << QByteArray("\xFF\xD8\xFF\xE0garbage") << false;
        QTest::newRow("cut inside the headers") << good.left(300) << false;
        QByteArray lossless = good;
        lossless[lossless.indexOf("\xFF\xC0") + 1] = char(0xC3); // a frame this library refuses
        QTest::newRow("unsupported frame type") << lossless << false;
        // Whole pixels, then a second frame of a refused type before the end: the header reads,
        // the decoding fails at the end, as in Qt's reader.
        QByteArray trailing = good.chopped(2);
        trailing += QByteArray("\xFF\xC3\x00\x0B\x08\x00\x10\x00\x10\x01\x01\x11\x00", 13);
        trailing += QByteArray("\xFF\xD9", 2);
        QTest::newRow("refused frame after the pixels") << trailing << true;
    }
    void brokenJpeg()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, headerReadable);
        const QString path = m_dir.filePath(QStringLiteral("broken photo.jpg"));
        QVERIFY(writeAll(path, bytes));
        QCOMPARE(LoadPicture::readHeader(path).ok(), headerReadable);
        const LoadPicture::Picture picture = LoadPicture::decode(path);
        QVERIFY(!picture.ok());
        QVERIFY2(picture.error.contains(QStringLiteral("broken photo.jpg")),
                 qPrintable(picture.error));
    }
    void folderOfExistingFile()
    {
        const QString file = m_dir.filePath(QStringLiteral("m42.jpg"));
        QVERIFY(testImage(2, 2).save(file, "jpeg"));
        QCOMPARE(existingFolder(file), m_dir.path());
        QCOMPARE(existingFolder(m_dir.filePath(QStringLiteral("none.jpg"))), QString());
        QCOMPARE(existingFolder(m_dir.path()), QString()); // a folder is not a file
        QVERIFY(!LoadPicture::decode(m_dir.path()).ok());  // nor a picture
    }

private:
    QTemporaryDir m_dir;
};

QTEST_MAIN(tst_PictureFiles)
#include "tst_PictureFiles.moc"
