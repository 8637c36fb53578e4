// Templates that other programs or people wrote: bytes that are no code page 932 text. Each reads
// with a defined result, and a save never spoils what the file held. fuzz_template and
// fuzz_profile_file explore the rest of such files.
#include "common/Cp932.h"
#include "store/TemplateFile.h"
#include "support/TestFiles.h"

#include <QTest>

using TestFiles::readAll;

class tst_HostileTemplates : public QObject
{
    Q_OBJECT

private slots:
    void unchangedTemplateKeepsEveryByte()
    {
        // Invalid bytes both in lines the template does not use and in one of its own values: a
        // lone lead byte at a line end or before a line feed or a control, undefined single bytes.
        const QString path = m_dir.filePath(QStringLiteral("t.kvl"));
        TemplateFile t;
        t.setFrameSize(QStringLiteral("640x480"));
        t.setData(2, QStringLiteral("placeholder"));
        QVERIFY(t.save(path, true));
        const QByteArray bytes =
            readAll(path).replace("Data=placeholder\r\n", "Data=bad \x81\x7F\x82\r\n") +
            "[Extra]\r\n; note \x82\r\nx=\x80\xA0\xFD\xFE\xFF\r\ny=\x88\x09z\r\n"
            "Note=\x81\x0A";
        QVERIFY(TestFiles::writeAll(path, bytes));
        QVERIFY(t.load(path));
        // What the program shows for such bytes: substitutes, never a crash.
        bool decoded = true;
        QCOMPARE(t.data(2), Cp932::decode("bad \x81\x7F\x82", &decoded));
        QVERIFY(!decoded);
        QVERIFY(t.save(path, true));
        QCOMPARE(readAll(path), bytes);
        // Another key changed: the file stays code page 932 and the undecodable lines stay as they
        // were.
        t.setFrameSize(QStringLiteral("800x600"));
        QVERIFY(t.save(path, true));
        QCOMPARE(readAll(path),
                 QByteArray(bytes).replace("PhotoSize=640x480", "PhotoSize=800x600"));
    }
    void loneSurrogateIsNoCodePage932()
    {
        QByteArray out;
        QVERIFY(!Cp932::encode(QStringLiteral("a") + QChar(0xD83D), &out));
        QVERIFY(!Cp932::encode(QChar(0xDC00) + QStringLiteral("b"), &out));
    }

private:
    QTemporaryDir m_dir;
};

QTEST_GUILESS_MAIN(tst_HostileTemplates)
#include "tst_HostileTemplates.moc"
