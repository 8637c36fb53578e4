#include "AtomicFile.h"

#include <QBuffer>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
#include <cstring>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <unistd.h>
#endif

namespace {

QString systemError(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

bool fail(QString *reason, const QString &why)
{
    if (reason)
        *reason = why;
    return false;
}

// The contents are whole in memory before the file is touched; the room for them is taken
// first, so that a full disk stops the save while the old bytes are still there.
bool writeInPlace(const QString &path, const AtomicFile::Fill &fill, QString *reason)
{
    QByteArray contents;
    QBuffer buffer(&contents);
    buffer.open(QIODevice::WriteOnly);
    QString own;
    if (!fill(buffer, &own))
        return fail(reason, own.isEmpty() ? buffer.errorString() : own);
    buffer.close();

    QFile file(path);
    if (!file.open(QIODevice::ReadWrite)) // no truncation: the old bytes stay until replaced
        return fail(reason, file.errorString());
#ifdef Q_OS_UNIX
    if (contents.size() > file.size()) {
        const int error = posix_fallocate(file.handle(), 0, contents.size());
        if (error != 0 && error != EOPNOTSUPP && error != EINVAL)
            return fail(reason, systemError(error));
    }
#endif
    errno = 0;
    if (file.write(contents) != contents.size() || !file.flush() || !file.resize(contents.size()))
        return fail(reason, errno ? systemError(errno) : file.errorString());
#ifdef Q_OS_UNIX
    if (::fsync(file.handle()) != 0)
        return fail(reason, systemError(errno));
#endif
    return true;
}

} // namespace

namespace AtomicFile {

bool write(const QString &path, const Fill &fill, QString *reason)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        const QFileInfo target(path);
        if (target.isFile() && !QFileInfo(target.absolutePath()).isWritable())
            return writeInPlace(path, fill, reason);
        return fail(reason, file.errorString());
    }
    QString own;
    errno = 0;
    bool written = fill(file, &own);
    // QSaveFile::commit() takes no notice of a failed flush of its buffer (a full disk) and would
    // put a cut file in place: flush first.
    if (written) {
        errno = 0;
        written = file.flush();
    }
    if (!written) {
        const int error = errno;
        fail(reason, !own.isEmpty() ? own : error ? systemError(error) : file.errorString());
        file.cancelWriting();
        return false;
    }
    if (!file.commit())
        return fail(reason, file.errorString());
    return true;
}

bool write(const QString &path, QByteArrayView bytes, QString *reason)
{
    return write(
        path,
        [bytes](QIODevice &out, QString *) {
            return out.write(bytes.data(), bytes.size()) == bytes.size();
        },
        reason);
}

} // namespace AtomicFile
