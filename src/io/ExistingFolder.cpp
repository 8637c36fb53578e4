#include "ExistingFolder.h"

#include <QDir>
#include <QFileInfo>

QString existingFolder(const QString &path)
{
    const QFileInfo info(path);
    if (path.isEmpty() || !info.isFile())
        return {};
    return QDir::toNativeSeparators(info.absolutePath());
}
