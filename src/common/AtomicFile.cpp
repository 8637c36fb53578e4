#include "AtomicFile.h"

#include <QSaveFile>

#include <cerrno>
#include <cstring>

namespace AtomicFile {

bool write(const QString &path, const Fill &fill, QString *reason)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        if (reason)
            *reason = file.errorString();
        return false;
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
        if (reason)
            *reason = !own.isEmpty() ? own
                      : error        ? QString::fromLocal8Bit(std::strerror(error))
                                     : file.errorString();
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        if (reason)
            *reason = file.errorString();
        return false;
    }
    return true;
}

bool write(const QString &path, QByteArrayView bytes, QString *reason)
{
    return write(
        path,
        [bytes](QFileDevice &file, QString *) {
            return file.write(bytes.data(), bytes.size()) == bytes.size();
        },
        reason);
}

} // namespace AtomicFile
