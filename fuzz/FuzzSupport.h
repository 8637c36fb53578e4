#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QString>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

// What every fuzz target needs: a Qt application on the offscreen platform (fonts and image
// plugins), and a private folder where the input becomes a file for the readers that take paths.
namespace FuzzSupport {

inline QGuiApplication *application()
{
    static int argc = 1;
    static char name[] = "morvel-fuzz";
    static char *argv[] = {name, nullptr};
    static QGuiApplication *app = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        // Warnings from Qt's own image readers for every broken input would drown the output.
        qputenv("QT_LOGGING_RULES", "*=false");
        return new QGuiApplication(argc, argv);
    }();
    return app;
}

// The file name for this process; in memory when /dev/shm exists.
inline QString inputPath(const QString &fileName)
{
    static QTemporaryDir *dir = [] {
        const QString base = QDir(QStringLiteral("/dev/shm")).exists()
                                 ? QStringLiteral("/dev/shm/morvel-fuzz-XXXXXX")
                                 : QDir::tempPath() + QStringLiteral("/morvel-fuzz-XXXXXX");
        auto *d = new QTemporaryDir(base);
        if (!d->isValid()) {
            std::fprintf(stderr, "no temporary folder\n");
            std::abort();
        }
        std::atexit([] { delete dir; });
        return d;
    }();
    return dir->filePath(fileName);
}

inline QString writeInput(const QString &fileName, const uint8_t *data, size_t size)
{
    const QString path = inputPath(fileName);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(reinterpret_cast<const char *>(data), qint64(size)) != qint64(size)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        std::abort();
    }
    return path;
}

// Stops the run with a message libFuzzer reports as a crash, with the input saved.
[[noreturn]] inline void fail(const char *what, const QString &detail = QString())
{
    std::fprintf(stderr, "FUZZ CHECK FAILED: %s %s\n", what, qPrintable(detail));
    std::abort();
}

} // namespace FuzzSupport
