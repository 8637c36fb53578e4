#include "io/PhotoMetadata.h"
#include "support/ExifFiles.h"

#include <QtTest>

#include <fitsio.h>

namespace {

// FITS cards through cfitsio; an extension follows when extensionCards is not empty.
bool writeFits(const QString &path, const QStringList &cards, const QStringList &extensionCards)
{
    fitsfile *f = nullptr;
    int status = 0;
    fits_create_file(&f, QFile::encodeName(QLatin1Char('!') + path).constData(), &status);
    fits_create_img(f, BYTE_IMG, 0, nullptr, &status);
    for (const QString &card : cards)
        fits_write_record(f, card.toLatin1().constData(), &status);
    if (!extensionCards.isEmpty()) {
        long size[2] = {4, 4};
        fits_create_img(f, BYTE_IMG, 2, size, &status);
        for (const QString &card : extensionCards)
            fits_write_record(f, card.toLatin1().constData(), &status);
    }
    fits_close_file(f, &status);
    return status == 0;
}

} // namespace

class tst_PhotoMetadata : public QObject
{
    Q_OBJECT

private slots:
    void fitsKeys_data()
    {
        QTest::addColumn<QStringList>("cards");
        QTest::addColumn<QStringList>("extension");
        QTest::addColumn<QStringList>("expected"); // NAME=value, empty for absent
        QTest::newRow("numbers written plainly")
            << QStringList{"OBJECT  = 'M42'", "EXPTIME =                300.0",
                           "CCD-TEMP=   -9.899999618530273", "GAIN    =                1.5D2",
                           "SITELAT = '+35 40 52'"}
            << QStringList{}
            << QStringList{"OBJECT=M42", "EXPTIME=300", "CCD-TEMP=-9.9", "GAIN=150",
                           "SITELAT=+35 40 52"};
        QTest::newRow("EXPOSURE and NCOMBINE stand in")
            << QStringList{"EXPOSURE=                  120", "NCOMBINE=                   24"}
            << QStringList{} << QStringList{"EXPTIME=120", "STACKCNT=24"};
        QTest::newRow("malformed numbers are absent")
            << QStringList{"EXPTIME = 'abc'",
                           "STACKCNT=                  2.5",
                           "FOCALLEN=                 -530",
                           "APTDIA  =               1E999",
                           "XBINNING=                    T",
                           "SITELONG=                    F"}
            << QStringList{}
            << QStringList{
                   "EXPTIME=", "STACKCNT=", "FOCALLEN=", "APTDIA=", "XBINNING=", "SITELONG="};
        QTest::newRow("quotes and blanks in text")
            << QStringList{"OBJECT  = 'O''Neil   field   '", "TELESCOP= '        '"}
            << QStringList{} << QStringList{"OBJECT=O'Neil field", "TELESCOP="};
        QTest::newRow("a long string's first part")
            << QStringList{"OBJECT  = 'Orion Nebula&'", "CONTINUE  ' and Running Man'"}
            << QStringList{} << QStringList{"OBJECT=Orion Nebula"};
        QTest::newRow("compressed image: keys of the extension fill in")
            << QStringList{"OBJECT  = 'M42'"}
            << QStringList{"OBJECT  = 'other'", "EXPTIME =                   60"}
            << QStringList{"OBJECT=M42", "EXPTIME=60"};
    }
    void fitsKeys()
    {
        QFETCH(QStringList, cards);
        QFETCH(QStringList, extension);
        QFETCH(QStringList, expected);
        const QString file = path(QStringLiteral("h.fits"));
        QVERIFY(writeFits(file, cards, extension));
        PhotoMetadata data;
        QString error;
        QVERIFY(!PhotoMetadata::read(path(QStringLiteral("none")), &data, &error));
        QVERIFY(error.contains(QLatin1String("none")));
        QVERIFY(PhotoMetadata::read(file, &data));
        for (const QString &pair : expected) {
            const QString name = pair.section(QLatin1Char('='), 0, 0);
            QCOMPARE(data.value(name), pair.section(QLatin1Char('='), 1));
        }
    }
    void exifTags_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QByteArray>("key");
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("expected");
        const auto row = [](const char *what, const char *key, const QByteArray &text,
                            const char *name, const QString &expected, const char *file = "e.jpg") {
            QTest::newRow(what) << QString::fromLatin1(file) << QByteArray(key) << text
                                << QString::fromLatin1(name) << expected;
        };
        row("exposure written 10/2500", "Exif.Photo.ExposureTime", "10/2500", "ExposureTime",
            "1/250");
        row("exposure of 3/1000 s", "Exif.Photo.ExposureTime", "3/1000", "ExposureTime", "1/333");
        row("exposure of 0.3 s", "Exif.Photo.ExposureTime", "3/10", "ExposureTime", "0.3");
        row("f-number", "Exif.Photo.FNumber", "28/10", "FNumber", "2.8");
        row("zero denominator", "Exif.Photo.FNumber", "28/0", "FNumber", "");
        row("escape sequences", "Exif.Image.Model",
            "Cam\x01"
            "era\x1b[31m\x7f",
            "Model", "Cam era [31m");
        row("not UTF-8", "Exif.Image.Model", "Caf\xe9", "Model", "Caf\u00e9");
        row("1 MB artist in a TIFF", "Exif.Image.Artist", QByteArray(1 << 20, 'A'), "Artist",
            QString(PhotoMetadata::MaxLength, u'A'), "e.tif");
    }
    void exifTags()
    {
        QFETCH(QString, file);
        QFETCH(QByteArray, key);
        QFETCH(QByteArray, text);
        QFETCH(QString, name);
        QFETCH(QString, expected);
        QVERIFY(ExifFiles::write(path(file), {{key.constData(), text}}));
        PhotoMetadata data;
        QVERIFY(PhotoMetadata::read(path(file), &data));
        QCOMPARE(data.value(name), expected);
    }

private:
    QString path(const QString &name) const { return m_dir.filePath(name); }
    QTemporaryDir m_dir;
};

QTEST_GUILESS_MAIN(tst_PhotoMetadata)
#include "tst_PhotoMetadata.moc"
