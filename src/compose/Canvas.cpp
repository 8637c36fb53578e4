#include "Canvas.h"

#include "TextItem.h"
#include "common/ImageMemory.h"

#include <QCoreApplication>
#include <cmath>

namespace Canvas {

bool makeFont(const TextItem &item, QFont *font, QString *error)
{
    if (item.fontSize < MinPointSize || item.fontSize > MaxPointSize) {
        if (error)
            *error =
                QCoreApplication::translate("Canvas", "フォントサイズ %1 は使えません（%2～%3）。")
                    .arg(item.fontSize)
                    .arg(MinPointSize)
                    .arg(MaxPointSize);
        return false;
    }
    QFont f;
    if (!item.fontName.isEmpty())
        f.setFamily(item.fontName);
    // Points to whole pixels at 96 dpi, rounded as the Windows canvas does.
    f.setPixelSize(int(std::lround(item.fontSize * double(Dpi) / 72.0)));
    f.setBold(item.fontBold);
    f.setItalic(item.fontItalic);
    f.setStrikeOut(item.fontStrikethru);
    f.setUnderline(item.fontUnderline);
    f.setKerning(false);
    f.setStyleStrategy(QFont::NoAntialias);
    *font = f;
    return true;
}

QImage makeImage(int width, int height)
{
    QImage image = ImageMemory::allocate(width, height, QImage::Format_RGB32);
    if (!image.isNull()) {
        image.setDotsPerMeterX(DotsPerMeter);
        image.setDotsPerMeterY(DotsPerMeter);
    }
    return image;
}

} // namespace Canvas
