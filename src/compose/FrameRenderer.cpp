#include "FrameRenderer.h"

#include "Canvas.h"
#include "CheckedInt.h"
#include "FrameDescription.h"
#include "LayoutMargins.h"
#include "TextNumber.h"
#include "common/ColorRef.h"

#include <QCoreApplication>
#include <QFontMetricsF>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace {

// An overflow while the footer lines are placed.
ComposeOutcome footerOverflow()
{
    return ComposeOutcome::overflow(QCoreApplication::translate("FrameRenderer", "下の文字の位置"));
}

// Draws a text with its top-left corner at (x, y) in the item's font and colour, no background.
bool drawText(QPainter &painter, const TextItem &item, qint32 x, qint32 y, QString *error)
{
    QFont font;
    if (!Canvas::makeFont(item, &font, error))
        return false;
    if (item.text.isEmpty())
        return true;
    painter.setFont(font);
    painter.setPen(ColorRef::toColor(item.fontColor));
    const QFontMetricsF metrics(font, painter.device());
    painter.drawText(QPointF(x, y + std::round(metrics.ascent())), item.text);
    return true;
}

// The part of a rectangle given in 64-bit coordinates that lies on the canvas.
QRect clipped(qint64 left, qint64 top, qint64 right, qint64 bottom, const QImage &canvas)
{
    left = std::max<qint64>(left, 0);
    top = std::max<qint64>(top, 0);
    right = std::min<qint64>(right, canvas.width());
    bottom = std::min<qint64>(bottom, canvas.height());
    if (left >= right || top >= bottom)
        return {};
    return QRect(int(left), int(top), int(right - left), int(bottom - top));
}

} // namespace

namespace FrameRenderer {

qint32 halfBorder(qint32 borderWidth)
{
    return qint32(TextNumber::roundHalfUp(borderWidth * 0.5));
}

ComposeOutcome drawFrame(QImage &canvas, const FrameDescription &frame,
                         const LayoutMargins &margins, DrawnFrame *drawn)
{
    using CheckedInt::sub;
    using CheckedInt::sum;
    *drawn = DrawnFrame{};
    const auto &items = frame.textItems;
    const qint32 MFV = margins.marginFontVBorder;
    const qint32 MTH = margins.marginFontHBorder;
    const qint32 MVF = margins.marginFontVFrame;
    const qint32 W = frame.photoWidth;
    const qint32 H = frame.photoHeight;
    const double CW = canvas.width();
    const qint32 h0 = items[0].measuredHeight;
    const qint32 h1 = items[1].measuredHeight;
    const qint32 headerH = std::max(h0, h1);

    QPainter painter(&canvas);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setRenderHint(QPainter::TextAntialiasing, false);
    QString error;

    // The two header texts stand on one bottom line, flush with the left and right text margins.
    const auto baseLine = sum({headerH, MFV});
    const auto y0 = baseLine ? sub(*baseLine, h0) : std::nullopt;
    if (!y0)
        return ComposeOutcome::overflow(
            QCoreApplication::translate("FrameRenderer", "上の文字の位置"));
    if (!drawText(painter, items[0], MTH, *y0, &error))
        return ComposeOutcome::failed(error);
    drawn->textTopLeft[0] = QPoint(MTH, *y0);
    drawn->textDrawn[0] = true;

    const auto y1 = baseLine ? sub(*baseLine, h1) : std::nullopt;
    const auto x1 = TextNumber::roundHalfEven(CW - items[1].measuredWidth - MTH);
    if (!y1 || !x1)
        return ComposeOutcome::overflow(QCoreApplication::translate("FrameRenderer", "日時の位置"));
    if (!drawText(painter, items[1], *x1, *y1, &error))
        return ComposeOutcome::failed(error);
    drawn->textTopLeft[1] = QPoint(*x1, *y1);
    drawn->textDrawn[1] = true;

    const qint32 DW = frame.borderWidth;
    const qint32 half = halfBorder(DW);
    const auto left = TextNumber::roundHalfEven(TextNumber::roundHalfUp((CW - W) * 0.5 - half));
    const auto top = sum({*y1, h1, MVF, half});
    if (!left || !top)
        return ComposeOutcome::overflow(QCoreApplication::translate("FrameRenderer", "枠の位置"));
    drawn->borderLeft = *left;
    drawn->borderTop = *top;

    // The rectangle from (borderLeft, borderTop) to (borderLeft + DW + W, borderTop + DW + H)
    // with lines DW wide centred on its edges: the inside, W x H, starts at (+half, +half).
    const auto right = sum({*left, DW, W});
    const auto bottom = sum({*top, DW, H});
    if (!right || !bottom)
        return ComposeOutcome::overflow(QCoreApplication::translate("FrameRenderer", "枠の大きさ"));
    const qint64 inL = qint64(*left) + half, inT = qint64(*top) + half;
    const qint64 inR = inL + W, inB = inT + H; // exclusive
    const qint64 outL = inL - DW, outT = inT - DW, outR = inR + DW, outB = inB + DW;
    const QColor borderColor = ColorRef::toColor(frame.borderColor);
    for (const QRect &r :
         {clipped(outL, outT, outR, inT, canvas), clipped(outL, inB, outR, outB, canvas),
          clipped(outL, inT, inL, inB, canvas), clipped(inR, inT, outR, inB, canvas)}) {
        if (!r.isEmpty())
            painter.fillRect(r, borderColor);
    }
    drawn->borderOuter = QRect(int(outL), int(outT), int(outR - outL), int(outB - outT));
    drawn->photoArea = QRect(int(inL), int(inT), W, H);

    std::optional<qint32> y = sum({*bottom, half, MVF});
    if (!y)
        return footerOverflow();

    // Footer lines, one under the other; an empty one is skipped and is never "the item above".
    qint32 prevX = 0;
    qint32 prevW = 0;
    for (int i = 2; i < FrameDescription::ItemCount; ++i) {
        const TextItem &item = items[i];
        if (item.text.isEmpty())
            continue;
        const qint32 w = item.measuredWidth;
        // Flush right is CW - (w + MTH); under the item above, its right edge less w.
        const auto rightPart = sum({w, MTH});
        const auto aboveRight = sum({prevX, prevW});
        const auto underAbove = aboveRight ? sub(*aboveRight, w) : std::nullopt;
        double x = MTH;
        switch (item.fontAlign) {
        case FooterAlign::Centre:
            x = (CW - w) * 0.5;
            break;
        case FooterAlign::Right:
            if (!rightPart)
                return footerOverflow();
            x = CW - *rightPart;
            break;
        case FooterAlign::LeftOfAbove:
            x = prevX > 0 ? prevX : MTH;
            break;
        case FooterAlign::RightOfAbove:
            if (prevW > 0) {
                if (!underAbove)
                    return footerOverflow();
                x = *underAbove;
            } else {
                if (!rightPart)
                    return footerOverflow();
                x = CW - *rightPart;
            }
            break;
        case FooterAlign::Left:
        default:
            break;
        }
        const auto xi = TextNumber::roundHalfEven(x);
        if (!xi)
            return footerOverflow();
        prevW = w;
        prevX = *xi;
        if (!drawText(painter, item, *xi, *y, &error))
            return ComposeOutcome::failed(error);
        drawn->textTopLeft[i] = QPoint(*xi, *y);
        drawn->textDrawn[i] = true;
        y = sum({*y, item.measuredHeight});
        if (!y)
            return footerOverflow();
    }
    return ComposeOutcome::drawn();
}

void paintPhoto(QImage &canvas, const QImage &photo, QPoint topLeft)
{
    QPainter painter(&canvas);
    // An opaque photo is copied as it is; a transparent GIF lets the background show through.
    painter.setCompositionMode(photo.hasAlphaChannel() ? QPainter::CompositionMode_SourceOver
                                                       : QPainter::CompositionMode_Source);
    painter.drawImage(topLeft, photo);
}

} // namespace FrameRenderer
