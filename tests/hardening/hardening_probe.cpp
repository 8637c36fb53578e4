// A separate process for what a test cannot do to itself: measure the peak memory of one picture
// load, be killed in the middle of a save, or mount a small file system of its own.
//
//   hardening_probe load FILE      the preview's way: header, then pixels for an accepted size
//   hardening_probe decode FILE    the pixels whatever the header says
//   hardening_probe save-loop bmp|template PATH
//                                  saves version 0, 1, 2 ... over PATH until killed; prints
//                                  "saved N" after each
//   hardening_probe full-tmpfs DIR mounts a 256 KiB file system on DIR (in a mount namespace of
//                                  its own), fills it and tries to save onto it
//
// Results go to standard output as "key=value" lines.
#include "HostileFiles.h"
#include "compose/FrameLayout.h"
#include "io/LoadPicture.h"
#include "io/SavePicture.h"
#include "store/clsTemplateIO.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sched.h>
#include <sys/mount.h>
#include <unistd.h>

namespace {

// The peak resident size of this program since it started. Not getrusage(): its ru_maxrss
// carries the parent's peak over fork and exec.
long peakKilobytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    }
    return -1;
}

int load(const QString &path, bool throughHeader)
{
    QElapsedTimer timer;
    timer.start();
    QString result;
    QSize size;
    const LoadPicture::Header header = LoadPicture::readHeader(path);
    if (throughHeader && !header.ok()) {
        result = QStringLiteral("refused");
    } else if (throughHeader &&
               !FrameLayout::photoSizeAccepted(header.size.width(), header.size.height())) {
        result = QStringLiteral("size-refused");
        size = header.size;
    } else {
        const LoadPicture::Picture picture = LoadPicture::decode(path);
        result = picture.ok() ? QStringLiteral("shown") : QStringLiteral("refused");
        size = picture.image.size();
    }
    std::printf("result=%s\nwidth=%d\nheight=%d\nms=%lld\npeak_kb=%ld\n", qPrintable(result),
                size.width(), size.height(), timer.elapsed(), peakKilobytes());
    return 0;
}

// Version n of the saved file: every pixel or every text says n, so a torn file shows.
QImage bmpVersion(int n)
{
    QImage image(1600, 1200, QImage::Format_RGB32);
    image.fill(qRgb(n % 251, (n * 7) % 253, 128));
    return image;
}

clsTemplateIO templateVersion(int n)
{
    clsTemplateIO t;
    t.FrameSize(QStringLiteral("%1x%1").arg(100 + n));
    for (int i = 0; i < clsTemplateIO::ItemCount; ++i) {
        // About 2 MB of text in all, so that a save takes long enough to be cut.
        t.Data(i, QString(200000, QChar(u'あ' + n % 64)));
        t.FontSize(i, n);
    }
    t.Year(QString::number(n));
    return t;
}

int saveLoop(const QString &kind, const QString &path)
{
    for (int n = 0;; ++n) {
        QString error;
        bool ok;
        if (kind == QLatin1String("bmp")) {
            ok = SavePicture::writeBmp(bmpVersion(n), path, &error);
        } else {
            clsTemplateIO t = templateVersion(n);
            ok = t.SaveFile(path, true);
            error = t.errorString();
        }
        if (!ok) {
            std::printf("failed=%s\n", qPrintable(error));
            return 1;
        }
        std::printf("saved %d\n", n);
        std::fflush(stdout);
    }
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size() && f.flush();
}

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

int fullTmpfs(const QString &dir)
{
    const QByteArray mountPoint = QFile::encodeName(dir);
    // A mount namespace of our own, so that nothing outside sees the mount; a user namespace
    // as well when not root.
    int flags = CLONE_NEWNS;
    if (geteuid() != 0)
        flags |= CLONE_NEWUSER;
    if (unshare(flags) != 0) {
        std::printf("skip=unshare: %s\n", std::strerror(errno));
        return 0;
    }
    if (mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
        mount("morvel-test", mountPoint.constData(), "tmpfs", 0, "size=256k") != 0) {
        std::printf("skip=mount: %s\n", std::strerror(errno));
        return 0;
    }
    const QString tpl = dir + QStringLiteral("/m42.kvl");
    const QString bmp = dir + QStringLiteral("/m42.bmp");
    const QByteArray oldTemplate = HostileFiles::sampleTemplate();
    const QByteArray oldBmp = SavePicture::bmpBytes(HostileFiles::gradient(20, 20));
    if (!writeFile(tpl, oldTemplate) || !writeFile(bmp, oldBmp)) {
        std::printf("skip=cannot write the old files\n");
        return 0;
    }
    // Fill the file system, leaving a few kilobytes.
    QFile filler(dir + QStringLiteral("/filler"));
    filler.open(QIODevice::WriteOnly);
    const QByteArray block(4096, 'f');
    while (filler.write(block) == block.size() && filler.flush()) {
    }
    filler.close();
    filler.resize(filler.size() - 8192);

    clsTemplateIO t;
    t.OpenFile(tpl);
    t.Data(2, QString(100000, u'x'));
    const bool templateSaved = t.SaveFile(tpl, true);
    QString bmpError;
    const bool bmpSaved = SavePicture::writeBmp(HostileFiles::gradient(400, 300), bmp, &bmpError);
    const QStringList left = QDir(dir).entryList(QDir::Files | QDir::Hidden | QDir::System);
    std::printf("template_saved=%d\ntemplate_error=%s\ntemplate_intact=%d\n", templateSaved,
                qPrintable(t.errorString()), readFile(tpl) == oldTemplate);
    std::printf("bmp_saved=%d\nbmp_error=%s\nbmp_intact=%d\n", bmpSaved, qPrintable(bmpError),
                readFile(bmp) == oldBmp);
    std::printf("files=%s\n", qPrintable(left.join(u',')));
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    // Namespaces must be entered while the process has one thread, before Qt starts any.
    if (argc == 3 && std::strcmp(argv[1], "full-tmpfs") == 0)
        return fullTmpfs(QString::fromLocal8Bit(argv[2]));
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 3 && args[1] == QLatin1String("load"))
        return load(args[2], true);
    if (args.size() == 3 && args[1] == QLatin1String("decode"))
        return load(args[2], false);
    if (args.size() == 4 && args[1] == QLatin1String("save-loop"))
        return saveLoop(args[2], args[3]);
    std::fprintf(stderr, "usage: see the top of hardening_probe.cpp\n");
    return 2;
}
