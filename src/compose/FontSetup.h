#pragma once

#include <QStringList>

// The Windows Japanese faces that templates name ("ＭＳ ゴシック", "ＭＳ Ｐゴシック", "ＭＳ 明朝",
// "ＭＳ Ｐ明朝", "MS UI Gothic") drawn with their metric twins from the IPA fonts, so that Latin
// and Japanese letters come from one font. Both programs call install() once, after the
// QGuiApplication exists and before any text is measured.
namespace FontSetup {

// Registers the substitutions for every face that is not installed itself.
void install();

// The same for the given faces only (the others are left alone). Asking whether a family is
// installed costs a fontconfig substitution pass each time, so a program that knows which faces
// it draws asks about those alone.
void install(const QStringList &faces);

// The names the panel's font lists offer: the installed families plus the faces above, sorted,
// without duplicates.
QStringList panelFontNames();

// The face a template names, and the installed family drawn for it (empty when none is needed).
QString substituteFor(const QString &face);

} // namespace FontSetup
