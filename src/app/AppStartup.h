#pragma once

// What the window program sets up before its first window: the fonts the templates name, the
// program's own Japanese UI font and Qt's own texts in Japanese. Call it once, after the
// QApplication is made.
namespace AppStartup {

void prepare();

} // namespace AppStartup
