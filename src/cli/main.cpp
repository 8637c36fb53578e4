#include "ComposeCommand.h"
#include "ComposeOptions.h"
#include "store/ProgramFolder.h"
#include "store/Translations.h"

#include <QGuiApplication>
#include <QLocale>
#include <QTextStream>
#include <cstdio>
#include <cstdlib>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace {

// The offscreen platform's note about a missing runtime folder is noise on a command line.
void filterMessages(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (type == QtWarningMsg &&
        message.startsWith(QLatin1String("QStandardPaths: XDG_RUNTIME_DIR")))
        return;
    std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
}

// The locale of messages as the C library takes it: LC_ALL, then LC_MESSAGES, then LANG; the
// system's language where none is set.
QString messagesLocale()
{
    for (const char *name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const QString value = qEnvironmentVariable(name);
        if (!value.isEmpty())
            return value;
    }
    return QLocale::system().name();
}

} // namespace

int main(int argc, char *argv[])
{
    qInstallMessageHandler(filterMessages);
    // No window: fonts and images only.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("morvel-compose"));
    Translations::install(ComposeOptions::language(QCoreApplication::arguments(), messagesLocale()),
                          Translations::folders(QCoreApplication::applicationDirPath()));

    bool progress = false;
#ifdef Q_OS_UNIX
    progress = isatty(STDERR_FILENO) != 0;
#endif
    QTextStream out(stdout);
    QTextStream err(stderr);
    ComposeCommand command(ProgramFolder::locate(QCoreApplication::applicationDirPath()).folder,
                           out, err, progress);
    const int status = command.run(QCoreApplication::arguments());
    // Every picture is written and synced by now: the messages out, and the process ends without
    // taking Qt, the plugins and the font tables apart piece by piece (the system frees it all).
    out.flush();
    err.flush();
    std::fflush(nullptr);
    std::_Exit(status);
}
