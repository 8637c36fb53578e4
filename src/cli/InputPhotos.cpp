#include "InputPhotos.h"

#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

QStringList InputPhotos::keys(const QString &path)
{
    const QString canonical = QFileInfo(path).canonicalFilePath();
    if (canonical.isEmpty())
        return {};
    QStringList keys{QStringLiteral("path:") + canonical};
#ifdef Q_OS_UNIX
    struct stat info;
    if (::stat(QFile::encodeName(canonical).constData(), &info) == 0)
        keys << QStringLiteral("file:%1:%2").arg(quint64(info.st_dev)).arg(quint64(info.st_ino));
#endif
    return keys;
}

void InputPhotos::add(const QString &path)
{
    for (const QString &key : keys(path))
        m_photos.insert(key, path);
}

QString InputPhotos::overwrittenBy(const QString &output) const
{
    if (m_photos.isEmpty())
        return {};
    for (const QString &key : keys(output)) {
        const auto found = m_photos.constFind(key);
        if (found != m_photos.constEnd())
            return *found;
    }
    return {};
}
