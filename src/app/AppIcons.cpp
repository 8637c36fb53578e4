#include "AppIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <cstring>

namespace {

const QColor Outline(0x40, 0x40, 0x40);
const QColor Folder(0xF2, 0xC1, 0x4E);
const QColor DiskBlue(0x3A, 0x6E, 0xC8);
const QColor Sky(0x9C, 0xC8, 0xF4);
const QColor Hill(0x4C, 0xA8, 0x4C);
const QColor Wood(0xA8, 0x70, 0x3C);

QImage canvas(int size = 16)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

// A small landscape photo: sky, hill, sun, in a dark outline.
void drawPhoto(QPainter &p, const QRect &r)
{
    p.setPen(Outline);
    p.setBrush(Sky);
    p.drawRect(r);
    p.setPen(Qt::NoPen);
    p.setBrush(Hill);
    QPainterPath hill;
    hill.moveTo(r.left() + 1, r.bottom() + 1);
    hill.lineTo(r.left() + 1, r.bottom() - 1);
    hill.lineTo(r.left() + r.width() * 0.45, r.top() + r.height() * 0.45);
    hill.lineTo(r.right() + 1, r.bottom() - 1);
    hill.lineTo(r.right() + 1, r.bottom() + 1);
    p.drawPath(hill);
    p.setBrush(QColor(0xFF, 0xE0, 0x40));
    p.drawEllipse(QPointF(r.right() - 2.5, r.top() + 3.0), 1.6, 1.6);
}

void drawFloppy(QPainter &p)
{
    p.setPen(Outline);
    p.setBrush(DiskBlue);
    QPolygon body({QPoint(1, 1), QPoint(13, 1), QPoint(14, 2), QPoint(14, 14), QPoint(1, 14)});
    p.drawPolygon(body);
    p.setBrush(QColor(0xF4, 0xF4, 0xF4));
    p.drawRect(4, 1, 7, 5);
    p.setPen(Qt::NoPen);
    p.setBrush(DiskBlue.darker(140));
    p.drawRect(8, 2, 2, 3);
    p.setBrush(QColor(0xE0, 0xE0, 0xE0));
    p.drawRect(3, 9, 9, 5);
}

void drawFolder(QPainter &p)
{
    p.setPen(Outline);
    p.setBrush(Folder.darker(115));
    p.drawPolygon(QPolygon(
        {QPoint(1, 3), QPoint(6, 3), QPoint(7, 5), QPoint(14, 5), QPoint(14, 13), QPoint(1, 13)}));
    p.setBrush(Folder);
    p.drawPolygon(QPolygon({QPoint(1, 13), QPoint(3, 7), QPoint(15, 7), QPoint(13, 13)}));
}

QImage toolbarImage(const char *key)
{
    QImage image = canvas();
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, false);
    if (std::strcmp(key, "TbOpenTmp") == 0) {
        // A folder with a framed page coming out of it.
        p.setPen(Outline);
        p.setBrush(Qt::white);
        p.drawRect(4, 0, 8, 8);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0x20, 0x30, 0x60));
        p.drawRect(6, 2, 5, 4);
        drawFolder(p);
    } else if (std::strcmp(key, "TbSaveTmp") == 0) {
        drawFloppy(p);
        p.setPen(QColor(0x20, 0x30, 0x60));
        p.drawLine(4, 11, 11, 11);
    } else if (std::strcmp(key, "TbSetup") == 0) {
        // A gear.
        p.setRenderHint(QPainter::Antialiasing, true);
        p.translate(8, 8);
        p.setPen(QPen(Outline, 1));
        p.setBrush(QColor(0xB0, 0xB4, 0xBC));
        QPainterPath gear;
        for (int i = 0; i < 8; ++i) {
            p.save();
            p.rotate(i * 45.0);
            p.drawRect(QRectF(-1.5, -7.5, 3, 4));
            p.restore();
        }
        p.drawEllipse(QPointF(0, 0), 5.2, 5.2);
        p.setBrush(Qt::white);
        p.drawEllipse(QPointF(0, 0), 2, 2);
    } else if (std::strcmp(key, "TbExit") == 0) {
        // An open door with an arrow leaving through it.
        p.setPen(Outline);
        p.setBrush(QColor(0x30, 0x30, 0x30));
        p.drawRect(2, 1, 8, 14);
        p.setBrush(Wood);
        p.drawPolygon(QPolygon({QPoint(2, 1), QPoint(7, 3), QPoint(7, 15), QPoint(2, 15)}));
        p.setPen(QPen(QColor(0xC8, 0x20, 0x20), 2));
        p.drawLine(8, 8, 14, 8);
        p.drawLine(12, 5, 14, 8);
        p.drawLine(12, 11, 14, 8);
    } else if (std::strcmp(key, "TbOpenPhoto") == 0) {
        drawPhoto(p, QRect(0, 1, 13, 11));
        p.setPen(Qt::NoPen);
        // A green badge with a white plus.
        p.setBrush(QColor(0x20, 0x9A, 0x20));
        p.drawRect(9, 9, 7, 7);
        p.setBrush(Qt::white);
        p.drawRect(12, 10, 1, 5);
        p.drawRect(10, 12, 5, 1);
    } else if (std::strcmp(key, "TbRemovePhoto") == 0) {
        drawPhoto(p, QRect(0, 1, 13, 11));
        p.setRenderHint(QPainter::Antialiasing, true);
        p.setPen(QPen(QColor(0xD0, 0x20, 0x20), 2.2, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(9.5, 9.5), QPointF(14.5, 14.5));
        p.drawLine(QPointF(14.5, 9.5), QPointF(9.5, 14.5));
    } else if (std::strcmp(key, "TbCopyClipboard") == 0) {
        p.setPen(Outline);
        p.setBrush(Wood);
        p.drawRect(1, 2, 11, 13);
        p.setBrush(QColor(0xC0, 0xC0, 0xC0));
        p.drawRect(4, 1, 5, 2);
        drawPhoto(p, QRect(5, 6, 10, 9));
    } else if (std::strcmp(key, "TbSavePhoto") == 0) {
        drawFloppy(p);
        p.setPen(Qt::NoPen);
        p.setBrush(Sky);
        p.drawRect(4, 10, 7, 4);
        p.setBrush(Hill);
        p.drawPolygon(QPolygon({QPoint(4, 14), QPoint(7, 11), QPoint(11, 14)}));
    } else {
        return QImage();
    }
    return image;
}

// A bar in the colour of a text item, as the icons and the illustration mark the texts.
void drawItemBar(QPainter &p, int item, const QRect &r)
{
    p.setBrush(AppIcons::itemColor(item));
    p.drawRect(r);
}

} // namespace

namespace AppIcons {

QColor itemColor(int item)
{
    static const QColor colors[] = {QColor(0x00, 0x00, 0xFF), QColor(0xFF, 0x00, 0x00),
                                    QColor(0x00, 0xC0, 0x00), QColor(0xFF, 0xFF, 0x00),
                                    QColor(0x00, 0xFF, 0xFF)};
    return item >= 0 && item < 5 ? colors[item] : QColor();
}

QIcon toolbarIcon(const char *key)
{
    const QImage image = toolbarImage(key);
    return image.isNull() ? QIcon() : QIcon(QPixmap::fromImage(image));
}

QIcon alignIcon(int image)
{
    QImage icon = canvas();
    QPainter p(&icon);
    p.setPen(Qt::NoPen);
    const QColor ink(0x20, 0x20, 0x20);
    const QColor guide(0x30, 0x70, 0xD0);
    // Four text lines, long and short in turn, placed by the alignment.
    const int widths[] = {14, 9, 14, 9};
    for (int row = 0; row < 4; ++row) {
        const int w = widths[row];
        const int y = 2 + row * 4;
        int x = 1;
        switch (image) {
        case 2:
            x = (16 - w) / 2;
            break;
        case 3:
            x = 15 - w;
            break;
        default:
            break;
        }
        if (image == 4 || image == 5) {
            // The item above in blue, the item itself below it, sharing one edge.
            if (row == 0) {
                p.setBrush(guide);
                p.drawRect(image == 4 ? 4 : 3, 1, 9, 2);
                continue;
            }
            if (row == 1)
                continue;
            const int lw = row == 2 ? 11 : 7;
            x = image == 4 ? 4 : 12 - lw;
            p.setBrush(ink);
            p.drawRect(x, y, lw, 2);
            continue;
        }
        p.setBrush(ink);
        p.drawRect(x, y, w, 2);
    }
    if (image == 4 || image == 5) {
        // The shared edge as a dotted guide from the item above down.
        const int gx = image == 4 ? 3 : 12;
        p.setBrush(guide);
        for (int y = 1; y < 16; y += 2)
            p.drawRect(gx, y, 1, 1);
    }
    return QIcon(QPixmap::fromImage(icon));
}

QIcon previewIcon()
{
    QImage image = canvas(24);
    QPainter p(&image);
    p.setPen(Outline);
    p.setBrush(QColor(0x18, 0x18, 0x30));
    p.drawRect(0, 1, 23, 21);
    p.setPen(QPen(Qt::white, 1));
    p.setBrush(QColor(0x08, 0x08, 0x18));
    p.drawRect(5, 6, 13, 10);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawRect(11, 10, 1, 1);
    p.drawRect(8, 8, 1, 1);
    p.drawRect(15, 13, 1, 1);
    drawItemBar(p, 0, QRect(2, 3, 6, 2));
    drawItemBar(p, 1, QRect(15, 3, 6, 2));
    drawItemBar(p, 2, QRect(7, 18, 9, 2));
    return QIcon(QPixmap::fromImage(image));
}

QImage layoutIllustration()
{
    QImage image(112, 113, QImage::Format_RGB32);
    image.fill(QColor(0x10, 0x10, 0x28));
    QPainter p(&image);
    p.setPen(Qt::NoPen);
    // Header bars: target name at the left, date at the right.
    drawItemBar(p, 0, QRect(10, 8, 42, 6));
    drawItemBar(p, 1, QRect(66, 10, 36, 4));
    // The photo inside its white border, with a few stars.
    p.setPen(QPen(Qt::white, 2));
    p.setBrush(QColor(0x04, 0x04, 0x0C));
    p.drawRect(15, 21, 82, 60);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xE8, 0xE8, 0xFF));
    const QPoint stars[] = {{30, 34}, {52, 44}, {74, 30}, {86, 58}, {40, 66}, {63, 71}, {24, 52}};
    for (const QPoint &s : stars)
        p.drawRect(s.x(), s.y(), 1, 1);
    p.setBrush(QColor(0xB0, 0xC0, 0xFF));
    p.drawEllipse(QPoint(58, 52), 5, 3);
    // Footer bars, one under the other.
    drawItemBar(p, 2, QRect(10, 88, 70, 5));
    drawItemBar(p, 3, QRect(10, 96, 54, 5));
    drawItemBar(p, 4, QRect(10, 104, 62, 5));
    p.end();
    return image.convertToFormat(QImage::Format_Indexed8, Qt::ThresholdDither);
}

QImage applicationImage(int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.scale(size / 64.0, size / 64.0);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x14, 0x18, 0x3A));
    p.drawRoundedRect(QRectF(2, 2, 60, 60), 8, 8);
    p.setBrush(itemColor(0));
    p.drawRoundedRect(QRectF(8, 8, 22, 5), 2, 2);
    p.setBrush(itemColor(1));
    p.drawRoundedRect(QRectF(38, 9, 18, 4), 2, 2);
    p.setPen(QPen(Qt::white, 3));
    p.setBrush(QColor(0x02, 0x02, 0x0A));
    p.drawRect(QRectF(10, 18, 44, 30));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xFF, 0xF4, 0xC0));
    // A bright star with four rays.
    QPainterPath star;
    star.moveTo(32, 25);
    star.lineTo(33.5, 31.5);
    star.lineTo(40, 33);
    star.lineTo(33.5, 34.5);
    star.lineTo(32, 41);
    star.lineTo(30.5, 34.5);
    star.lineTo(24, 33);
    star.lineTo(30.5, 31.5);
    star.closeSubpath();
    p.drawPath(star);
    p.drawEllipse(QPointF(18, 24), 1, 1);
    p.drawEllipse(QPointF(46, 42), 1, 1);
    p.drawEllipse(QPointF(47, 25), 0.8, 0.8);
    p.setBrush(itemColor(2));
    p.drawRoundedRect(QRectF(14, 52, 36, 4), 2, 2);
    return image;
}

QIcon applicationIcon()
{
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128, 256})
        icon.addPixmap(QPixmap::fromImage(applicationImage(size)));
    return icon;
}

} // namespace AppIcons
