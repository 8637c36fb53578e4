// Writes the seed corpus of every fuzz target into FOLDER/<target>/, with the writers of the
// tests: templates and settings through the program's own writers, pictures through Qt and the
// hardening tests' builders, metafiles through the metafile tests' writer.
#include "hardening/HostileFiles.h"
#include "io/metafile/MetafileWriter.h"
#include "store/clsNoltIO.h"
#include "support/ExifFiles.h"
#include "support/FitsWriter.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <cstdio>
#include <numeric>

namespace {

QString g_root;

void put(const char *target, const char *name, const QByteArray &bytes)
{
    const QString folder = g_root + u'/' + QLatin1String(target);
    QDir().mkpath(folder);
    QFile f(folder + u'/' + QLatin1String(name));
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(f.fileName()));
        std::exit(1);
    }
}

// The profile target takes 24 bytes that choose its change before the file.
QByteArray withChange(const char *section, const char *key, const QString &value,
                      const QByteArray &file)
{
    QByteArray control;
    control += section;
    control += '\0';
    control += key;
    control += '\0';
    for (QChar c : value) {
        control += char(c.unicode() & 0xFF);
        control += char(c.unicode() >> 8);
    }
    control = control.leftJustified(24, ' ', true);
    return control + file;
}

// "nolt.ini" as the program writes it, with distinct values.
QByteArray sampleSettings()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QString::fromLatin1(clsNoltIO::FileName));
    clsNoltIO s(QStringLiteral("/home/astro/撮影"), 15.0, 15.0);
    s.OpenFile(path);
    s.X(-60);
    s.Width(12345);
    s.DateFormat(1);
    s.JpegQuality(0x50);
    s.SaveFile(path);
    return TestFiles::readAll(path);
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_seeds FOLDER\n");
        return 2;
    }
    g_root = QString::fromLocal8Bit(argv[1]);
    using namespace HostileFiles;

    const QByteArray tpl = sampleTemplate();
    const QByteArray ini = sampleSettings();
    const QByteArray utf8Template = "\xEF\xBB\xBF[Frame]\nPhotoSize=800x600\n[Header-0]\n"
                                    "Data=\xF0\x9F\x94\xAD M31\nFontBold=true\nFontColor=255\n";
    const QByteArray oddTemplate =
        "; comment\r\n[frame]\r\n  photosize = 320x240  \r\nBackground=0xFFFFFFFF\r\n[Header-1]\r\n"
        "Data=a\r\nData=b\r\nMonth=-1\r\nYear=\x82\r\n[Header-2]\r\nFontItalic=0\r\nFontAlign=4";
    put("template", "sample.kvl", tpl);
    put("template", "utf8.kvl", utf8Template);
    put("template", "odd.kvl", oddTemplate);
    put("nolt", "nolt.ini", ini);
    put("nolt", "odd.ini",
        "[Common]\nx=-60\nLoadPath=  C:\\photos\\\x8E\xCA\x90\x5E  \n"
        "[Margin]\nFontVerticalFrame=0x0C\n[Jpeg]\nQuality=80abc\n");
    put("profile_file", "template", withChange("Frame", "PhotoSize", QStringLiteral("1x1"), tpl));
    put("profile_file", "settings", withChange("Jpeg", "Type", QStringLiteral("～"), ini));
    put("profile_file", "utf8", withChange("Header-0", "Data", QStringLiteral("x"), utf8Template));
    put("profile_file", "odd", withChange("new", "key", QStringLiteral("\U0001F52D"), oddTemplate));

    // Photo data: a FITS header of 80-byte cards, and a JPEG and a TIFF with EXIF.
    QByteArray header;
    for (const char *card :
         {"SIMPLE  =                    T", "BITPIX  =                    8",
          "NAXIS   =                    0", "OBJECT  = 'M42 ''Orion'''", "EXPTIME =           3.0D2",
          "NCOMBINE=                   24", "DATE-OBS= '2026-01-15T13:05:30.5'",
          "CCD-TEMP=                -10.1", "SITELAT = '+35 40 52'", "END"})
        header += QByteArray(card).leftJustified(80, ' ');
    put("photo_metadata", "header.fits", header.leftJustified(2880, ' '));
    const ExifFiles::Tags tags = {{"Exif.Image.Model", "Camera X"},
                                  {"Exif.Photo.DateTimeOriginal", "2026:01:15 22:05:30"},
                                  {"Exif.Photo.OffsetTimeOriginal", "+09:00"},
                                  {"Exif.Photo.ExposureTime", "1/250"},
                                  {"Exif.Photo.ISOSpeedRatings", "3200"}};
    for (const char *name : {"exif.jpg", "exif.tif"}) {
        const QString file = g_root + QStringLiteral("/exif-") + QLatin1String(name);
        QFile bytes(file);
        if (ExifFiles::write(file, tags) && bytes.open(QIODevice::ReadOnly))
            put("photo_metadata", name, bytes.readAll());
        QFile::remove(file);
    }

    const QImage small = gradient(64, 48);
    put("picture_bmp", "24bit.bmp", encoded(small, "BMP"));
    put("picture_bmp", "8bit.bmp", encoded(small.convertToFormat(QImage::Format_Indexed8), "BMP"));
    put("picture_bmp", "32bit.bmp", encoded(small.convertToFormat(QImage::Format_ARGB32), "BMP"));
    put("picture_bmp", "short-data.bmp", bmpHeader(60, 50, 300));
    put("picture_jpeg", "baseline.jpg", encoded(small, "JPEG", 80));
    put("picture_jpeg", "grey.jpg",
        encoded(small.convertToFormat(QImage::Format_Grayscale8), "JPEG", 30));
    put("picture_jpeg", "truncated.jpg", encoded(small, "JPEG", 90).left(400));
    put("picture_gif", "still.gif", gif(60, 50));
    put("picture_gif", "frames.gif", gif(50, 50, 5));
    put("picture_gif", "offscreen-frame.gif", gif(80, 60, 1, QSize(60, 50)));

    // FITS through cfitsio: integer, floating point, colour planes, a mosaic, a compressed image.
    const auto fits = [](const char *name, FitsWriter::Image image) {
        const QString path = g_root + QStringLiteral("/scratch.fits");
        qsizetype count = 1;
        for (long axis : image.axes)
            count *= axis;
        image.values.resize(count);
        std::iota(image.values.begin(), image.values.end(), 1.0);
        if (!FitsWriter::write(path, image)) {
            std::fprintf(stderr, "cannot write %s\n", name);
            std::exit(1);
        }
        QFile file(path);
        file.open(QIODevice::ReadOnly);
        put("picture_fits", name, file.readAll());
        file.remove();
    };
    fits("mono16.fits", {SHORT_IMG, {60, 50}, {}, {"ROWORDER=TOP-DOWN"}, false, false});
    fits("float-rgb.fits", {FLOAT_IMG, {50, 50, 3}, {}, {}, false, false});
    fits("rggb.fits", {USHORT_IMG, {64, 52}, {}, {"BAYERPAT=RGGB", "XBAYROFF=1"}, false, false});
    fits("rice.fits", {SHORT_IMG, {64, 64}, {}, {}, true, true});
    put("picture_tiff", "rgb8.tif", encoded(small, "TIFF"));
    put("picture_tiff", "grey16.tif",
        encoded(small.convertToFormat(QImage::Format_Grayscale16), "TIFF"));
    put("picture_png", "rgb8.png", encoded(small, "PNG"));
    put("picture_png", "rgba16.png", encoded(small.convertToFormat(QImage::Format_RGBA64), "PNG"));

    MetafileWriter plain = MetafileWriter::wmf(QSize(120, 80));
    plain(Wmr::SelectObject, {plain.create(Wmr::CreateBrush, {0, 0xFF, 0, 0})});
    plain(Wmr::Rectangle, {60, 100, 10, 10});
    MetafileWriter emf = MetafileWriter::emf(QSize(120, 80));
    emf(Emr::Rectangle, {5, 5, 105, 65});
    for (const char *target : {"metafile", "picture_wmf", "picture_emf"}) {
        const bool wmf = target[8] != 'e', emfToo = target[8] != 'w'; // "metafile" takes both
        if (wmf) {
            put(target, "sample.wmf", MetafileWriter::sampleWmf());
            put(target, "plain.wmf", plain.finish());
        }
        if (emfToo) {
            put(target, "sample.emf", MetafileWriter::sampleEmf());
            put(target, "rect.emf", emf.finish());
        }
    }
    return 0;
}
