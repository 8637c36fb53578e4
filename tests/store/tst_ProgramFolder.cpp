#include "store/ProgramFolder.h"

#include <QDir>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

class tst_ProgramFolder : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void writableExecutableFolderIsUsed();
    void missingFolderFallsBackToConfigLocation();
};

void tst_ProgramFolder::writableExecutableFolderIsUsed()
{
    QTemporaryDir dir;
    QCOMPARE(ProgramFolder::resolve(dir.path()), QDir::toNativeSeparators(dir.path()));
    QCOMPARE(ProgramFolder::filePath(dir.path(), QStringLiteral("nolt.ini")),
             QDir::toNativeSeparators(dir.path() + QStringLiteral("/nolt.ini")));
}

void tst_ProgramFolder::missingFolderFallsBackToConfigLocation()
{
    QTemporaryDir dir;
    const QString gone = dir.filePath(QStringLiteral("gone"));
    QCOMPARE(ProgramFolder::resolve(gone),
             QDir::toNativeSeparators(
                 QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation)));
}

QTEST_GUILESS_MAIN(tst_ProgramFolder)
#include "tst_ProgramFolder.moc"
