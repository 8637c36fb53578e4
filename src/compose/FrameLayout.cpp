#include "FrameLayout.h"

#include "Canvas.h"
#include "CheckedInt.h"
#include "FrameDescription.h"
#include "LayoutMargins.h"
#include "TextMeasurer.h"
#include "TextNumber.h"

#include <QCoreApplication>
#include <algorithm>

namespace {

const char16_t *const kThreeSpaces = u"   ";
} // namespace

namespace FrameLayout {

bool photoSizeAccepted(qint32 width, qint32 height)
{
    return width >= MinPhotoWidth && width <= MaxPhotoWidth && height >= MinPhotoHeight &&
           height <= MaxPhotoHeight;
}

ComposeOutcome layOut(FrameDescription &frame, const LayoutMargins &margins,
                      const TextMeasurer &measurer, QSize *canvasSize)
{
    using namespace CheckedInt;
    const qint32 W = frame.photoWidth;
    const qint32 H = frame.photoHeight;
    if (!photoSizeAccepted(W, H))
        return ComposeOutcome::layoutRefused();

    // The canvas's line width is a 16-bit value, and only 1 to 32767 draws.
    const qint32 DW = frame.borderWidth;
    if (DW < -32768 || DW > 32767)
        return ComposeOutcome::overflow(
            QCoreApplication::translate("FrameLayout", "枠の太さ %1").arg(DW));
    if (DW < 1)
        return ComposeOutcome::failed(
            QCoreApplication::translate("FrameLayout", "枠の太さ %1 では描けません。").arg(DW));

    for (TextItem &item : frame.textItems) {
        QFont font;
        QString error;
        if (!Canvas::makeFont(item, &font, &error))
            return ComposeOutcome::failed(error);
        const QSizeF size = measurer.measure(item, item.text);
        const auto w = TextNumber::roundHalfEven(size.width());
        const auto h = TextNumber::roundHalfEven(size.height());
        if (!w || !h)
            return ComposeOutcome::overflow(
                QCoreApplication::translate("FrameLayout", "文字の大きさ"));
        item.measuredWidth = *w;
        item.measuredHeight = *h;
    }
    const auto &items = frame.textItems;

    const qint32 MFH = margins.marginFrameHBorder;
    const qint32 MTH = margins.marginFontHBorder;
    const qint32 MFV = margins.marginFontVBorder;
    const qint32 MVF = margins.marginFontVFrame;

    // Width: the border width counts once here.
    std::optional<qint32> width = sum({mul(2, MFH), W, DW});
    if (!width)
        return ComposeOutcome::overflow(QCoreApplication::translate("FrameLayout", "画像の幅"));
    const auto twoMth = mul(2, MTH);
    if (!twoMth)
        return ComposeOutcome::overflow(QCoreApplication::translate("FrameLayout", "文字の余白"));
    const double spaces = measurer.measure(items[4], QString::fromUtf16(kThreeSpaces)).width();
    const auto headerNeed = TextNumber::roundHalfEven(spaces + items[1].measuredWidth +
                                                      items[0].measuredWidth + *twoMth + DW);
    if (!headerNeed)
        return ComposeOutcome::overflow(QCoreApplication::translate("FrameLayout", "見出しの幅"));
    width = std::max(*width, *headerNeed);

    // Height: 2 x DW is computed in 16 bits.
    std::optional<qint32> height =
        sum({mul(2, MFV), H, mul16(2, DW), mul(2, MVF),
             std::max(items[0].measuredHeight, items[1].measuredHeight)});
    if (!height)
        return ComposeOutcome::overflow(QCoreApplication::translate("FrameLayout", "画像の高さ"));

    for (int i = 2; i < FrameDescription::ItemCount; ++i) {
        const auto need = sum({*twoMth, items[i].measuredWidth, DW});
        if (!need)
            return ComposeOutcome::overflow(
                QCoreApplication::translate("FrameLayout", "下の文字の幅"));
        width = std::max(*width, *need);
        if (!items[i].text.isEmpty()) {
            height = sum({*height, items[i].measuredHeight});
            if (!height)
                return ComposeOutcome::overflow(
                    QCoreApplication::translate("FrameLayout", "下の文字の高さ"));
        }
    }

    if (*width < 1 || *height < 1 || *width > MaxCanvasSide || *height > MaxCanvasSide) {
        return ComposeOutcome::failed(
            QCoreApplication::translate("FrameLayout", "%1x%2 の大きさの画像は作れません。")
                .arg(*width)
                .arg(*height));
    }
    *canvasSize = QSize(*width, *height);
    return ComposeOutcome::drawn();
}

} // namespace FrameLayout
