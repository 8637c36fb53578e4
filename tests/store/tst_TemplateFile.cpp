#include "store/TemplateFile.h"
#include "support/TestFiles.h"

#include <QTemporaryDir>
#include <QTest>

using TestFiles::cp932;
using TestFiles::readAll;
using TestFiles::writeAll;

namespace {

QByteArray itemSection(int i, const QByteArray &extra = QByteArray())
{
    return "[Header-" + QByteArray::number(i) +
           "]\r\nData=\r\nFontName=\r\nFontSize=0\r\nFontColor=0x0\r\nFontBold=False\r\n"
           "FontItalic=False\r\nFontStrikethru=False\r\nFontUnderline=False\r\nFontAlign=0\r\n" +
           extra;
}

} // namespace

class tst_TemplateFile : public QObject
{
    Q_OBJECT

private slots:
    void newObjectFileBytesNeverOverwritten()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("new.kvl"));
        TemplateFile t;
        QVERIFY(t.save(path, false));
        const QByteArray expected =
            "[Frame]\r\nPhotoSize=\r\nBackground=0x0\r\nBorderColor=0x0\r\nBorderWidth=0\r\n" +
            itemSection(0) + itemSection(1, "Month=0\r\nDay=0\r\nYear=\r\nTime=\r\n") +
            itemSection(2) + itemSection(3) + itemSection(4);
        QCOMPARE(readAll(path), expected);

        // Without the flag the file stays. A folder is no template: nothing read changes the object
        // (a missing file is the command line's test). An empty boolean fails the load.
        t.setFrameSize(QStringLiteral("1x1"));
        QVERIFY(!t.save(path, false));
        QCOMPARE(readAll(path), expected);
        QVERIFY(!t.load(dir.path()));
        QCOMPARE(t.frameSize(), QStringLiteral("1x1"));
        QVERIFY(writeAll(path, "[Header-2]\r\nFontItalic=\r\n"));
        QVERIFY(!t.load(path));
        QVERIFY(t.errorString().contains(QStringLiteral("FontItalic")));
    }
    void roundTripEveryProperty()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("all.kvl"));
        TemplateFile t;
        t.setFrameSize(QStringLiteral("640x480"));
        t.setBackColor(-2); // eight hex digits
        t.setBorderColor(0xFFFFFF);
        t.setBorderWidth(3);
        t.setMonth(11);
        t.setDay(30);
        t.setYear(QStringLiteral("2001"));
        t.setTime(QStringLiteral("22:30 JST"));
        for (int i = 0; i < 5; ++i) {
            if (i != 1)
                t.setData(i, QStringLiteral("オリオン大星雲 M42 #%1").arg(i));
            t.setFontName(i, i % 2 ? QStringLiteral("ＭＳ 明朝") : QStringLiteral("DejaVu Sans"));
            t.setFontSize(i, 8 + i);
            t.setFontColor(i, 0x010203 * (i + 1));
            t.setFontBold(i, i == 0);
            t.setFontItalic(i, i == 1);
            t.setFontStrikethru(i, i == 2);
            t.setFontUnderline(i, i == 3);
            t.setFontAlign(i, i >= 2 ? i : 0);
        }
        // 900 bytes of code page 932: far past the 255-byte buffer old readers cut at.
        t.setData(4, QString(450, u'星'));
        t.setSubframeFolder(QStringLiteral("/夜/M42 lights"));
        QVERIFY(t.save(path, true));

        // The sub-frame folder's section at the end is the window's test. Read back and saved again
        // from nothing, every property gives the same bytes.
        TemplateFile r;
        QVERIFY(r.load(path));
        const QString again = dir.filePath(QStringLiteral("again.kvl"));
        QVERIFY(r.save(again, false));
        QCOMPARE(readAll(again), readAll(path));
        QVERIFY(readAll(path).contains("Background=0xFFFFFFFE\r\n"));
        // A folder forgotten is cleared in the file that held it.
        r.setSubframeFolder(QString());
        QVERIFY(r.save(path, true) && r.load(path));
        QCOMPARE(r.subframeFolder(), QString());
        QVERIFY(readAll(path).endsWith("[Subframes]\r\nFolder=\r\n"));
        // The sky overlay in its section, every value read back; turned off, the file says so.
        const TemplateSky sky{true,  TemplateSky::TopLeft,        false, true,
                              false, QStringLiteral("ＭＳ 明朝"), 14,    0x123456};
        r.setSky(sky);
        QVERIFY(r.save(path, true) && t.load(path));
        QVERIFY(t.sky() == sky);
        QVERIFY(readAll(path).endsWith("[Sky]\r\nOverlay=True\r\nCorner=0\r\nCompass=False\r\n"
                                       "ScaleBar=True\r\nLabels=False\r\nFontName=" +
                                       cp932(sky.fontName) +
                                       "\r\nFontSize=14\r\nColor=0x123456\r\n"));
        r.setSky(TemplateSky{});
        QVERIFY(r.save(path, true) && t.load(path));
        QVERIFY(t.sky() == TemplateSky{});
        QVERIFY(readAll(path).contains("[Sky]\r\nOverlay=False\r\n"));
    }
    void handWrittenWindowsFile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("win.kvl"));
        const QByteArray original =
            "; made by hand\r\n[Frame]\r\nPhotoSize=800x600\r\nOwner=me\r\n"
            "[Header-0]\r\nData=  " +
            cp932(QStringLiteral("アンドロメダ銀河 ～ M31")) +
            "  \r\nFontName=" + cp932(QStringLiteral("ＭＳ Ｐ明朝")) +
            "\r\nFontBold=true\r\nFontItalic=-1\r\nFontUnderline=0\r\nFontColor=255\r\n"
            "[Extra]\r\nk=v\r\n";
        QVERIFY(writeAll(path, original));

        TemplateFile t;
        t.setMonth(5); // a file without a date section resets the date to its defaults
        t.setDay(7);
        QVERIFY(t.load(path));
        QCOMPARE(t.frameSize(), QStringLiteral("800x600"));
        QCOMPARE(t.data(0), QStringLiteral("アンドロメダ銀河 ～ M31"));
        QCOMPARE(t.fontName(0), QStringLiteral("ＭＳ Ｐ明朝"));
        QVERIFY(t.fontBold(0) && t.fontItalic(0) && !t.fontUnderline(0));
        // Month, day, font colour, background, border colour and width, font size: the keys it
        // lacks take their defaults.
        QCOMPARE((QList<qint32>{t.month(), t.day(), t.fontColor(0), t.backColor(), t.borderColor(),
                                t.borderWidth(), t.fontSize(0)}),
                 (QList<qint32>{0, 0, 255, 0, 0xFFFFFF, 1, 10}));
        QCOMPARE(t.fontName(3), QStringLiteral("ＭＳ ゴシック"));

        QVERIFY(t.save(path, true));
        // Lines the template does not know keep their bytes (the hostile templates' test).
        const QByteArray saved = readAll(path);
        QVERIFY(saved.contains("FontBold=True\r\n"));
        QVERIFY(saved.contains("FontColor=0xFF\r\n"));
    }
};

QTEST_GUILESS_MAIN(tst_TemplateFile)
#include "tst_TemplateFile.moc"
