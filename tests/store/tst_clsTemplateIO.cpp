#include "store/clsTemplateIO.h"
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

class tst_clsTemplateIO : public QObject
{
    Q_OBJECT

private slots:
    void newObjectFileBytes();
    void roundTripEveryProperty();
    void handWrittenWindowsFile();
    void noOverwriteWithoutFlag();
};

void tst_clsTemplateIO::newObjectFileBytes()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("new.kvl"));
    clsTemplateIO t;
    QVERIFY(t.SaveFile(path, false));
    const QByteArray expected =
        "[Frame]\r\nPhotoSize=\r\nBackground=0x0\r\nBorderColor=0x0\r\nBorderWidth=0\r\n" +
        itemSection(0) + itemSection(1, "Month=0\r\nDay=0\r\nYear=\r\nTime=\r\n") + itemSection(2) +
        itemSection(3) + itemSection(4);
    QCOMPARE(readAll(path), expected);
}

void tst_clsTemplateIO::roundTripEveryProperty()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("all.kvl"));
    clsTemplateIO t;
    t.FrameSize(QStringLiteral("640x480"));
    t.BackColor(-2); // eight hex digits
    t.BorderColor(0xFFFFFF);
    t.BorderWidth(3);
    t.Month(11);
    t.Day(30);
    t.Year(QStringLiteral("2001"));
    t.Time(QStringLiteral("22:30 JST"));
    for (int i = 0; i < 5; ++i) {
        if (i != 1)
            t.Data(i, QStringLiteral("オリオン大星雲 M42 #%1").arg(i));
        t.FontName(i, i % 2 ? QStringLiteral("ＭＳ 明朝") : QStringLiteral("DejaVu Sans"));
        t.FontSize(i, 8 + i);
        t.FontColor(i, 0x010203 * (i + 1));
        t.FontBold(i, i == 0);
        t.FontItalic(i, i == 1);
        t.FontStrikethru(i, i == 2);
        t.FontUnderline(i, i == 3);
        t.FontAlign(i, i >= 2 ? i : 0);
    }
    // 900 bytes of code page 932: far past the 255-byte buffer old readers cut at.
    t.Data(4, QString(450, u'星'));
    QVERIFY(t.SaveFile(path, true));

    // Read back and saved again from nothing, every property gives the same bytes.
    clsTemplateIO r;
    QVERIFY(r.OpenFile(path));
    const QString again = dir.filePath(QStringLiteral("again.kvl"));
    QVERIFY(r.SaveFile(again, false));
    QCOMPARE(readAll(again), readAll(path));
    QVERIFY(readAll(path).contains("Background=0xFFFFFFFE\r\n"));
    QVERIFY(
        readAll(path).contains("Data=" + cp932(QStringLiteral("オリオン大星雲 M42 #0")) + "\r\n"));
    // Saving over the file leaves one set of keys.
    QVERIFY(r.SaveFile(path, true));
    QCOMPARE(readAll(path).count("PhotoSize="), 1);
}

void tst_clsTemplateIO::handWrittenWindowsFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("win.kvl"));
    const QByteArray original = "; made by hand\r\n[Frame]\r\nPhotoSize=800x600\r\nOwner=me\r\n"
                                "[Header-0]\r\nData=  " +
                                cp932(QStringLiteral("アンドロメダ銀河 ～ M31")) +
                                "  \r\nFontName=" + cp932(QStringLiteral("ＭＳ Ｐ明朝")) +
                                "\r\nFontBold=true\r\nFontItalic=-1\r\nFontUnderline=0\r\nFontColor=255\r\n"
                                "[Extra]\r\nk=v\r\n";
    QVERIFY(writeAll(path, original));

    clsTemplateIO t;
    t.Month(5); // a file without a date section resets the date to its defaults
    t.Day(7);
    QVERIFY(t.OpenFile(path));
    QCOMPARE(QList<qint32>({t.Month(), t.Day()}), QList<qint32>({0, 0}));
    QCOMPARE(t.FrameSize(), QStringLiteral("800x600"));
    QCOMPARE(t.Data(0), QStringLiteral("アンドロメダ銀河 ～ M31"));
    QCOMPARE(t.FontName(0), QStringLiteral("ＭＳ Ｐ明朝"));
    QVERIFY(t.FontBold(0) && t.FontItalic(0) && !t.FontUnderline(0));
    QCOMPARE(t.FontColor(0), 255);
    QCOMPARE(t.BackColor(), 0);
    QCOMPARE(t.BorderColor(), 0xFFFFFF);
    QCOMPARE(t.BorderWidth(), 1);
    QCOMPARE(t.FontSize(0), 10);
    QCOMPARE(t.FontName(3), QStringLiteral("ＭＳ ゴシック"));

    QVERIFY(t.SaveFile(path, true));
    const QByteArray saved = readAll(path);
    QVERIFY(saved.startsWith("; made by hand\r\n[Frame]\r\nPhotoSize=800x600\r\nOwner=me\r\n"));
    QVERIFY(saved.contains("[Extra]\r\nk=v\r\n"));
    QVERIFY(saved.contains("FontBold=True\r\n"));
    QVERIFY(saved.contains("FontColor=0xFF\r\n"));
}

void tst_clsTemplateIO::noOverwriteWithoutFlag()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("keep.kvl"));
    QVERIFY(writeAll(path, "precious"));
    clsTemplateIO t;
    QVERIFY(!t.SaveFile(path, false));
    QCOMPARE(readAll(path), QByteArray("precious"));
    QVERIFY(!t.OpenFile(dir.filePath(QStringLiteral("missing.kvl"))));
    // A folder is no template: nothing read changes the object. An empty boolean fails the load.
    t.FrameSize(QStringLiteral("1x1"));
    QVERIFY(!t.OpenFile(dir.path()));
    QCOMPARE(t.FrameSize(), QStringLiteral("1x1"));
    QVERIFY(writeAll(path, "[Header-2]\r\nFontItalic=\r\n"));
    QVERIFY(!t.OpenFile(path));
    QVERIFY(t.errorString().contains(QStringLiteral("FontItalic")));
}

QTEST_GUILESS_MAIN(tst_clsTemplateIO)
#include "tst_clsTemplateIO.moc"
