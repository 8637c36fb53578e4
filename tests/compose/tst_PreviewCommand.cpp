#include "compose/FrameDescription.h"
#include "compose/PanelValues.h"
#include "compose/PreviewCommand.h"

#include <QTest>

class tst_PreviewCommand : public QObject
{
    Q_OBJECT

private slots:
    void numberFields_data()
    {
        QTest::addColumn<QString>("photoSize");
        QTest::addColumn<QSize>("size"); // the fields start at 111 x 222
        QTest::addColumn<QString>("fontSize");
        QTest::addColumn<int>("points"); // 99 before
        QTest::newRow("capital X does not split; 10.5 gives 10")
            << "800X600" << QSize(111, 222) << "10.5" << 10;
        QTest::newRow("missing height keeps it; 11.5 gives 12")
            << "800x" << QSize(800, 222) << "11.5" << 12;
        QTest::newRow("fraction rounds halves to even; 12pt gives 12")
            << "640.5x480" << QSize(640, 480) << "12pt" << 12;
        QTest::newRow("blanks around the numbers; signed exponent after a tab")
            << " 320 x 240 " << QSize(320, 240) << "15\te\n-1" << 2;
        QTest::newRow("beyond 32 bits fails; no number gives 0")
            << "9999999999x50" << QSize(111, 50) << "pt12" << 0;
        QTest::newRow("letters fail; blanks, tabs and line ends inside are ignored")
            << "abcxdef" << QSize(111, 222) << " \t1\r\n2" << 12;
        QTest::newRow("1e20 keeps the size") << "1x1" << QSize(1, 1) << "1e20" << 99;
    }
    void numberFields()
    {
        QFETCH(QString, photoSize);
        QFETCH(QSize, size);
        QFETCH(QString, fontSize);
        QFETCH(int, points);
        PanelValues panel;
        panel.photoSizeText = photoSize;
        panel.fonts[3].fontSize = fontSize;
        FrameDescription frame;
        frame.photoWidth = 111;
        frame.photoHeight = 222;
        frame.textItems[3].fontSize = 99;
        PreviewCommand::toFrameDescription(panel, {}, frame);
        QCOMPARE(QSize(frame.photoWidth, frame.photoHeight), size);
        QCOMPARE(frame.textItems[3].fontSize, points);
    }
    void dateTimeText_data()
    {
        QTest::addColumn<int>("dateFormat");
        QTest::addColumn<int>("delimiterFormat");
        QTest::addColumn<QString>("text");
        QTest::newRow("year first kanji") << 0 << 3 << "2001年12月25日 22:30";
        QTest::newRow("month first hyphens") << 1 << 1 << "12-25-2001 22:30";
        QTest::newRow("month first kanji puts the year last") << 1 << 3 << "12月25日2001年 22:30";
        QTest::newRow("unknown codes are year first with slashes") << 2 << 7 << "2001/12/25 22:30";
    }
    void dateTimeText()
    {
        QFETCH(int, dateFormat);
        QFETCH(int, delimiterFormat);
        QFETCH(QString, text);
        PanelValues panel;
        panel.year = QStringLiteral("2001");
        panel.monthIndex = 11;
        panel.dayIndex = 24;
        panel.time = QStringLiteral("22:30");
        // Every field of a full panel is the window's test; here what it cannot show: with no
        // border selected the border keeps its value, an unknown name alignment is left.
        panel.frameSizeIndex = -1;
        FrameDescription frame;
        frame.textItems[0].fontAlign = FooterAlign(7);
        frame.borderWidth = 4;
        PreviewCommand::toFrameDescription(panel, DateStyle::fromCodes(dateFormat, delimiterFormat),
                                           frame);
        QCOMPARE(frame.textItems[1].text, text);
        QCOMPARE(frame.textItems[1].fontAlign, FooterAlign::Right);
        QCOMPARE(frame.borderWidth, 4);
        QCOMPARE(frame.textItems[0].fontAlign, FooterAlign::Left);
        panel.frameSizeIndex = 9;
        PreviewCommand::toFrameDescription(panel, {}, frame);
        QCOMPARE(frame.borderWidth, 10);

        // English month names are taken as the list shows them; an empty time leaves no blank, an
        // empty date is two slashes.
        QCOMPARE(PreviewCommand::dateTimeText("2001", "Dec", "25", "", {}), "2001/Dec/25");
        QCOMPARE(PreviewCommand::dateTimeText("", "", "", "", {}), "//");
    }
};

QTEST_GUILESS_MAIN(tst_PreviewCommand)
#include "tst_PreviewCommand.moc"
