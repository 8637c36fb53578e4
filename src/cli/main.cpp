#include "ComposeCommand.h"
#include "compose/FontSetup.h"
#include "store/ProgramFolder.h"

#include <QGuiApplication>
#include <QTextStream>
#include <cstdio>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

int main(int argc, char *argv[])
{
    // No window: fonts and images only.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("morvel-compose"));
    FontSetup::install();

    bool progress = false;
#ifdef Q_OS_UNIX
    progress = isatty(STDERR_FILENO) != 0;
#endif
    QTextStream out(stdout);
    QTextStream err(stderr);
    ComposeCommand command(ProgramFolder::resolve(QCoreApplication::applicationDirPath()), out, err,
                           progress);
    return command.run(QCoreApplication::arguments());
}
