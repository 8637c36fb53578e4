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
    void windowSaveOnFullDisk_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("file"); // empty: the default template
        QTest::newRow("template through the menu")
            << "IDMI_SAVETEMPLATE" << QStringLiteral("m42.kvl");
        QTest::newRow("default template") << "IDMI_SETDEFAULT" << QString();
        QTest::newRow("picture as PNG") << "IDM_SAVEPHOTO" << QStringLiteral("m42.png");
    }
    void windowSaveOnFullDisk()
    {
        QFETCH(QString, command);
        QFETCH(QString, file);
        Session s;
        MainWindow &w = s.start();
        s.edit(QStringLiteral("txtTargetName"))->setText(QString(300, u'M')); // past the full disk
        const QString target = file.isEmpty() ? w.defaultTemplatePath() : s.path(file);
        const QByteArray old = "[Frame]\r\nPhotoSize=640x480\r\n"; // kept whatever its type
        QVERIFY(writeAll(target, old));
        const QStringList before = filesIn(s.dir.path());
        const QStringList folders{w.settings().savePath(), w.settings().templatePath()};
        const auto save = [&] {
            if (!file.isEmpty())
                s.services.saveAnswers.enqueue(target);
            w.findChild<QAction *>(command)->trigger();
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
        QCOMPARE((QStringList{w.settings().savePath(), w.settings().templatePath()}), folders);

        // With room again, the same command saves.
        save();
        QCOMPARE(s.services.messageCalls.size(), 1);
        QVERIFY(readAll(target).size() > qsizetype(kFullAt));
    }
    void killedInTheMiddle()
    {
        // Every save goes through the same atomic writer: a 1600 x 1200 BMP stands for them all.
        QTemporaryDir dir;
        const QString name = QStringLiteral("m42.bmp");
        const QString path = dir.filePath(name);
        QRandomGenerator random(20021231);
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

            // Whole: exactly one version from end to end, the colour of its first pixel (blue,
            // green, red after the 54 bytes of headers).
            const QByteArray bytes = readAll(path);
            QVERIFY(bytes.size() > 56);
            const int version = uchar(bytes[56]); // n % 251, and rounds stay below 251 versions
            QImage uniform(1600, 1200, QImage::Format_RGB32);
            uniform.fill(qRgb(version, uchar(bytes[55]), uchar(bytes[54])));
            QVERIFY(bytes == SavePicture::bmpBytes(uniform));
            // The last version reported saved, or the one after it when the kill came between the
            // commit and the report.
            QVERIFY2(version == versions - 1 || version == versions,
                     qPrintable(QStringLiteral("%1 of %2").arg(version).arg(versions)));
        }
    }
    void readOnlyFolderWritesInPlace_data()
    {
        QTest::addColumn<bool>("fileWritable"); // by the user who saves
        QTest::addColumn<bool>("diskFull");
        QTest::newRow("rewritten in place") << true << false;
        QTest::newRow("file the user may not write: refused") << false << false;
        QTest::newRow("full disk: refused before a byte changes") << true << true;
    }
    void readOnlyFolderWritesInPlace()
    {
        QFETCH(bool, fileWritable);
        QFETCH(bool, diskFull);
        // Root may write into every folder: the save then runs as "nobody" in a child process.
        const bool root = geteuid() == 0;
        const passwd *nobody = getpwnam("nobody");
        if (root && !nobody)
            QSKIP(
                "Running as root without a user \"nobody\" to save as: every folder is writable.");
        QTemporaryDir dir;
        const QString locked = dir.filePath(QStringLiteral("locked"));
        const QString path = locked + QStringLiteral("/m42.bmp");
        const QByteArray old = "old contents\r\n";
        QVERIFY(QDir().mkdir(locked) && writeAll(path, old));
        const QImage picture = HostileFiles::gradient(60, 40);
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
                answer = SavePicture::writeBmp(picture, path, &error) ? "1" : "0" + error.toUtf8();
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
        QCOMPARE(readAll(path), saved ? SavePicture::bmpBytes(picture) : old);
        struct stat after;
        QVERIFY(::stat(file, &after) == 0);
        QCOMPARE(after.st_ino, before.st_ino);
        QCOMPARE(filesIn(locked), QStringList{QFileInfo(path).fileName()});
    }
};

QTEST_MAIN(tst_SaveFaults)
#include "tst_SaveFaults.moc"
