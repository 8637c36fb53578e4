// Saves that cannot finish: the disk is full, the folder is read-only, the process is killed
// halfway. The old file stays as it was or the new one is whole, the user is told, and the
// program goes on. CI runs as root, so the faults used here are ones that stop root too.
#include "HostileFiles.h"
#include "app/AppSession.h"
#include "app/PreviewWindow.h"
#include "io/SavePicture.h"
#include "support/TestFiles.h"

#include <QProcess>
#include <QRandomGenerator>
#include <QTest>

#include <optional>

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using TestFiles::FileSizeLimit;
using TestFiles::readAll;
using TestFiles::writeAll;

namespace {

QStringList filesIn(const QString &dir)
{
    return QDir(dir).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
}

constexpr rlim_t kFullAt = 512;

} // namespace

class tst_SaveFaults : public QObject
{
    Q_OBJECT

private slots:
    void windowSaveOnFullDisk_data();
    void windowSaveOnFullDisk();
    void killedInTheMiddle();
    void readOnlyFolderWritesInPlace_data();
    void readOnlyFolderWritesInPlace();
};

void tst_SaveFaults::windowSaveOnFullDisk_data()
{
    QTest::addColumn<QString>("command");
    QTest::newRow("template through the menu") << "template";
    QTest::newRow("default template") << "default";
    QTest::newRow("picture as PNG") << "picture";
}

void tst_SaveFaults::windowSaveOnFullDisk()
{
    QFETCH(QString, command);
    Session s;
    MainWindow &w = s.start();
    QVERIFY(w.previewWindow() && w.previewWindow()->isVisible());
    const bool picture = command == u"picture";
    if (!picture)
        s.edit(QStringLiteral("txtTargetName"))->setText(QString(300, u'M'));
    const QString target = command == u"default" ? w.defaultTemplatePath()
                                                 : s.path(picture ? QStringLiteral("m42.png")
                                                                  : QStringLiteral("m42.kvl"));
    const QByteArray old = picture ? SavePicture::bmpBytes(HostileFiles::gradient(30, 20))
                                   : QByteArray("[Frame]\r\nPhotoSize=640x480\r\n");
    QVERIFY(writeAll(target, old));
    const QString savePath = w.settings().savePath();
    const QString templatePath = w.settings().templatePath();
    const QStringList before = filesIn(s.dir.path());
    const auto save = [&] {
        if (command != u"default")
            s.services.saveAnswers.enqueue(target);
        if (picture)
            w.savePicture();
        else if (command == u"default")
            w.saveStartupTemplate();
        else
            w.findChild<QAction *>(QStringLiteral("IDMI_SAVETEMPLATE"))->trigger();
    };
    {
        FileSizeLimit full(kFullAt);
        QVERIFY(full.ok());
        save();
    }
    QCOMPARE(s.services.messageCalls.size(), 1);
    const auto &told = s.services.messageCalls.first();
    QCOMPARE(told.icon, QMessageBox::Warning);
    QVERIFY2(told.text.contains(QDir::toNativeSeparators(target)), qPrintable(told.text));
    QCOMPARE(readAll(target), old);
    QCOMPARE(filesIn(s.dir.path()), before);
    QCOMPARE(w.settings().savePath(), savePath);
    QCOMPARE(w.settings().templatePath(), templatePath);
    QVERIFY(w.isVisible() && w.previewWindow()->isVisible());

    // With room again, the same command saves.
    save();
    QCOMPARE(s.services.messageCalls.size(), 1);
    QVERIFY(readAll(target).size() > qsizetype(kFullAt));
}

void tst_SaveFaults::killedInTheMiddle()
{
    // Every save goes through the same atomic writer: a 1600 x 1200 BMP stands for them all.
    QTemporaryDir dir;
    const QString name = QStringLiteral("m42.bmp");
    const QString path = dir.filePath(name);
    QRandomGenerator random(20021231);
    int tempFilesLeft = 0;
    int lastVersion = -1;
    for (int round = 0; round < 4; ++round) {
        QProcess process;
        process.start(QStringLiteral(HARDENING_PROBE), {QStringLiteral("save-loop"), path});
        // The first save of each round replaces the file the round before left.
        QByteArray out;
        while (!out.contains("saved 0\n") && process.waitForReadyRead(30000))
            out += process.readAllStandardOutput();
        QVERIFY2(out.contains("saved 0\n"), out.constData());
        QTest::qSleep(int(random.bounded(1000)));
        process.kill();
        QVERIFY(process.waitForFinished());
        out += process.readAllStandardOutput();
        const int versions = int(out.count("saved "));

        // Whole: exactly one version from end to end.
        const QByteArray bytes = readAll(path);
        QCOMPARE(bytes.size(), 54 + 1600 * 1200 * 3);
        const QImage image = QImage::fromData(bytes, "BMP").convertToFormat(QImage::Format_RGB32);
        const QRgb first = image.pixel(0, 0);
        QImage uniform(1600, 1200, QImage::Format_RGB32);
        uniform.fill(first);
        QCOMPARE(image, uniform);
        const int version = qRed(first); // n % 251, and rounds stay below 251 versions
        // The last version reported saved, or the one after it when the kill came between the
        // commit and the report.
        QVERIFY2(version == versions - 1 || version == versions,
                 qPrintable(QStringLiteral("%1 of %2").arg(version).arg(versions)));
        lastVersion = version;

        for (const QString &f : filesIn(dir.path())) {
            tempFilesLeft += f != name;
            if (f != name)
                QFile::remove(dir.filePath(f));
        }
    }
    qInfo("4 kills, last version %d, %d temporary files left", lastVersion, tempFilesLeft);
    // Where the file system has unnamed temporary files, QSaveFile names its file only at the
    // commit, for an instant: a kill leaves nothing behind.
    const int fd = ::open(QFile::encodeName(dir.path()).constData(), O_TMPFILE | O_WRONLY, 0600);
    if (fd >= 0) {
        ::close(fd);
        QCOMPARE(tempFilesLeft, 0);
    }
}

void tst_SaveFaults::readOnlyFolderWritesInPlace_data()
{
    QTest::addColumn<bool>("fileWritable"); // by the user who saves
    QTest::addColumn<bool>("diskFull");
    QTest::newRow("rewritten in place") << true << false;
    QTest::newRow("file the user may not write: refused") << false << false;
    QTest::newRow("full disk: refused before a byte changes") << true << true;
}

void tst_SaveFaults::readOnlyFolderWritesInPlace()
{
    QFETCH(bool, fileWritable);
    QFETCH(bool, diskFull);
    // Root may write into every folder: the save then runs as "nobody" in a child process.
    const bool root = geteuid() == 0;
    const passwd *nobody = getpwnam("nobody");
    if (root && !nobody)
        QSKIP("Running as root without a user \"nobody\" to save as: every folder is writable.");
    QTemporaryDir dir;
    const QString locked = dir.filePath(QStringLiteral("locked"));
    const QString path = locked + QStringLiteral("/m42.bmp");
    const QString link = dir.filePath(QStringLiteral("link"));
    const QByteArray old = "old contents\r\n";
    QVERIFY(QDir().mkdir(locked) && writeAll(path, old));
    QVERIFY(::link(QFile::encodeName(path), QFile::encodeName(link)) == 0);
    const QImage picture = HostileFiles::gradient(60, 40);
    const auto save = [&](const QString &target, QString *error) {
        return SavePicture::writeBmp(picture, target, error);
    };
    const QByteArray expected = SavePicture::bmpBytes(picture);
    QString error;
    const QByteArray file = QFile::encodeName(path);
    const mode_t mode = fileWritable ? 0640 : 0444;
    QVERIFY(::chmod(file, mode) == 0 && ::chmod(QFile::encodeName(dir.path()), 0755) == 0);
    if (root && fileWritable)
        QVERIFY(::chown(file, nobody->pw_uid, nobody->pw_gid) == 0);
    QVERIFY(::chmod(QFile::encodeName(locked), root ? 0755 : 0555) == 0);
    struct stat before;
    QVERIFY(::stat(file, &before) == 0);

    int channel[2];
    QVERIFY(::pipe(channel) == 0);
    const pid_t child = ::fork();
    if (child == 0) {
        QByteArray answer = "s";
        if (!root || (::setgid(nobody->pw_gid) == 0 && ::setuid(nobody->pw_uid) == 0)) {
            std::optional<FileSizeLimit> full;
            if (diskFull)
                full.emplace(kFullAt);
            answer = save(path, &error) ? "1" : "0" + error.toUtf8();
        }
        ::write(channel[1], answer.constData(), size_t(answer.size()));
        ::_exit(0);
    }
    ::close(channel[1]);
    QFile fromChild;
    QVERIFY(fromChild.open(channel[0], QIODevice::ReadOnly, QFileDevice::AutoCloseHandle));
    const QByteArray answer = fromChild.readAll();
    ::waitpid(child, nullptr, 0);
    ::chmod(QFile::encodeName(locked), 0755);
    if (answer == "s")
        QSKIP("Cannot become \"nobody\" to save as another user.");

    const bool saved = fileWritable && !diskFull;
    QCOMPARE(answer.left(1), saved ? QByteArray("1") : QByteArray("0"));
    QVERIFY(saved || answer.size() > 1); // a failure says why
    QCOMPARE(readAll(path), saved ? expected : old);
    QCOMPARE(readAll(link), readAll(path));
    struct stat after;
    QVERIFY(::stat(file, &after) == 0);
    QCOMPARE(after.st_ino, before.st_ino);
    QCOMPARE(after.st_nlink, nlink_t(2));
    QCOMPARE(after.st_mode & 07777, mode);
    QCOMPARE(after.st_uid, before.st_uid);
    QCOMPARE(filesIn(locked), QStringList{QFileInfo(path).fileName()});
}

QTEST_MAIN(tst_SaveFaults)
#include "tst_SaveFaults.moc"
