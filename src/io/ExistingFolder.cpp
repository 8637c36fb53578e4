#include "ExistingFolder.h"

#include <QFileInfo>

namespace {

bool isSeparator(QChar c)
{
#ifdef Q_OS_WIN
    return c == u'/' || c == u'\\';
#else
    return c == u'/';
#endif
}

} // namespace

QString existingFolder(const QString &path)
{
    if (path.isEmpty() || !QFileInfo(path).isFile())
        return {};
    qsizetype end = path.size();
    while (end > 0 && !isSeparator(path[end - 1]))
        --end;
    if (end == 0)
        return {};
    // Drop the separators before the name, but keep a root ("/", "C:\").
    qsizetype folderEnd = end - 1;
    while (folderEnd > 0 && isSeparator(path[folderEnd - 1]))
        --folderEnd;
    if (folderEnd == 0)
        return path.left(1);
#ifdef Q_OS_WIN
    if (folderEnd == 2 && path[1] == u':')
        return path.left(3);
#endif
    return path.left(folderEnd);
}
