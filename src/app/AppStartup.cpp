#include "AppStartup.h"

#include "compose/FontSetup.h"
#include "store/ProgramFolder.h"
#include "ui/Twips.h"
#include "ui/UiFonts.h"

#include <QApplication>
#include <QDir>
#include <QFont>
#include <QLibraryInfo>
#include <QTranslator>

namespace AppStartup {

QStringList translationFolders(const QString &applicationDir)
{
    const QDir dir(applicationDir);
    return {QDir::cleanPath(dir.filePath(QStringLiteral("translations"))),
            QDir::cleanPath(dir.filePath(QStringLiteral("../translations"))),
            QDir::cleanPath(dir.filePath(QStringLiteral("../share/morvel/translations")))};
}

QList<QTranslator *> installTranslations(clsNoltIO::Language language, const QStringList &folders)
{
    QList<QTranslator *> installed;
    const auto install = [&installed](const QString &name, const QString &folder) {
        // The translators live as long as the application.
        auto *translator = new QTranslator(QCoreApplication::instance());
        if (translator->load(name, folder) && QCoreApplication::installTranslator(translator)) {
            installed << translator;
            return true;
        }
        delete translator;
        return false;
    };
    if (language == clsNoltIO::Language::English) {
        for (const QString &folder : folders) {
            if (install(QStringLiteral("morvel_en"), folder))
                break;
        }
    } else {
        install(QStringLiteral("qtbase_ja"), QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    }
    return installed;
}

void prepare(const QString &programFolder)
{
    FontSetup::install();
    QApplication::setFont(QFont(QString::fromUtf16(UiFonts::PGothic), 9));

    const Twips::PerPixel twips = Twips::screen();
    clsNoltIO settings(programFolder, twips.x, twips.y);
    settings.OpenFile(
        ProgramFolder::filePath(programFolder, QString::fromLatin1(clsNoltIO::FileName)));
    installTranslations(settings.language(),
                        translationFolders(QCoreApplication::applicationDirPath()));
}

} // namespace AppStartup
