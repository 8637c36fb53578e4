#include "common/Cp932.h"
#include "store/clsNoltIO.h"
#include "support/TestFiles.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using TestFiles::readAll;
using TestFiles::writeAll;

class tst_clsNoltIO : public QObject
{
    Q_OBJECT

private slots:
    void createdFileBytes();
    void readsValues_data();
    void readsValues();
    void keepsForeignLinesOnSave();
    void japanesePathRoundTrip();
    void failedSaveReportsAndKeepsFile();
    void extraPreferencesWrittenOnlyWhenSet();
};

void tst_clsNoltIO::createdFileBytes()
{
    QTemporaryDir dir;
    // The program's own folder is made on the first save.
    const QString path = dir.filePath(QStringLiteral("config/morvel/nolt.ini"));
    clsNoltIO nolt(QStringLiteral("F"), 15, 15);
    QVERIFY(nolt.OpenFile(path)); // no file: every default
    QVERIFY(nolt.SaveFile(path));
    QCOMPARE(readAll(path), QByteArray("[Common]\r\n"
                                       "Savepos=0\r\nx=0\r\ny=0\r\nwidth=9600\r\nheight=7200\r\n"
                                       "DateFormat=0\r\nDelimFormat=0\r\nENGMONTH=0\r\n"
                                       "LoadPath=F\r\nSavePath=F\r\nTemplatePath=F\r\n"
                                       "[Margin]\r\n"
                                       "FontVerticalBorder=10\r\nFontHorizonBorder=10\r\n"
                                       "FrameHorizonBorder=20\r\nFontVerticalFrame=5\r\n"
                                       "[Jpeg]\r\nQuality=80\r\nType=0\r\n"));
    // The default window is 640 x 480 pixels: at 120 dpi 12 twips a pixel, at 144 dpi 10.
    clsNoltIO large(QString(), 12, 10);
    large.OpenFile(dir.filePath(QStringLiteral("none.ini")));
    QCOMPARE(QSize(large.Width(), large.Height()), QSize(7680, 4800));
}

void tst_clsNoltIO::readsValues_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("property");
    QTest::addColumn<QVariant>("expected");

    QTest::newRow("only one margin set, the rest defaults")
        << QByteArray("[Margin]\r\nFontVerticalFrame=12\r\n") << "MarginFontVFrame" << QVariant(12);
    QTest::newRow("negative window position")
        << QByteArray("[Common]\r\nx=-60\r\n") << "X" << QVariant(-60);
    QTest::newRow("hex quality") << QByteArray("[Jpeg]\r\nQuality=0x50\r\n") << "JpegQuality"
                                 << QVariant(80);
    QTest::newRow("keys ignore case")
        << QByteArray("[COMMON]\r\nengmonth=1\r\n") << "ThreeCharMonth" << QVariant(1);
    QTest::newRow("600-byte path read whole")
        << QByteArray("[Common]\r\nLoadPath=" + QByteArray(600, 'a') + "\r\n") << "LoadPath"
        << QVariant(QString(600, u'a'));
    QTest::newRow("code page 932 path exact")
        << QByteArray("[Common]\r\nSavePath=/home/\x8e\xca\x90\x5e\r\n") << "SavePath"
        << QVariant(QStringLiteral("/home/写真"));
}

void tst_clsNoltIO::readsValues()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, property);
    QFETCH(QVariant, expected);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("nolt.ini"));
    QVERIFY(writeAll(path, file));
    clsNoltIO nolt(QStringLiteral("/prog"), 15, 15);
    QVERIFY(nolt.OpenFile(path));
    const QMap<QString, QVariant> values{
        {"MarginFontVFrame", nolt.MarginFontVFrame()},
        {"X", nolt.X()},
        {"JpegQuality", nolt.JpegQuality()},
        {"ThreeCharMonth", nolt.ThreeCharMonth()},
        {"LoadPath", nolt.LoadPath()},
        {"SavePath", nolt.SavePath()},
    };
    QCOMPARE(values.value(property), expected);
}

void tst_clsNoltIO::keepsForeignLinesOnSave()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("nolt.ini"));
    QVERIFY(writeAll(path,
                     "[Common]\r\n; mine\r\nx=5\r\nExtra=1\r\n[Jpeg]\r\nQuality=55\r\nType=3\r\n"
                     "[Mine]\r\nz=9\r\n"));
    clsNoltIO nolt(QStringLiteral("P"), 15, 15);
    nolt.OpenFile(path);
    QCOMPARE(nolt.JpegQuality(), 55);
    nolt.X(-60);
    QVERIFY(nolt.SaveFile(path));
    QCOMPARE(readAll(path),
             QByteArray("[Common]\r\n; mine\r\nx=-60\r\nExtra=1\r\nSavepos=0\r\ny=0\r\n"
                        "width=9600\r\nheight=7200\r\nDateFormat=0\r\nDelimFormat=0\r\n"
                        "ENGMONTH=0\r\nLoadPath=P\r\nSavePath=P\r\nTemplatePath=P\r\n"
                        "[Jpeg]\r\nQuality=55\r\nType=3\r\n[Mine]\r\nz=9\r\n"
                        "[Margin]\r\nFontVerticalBorder=10\r\nFontHorizonBorder=10\r\n"
                        "FrameHorizonBorder=20\r\nFontVerticalFrame=5\r\n"));
}

void tst_clsNoltIO::japanesePathRoundTrip()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("nolt.ini"));
    clsNoltIO nolt(QString(), 15, 15);
    nolt.OpenFile(path);
    nolt.TemplatePath(QStringLiteral("/home/星野/テンプレート"));
    QVERIFY(nolt.SaveFile(path));
    QByteArray expected;
    QVERIFY(Cp932::encode(QStringLiteral("TemplatePath=/home/星野/テンプレート\r\n"), &expected));
    QVERIFY(readAll(path).contains(expected));
    clsNoltIO back(QString(), 15, 15);
    back.OpenFile(path);
    QCOMPARE(back.TemplatePath(), QStringLiteral("/home/星野/テンプレート"));
}

void tst_clsNoltIO::failedSaveReportsAndKeepsFile()
{
    QTemporaryDir dir;
    const QString blocker = dir.filePath(QStringLiteral("folder"));
    QVERIFY(writeAll(blocker, "not a folder"));
    clsNoltIO nolt(QString(), 15, 15);
    QVERIFY(!nolt.SaveFile(blocker + QStringLiteral("/nolt.ini")));
    QVERIFY(!nolt.errorString().isEmpty());
    QCOMPARE(readAll(blocker), QByteArray("not a folder"));
}

void tst_clsNoltIO::extraPreferencesWrittenOnlyWhenSet()
{
    QTemporaryDir dir;
    // The program's own folder is made on the first save.
    const QString path = dir.filePath(QStringLiteral("config/morvel/nolt.ini"));
    clsNoltIO nolt(QStringLiteral("F"), 15, 15);
    nolt.OpenFile(path);
    QCOMPARE(nolt.shrinkBox(), QSize(1600, 1200));
    nolt.setShrinkBox(QSize(3000, 1200));
    nolt.setCaptionPattern(1, QStringLiteral("{EXPTIME}s"));
    nolt.setLanguage(clsNoltIO::Language::English);
    QVERIFY(nolt.SaveFile(path));
    const QByteArray tail = "[Photo]\r\nShrinkWidth=3000\r\n[View]\r\nLanguage=1\r\n"
                            "[Caption]\r\nLine2={EXPTIME}s\r\n";
    QVERIFY(readAll(path).endsWith("[Jpeg]\r\nQuality=80\r\nType=0\r\n" + tail));

    // Back to the defaults: the keys the file holds stay, with the default values.
    clsNoltIO back(QStringLiteral("F"), 15, 15);
    back.OpenFile(path);
    QCOMPARE(back.captionPattern(1), QStringLiteral("{EXPTIME}s"));
    QCOMPARE(back.captionPattern(0), clsNoltIO::defaultCaptionPattern(0));
    back.setShrinkBox(QSize(1600, 1200));
    back.setLanguage(clsNoltIO::Language::Japanese);
    QVERIFY(back.SaveFile(path));
    QVERIFY(readAll(path).endsWith("[Photo]\r\nShrinkWidth=1600\r\n[View]\r\nLanguage=0\r\n"
                                   "[Caption]\r\nLine2={EXPTIME}s\r\n"));
}

QTEST_GUILESS_MAIN(tst_clsNoltIO)
#include "tst_clsNoltIO.moc"
