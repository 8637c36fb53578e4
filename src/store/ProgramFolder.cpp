#include "ProgramFolder.h"
#include "AppSettings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace ProgramFolder {

namespace {

const char *const TakenOver[] = {AppSettings::FileName, "default.kvl"};

bool portable(const QFileInfo &executableFolder)
{
    if (!executableFolder.isDir() || !executableFolder.isWritable())
        return false;
#ifdef Q_OS_WIN
    return true;
#else
    const QDir dir(executableFolder.absoluteFilePath());
    return QFileInfo(dir.filePath(QLatin1String(AppSettings::FileName))).isFile() &&
           !QFileInfo::exists(dir.filePath(QStringLiteral("../CMakeCache.txt")));
#endif
}

QString picturesFolder()
{
    const QString pictures = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    return QFileInfo(pictures).isDir() ? pictures : QDir::homePath();
}

} // namespace

Place locate(const QString &executableFolder)
{
    const QFileInfo info(executableFolder);
    if (portable(info)) {
        const QString folder = QDir::toNativeSeparators(info.absoluteFilePath());
        return {folder, folder};
    }

    const QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
                           QStringLiteral("/morvel");
    if (!QFileInfo::exists(folder) && QDir().mkpath(folder) && info.isDir()) {
        const QDir from(info.absoluteFilePath());
        for (const char *name : TakenOver) {
            const QString source = from.filePath(QLatin1String(name));
            if (QFileInfo(source).isFile())
                QFile::copy(source, QDir(folder).filePath(QLatin1String(name)));
        }
    }
    return {QDir::toNativeSeparators(folder), QDir::toNativeSeparators(picturesFolder())};
}

QString filePath(const QString &folder, const QString &fileName)
{
    return QDir::toNativeSeparators(QDir(folder).filePath(fileName));
}

} // namespace ProgramFolder
