#pragma once

#include <QString>

#include <optional>

// Where a footer line stands: at the left or right text margin, centred, or under the left or
// right edge of the footer line drawn above it. Templates store the codes 0 to 4.
enum class FooterAlign : qint32
{
    Left,
    Centre,
    Right,
    LeftOfAbove,
    RightOfAbove
};

// The template's code of an alignment; none for a number outside 0..4.
inline std::optional<FooterAlign> footerAlignFromCode(qint64 code)
{
    if (code < qint64(FooterAlign::Left) || code > qint64(FooterAlign::RightOfAbove))
        return std::nullopt;
    return FooterAlign(code);
}

// One of the five texts of the picture: 0 target name, 1 date and time, 2 to 4 footer lines.
// Colours are 0x00BBGGRR. The two measured fields are written by the layout.
struct TextItem
{
    QString text;
    QString fontName;
    qint32 fontSize = 0; // points
    qint32 fontColor = 0;
    bool fontBold = false;
    bool fontItalic = false;
    bool fontStrikethru = false;
    bool fontUnderline = false;
    // Footer items only; any value outside the five is drawn as left.
    FooterAlign fontAlign = FooterAlign::Left;
    qint32 measuredHeight = 0; // pixels, the font's line height even for an empty text
    qint32 measuredWidth = 0;  // pixels
};
