#pragma once

#include "store/clsNoltIO.h"

#include <QList>
#include <QStringList>

class QTranslator;

// What the window program sets up before its first window: the fonts the templates name, the
// program's own Japanese UI font and the texts of the language the settings choose. Call it once,
// after the QApplication is made.
namespace AppStartup {

// Where the program's translations ("morvel_en.qm") are looked for, in this order: the
// "translations" folder beside the program and beside its parent (a build tree), then
// share/morvel/translations of the installation the program runs from.
QStringList translationFolders(const QString &applicationDir);

// Installs the texts of a language into the application. Japanese, the program's own language,
// adds Qt's Japanese texts; English adds "morvel_en" from the first folder that holds it, and Qt
// keeps its English texts. A translation that is not there leaves the texts as written. Returns
// the translators installed; the application owns them.
QList<QTranslator *> installTranslations(clsNoltIO::Language language, const QStringList &folders);

// Fonts, the UI font, and the texts of the language set in the settings of programFolder (the
// choice made in the settings dialog takes effect here, at the next start).
void prepare(const QString &programFolder);

} // namespace AppStartup
