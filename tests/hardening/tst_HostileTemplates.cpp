// Templates that other programs or people wrote: line breaks in values, thousands of sections,
// duplicate keys, bytes that are no code page 932 text, UTF-8 without a byte-order mark. Each
// reads with a defined result, and a save never spoils what the file held. fuzz_template and
// fuzz_profile_file explore the rest of such files.
#include "HostileFiles.h"
#include "common/Cp932.h"
#include "store/ProfileFile.h"
#include "store/clsTemplateIO.h"
#include "support/TestFiles.h"

#include <QTest>

using TestFiles::cp932;
using TestFiles::readAll;
using TestFiles::writeAll;

class tst_HostileTemplates : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void controlCharactersInValues_data();
    void controlCharactersInValues();
    void tenThousandSections();
    void unchangedTemplateKeepsEveryByte();
    void undecodableLineSurvivesSwitchToUtf8();
    void utf8WithoutByteOrderMark();
    void lastLineEndingInCarriageReturn();
    void loneSurrogateIsNoCodePage932();

private:
    QTemporaryDir m_dir;
    QString m_path;
};

void tst_HostileTemplates::init()
{
    QVERIFY(m_dir.isValid());
    m_path = m_dir.filePath(QStringLiteral("t.kvl"));
    QFile::remove(m_path);
}

void tst_HostileTemplates::controlCharactersInValues_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("readBack");
    QTest::newRow("NUL, escape and end-of-file mark inside")
        << QString::fromUtf16(u"a\0b\x1B[31m\x1Ay", 10) << QString::fromUtf16(u"a\0b\x1B[31m\x1Ay", 10);
    QTest::newRow("CR and LF become blanks, no line is injected")
        << "line1\r\n[Header-3]\r\nData=evil"
        << "line1  [Header-3]  Data=evil";
    QTest::newRow("leading and trailing blanks dropped") << " \t padded \t\r" << "padded";
}

void tst_HostileTemplates::controlCharactersInValues()
{
    QFETCH(QString, value);
    QFETCH(QString, readBack);
    clsTemplateIO t;
    t.Data(2, value);
    t.Data(3, QStringLiteral("after"));
    t.Year(value);
    QVERIFY(t.SaveFile(m_path, true));
    clsTemplateIO read;
    QVERIFY2(read.OpenFile(m_path), qPrintable(read.errorString()));
    QCOMPARE(read.Data(2), readBack);
    QCOMPARE(read.Year(), readBack);
    QCOMPARE(read.Data(3), QStringLiteral("after"));
    QCOMPARE(read.Data(1), QString());
    // Saved again unchanged, the file keeps its bytes.
    const QByteArray once = readAll(m_path);
    QVERIFY(read.SaveFile(m_path, true));
    QCOMPARE(readAll(m_path), once);
}

void tst_HostileTemplates::tenThousandSections()
{
    QByteArray bytes;
    for (int i = 0; i < 10000; ++i)
        bytes += "[Other-" + QByteArray::number(i) + "]\r\nk=" + QByteArray::number(i) + "\r\n";
    const QByteArray others = bytes;
    bytes += "[Frame]\r\nPhotoSize=320x240\r\n[Header-4]\r\nData=last\r\n";
    QVERIFY(writeAll(m_path, bytes));

    clsTemplateIO t;
    QVERIFY(t.OpenFile(m_path));
    QCOMPARE(t.FrameSize(), QStringLiteral("320x240"));
    QCOMPARE(t.Data(4), QStringLiteral("last"));
    t.Data(4, QStringLiteral("changed"));
    QVERIFY(t.SaveFile(m_path, true));
    const QByteArray written = readAll(m_path);
    QVERIFY(written.startsWith(others));
    ProfileFile profile;
    profile.loadFromBytes(written);
    QCOMPARE(profile.value(QStringLiteral("Header-4"), QStringLiteral("Data"), QString()),
             QStringLiteral("changed"));
}

void tst_HostileTemplates::unchangedTemplateKeepsEveryByte()
{
    // Invalid bytes both in lines the template does not use and in one of its own values: a lone
    // lead byte at a line end or before a line feed or a control, undefined single bytes.
    QByteArray bytes = HostileFiles::sampleTemplate() +
                       "[Extra]\r\n; note \x82\r\nx=\x80\xA0\xFD\xFE\xFF\r\ny=\x88\x09z\r\n"
                       "Note=\x81\x0A";
    const QByteArray footer = "Data=" + cp932(QStringLiteral("ε-180ED + EOS")) + "\r\n";
    QVERIFY(bytes.contains(footer));
    bytes.replace(footer, "Data=bad \x81\x7F\x82\r\n");
    QVERIFY(writeAll(m_path, bytes));
    clsTemplateIO t;
    QVERIFY(t.OpenFile(m_path));
    // What the program shows for such bytes: substitutes, never a crash.
    bool decoded = true;
    QCOMPARE(t.Data(2), Cp932::decode("bad \x81\x7F\x82", &decoded));
    QVERIFY(!decoded);
    QVERIFY(t.SaveFile(m_path, true));
    QCOMPARE(readAll(m_path), bytes);
    // Another key changed: the file stays code page 932 and the undecodable lines stay as they
    // were.
    t.FrameSize(QStringLiteral("800x600"));
    QVERIFY(t.SaveFile(m_path, true));
    QCOMPARE(readAll(m_path), QByteArray(bytes).replace("PhotoSize=640x480", "PhotoSize=800x600"));
}

void tst_HostileTemplates::undecodableLineSurvivesSwitchToUtf8()
{
    const QByteArray bad = "; written by another program: \x82\x20\x80\xFF\r\n";
    const QByteArray bytes = "[Frame]\r\nPhotoSize=640x480\r\n" + bad +
                             "[Header-0]\r\nData=" + cp932(QStringLiteral("オリオン座")) + "\r\n";
    QVERIFY(writeAll(m_path, bytes));
    clsTemplateIO t;
    QVERIFY(t.OpenFile(m_path));
    QCOMPARE(t.Data(0), QStringLiteral("オリオン座"));
    // Code page 932 has no telescope: the file turns to UTF-8.
    t.Data(2, QString::fromUtf8("🔭 ε-180ED"));
    QVERIFY(t.SaveFile(m_path, true));
    const QByteArray written = readAll(m_path);
    QVERIFY(written.startsWith("\xEF\xBB\xBF[Frame]\r\nPhotoSize=640x480\r\n"));
    // The bytes that were no text are kept as they were; the text is now UTF-8.
    QVERIFY(written.contains(bad));
    QVERIFY(written.contains("Data=" + QStringLiteral("オリオン座").toUtf8() + "\r\n"));
    clsTemplateIO read;
    QVERIFY(read.OpenFile(m_path));
    QCOMPARE(read.Data(0), QStringLiteral("オリオン座"));
    QCOMPARE(read.Data(2), QString::fromUtf8("🔭 ε-180ED"));
}

void tst_HostileTemplates::utf8WithoutByteOrderMark()
{
    // Saved by an editor as UTF-8 without a mark: read as code page 932, as Windows reads it,
    // and saved back unchanged, byte for byte, only the missing keys added.
    const QByteArray text = QStringLiteral("アンドロメダ銀河 M31").toUtf8();
    const QByteArray bytes = "[Frame]\nPhotoSize=640x480\n[Header-0]\nData=" + text + "\n";
    QVERIFY(writeAll(m_path, bytes));
    clsTemplateIO t;
    QVERIFY(t.OpenFile(m_path));
    QCOMPARE(t.Data(0), Cp932::decode(text));
    QVERIFY(t.SaveFile(m_path, true));
    const QByteArray written = readAll(m_path);
    QVERIFY(written.startsWith("[Frame]\nPhotoSize=640x480\n"));
    QVERIFY(written.contains("\n[Header-0]\nData=" + text + "\n"));
    QVERIFY(!written.contains('\r'));
}

void tst_HostileTemplates::lastLineEndingInCarriageReturn()
{
    // The next section starts on a line of its own, with the first line's end.
    ProfileFile cr;
    cr.loadFromBytes("[A]\r\nk=1\r");
    QCOMPARE(cr.toBytes(), QByteArray("[A]\r\nk=1\r"));
    cr.setValue(QStringLiteral("B"), QStringLiteral("k"), QStringLiteral("2"));
    QCOMPARE(cr.toBytes(), QByteArray("[A]\r\nk=1\r\n[B]\r\nk=2\r\n"));
    QCOMPARE(cr.value(QStringLiteral("A"), QStringLiteral("k"), QString()), QStringLiteral("1"));
}

void tst_HostileTemplates::loneSurrogateIsNoCodePage932()
{
    QByteArray out;
    QVERIFY(!Cp932::encode(QStringLiteral("a") + QChar(0xD83D), &out));
    QVERIFY(!Cp932::encode(QChar(0xDC00) + QStringLiteral("b"), &out));
    QVERIFY(Cp932::encode(QStringLiteral("あ"), &out));
    QCOMPARE(out, QByteArray("\x82\xA0"));
    bool ok = true;
    QCOMPARE(Cp932::decode("ab\x82", &ok), QStringLiteral("ab"));
    QVERIFY(!ok);
}

QTEST_GUILESS_MAIN(tst_HostileTemplates)
#include "tst_HostileTemplates.moc"
