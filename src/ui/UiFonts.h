#pragma once

#include <QFont>
#include <QString>

// The dialogs were laid out for the Windows Japanese faces. Where those are not installed, their
// metric twins from the IPA fonts stand in, so the texts keep their size and fit their controls.
namespace UiFonts {

inline constexpr const char16_t *PGothic = u"ＭＳ Ｐゴシック";
inline constexpr const char16_t *UIGothic = u"MS UI Gothic";

// A font of the Windows face `face` (one of the above) with its IPA stand-in as the fallback.
QFont windowsFace(const QString &face, int pointSize);

// The font of the dialogs: "ＭＳ Ｐゴシック", 9 points.
QFont dialogFont();

} // namespace UiFonts
