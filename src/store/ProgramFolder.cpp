#include "ProgramFolder.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace ProgramFolder {

QString resolve(const QString &executableFolder)
{
    const QFileInfo info(executableFolder);
    if (info.isDir() && info.isWritable())
        return QDir::toNativeSeparators(info.absoluteFilePath());
    return QDir::toNativeSeparators(
        QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation));
}

QString filePath(const QString &folder, const QString &fileName)
{
    return QDir::toNativeSeparators(QDir(folder).filePath(fileName));
}

} // namespace ProgramFolder
