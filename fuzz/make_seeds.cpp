// Writes the seed corpus of every fuzz target into FOLDER/<target>/, with the writers of the
// tests: templates and settings through the program's own writers, pictures through Qt and the
// hardening tests' builders, metafiles through the metafile tests' writer.
#include "common/Cp932.h"
#include "hardening/HostileFiles.h"
#include "io/metafile/MetafileWriter.h"
#include "store/AppSettings.h"
#include "store/TemplateFile.h"
#include "support/ExifFiles.h"
#include "support/FitsWriter.h"
#include "support/TestFiles.h"
#include "support/XisfWriter.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtMath>

#include <climits>
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

// A template as the program writes it from nothing, with distinct values.
QByteArray sampleTemplate()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("sample.kvl"));
    TemplateFile t;
    t.setFrameSize(QStringLiteral("640x480"));
    t.setBackColor(0x102030);
    t.setBorderColor(0xFFFFFF);
    t.setBorderWidth(3);
    t.setMonth(11);
    t.setDay(30);
    t.setYear(QStringLiteral("2002"));
    t.setTime(QStringLiteral("23:59 JST"));
    const char *texts[] = {"M42 オリオン大星雲", "", "ε-180ED + EOS", "露出 8分 x 6枚", "長野県"};
    for (int i = 0; i < TemplateFile::ItemCount; ++i) {
        t.setData(i, QString::fromUtf8(texts[i]));
        t.setFontName(i, QStringLiteral("IPAGothic"));
        t.setFontSize(i, 10 + i);
        t.setFontColor(i, 0x00FF00 + i);
        t.setFontBold(i, i % 2 == 0);
        t.setFontItalic(i, i == 3);
        t.setFontAlign(i, i < 2 ? 0 : i - 1);
    }
    t.save(path, true);
    return TestFiles::readAll(path);
}

// "nolt.ini" as the program writes it, with distinct values.
QByteArray sampleSettings()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QString::fromLatin1(AppSettings::FileName));
    AppSettings s(QStringLiteral("/home/astro/撮影"), 15.0, 15.0);
    s.load(path);
    s.setX(-60);
    s.setWidth(12345);
    s.setDateFormat(1);
    s.setJpegQuality(0x50);
    s.save(path);
    return TestFiles::readAll(path);
}

// A night sky's samples: a background with noise and now and then a star, always the same. Unlike a
// ramp, its averages do not come out whole and its median and spread are those of a photo.
std::vector<double> noisySky(qsizetype count, double background, double noise)
{
    std::vector<double> values(count);
    quint32 state = 12345;
    for (double &v : values) {
        state = state * 1664525u + 1013904223u;
        v = background + noise * double(state >> 16) / 65536.0 + (state % 97 == 0 ? 40 * noise : 0);
    }
    return values;
}

// Photo-like metafiles that use every record group: a DIB sky, shapes, hatches, clipping, text.

// A small night sky: a dark gradient with a few stars.
QImage sky()
{
    QImage image(60, 30, QImage::Format_RGB32);
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 60; ++x)
            image.setPixel(x, y, qRgb(10 + x / 3, 15 + y, 40 + y * 2));
    for (QPoint s : {QPoint(5, 4), QPoint(20, 10), QPoint(45, 20), QPoint(28, 28)})
        image.setPixel(s, qRgb(255, 255, 230));
    return image;
}

QByteArray cp932(const QString &text)
{
    QByteArray bytes;
    Cp932::encode(text, &bytes);
    return bytes;
}

// The words of a WMF LOGFONT before its face name; italic fonts are underlined too.
QList<qint64> font(int height, int weight, bool italic, int charSet)
{
    return {height, 0, 0, 0, weight, italic ? 0x0101 : 0, charSet << 8, 0, 0};
}

QByteArray sampleWmf()
{
    // 480 x 320 pixels in twips, 15 to the pixel.
    MetafileWriter w = MetafileWriter::placeable(QRect(0, 0, 7200, 4800), 1440);
    w(Wmr::SetMapMode, {8})(Wmr::SetWindowOrg, {0, 0})(Wmr::SetWindowExt, {4800, 7200});
    w(Wmr::SaveDC, {});
    w(Wmr::StretchDib, {0x0020, 0x00CC, 0, 30, 60, 0, 0, 3600, 7200, 0, 0},
      MetafileWriter::dib(sky()));
    w(Wmr::SelectObject, {w.create(Wmr::CreatePen, {0, 45, 0, 0xC0FF, 0})});
    w(Wmr::SelectObject, {w.create(Wmr::CreateBrush, {1, 0, 0, 0})});
    w(Wmr::Ellipse, {2400, 6300, 600, 4500});
    w(Wmr::SelectObject, {w.create(Wmr::CreateBrush, {2, 0xC040, 0xFF, 5})});
    w(Wmr::SetBkMode, {1, 0})(Wmr::IntersectClipRect, {3300, 2700, 300, 300});
    w(Wmr::PolyPolygon, {2, 4, 4, 600, 600, 2400, 600, 2400, 3000, 600, 3000, 1200, 1200, 1800,
                         1200, 1800, 2400, 1200, 2400});
    w(Wmr::RestoreDC, {-1});
    w(Wmr::SelectObject, {w.create(Wmr::CreateBrush, {0, 0xA040, 0x40, 0})});
    w(Wmr::SelectObject, {w.create(Wmr::CreatePen, {5, 0, 0, 0, 0})});
    w(Wmr::Pie, {0, 3600, 1500, 4800, 2100, 4200, 900, 3000});
    w(Wmr::RoundRect, {300, 300, 3300, 4200, 2400, 3000});
    w(Wmr::SelectObject, {w.create(Wmr::CreatePen, {0, 15, 0, 0xFFFF, 0xFF})});
    w(Wmr::MoveTo, {3450, 300})(Wmr::LineTo, {3450, 6900});
    w(Wmr::Polyline, {3, 300, 3540, 3600, 3540, 6900, 3540});
    w(Wmr::SelectObject, {w.create(Wmr::CreateFont, font(-450, 700, false, 128),
                                   cp932(QStringLiteral("ＭＳ ゴシック")))});
    w(Wmr::SetTextColor, {0x2020, 0x20})(Wmr::SetTextAlign, {24, 0});
    const QByteArray title = cp932(QStringLiteral("オリオン大星雲 M42")); // 18 bytes
    w(Wmr::TextOut, {title.size()}, title + MetafileWriter::words({4200, 300}));
    const int serif = w.create(Wmr::CreateFont, font(-300, 400, true, 0), "DejaVu Serif");
    w(Wmr::SelectObject, {serif})(Wmr::SetTextColor, {0xC0, 0});
    w(Wmr::ExtTextOut, {4500, 4200, 10, 0},
      "2024-01-15" + MetafileWriter::words(QList<qint64>(10, 240)));
    w(Wmr::DeleteObject, {serif});
    return w.finish();
}

QByteArray sampleEmf()
{
    MetafileWriter e = MetafileWriter::emf(QSize(480, 320));
    e(Emr::SetMapMode, {8})(Emr::SetWindowExt, {4800, 3200})(Emr::SetViewportExt, {480, 320});
    const QByteArray sky = MetafileWriter::dib(::sky());
    e(Emr::StretchDIBits,
      {0, 0, 4800, 2400, 0, 0, 0, 0, 60, 30, 80, 40, 120, sky.size() - 40, 0, 0x00CC0020, 4800,
       2400},
      sky);
    e(Emr::SaveDC, {});
    e(Emr::SelectObject, {e.create(Emr::CreatePen, {0x12200, 30, 0, 0xC0FF})});
    e(Emr::SelectObject, {0x80000005}); // NULL_BRUSH
    e(Emr::Ellipse, {3000, 400, 4200, 1600});
    e(Emr::SelectObject, {e.create(Emr::CreateBrush, {2, 0xFFC040, 4})});
    e(Emr::SetBkMode, {1})(Emr::IntersectClipRect, {200, 200, 1800, 2200});
    e(Emr::PolyPolygon, {0,    0,    480, 320,  2,   8,   4,    4,   400,  400,  1600, 400,
                         1600, 2000, 400, 2000, 800, 800, 1200, 800, 1200, 1600, 800,  1600});
    e(Emr::RestoreDC, {-1})(Emr::ExtSelectClipRgn, {0, 5});
    e(Emr::SelectObject, {e.create(Emr::CreateBrush, {0, 0x40A040, 0})});
    e(Emr::SelectObject, {0x80000008}); // NULL_PEN
    e(Emr::Pie, {2000, 600, 2800, 1400, 3200, 1000, 2400, 0});
    e(Emr::SaveDC, {});
    const float c = float(qCos(0.3)), s = float(qSin(0.3));
    e(Emr::SetWorldTransform,
      {MetafileWriter::real(c), MetafileWriter::real(s), MetafileWriter::real(-s),
       MetafileWriter::real(c), MetafileWriter::real(2400), MetafileWriter::real(1700)});
    e(Emr::RoundRect, {-300, -200, 300, 200, 200, 200})(Emr::RestoreDC, {-1});
    e(Emr::SelectObject, {e.create(Emr::CreatePen, {0, 10, 0, 0xFFFFFF})});
    e(Emr::MoveTo, {200, 2300})(Emr::LineTo, {4600, 2300});
    e(Emr::PolyBezier, {0, 0, 480, 320, 4, 200, 2360, 1600, 2200, 3200, 2520, 4600, 2360});
    e(Emr::BeginPath, {})(Emr::MoveTo, {4200, 1800})(Emr::LineTo, {4600, 1800});
    e(Emr::LineTo, {4400, 2100})(Emr::EndPath, {})(Emr::FillPath, {0, 0, 480, 320});
    const auto face = [](const QString &name) {
        return MetafileWriter::utf16(name).leftJustified(320 - 28, '\0');
    };
    e(Emr::SelectObject, {e.create(Emr::CreateFont, {-300, 0, 0, 0, 700, 128 << 24, 0},
                                   face(QStringLiteral("ＭＳ ゴシック")))});
    e(Emr::SetTextColor, {0x202020})(Emr::SetTextAlign, {24});
    const QString title = QStringLiteral("オリオン大星雲 M42");
    e(Emr::ExtTextOutW, {0, 0, 480, 320, 1, 0, 0, 200, 2800, title.size(), 76, 0, 0, 0, 0, 0, 0},
      MetafileWriter::utf16(title));
    const int serif = e.create(Emr::CreateFont, {-200, 0, 0, 0, 400, 0x0101, 0},
                               face(QStringLiteral("DejaVu Serif")));
    e(Emr::SelectObject, {serif})(Emr::SetTextColor, {0xC0});
    e(Emr::ExtTextOutW, {0, 0, 480, 320, 1, 0, 0, 2800, 3000, 10, 76, 0, 0, 0, 0, 0, 96},
      MetafileWriter::utf16(QStringLiteral("2024-01-15")) +
          MetafileWriter::ints(QList<qint64>(10, 160)));
    e(Emr::DeleteObject, {serif});
    return e.finish();
}

// The WMF records the sample leaves out, each drawn where its effect shows: offset origins and a
// scaled viewport, pattern blits of every form, pixels, a clip region selected back, DIB blits
// with a source rectangle and two stretch modes, objects kept only as places in the table, and
// extra space between letters. Record numbers and fields as the WMF format lists them.
QByteArray recordsWmf()
{
    using W = MetafileWriter;
    W w = W::wmf(QSize(240, 320));
    const QByteArray stars = W::dib(sky()); // 60 x 30
    w(Wmr::SetMapMode, {8})(Wmr::SetWindowExt, {320, 240})(Wmr::SetViewportExt, {320, 240});
    w(Wmr::SelectObject, {w.create(Wmr::CreatePen, {5, 0, 0, 0, 0})});
    // Table places taken by a palette, a pattern brush and two bitmaps: the red brush comes after.
    for (quint32 type : {0x00F7, 0x01F9, 0x02FD, 0x06FE})
        w.create(type, {0, 0, 0, 0});
    const int red = w.create(Wmr::CreateBrush, {0, 0xFF, 0, 0});
    w(Wmr::SelectObject, {red});
    // OFFSETWINDOWORG, OFFSETVIEWPORTORG, SCALEVIEWPORTEXT by 3/2 and 5/4: each undone after its
    // box.
    w(0x020F, {-5, -10})(Wmr::Rectangle, {30, 30, 10, 10})(0x020F, {5, 10});
    w(0x0211, {10, 40})(Wmr::Rectangle, {20, 20, 5, 5})(0x0211, {-10, -40});
    w(0x0412, {4, 5, 2, 3})(Wmr::Rectangle, {20, 80, 10, 70})(0x0412, {5, 4, 3, 2});
    // PATBLT: the red brush (PATCOPY), then inverted (DSTINVERT); BITBLT and STRETCHBLT without a
    // bitmap, DIBBITBLT and DIBSTRETCHBLT without one: PATCOPY at four places.
    w(0x061D, {0x0021, 0x00F0, 20, 30, 40, 10})(0x061D, {0x0009, 0x0055, 10, 50, 45, 5});
    w(0x0922, {0x0021, 0x00F0, 0, 0, 0, 10, 20, 70, 10});
    w(0x0B23, {0x0021, 0x00F0, 1, 1, 0, 0, 0, 10, 20, 70, 40});
    w(Wmr::DibBitBlt, {0x0021, 0x00F0, 0, 0, 0, 10, 20, 70, 70});
    w(0x0B41, {0x0021, 0x00F0, 1, 1, 0, 0, 0, 10, 20, 70, 100});
    // SETPIXEL: green and magenta.
    w(0x041F, {0xFF00, 0, 85, 5})(0x041F, {0x00FF, 0xFF, 85, 6});
    // DIBBITBLT and DIBSTRETCHBLT of part of the stars; SETDIBTODEV of all of them; the stars
    // shrunk to a third under BLACKONWHITE (the start-up mode) and under HALFTONE.
    w(Wmr::DibBitBlt, {0x0020, 0x00CC, 5, 10, 20, 30, 95, 10}, stars);
    w(0x0B41, {0x0020, 0x00CC, 15, 30, 0, 0, 30, 40, 95, 50}, stars);
    w(0x0D33, {0, 30, 0, 0, 0, 30, 60, 125, 100}, stars);
    w(0x0F43, {0x0020, 0x00CC, 0, 30, 60, 0, 0, 10, 20, 95, 170}, stars);
    w(0x0107, {4})(Wmr::StretchDib, {0x0020, 0x00CC, 0, 30, 60, 0, 0, 10, 20, 110, 170}, stars);
    // DIBBITBLT from a source that starts above and left of the stars: only what lies inside.
    w(Wmr::DibBitBlt, {0x0020, 0x00CC, -6, -8, 20, 30, 200, 120}, stars);
    // A clip rectangle, then SELECTCLIPREGION: the whole of the blue box shows.
    w(Wmr::IntersectClipRect, {150, 200, 140, 130})(0x012C, {0});
    w(Wmr::SelectObject, {w.create(Wmr::CreateBrush, {0, 0, 0xFF, 0})});
    w(Wmr::Rectangle, {155, 235, 130, 190});
    // SETTEXTCHAREXTRA: letters 4 units apart.
    w(Wmr::SelectObject, {w.create(Wmr::CreateFont, font(-14, 400, false, 0), "DejaVu Sans")});
    w(0x0108, {4})(Wmr::TextOut, {3}, QByteArray("M42", 4) + W::words({140, 10}));
    // The same eight bytes in a font of each character set, a line each: each code page reads them
    // as other letters.
    w(0x0108, {0});
    int y = 165;
    for (int charSet : {0, 128, 129, 134, 136, 161, 162, 163, 177, 178, 186, 204, 222, 238, 255}) {
        const int face = w.create(Wmr::CreateFont, font(-9, 400, false, charSet), "DejaVu Sans");
        w(Wmr::SelectObject, {face})(Wmr::TextOut, {8},
                                     "\x81\x45\xC3\xD0\xDD\xE3\xF0\xFD" + W::words({y, 10}));
        y += 10;
    }
    // Run-length coded DIBs, 8 x 1 in four bits and 8 x 2 in eight: runs, pixels as they are,
    // the end of a line and of the picture.
    const QByteArray palette = W::ints({0, 0x0000FF, 0x00FF00, 0xFF0000, 0xFFFFFF});
    const auto rle = [&](int compression, int height, const QList<int> &bytes) {
        QByteArray bits;
        for (int b : bytes)
            bits += char(b);
        return W::ints({40, 8, height}) + W::words({1, compression == 2 ? 4 : 8}) +
               W::ints({compression, bits.size(), 0, 0, 5, 0}) + palette + bits;
    };
    w(Wmr::StretchDib, {0x0020, 0x00CC, 0, 1, 8, 0, 0, 10, 40, 240, 100},
      rle(2, 1, {4, 0x12, 0, 4, 0x34, 0x34, 0, 1}));
    w(Wmr::StretchDib, {0x0020, 0x00CC, 0, 2, 8, 0, 0, 20, 40, 252, 100},
      rle(1, 2, {3, 1, 0, 3, 2, 3, 1, 0, 2, 2, 0, 0, 8, 3, 0, 1}));
    // MM_LOMETRIC: tenths of a millimetre at the screen's 96 dots an inch, y upwards.
    w(Wmr::SetMapMode, {2})(Wmr::Rectangle, {-800, 600, -700, 500});
    return w.finish();
}

// The EMF records the samples leave out, each drawn where its effect shows: scaled extents,
// 16-bit poly-shapes, an opaque hatch and dashes, a region, a geometric pen, arcs into a path and
// a clip path. Record numbers as uemf.h has them.
QByteArray recordsEmf()
{
    using W = MetafileWriter;
    W e = W::emf(QSize(240, 160));
    e(Emr::SetMapMode, {8})(Emr::SetWindowExt, {240, 160})(Emr::SetViewportExt, {240, 160});
    e(Emr::SelectObject, {0x80000008}); // NULL_PEN
    const int red = e.create(Emr::CreateBrush, {0, 0x0000FF, 0});
    e(Emr::SelectObject, {red});
    // SCALEVIEWPORTEXTEX by 3/2 and 5/4, SCALEWINDOWEXTEX by 1/2: each undone after its box.
    e(31, {3, 2, 5, 4})(Emr::Rectangle, {10, 10, 30, 30})(31, {2, 3, 4, 5});
    e(32, {1, 2, 1, 2})(Emr::Rectangle, {25, 5, 35, 15})(32, {2, 1, 2, 1});
    // POLYPOLYGON16, then in a blue pen POLYPOLYLINE16, a POLYLINE16 of two points,
    // POLYLINETO16 and POLYBEZIERTO16 from the current point; SETPIXELV.
    e(91, {0, 0, 240, 160, 2, 7, 3, 4},
      W::words({100, 10, 120, 10, 110, 30, 130, 10, 150, 10, 150, 30, 130, 30}));
    e(Emr::SelectObject, {e.create(Emr::CreatePen, {0, 1, 0, 0xFF0000})});
    e(90, {0, 0, 240, 160, 2, 5, 2, 3}, W::words({10, 50, 60, 50, 10, 60, 60, 60, 60, 70}));
    e(87, {0, 0, 240, 160, 2}, W::words({70, 50, 120, 50}));
    e(Emr::MoveTo, {70, 60})(89, {0, 0, 240, 160, 2}, W::words({120, 60, 120, 70}));
    e(88, {0, 0, 240, 160, 3}, W::words({140, 40, 160, 80, 180, 60}));
    e(15, {5, 5, 0xFF0000})(15, {6, 5, 0x00FF00});
    // STRETCHDIBITS of a DIB one pixel wide, and of a 16-bit one with 5-6-5 masks (BI_BITFIELDS):
    // red, green over blue, white.
    QImage narrow(1, 2, QImage::Format_RGB32);
    narrow.setPixel(0, 0, qRgb(255, 0, 255));
    narrow.setPixel(0, 1, qRgb(0, 128, 255));
    const QByteArray one = W::dib(narrow);
    e(Emr::StretchDIBits,
      {205, 5, 225, 45, 205, 5, 0, 0, 1, 2, 80, 40, 120, one.size() - 40, 0, 0xCC0020, 20, 40},
      one);
    const QByteArray masked = W::ints({40, 2, 2}) + W::words({1, 16}) +
                              W::ints({3, 8, 0, 0, 0, 0, 0xF800, 0x07E0, 0x001F}) +
                              W::words({0x001F, 0xFFFF, 0xF800, 0x07E0});
    e(Emr::StretchDIBits,
      {205, 50, 235, 80, 205, 50, 0, 0, 2, 2, 80, 52, 132, 8, 0, 0xCC0020, 30, 30}, masked);
    // The stars shrunk to a third under BLACKONWHITE (the start-up mode), then under HALFTONE
    // (SETSTRETCHBLTMODE).
    const QByteArray stars = W::dib(sky());
    for (int mode : {1, 4})
        e(21, {mode})(Emr::StretchDIBits,
                      {0, 125, 20, 135, 20 * mode, 125, 0, 0, 60, 30, 80, 40, 120,
                       stars.size() - 40, 0, 0xCC0020, 20, 10},
                      stars);
    // On an opaque green background (SETBKCOLOR): a black cross hatch, a red dashed line.
    e(Emr::SetBkMode, {2})(25, {0x00FF00});
    e(Emr::SelectObject, {e.create(Emr::CreateBrush, {2, 0x000000, 4})});
    e(Emr::SelectObject, {0x80000008})(Emr::Rectangle, {10, 80, 60, 120});
    e(Emr::SelectObject, {e.create(Emr::CreatePen, {1, 1, 0, 0x0000FF})});
    e(Emr::MoveTo, {70, 85})(Emr::LineTo, {200, 85})(Emr::SetBkMode, {1});
    // FILLRGN: two rectangles of a region in red.
    e(71, {70, 90,  130, 120, 64, red, 32,  1,   2,  32,  70,
           90, 130, 120, 70,  90, 90,  120, 110, 90, 130, 120});
    // FILLRGN of a region that counts one of the two rectangles it holds: only the first turns
    // green.
    const int green = e.create(Emr::CreateBrush, {0, 0x00FF00, 0});
    e(71, {70, 90,  130, 120, 64, green, 32,  1,   1,  16,  70,
           90, 130, 120, 70,  90, 90,    105, 110, 90, 130, 120});
    // EXTCREATEPEN: a geometric purple pen 6 wide with square ends.
    e(Emr::SelectObject, {e.create(95, {0, 0, 0, 0, 0x10100, 6, 0, 0x800080, 0, 0})});
    e(Emr::MoveTo, {10, 140})(Emr::LineTo, {120, 150});
    // ARC and CHORD; a path of an ARCTO and a line, closed, stroked and filled (hatched).
    e(Emr::SelectObject, {e.create(Emr::CreatePen, {0, 2, 0, 0x008000})});
    e(45, {140, 90, 180, 130, 180, 110, 140, 110})(46, {180, 90, 220, 130, 220, 110, 180, 110});
    e(Emr::BeginPath, {})(Emr::MoveTo, {130, 135})(55, {130, 125, 170, 155, 170, 140, 130, 140});
    e(Emr::LineTo, {130, 155})(61, {})(Emr::EndPath, {})(63, {0, 0, 240, 160});
    // DC_PEN, the stock pen of the device context's colour; a path ended, then a box drawn
    // outside it in red, then the path filled in green.
    e(Emr::SelectObject, {0x80000013})(Emr::MoveTo, {130, 2})(Emr::LineTo, {230, 2});
    e(Emr::BeginPath, {})(Emr::Rectangle, {150, 60, 170, 75})(Emr::EndPath, {});
    e(Emr::SelectObject, {0x80000008})(Emr::SelectObject, {red})(Emr::Rectangle,
                                                                 {175, 60, 195, 75});
    e(Emr::SelectObject, {green})(Emr::FillPath, {0, 0, 240, 160});
    // The stock brushes, DC_BRUSH among them, side by side.
    for (int k : {0, 1, 2, 3, 4, 18})
        e(Emr::SelectObject, {0x80000000 + k})(Emr::Rectangle, {40 + 8 * k, 150, 46 + 8 * k, 158});
    // A clip path (SELECTCLIPPATH, RGN_AND): the red box shows only inside the rectangle.
    e(Emr::BeginPath, {})(Emr::Rectangle, {200, 130, 230, 155})(Emr::EndPath, {})(67, {1});
    e(Emr::SelectObject, {red})(Emr::SelectObject, {0x80000008})(Emr::Rectangle,
                                                                 {190, 120, 240, 160});
    return e.finish();
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
    for (const char *card : {"SIMPLE  =                    T", "BITPIX  =                    8",
                             "NAXIS   =                    0", "OBJECT  = 'M42 ''Orion'''",
                             "EXPTIME =           3.0D2", "NCOMBINE=                   24",
                             "DATE-OBS= '2026-01-15T13:05:30.5'", "CCD-TEMP=                -10.1",
                             "SITELAT = '+35 40 52'", "END"})
        header += QByteArray(card).leftJustified(80, ' ');
    put("photo_metadata", "header.fits", header.leftJustified(2880, ' '));
    // Files that once broke the reader: they have no data to show.
    put("photo_metadata", "endless.fits",
        QByteArray("SIMPLE  =                    T").leftJustified(80, ' ') +
            QByteArray(2 << 20, ' '));
    put("photo_metadata", "broken.jpg",
        QByteArray("\xFF\xD8\xFF\xE1\xFF\xFF"
                   "Exif"));
    put("photo_metadata", "wild-directory.tif", QByteArray("II*\0\xFF\xFF\xFF\x7F", 8));
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
    // Pictures that once broke the loader: huge or lying headers, endless frames, a wrong name.
    const QByteArray bmp = encoded(gradient(400, 300), "BMP");
    const auto le32 = [](QByteArray bytes, int at, qint32 value) {
        qToLittleEndian<qint32>(value, bytes.data() + at);
        return bytes;
    };
    put("picture_gif", "huge.gif", gif(60, 50, 1, QSize(30000, 30000)));
    put("picture_bmp", "huge.bmp", bmpHeader(30000, 30000, 4096));
    put("picture_bmp", "short.bmp", bmpHeader(1600, 1200, 1000));
    put("picture_bmp", "big-field.bmp", le32(bmp, 2, 0x7FFFFFFF));
    put("picture_bmp", "far-offset.bmp", le32(bmp, 10, 0x10000000));
    put("picture_bmp", "min-height.bmp", le32(bmp, 22, INT_MIN));
    put("picture_bmp", "small-header.bmp", le32(le32(bmp, 18, 60), 22, 50));
    put("picture_bmp", "really-jpeg.bmp", encoded(gradient(400, 300), "JPEG", 90));
    put("picture_gif", "frames-5000.gif", gif(60, 50, 5000));
    put("picture_gif", "frame-past-screen.gif", gif(2000, 1500, 1, QSize(200, 150)));

    // FITS through cfitsio: integer, floating point, colour planes, a mosaic, a compressed image.
    const auto fits = [](const char *name, FitsWriter::Image image) {
        const QString path = g_root + QStringLiteral("/scratch.fits");
        if (image.values.empty()) { // a ramp
            qsizetype count = 1;
            for (long axis : image.axes)
                count *= axis;
            image.values.resize(count);
            std::iota(image.values.begin(), image.values.end(), 1.0);
        }
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
    // The mosaic with what a capture program writes, an exposure of half a second short of a
    // minute.
    fits("sky-rggb.fits",
         {USHORT_IMG,
          {96, 64},
          noisySky(96 * 64, 1500, 400),
          {"BAYERPAT=GBRG", "OBJECT=NGC 7000", "DATE-OBS=2026-08-14T12:30:00.5", "EXPTIME=59.5",
           "STACKCNT=12", "INSTRUME=Cam 533", "TELESCOP=FRA 400", "FILTER=L-eXtreme",
           "CCD-TEMP=-10", "GAIN=100", "XBINNING=2", "FOCALLEN=400", "APTDIA=72", "SITELAT=35.5",
           "SITELONG=138.25", "OBSERVER=Night Owl"},
          false,
          false});
    fits("sky-rice.fits", {SHORT_IMG, {80, 60}, noisySky(80 * 60, -2000, 300), {}, true, false});
    fits("sky-float.fits", {FLOAT_IMG, {60, 50, 3}, noisySky(9000, 0.1, 0.05), {}, false, true});
    // Half the pixels at one level, half ten above and a star: the spread around the median is
    // where exactly half the pixels lie.
    std::vector<double> halves(2500, 1000);
    std::fill(halves.begin() + 1250, halves.end(), 1010);
    halves[77] = 30000;
    fits("halves.fits", {SHORT_IMG, {50, 50}, halves, {}, false, false});
    // XISF: each sample format and codec, shuffled or not, with keywords and properties.
    const auto xisf = [](const char *name, XisfWriter::Image image) {
        if (image.values.empty()) {
            image.values.resize(size_t(image.width) * image.height * image.channels);
            for (size_t i = 0; i < image.values.size(); ++i)
                image.values[i] =
                    image.sampleFormat.startsWith(u'F') ? double(i % 97) / 97 : i % 251;
        }
        image.keywords = {"OBJECT='M 42'", "EXPTIME=300.", "CRVAL1=83.8"};
        image.properties = {{"Instrument:Filter:Name", "Ha"},
                            {"Observation:Time:Start", "2026-01-15T13:05:30Z"}};
        put("picture_xisf", name, XisfWriter::bytes(image));
        put("photo_metadata", name, XisfWriter::bytes(image));
    };
    xisf("mono16.xisf", {60, 50, 1, "UInt16"});
    xisf("mono8-lz4.xisf", {60, 50, 1, "UInt8", "lz4"});
    xisf("rgb32-zlib-sh.xisf", {40, 30, 3, "UInt32", "zlib", true});
    xisf("float-rgb-zstd-sh.xisf", {50, 50, 3, "Float32", "zstd", true});
    xisf("double-lz4hc-sh.xisf", {30, 20, 1, "Float64", "lz4hc", true});
    XisfWriter::Image skyXisf(64, 56, 3, "UInt16", "zstd", true);
    skyXisf.values = noisySky(64 * 56 * 3, 3000, 800);
    xisf("sky-rgb16.xisf", skyXisf);
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
            put(target, "sample.wmf", sampleWmf());
            put(target, "plain.wmf", plain.finish());
            put(target, "records.wmf", recordsWmf());
        }
        if (emfToo) {
            put(target, "sample.emf", sampleEmf());
            put(target, "rect.emf", emf.finish());
            put(target, "records.emf", recordsEmf());
        }
    }
    return 0;
}
