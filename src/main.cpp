#include "app/AppStartup.h"
#include "app/frmMdiMain.h"
#include "store/ProgramFolder.h"
#include "ui/PlatformServices.h"

#include <QApplication>

// Start-up: the fonts the templates name, the texts of the language chosen, then the main window.
int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("morvel"));
    QApplication::setApplicationVersion(QStringLiteral("2.03"));
    QGuiApplication::setDesktopFileName(QStringLiteral("morvel"));
    const QString programFolder = ProgramFolder::resolve(QApplication::applicationDirPath());
    AppStartup::prepare(programFolder);

    QtPlatformServices services;
    frmMdiMain window(&services, programFolder);
    window.Form_Load();
    return QApplication::exec();
}
