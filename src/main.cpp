#include "app/AppStartup.h"
#include "app/frmMdiMain.h"
#include "store/ProgramFolder.h"
#include "ui/PlatformServices.h"

#include <QApplication>

// Start-up: the fonts the templates name, Qt's own texts in Japanese, then the main window.
int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("morvel"));
    QApplication::setApplicationVersion(QStringLiteral("2.03"));
    QGuiApplication::setDesktopFileName(QStringLiteral("morvel"));
    AppStartup::prepare();

    QtPlatformServices services;
    frmMdiMain window(&services, ProgramFolder::locate(QApplication::applicationDirPath()));
    window.Form_Load();
    return QApplication::exec();
}
