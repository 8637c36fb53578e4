#include "compose/SubframeSummary.h"
#include "io/LoadPicture.h"
#include "io/PhotoMetadata.h"
#include "support/FitsWriter.h"
#include "support/TestFiles.h"
#include "support/XisfWriter.h"

#include <QtTest>

#include <cmath>

using Stretch = PhotoOptions::Stretch;
Q_DECLARE_METATYPE(XisfWriter::Image)

namespace {

// A picture of 7 x 5 pixels with values spread over the format's range, NaN in floating point.
XisfWriter::Image sample(const QString &format, int channels)
{
    XisfWriter::Image image{7, 5, channels, format};
    const double top = format == u"UInt8" ? 255 : format == u"UInt16" ? 65535 : 4294967295.0;
    const bool isFloat = format.startsWith(u'F');
    for (int i = 0; i < 7 * 5 * channels; ++i) {
        const double v = std::fmod(i * 0.377 + (i % 7) * 0.05, 1.0);
        image.values.push_back(isFloat ? (i == 9 ? std::nan("") : v) : std::round(v * top));
    }
    return image;
}

} // namespace

class tst_XisfFile : public QObject
{
    Q_OBJECT

private slots:
    void sameAsFits_data()
    {
        QTest::addColumn<QString>("format");
        QTest::addColumn<int>("channels");
        QTest::addColumn<QString>("codec");
        QTest::addColumn<bool>("shuffled");
        QTest::addColumn<int>("fitsType");
        QTest::addColumn<int>("stretch");
        QTest::newRow("UInt8 grey, uncompressed, as stored")
            << "UInt8" << 1 << "" << false << BYTE_IMG << int(Stretch::None);
        QTest::newRow("UInt16 RGB, zlib shuffled")
            << "UInt16" << 3 << "zlib" << true << USHORT_IMG << int(Stretch::Automatic);
        QTest::newRow("UInt32 grey, lz4hc, as stored")
            << "UInt32" << 1 << "lz4hc" << false << ULONG_IMG << int(Stretch::None);
        QTest::newRow("Float32 RGB, zstd shuffled")
            << "Float32" << 3 << "zstd" << true << FLOAT_IMG << int(Stretch::Automatic);
        QTest::newRow("Float64 RGB, lz4 shuffled")
            << "Float64" << 3 << "lz4" << true << DOUBLE_IMG << int(Stretch::Linear);
    }
    void sameAsFits()
    {
        QFETCH(QString, format);
        QFETCH(int, channels);
        QFETCH(QString, codec);
        QFETCH(bool, shuffled);
        QFETCH(int, fitsType);
        QFETCH(int, stretch);
        XisfWriter::Image image = sample(format, channels);
        image.codec = codec;
        image.shuffled = shuffled;
        const QString xisf = m_dir.filePath("photo.xisf");
        const QString fits = m_dir.filePath("photo.fits");
        QVERIFY(XisfWriter::write(xisf, image));
        const QList<long> axes = channels == 3 ? QList<long>{7, 5, 3} : QList<long>{7, 5};
        QVERIFY(FitsWriter::write(fits, {fitsType, axes, image.values, {"ROWORDER=TOP-DOWN"}}));

        const LoadPicture::Header header = LoadPicture::readHeader(xisf);
        QCOMPARE(header.size, QSize(7, 5));
        PhotoOptions options;
        options.stretch = Stretch(stretch);
        const LoadPicture::Picture fromXisf = LoadPicture::decode(xisf, options);
        const LoadPicture::Picture fromFits = LoadPicture::decode(fits, options);
        QVERIFY2(fromXisf.ok(), qPrintable(fromXisf.error));
        QVERIFY2(fromFits.ok(), qPrintable(fromFits.error));
        QCOMPARE(fromXisf.image, fromFits.image);
        QVERIFY(fromXisf.image.pixel(0, 0) != fromXisf.image.pixel(6, 4)); // not a blank picture
    }
    void refused_data()
    {
        QTest::addColumn<XisfWriter::Image>("image");
        QTest::addColumn<int>("cut"); // bytes kept when above 0, taken off the end when below
        QTest::addColumn<QString>("reason");
        XisfWriter::Image good = sample("UInt16", 1);
        good.codec = "zlib";
        const auto with = [&](auto change) {
            XisfWriter::Image image = good;
            change(image);
            return image;
        };
        QTest::newRow("cut in the data") << good << -10 << "データのブロックがﾌｧｲﾙの外にあります";
        QTest::newRow("cut in the header") << good << 40 << "ヘッダが途中で切れています";
        QTest::newRow("bad XML") << with([](auto &i) { i.extraXml = "<Property id=\"a\">"; }) << 0
                                 << "XISF のﾌｧｲﾙが壊れています";
        QTest::newRow("geometry bigger than the data")
            << with([](auto &i) { i.geometry = "8:5:1"; }) << 0
            << "データの大きさが画像と合いません";
        QTest::newRow("decompressed size not as announced") << with([](auto &i) {
            i.geometry = "7:4:1";
            i.compression = "zlib:56";
        }) << 0 << "展開";
        QTest::newRow("data in another file")
            << with([](auto &i) { i.location = "url(https://example.org/m31.xisb)"; }) << 0
            << "別のﾌｧｲﾙにあるデータ";
        QTest::newRow("unknown codec")
            << with([](auto &i) { i.compression = "lzma:70"; }) << 0 << "圧縮方式 lzma";
        QTest::newRow("complex samples")
            << with([](auto &i) { i.sampleFormat = "Complex32"; }) << 0 << "画素の形式 Complex32";
    }
    void refused()
    {
        QFETCH(XisfWriter::Image, image);
        QFETCH(int, cut);
        QFETCH(QString, reason);
        const QString path = m_dir.filePath("damaged.xisf");
        QByteArray bytes = XisfWriter::bytes(image);
        QVERIFY(TestFiles::writeAll(path, cut > 0 ? bytes.left(cut) : bytes.chopped(-cut)));
        const LoadPicture::Picture picture = LoadPicture::decode(path);
        QVERIFY(!picture.ok());
        QVERIFY2(picture.error.contains(QDir::toNativeSeparators(path)), qPrintable(picture.error));
        QVERIFY2(picture.error.contains(reason), qPrintable(picture.error));
    }
    void propertiesAsPhotoData()
    {
        XisfWriter::Image image = sample("UInt8", 1);
        image.keywords = {"EXPTIME=300.", "OBJECT='M 31 ''core'''", "CRVAL1=10.68"};
        image.properties = {{"Observation:Object:Name", "not taken: a keyword gives it"},
                            {"Instrument:ExposureTime", "120"},
                            {"Observation:Time:Start", "2024-10-05T23:30:00+09:00"},
                            {"Instrument:Filter:Name", "Ha"},
                            {"Instrument:Telescope:FocalLength", "0.8"},
                            {"Instrument:Sensor:XPixelSize", "3.76"}};
        const QString path = m_dir.filePath("m31.xisf");
        QVERIFY(XisfWriter::write(path, image));
        PhotoMetadata data;
        QString error;
        QVERIFY2(PhotoMetadata::read(path, &data, &error), qPrintable(error));
        QCOMPARE(data.value("OBJECT"), "M 31 'core'");
        QCOMPARE(data.value("EXPTIME"), "300");
        QCOMPARE(data.value("DATE-OBS"), "2024-10-05T14:30:00");
        QCOMPARE(data.value("FILTER"), "Ha");
        QCOMPARE(data.value("FOCALLEN"), "800");
        QCOMPARE(data.skyValue("XPIXSZ"), "3.76");
        QCOMPARE(data.skyValue("CRVAL1"), "10.68");
        QCOMPARE(data.skyValue("NAXIS1"), "7");
    }
    void subframesCounted()
    {
        const QString folder = m_dir.filePath("night");
        QVERIFY(QDir().mkpath(folder));
        for (const char *name : {"ha_1.xisf", "ha_2.xisf", "dark_1.xisf"}) {
            XisfWriter::Image image = sample("UInt16", 1);
            image.keywords = {"FILTER='Ha'", "DATE-OBS='2024-10-05T14:30:00'"};
            image.properties = {{"Instrument:ExposureTime", "300"}};
            if (QByteArray(name).startsWith("dark"))
                image.extraXml = "<FITSKeyword name=\"IMAGETYP\" value=\"'Dark Frame'\"/>";
            QVERIFY(XisfWriter::write(folder + '/' + name, image));
        }
        const SubframeSummary summary = SubframeSummary::read({folder}, QTimeZone::utc());
        QCOMPARE(summary.lightCount(), 2);
        QCOMPARE(summary.calibrationCount(), 1);
        QCOMPARE(summary.groups().size(), 1);
        QCOMPARE(summary.groups()[0].filter, "Ha");
        QCOMPARE(summary.totalSeconds(), 600.0);
    }

private:
    QTemporaryDir m_dir;
};

QTEST_GUILESS_MAIN(tst_XisfFile)
#include "tst_XisfFile.moc"
