// Templates that other programs or people wrote: control characters in values, bytes that are no
// code page 932 text. Each reads with a defined result, and a save never spoils what the file
// held. fuzz_template and fuzz_profile_file explore the rest of such files.
#include "common/Cp932.h"
#include "store/ProfileFile.h"
#include "store/TemplateFile.h"
#include "support/TestFiles.h"

#include <QTest>

using TestFiles::readAll;

class tst_HostileTemplates : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_path = m_dir.filePath(QStringLiteral("t.kvl"));
        QFile::remove(m_path);
    }
    void controlCharactersInValues()
    {
        // Line breaks and outer blanks are the profile file's own tests; the rest stays as it was.
        const QString value = QString::fromUtf16(u"a\0b\x1B[31m\x1Ay", 10);
        TemplateFile t;
        t.setData(2, value);
        t.setData(3, QStringLiteral("after"));
        t.setYear(value);
        QVERIFY(t.save(m_path, true));
        TemplateFile read;
        QVERIFY2(read.load(m_path), qPrintable(read.errorString()));
        QCOMPARE(read.data(2), value);
        QCOMPARE(read.year(), value);
        QCOMPARE(read.data(3), QStringLiteral("after"));
    }
    void unchangedTemplateKeepsEveryByte()
    {
        // Invalid bytes both in lines the template does not use and in one of its own values: a
        // lone lead byte at a line end or before a line feed or a control, undefined single bytes.
        TemplateFile t;
        t.setFrameSize(QStringLiteral("640x480"));
        t.setData(2, QStringLiteral("placeholder"));
        QVERIFY(t.save(m_path, true));
        const QByteArray bytes =
            readAll(m_path).replace("Data=placeholder\r\n", "Data=bad \x81\x7F\x82\r\n") +
            "[Extra]\r\n; note \x82\r\nx=\x80\xA0\xFD\xFE\xFF\r\ny=\x88\x09z\r\n"
            "Note=\x81\x0A";
        QVERIFY(TestFiles::writeAll(m_path, bytes));
        QVERIFY(t.load(m_path));
        // What the program shows for such bytes: substitutes, never a crash.
        bool decoded = true;
        QCOMPARE(t.data(2), Cp932::decode("bad \x81\x7F\x82", &decoded));
        QVERIFY(!decoded);
        QVERIFY(t.save(m_path, true));
        QCOMPARE(readAll(m_path), bytes);
        // Another key changed: the file stays code page 932 and the undecodable lines stay as they
        // were.
        t.setFrameSize(QStringLiteral("800x600"));
        QVERIFY(t.save(m_path, true));
        QCOMPARE(readAll(m_path),
                 QByteArray(bytes).replace("PhotoSize=640x480", "PhotoSize=800x600"));
    }
    void lastLineEndingInCarriageReturn()
    {
        // The next section starts on a line of its own, with the first line's end.
        ProfileFile cr;
        cr.loadFromBytes("[A]\r\nk=1\r");
        QCOMPARE(cr.toBytes(), QByteArray("[A]\r\nk=1\r"));
        cr.setValue(QStringLiteral("B"), QStringLiteral("k"), QStringLiteral("2"));
        QCOMPARE(cr.toBytes(), QByteArray("[A]\r\nk=1\r\n[B]\r\nk=2\r\n"));
        QCOMPARE(cr.value(QStringLiteral("A"), QStringLiteral("k"), QString()),
                 QStringLiteral("1"));
    }
    void loneSurrogateIsNoCodePage932()
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

private:
    QTemporaryDir m_dir;
    QString m_path;
};

QTEST_GUILESS_MAIN(tst_HostileTemplates)
#include "tst_HostileTemplates.moc"
