#pragma once

#include "common/Cp932.h"

#include <QByteArray>
#include <QCryptographicHash>
#include <QFile>
#include <QString>
#include <QStringList>

#include <csignal>
#include <sys/resource.h>

// Files for the tests and fuzz targets: whole-file reads and writes, and a full disk that stops
// root too.
namespace TestFiles {

inline QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

inline bool writeAll(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size() && f.flush();
}

// The first 16 hex digits of the SHA-1 of a file's bytes or a picture's pixels.
inline QString digest(QByteArrayView bytes)
{
    return QString::fromLatin1(
        QCryptographicHash::hash(bytes, QCryptographicHash::Sha1).toHex().left(16));
}

// What a file of expected lines holds, for a test that compares what it saw with what it saw
// before; with MORVEL_UPDATE_GOLDEN set, `lines` are written to the file first (after an intended
// change: read the file's diff before committing it).
inline QStringList golden(const QString &path, const QStringList &lines)
{
    if (qEnvironmentVariableIsSet("MORVEL_UPDATE_GOLDEN"))
        writeAll(path, lines.join(u'\n').toUtf8() + '\n');
    return QString::fromUtf8(readAll(path)).split(u'\n', Qt::SkipEmptyParts);
}

// Text in code page 932, as Windows writes templates.
inline QByteArray cp932(const QString &text)
{
    QByteArray bytes;
    Cp932::encode(text, &bytes);
    return bytes;
}

// A full disk for this process: writes past `bytes` fail with EFBIG (SIGXFSZ is ignored, so the
// write returns an error instead of ending the process). Lifted again on destruction.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &m_old);
        rlimit limit = m_old;
        limit.rlim_cur = bytes;
        m_ok = setrlimit(RLIMIT_FSIZE, &limit) == 0;
        m_handler = std::signal(SIGXFSZ, SIG_IGN);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_handler);
    }
    FileSizeLimit(const FileSizeLimit &) = delete;
    FileSizeLimit &operator=(const FileSizeLimit &) = delete;
    bool ok() const { return m_ok; }

private:
    rlimit m_old{};
    void (*m_handler)(int) = nullptr;
    bool m_ok = false;
};

} // namespace TestFiles
