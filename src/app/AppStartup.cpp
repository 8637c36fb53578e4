#include "AppStartup.h"

#include "compose/FontSetup.h"
#include "store/ProgramFolder.h"
#include "store/Translations.h"
#include "ui/Twips.h"
#include "ui/UiFonts.h"

#include <QApplication>
#include <QFont>

namespace AppStartup {

void prepare(const QString &programFolder)
{
    FontSetup::install();
    QApplication::setFont(QFont(QString::fromUtf16(UiFonts::PGothic), 9));

    const Twips::PerPixel twips = Twips::screen();
    AppSettings settings(programFolder, twips.x, twips.y);
    settings.load(
        ProgramFolder::filePath(programFolder, QString::fromLatin1(AppSettings::FileName)));
    Translations::install(settings.language(),
                          Translations::folders(QCoreApplication::applicationDirPath()));
}

} // namespace AppStartup
