#include "store/AppSettings.h"
#include "support/TestFiles.h"

#include <QTemporaryDir>
#include <QTest>

using TestFiles::readAll;
using TestFiles::writeAll;

class tst_AppSettings : public QObject
{
    Q_OBJECT

private slots:
    void createdFileBytesAndNewerPreferences()
    {
        QTemporaryDir dir;
        // The program's own folder is made on the first save.
        const QString path = dir.filePath(QStringLiteral("config/morvel/nolt.ini"));
        AppSettings nolt(QStringLiteral("F"), 15, 15);
        QVERIFY(nolt.load(path)); // no file: every default
        QVERIFY(nolt.save(path));
        QCOMPARE(readAll(path),
                 QByteArray("[Common]\r\n"
                            "Savepos=0\r\nx=0\r\ny=0\r\nwidth=9600\r\nheight=7200\r\n"
                            "DateFormat=0\r\nDelimFormat=0\r\nENGMONTH=0\r\n"
                            "LoadPath=F\r\nSavePath=F\r\nTemplatePath=F\r\n"
                            "[Margin]\r\n"
                            "FontVerticalBorder=10\r\nFontHorizonBorder=10\r\n"
                            "FrameHorizonBorder=20\r\nFontVerticalFrame=5\r\n"
                            "[Jpeg]\r\nQuality=80\r\nType=0\r\n"));
        // The default window is 640 x 480 pixels: at 120 dpi 12 twips a pixel, at 144 dpi 10.
        AppSettings large(QString(), 12, 10);
        large.load(dir.filePath(QStringLiteral("none.ini")));
        QCOMPARE(QSize(large.width(), large.height()), QSize(7680, 4800));

        // The newer preferences are written only once set.
        nolt.setSaveMetadata(false);
        nolt.setShrinkBox(QSize(3000, 1200));
        nolt.setShrinkLarge(true);
        nolt.setCaptionPattern(1, QStringLiteral("{EXPTIME}s"));
        nolt.setLanguage(AppSettings::Language::English);
        QVERIFY(nolt.save(path));
        const QByteArray tail =
            "[Photo]\r\nShrink=1\r\nShrinkWidth=3000\r\n[View]\r\nLanguage=1\r\n"
            "[Save]\r\nMetadata=0\r\n[Caption]\r\nLine2={EXPTIME}s\r\n";
        QVERIFY(readAll(path).endsWith("[Jpeg]\r\nQuality=80\r\nType=0\r\n" + tail));

        // Back to the defaults: the keys the file holds stay, with the default values.
        AppSettings back(QStringLiteral("F"), 15, 15);
        back.load(path);
        QCOMPARE(back.captionPattern(1), QStringLiteral("{EXPTIME}s"));
        QVERIFY(back.shrinkLarge());
        QVERIFY(!back.saveMetadata());
        back.setShrinkLarge(false);
        back.setSaveMetadata(true);
        QVERIFY(back.save(path));
        QVERIFY(readAll(path).endsWith("[Photo]\r\nShrink=0\r\nShrinkWidth=3000\r\n[View]\r\n"
                                       "Language=1\r\n[Save]\r\nMetadata=1\r\n[Caption]\r\n"
                                       "Line2={EXPTIME}s\r\n"));
    }
    void keepsForeignLinesOnSave()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("nolt.ini"));
        QVERIFY(writeAll(
            path, "[Common]\r\n; mine\r\nx=5\r\nExtra=1\r\nSavePath=/home/\x8e\xca\x90\x5e\r\n"
                  "[Jpeg]\r\nQuality=55\r\nType=3\r\n[Mine]\r\nz=9\r\n"
                  "[Margin]\r\nFontVerticalFrame=12\r\n"));
        AppSettings nolt(QStringLiteral("P"), 15, 15);
        nolt.load(path);
        QCOMPARE(nolt.savePath(), QStringLiteral("/home/写真"));
        nolt.setX(-60);
        QVERIFY(nolt.save(path));
        QCOMPARE(
            readAll(path),
            QByteArray("[Common]\r\n; mine\r\nx=-60\r\nExtra=1\r\nSavePath=/home/\x8e\xca\x90\x5e"
                       "\r\nSavepos=0\r\ny=0\r\nwidth=9600\r\nheight=7200\r\nDateFormat=0\r\n"
                       "DelimFormat=0\r\nENGMONTH=0\r\nLoadPath=P\r\nTemplatePath=P\r\n"
                       "[Jpeg]\r\nQuality=55\r\nType=3\r\n[Mine]\r\nz=9\r\n"
                       "[Margin]\r\nFontVerticalFrame=12\r\nFontVerticalBorder=10\r\n"
                       "FontHorizonBorder=10\r\nFrameHorizonBorder=20\r\n"));
    }
};

QTEST_GUILESS_MAIN(tst_AppSettings)
#include "tst_AppSettings.moc"
