#include "SampleMetafiles.h"

#include "EmfWriter.h"
#include "TestDib.h"
#include "WmfWriter.h"

#include "common/Cp932.h"

#include <QImage>
#include <QtMath>

namespace {

// A small night-sky bitmap: a dark gradient with a few stars.
QImage sky(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y,
                           qRgb(10 + x * 20 / width, 15 + y * 30 / height, 40 + y * 60 / height));
    const QPoint stars[] = {{5, 4}, {20, 10}, {33, 6}, {45, 20}, {12, 25}, {50, 3}, {28, 28}};
    for (QPoint s : stars)
        if (s.x() < width && s.y() < height)
            image.setPixel(s, qRgb(255, 255, 230));
    return image;
}

QByteArray cp932(const QString &text)
{
    QByteArray bytes;
    Cp932::encode(text, &bytes);
    return bytes;
}

} // namespace

namespace SampleMetafiles {

QByteArray wmf()
{
    // Logical units are twips: 15 per pixel.
    WmfWriter w = WmfWriter::placeable(QRect(0, 0, 7200, 4800), 1440);
    w.setMapMode(8);
    w.setWindowOrg(0, 0);
    w.setWindowExt(7200, 4800);
    w.saveDC();
    w.stretchDib(QRect(0, 0, 7200, 3600), QRect(0, 0, 60, 30), TestDib::rgb24(sky(60, 30)));
    w.selectObject(w.createPen(0, 45, 0x00C0FF)); // 3 pixels, orange
    w.selectObject(w.createBrush(1, 0, 0));       // hollow
    w.ellipse(4500, 600, 6300, 2400);
    w.selectObject(w.createBrush(2, 0xFFC040, 5)); // blue diagonal cross hatch
    w.setBkMode(1);
    w.intersectClipRect(300, 300, 2700, 3300);
    w.polyPolygon({{{600, 600}, {2400, 600}, {2400, 3000}, {600, 3000}},
                   {{1200, 1200}, {1800, 1200}, {1800, 2400}, {1200, 2400}}});
    w.restoreDC(-1);
    w.selectObject(w.createBrush(0, 0x40A040, 0)); // green
    w.selectObject(w.createPen(5, 0, 0));
    w.arc(0x081A, QRect(3000, 900, 1200, 1200), QPoint(4800, 1500), QPoint(3600, 0));
    w.roundRect(3000, 2400, 4200, 3300, 300, 300);
    w.selectObject(w.createPen(0, 15, 0xFFFFFF));
    w.moveTo(300, 3450);
    w.lineTo(6900, 3450);
    w.polyline({{300, 3540}, {3600, 3540}, {6900, 3540}});
    w.selectObject(
        w.createFont(-450, 700, false, false, false, 128, cp932(QStringLiteral("ＭＳ ゴシック"))));
    w.setTextColor(0x202020);
    w.setTextAlign(24);
    w.textOut(300, 4200, cp932(QStringLiteral("オリオン大星雲 M42")));
    const int serif = w.createFont(-300, 400, true, true, false, 0, "DejaVu Serif");
    w.selectObject(serif);
    w.setTextColor(0x0000C0);
    const QByteArray date = "2024-01-15";
    w.extTextOut(4200, 4500, 0, nullptr, date, QList<int>(date.size(), 240));
    w.deleteObject(serif);
    return w.finish();
}

QByteArray emf()
{
    EmfWriter e(QSize(480, 320));
    e.setMapMode(8);
    e.setWindowExt(4800, 3200);
    e.setViewportExt(480, 320);
    e.stretchDIBits(QRect(0, 0, 4800, 2400), QRect(0, 0, 60, 30), TestDib::rgb24(sky(60, 30)));
    e.saveDC();
    e.selectObject(e.createPen(0x00012200, 30, 0x00C0FF)); // geometric, flat caps, 3 pixels
    e.selectObject(0x80000005);                            // NULL_BRUSH
    e.ellipse(QRect(3000, 400, 1200, 1200));
    e.selectObject(e.createBrush(2, 0xFFC040, 4));
    e.setBkMode(1);
    e.intersectClipRect(QRect(200, 200, 1600, 2000));
    e.polyPolygon({{{400, 400}, {1600, 400}, {1600, 2000}, {400, 2000}},
                   {{800, 800}, {1200, 800}, {1200, 1600}, {800, 1600}}});
    e.restoreDC(-1);
    e.resetClip();
    e.selectObject(e.createBrush(0, 0x40A040, 0));
    e.selectObject(0x80000008); // NULL_PEN
    e.arc(47, QRect(2000, 600, 800, 800), QPoint(3200, 1000), QPoint(2400, 0));
    e.saveDC();
    const float c = float(qCos(0.3)), s = float(qSin(0.3));
    e.setWorldTransform({c, s, -s, c, 2400, 1700});
    e.roundRect(QRect(-300, -200, 600, 400), 200, 200);
    e.restoreDC(-1);
    e.selectObject(e.createPen(0, 10, 0xFFFFFF));
    e.moveTo(200, 2300);
    e.lineTo(4600, 2300);
    e.poly(2, {{200, 2360}, {1600, 2200}, {3200, 2520}, {4600, 2360}});
    e.beginPath();
    e.moveTo(4200, 1800);
    e.lineTo(4600, 1800);
    e.lineTo(4400, 2100);
    e.endPath();
    e.fillPath();
    e.selectObject(
        e.createFont(-300, 700, false, false, false, 128, QStringLiteral("ＭＳ ゴシック")));
    e.setTextColor(0x202020);
    e.setTextAlign(24);
    e.extTextOutW(200, 2800, QStringLiteral("オリオン大星雲 M42"));
    const int serif = e.createFont(-200, 400, true, true, false, 0, QStringLiteral("DejaVu Serif"));
    e.selectObject(serif);
    e.setTextColor(0x0000C0);
    const QString date = QStringLiteral("2024-01-15");
    e.extTextOutW(2800, 3000, date, QList<qint32>(date.size(), 160));
    e.deleteObject(serif);
    return e.finish();
}

} // namespace SampleMetafiles
