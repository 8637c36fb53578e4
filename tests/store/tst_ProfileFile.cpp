#include "store/ProfileFile.h"

#include <QStringEncoder>
#include <QTest>

namespace {

// A file in UTF-16LE with its byte-order mark.
QByteArray utf16File(const QString &text)
{
    return "\xFF\xFE" + QByteArray(QStringEncoder(QStringConverter::Utf16LE).encode(text));
}

} // namespace

class tst_ProfileFile : public QObject
{
    Q_OBJECT

private slots:
    void readsValues_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("expected");

        const QByteArray basic = "[Frame]\r\nPhotoSize=640x480\r\n[Other]\r\nPhotoSize=1x1\r\n";
        // clang-format off
        QTest::newRow("section and key ignore case") << basic << "fRAME" << "photosize" << "640x480";
        QTest::newRow("key looked up in its own section") << basic << "Other" << "PhotoSize" << "1x1";
        QTest::newRow("missing key gives fallback") << basic << "Frame" << "Nope" << "fallback";
        QTest::newRow("missing section gives fallback") << basic << "None" << "PhotoSize" << "fallback";
        QTest::newRow("blanks around value dropped")
            << QByteArray("[A]\nk =  \t two words \t \n") << "A" << "k" << "two words";
        QTest::newRow("first of duplicate keys wins")
            << QByteArray("[A]\r\nk=1\r\nk=2\r\n") << "A" << "k" << "1";
        QTest::newRow("equals sign inside value kept")
            << QByteArray("[A]\r\nk=a=b\r\n") << "A" << "k" << "a=b";
        QTest::newRow("UTF-8 file, a line kept from code page 932")
            << QByteArray("\xEF\xBB\xBF[A]\r\nk=\x82\xa0\r\n") << "A"
            << "k" << QStringLiteral("あ");
        // clang-format on
    }
    void readsValues()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QString, expected);
        ProfileFile profile;
        profile.loadFromBytes(file);
        QCOMPARE(profile.value(section, key, QStringLiteral("fallback")), expected);
    }
    void readsIntegers_data()
    {
        QTest::addColumn<QByteArray>("value");
        QTest::addColumn<int>("expected");

        QTest::newRow("negative") << QByteArray("-60") << -60;
        QTest::newRow("hex, both letter cases") << QByteArray("0x5aF") << 0x5AF;
        QTest::newRow("hex eight digits is negative") << QByteArray("0xFFFFFFFF") << -1;
        QTest::newRow("stops at first other character") << QByteArray("12pt") << 12;
        QTest::newRow("plus sign is not a number") << QByteArray("+5") << 0;
        QTest::newRow("empty value gives fallback") << QByteArray("") << 99;
    }
    void readsIntegers()
    {
        QFETCH(QByteArray, value);
        QFETCH(int, expected);
        ProfileFile profile;
        profile.loadFromBytes("[S]\r\nk=" + value + "\r\n");
        QCOMPARE(profile.intValue(QStringLiteral("S"), QStringLiteral("k"), 99), expected);
        QCOMPARE(profile.intValue(QStringLiteral("S"), QStringLiteral("missing"), 99), 99);
    }
    void editsInPlace_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QByteArray>("after");

        // clang-format off
        QTest::newRow("existing key replaced where it stands, its spelling kept")
            << QByteArray("[A]\r\nKEY = old\r\nz=1\r\n") << "a" << "key" << "new"
            << QByteArray("[A]\r\nKEY=new\r\nz=1\r\n");
        QTest::newRow("new key at end of its section before blank lines")
            << QByteArray("[A]\r\nx=1\r\n\r\n[B]\r\ny=2\r\n") << "A" << "k" << "v"
            << QByteArray("[A]\r\nx=1\r\nk=v\r\n\r\n[B]\r\ny=2\r\n");
        QTest::newRow("LF file starting with a blank line keeps LF")
            << QByteArray("\n[A]\nx=1\n\n[B]\n") << "A" << "y" << "2"
            << QByteArray("\n[A]\nx=1\ny=2\n\n[B]\n");
        QTest::newRow("last line ending in CR: the new section on a line of its own")
            << QByteArray("[A]\r\nk=1\r") << "B" << "k" << "2"
            << QByteArray("[A]\r\nk=1\r\n[B]\r\nk=2\r\n");
        QTest::newRow("CR and LF in a value become blanks")
            << QByteArray() << "A" << "k" << "line1\r\n[Evil]\nx=1"
            << QByteArray("[A]\r\nk=line1  [Evil] x=1\r\n");
        // clang-format on
    }
    void editsInPlace()
    {
        QFETCH(QByteArray, before);
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QString, value);
        QFETCH(QByteArray, after);
        ProfileFile profile;
        profile.loadFromBytes(before);
        profile.setValue(section, key, value);
        QCOMPARE(profile.toBytes(), after);
    }
    void encodingOnSave_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QString>("value"); // set as [A] k
        QTest::addColumn<QByteArray>("after");
        QTest::addColumn<QString>("utf8Character");
        const QByteArray cp932 = "[A]\r\nname=\x82\xa0\r\n";
        // Wave dash, minus, double vertical line, not, em dash, cent and pound: the twins that
        // draw the same glyph in code page 932.
        QTest::newRow("characters written as their twins")
            << QByteArray() << QStringLiteral("～\u301C\u2212\u2016\u00AC\u2014\u00A2\u00A3")
            << QByteArray("[A]\r\nk=\x81\x60\x81\x60\x81\x7c\x81\x61\x81\xca\x81\x5c\x81\x91"
                          "\x81\x92\r\n")
            << QString();
        QTest::newRow("NEC row 13, IBM extension kanji, half-width katakana")
            << QByteArray() << QStringLiteral("①髙ﾃﾝﾌﾟﾚｰﾄ")
            << QByteArray("[A]\r\nk=\x87\x40\xfb\xfc\xc3\xdd\xcc\xdf\xda\xb0\xc4\r\n") << QString();
        QTest::newRow("yen sign, drawn as a backslash in code page 932, needs UTF-8")
            << cp932 << QStringLiteral("¥100")
            << QByteArray("\xEF\xBB\xBF[A]\r\nname=\xE3\x81\x82\r\nk=\xC2\xA5"
                          "100\r\n")
            << "¥";
        QTest::newRow("character beyond the BMP named whole")
            << cp932 << QStringLiteral("M42 🌌")
            << QByteArray("\xEF\xBB\xBF[A]\r\nname=\xE3\x81\x82\r\nk=M42 \xF0\x9F\x8C\x8C\r\n")
            << QStringLiteral("🌌");
        QTest::newRow("UTF-8 file back to code page 932 once nothing needs UTF-8")
            << QByteArray("\xEF\xBB\xBF[A]\r\nname=\xE3\x81\x82\r\nk=\xC2\xA5\r\n") << "100"
            << QByteArray("[A]\r\nname=\x82\xa0\r\nk=100\r\n") << "";
        QTest::newRow("UTF-8 file stays UTF-8 while an untouched line needs it")
            << QByteArray("\xEF\xBB\xBF[A]\nname=\xC2\xA5\nk=1\n") << "2"
            << QByteArray("\xEF\xBB\xBF[A]\nname=\xC2\xA5\nk=2\n") << "¥";
        QTest::newRow("UTF-16LE file gets a new section")
            << utf16File("[B]\nx=1") << "v" << utf16File("[B]\nx=1\n[A]\nk=v\n") << "";
    }
    void encodingOnSave()
    {
        QFETCH(QByteArray, before);
        QFETCH(QString, value);
        QFETCH(QByteArray, after);
        QFETCH(QString, utf8Character);
        ProfileFile profile;
        profile.loadFromBytes(before);
        profile.setValue(QStringLiteral("A"), QStringLiteral("k"), value);
        QString needed = QStringLiteral("unset");
        QCOMPARE(profile.toBytes(&needed), after);
        QCOMPARE(needed, utf8Character);
        // Read back and set again, the value gives the same bytes.
        ProfileFile reread;
        reread.loadFromBytes(after);
        reread.setValue("A", "k",
                        reread.value(QStringLiteral("A"), QStringLiteral("k"), QString()));
        QCOMPARE(reread.toBytes(), after);
    }
};

QTEST_GUILESS_MAIN(tst_ProfileFile)
#include "tst_ProfileFile.moc"
