#pragma once

#include "store/AppSettings.h"

#include <QList>
#include <QStringList>

class QTranslator;

// The program's translations: where "morvel_en.qm" lies and how a language is put in place. The
// window program takes the language from the settings, morvel-compose from the locale.
namespace Translations {

// Where "morvel_en.qm" is looked for, in this order: the "translations" folder beside the
// program and beside its parent (a build tree), then share/morvel/translations of the
// installation the program runs from.
QStringList folders(const QString &applicationDir);

// Installs the texts of a language into the application. Japanese, the program's own language,
// adds Qt's Japanese texts; English adds "morvel_en" from the first folder that holds it, and Qt
// keeps its English texts. A translation that is not there leaves the texts as written. Returns
// the translators installed; the application owns them.
QList<QTranslator *> install(AppSettings::Language language, const QStringList &folders);

// Japanese for a Japanese locale name ("ja", "ja_JP.UTF-8"), English for any other ("C", "",
// "en_GB.UTF-8", "de_DE").
AppSettings::Language fromLocaleName(const QString &name);

} // namespace Translations
