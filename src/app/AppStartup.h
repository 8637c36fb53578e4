#pragma once

#include <QString>

// What the window program sets up before its first window: the fonts the templates name, the
// program's own Japanese UI font and the texts of the language the settings choose. Call it once,
// after the QApplication is made.
namespace AppStartup {

// Fonts, the UI font, and the texts of the language set in the settings of programFolder (the
// choice made in the settings dialog takes effect here, at the next start).
void prepare(const QString &programFolder);

} // namespace AppStartup
