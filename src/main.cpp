#include "app/AppStartup.h"
#include "app/MainWindow.h"
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
    const ProgramFolder::Place place = ProgramFolder::locate(QApplication::applicationDirPath());
    AppStartup::prepare(place.folder);

    QtPlatformServices services;
    MainWindow window(&services, place);
    window.start();
    return QApplication::exec();
}
