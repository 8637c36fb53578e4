#include "store/AppSettings.h"
#include "store/ProgramFolder.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using TestFiles::readAll;
using TestFiles::writeAll;

// Every case in a scratch home: HOME and XDG_CONFIG_HOME point into a temporary folder, the
// program sits in its "src" folder.
class tst_ProgramFolder : public QObject
{
    Q_OBJECT

private slots:
    void locate_data()
    {
        QTest::addColumn<bool>("noltNextToProgram");
        QTest::addColumn<bool>("buildFolder");
        QTest::addColumn<bool>("picturesExists");
        QTest::addColumn<bool>("portable");
        QTest::addColumn<bool>("takenOver");

        QTest::newRow("nolt.ini next to the program: portable")
            << true << false << true << true << false;
        QTest::newRow("build folder: settings taken over into the configuration folder")
            << true << true << true << false << true;
        QTest::newRow("install without settings: no Pictures folder, home instead")
            << false << false << false << false << false;
    }
    void locate()
    {
        QFETCH(bool, noltNextToProgram);
        QFETCH(bool, buildFolder);
        QFETCH(bool, picturesExists);
        QFETCH(bool, portable);
        QFETCH(bool, takenOver);

        QTemporaryDir root;
        const QDir dir(root.path());
        const QString home = dir.filePath(QStringLiteral("home"));
        const QString program = dir.filePath(QStringLiteral("build/src"));
        const QString config = dir.filePath(QStringLiteral("config/morvel"));
        QVERIFY(dir.mkpath(program) && dir.mkpath(home));
        qputenv("HOME", home.toLocal8Bit());
        qputenv("XDG_CONFIG_HOME", dir.filePath(QStringLiteral("config")).toLocal8Bit());
        const QByteArray nolt("[Common]\r\nx=1\r\n"), kvl("[Frame]\r\nPhotoSize=640x480\r\n");
        if (noltNextToProgram)
            QVERIFY(writeAll(program + QStringLiteral("/nolt.ini"), nolt) &&
                    writeAll(program + QStringLiteral("/default.kvl"), kvl));
        if (buildFolder)
            QVERIFY(writeAll(dir.filePath(QStringLiteral("build/CMakeCache.txt")), "# cache\n"));
        if (picturesExists)
            QVERIFY(dir.mkpath(QStringLiteral("home/Pictures")));

        const ProgramFolder::Place place = ProgramFolder::locate(program);
        const QString folder = portable ? program : config;
        const QString pictures =
            portable ? program : home + (picturesExists ? QStringLiteral("/Pictures") : QString());
        QCOMPARE(place.folder, QDir::toNativeSeparators(folder));
        QCOMPARE(place.pictures, QDir::toNativeSeparators(pictures));
        QVERIFY(QFileInfo(folder).isDir());
        QCOMPARE(readAll(config + QStringLiteral("/nolt.ini")), takenOver ? nolt : QByteArray());
        QCOMPARE(readAll(config + QStringLiteral("/default.kvl")), takenOver ? kvl : QByteArray());
        if (noltNextToProgram) // copied, never moved
            QCOMPARE(readAll(program + QStringLiteral("/default.kvl")), kvl);

        // The photo dialogs start in the pictures folder, the template dialogs in the settings
        // folder.
        AppSettings settings(place.folder, place.pictures, 15, 15);
        QVERIFY(settings.load(dir.filePath(QStringLiteral("none.ini"))));
        QCOMPARE(settings.loadPath(), place.pictures);
        QCOMPARE(settings.savePath(), place.pictures);
        QCOMPARE(settings.templatePath(), place.folder);
    }
};

QTEST_GUILESS_MAIN(tst_ProgramFolder)
#include "tst_ProgramFolder.moc"
