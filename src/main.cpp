#include "app/frmMdiMain.h"
#include "compose/FontSetup.h"
#include "store/ProgramFolder.h"
#include "ui/PlatformServices.h"

#include <QApplication>
#include <QFont>
#include <QLibraryInfo>
#include <QTranslator>

// Start-up: the fonts the templates name, Qt's own texts in Japanese, then the main window.
int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("morvel"));
    QApplication::setApplicationVersion(QStringLiteral("2.03"));
    QGuiApplication::setDesktopFileName(QStringLiteral("morvel"));
    FontSetup::install();
    QApplication::setFont(QFont(QStringLiteral("ＭＳ Ｐゴシック"), 9));

    QTranslator qtTranslator;
    if (qtTranslator.load(QStringLiteral("qtbase_ja"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTranslator);

    QtPlatformServices services;
    frmMdiMain window(&services, ProgramFolder::resolve(QApplication::applicationDirPath()));
    window.Form_Load();
    return QApplication::exec();
}
