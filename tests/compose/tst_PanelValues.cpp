#include "compose/PanelValues.h"
#include "store/clsTemplateIO.h"
#include "support/LocalZone.h"

#include <QTest>

namespace {

const QStringList kFonts = {QStringLiteral("IPAGothic"), QStringLiteral("ＭＳ ゴシック"),
                            QStringLiteral("ＭＳ 明朝")};

PanelValues startup()
{
    return PanelValues::startupDefaults(QDateTime(QDate(2002, 12, 31), QTime(23, 59)), kFonts,
                                        false);
}

} // namespace

class tst_PanelValues : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { setLocalZone("Asia/Tokyo"); }
    void startupDefaults();
    void listSelectionRules_data();
    void listSelectionRules();
    void keepDateAndTime();
    void unusableValuesKeepThePrevious();
    void saveReadings();
};

void tst_PanelValues::startupDefaults()
{
    // The window's start-up test pins the rest of the panel.
    const PanelValues morning =
        PanelValues::startupDefaults(QDateTime(QDate(2024, 3, 1), QTime(9, 5)), kFonts, true);
    QCOMPARE(morning.Time, "09:05 JST");
    QCOMPARE(morning.monthText(), "Mar");
    QCOMPARE(morning.dayText(), "01");
    QCOMPARE(morning.Fonts[4].FontName, "ＭＳ ゴシック");
    QCOMPARE(morning.Align[0], FooterAlign::Left);
    // Without the default face the name stays empty.
    const PanelValues p = PanelValues::startupDefaults(QDateTime::currentDateTime(),
                                                       {QStringLiteral("DejaVu Sans")}, false);
    QCOMPARE(p.Fonts[0].FontName, QString());
}

void tst_PanelValues::listSelectionRules_data()
{
    QTest::addColumn<int>("borderWidth");
    QTest::addColumn<int>("month");
    QTest::addColumn<int>("day");
    QTest::addColumn<int>("frameIndex");
    QTest::addColumn<int>("monthIndex");
    QTest::addColumn<int>("dayIndex");
    // The panel starts at border "01", December, 31st.
    QTest::newRow("border 3 selects 03") << 3 << 11 << 30 << 2 << 11 << 30;
    QTest::newRow("border 11 keeps the selection") << 11 << 11 << 30 << 0 << 11 << 30;
    QTest::newRow("border 0 clears the selection") << 0 << 0 << 0 << -1 << 0 << 0;
    QTest::newRow("month and day -1 clear") << 10 << -1 << -1 << 9 << -1 << -1;
    QTest::newRow("beyond 16 bits keeps") << 70000 << 70000 << -70000 << 0 << 11 << 30;
    QTest::newRow("lowest border keeps") << int(0x80000000) << 5 << 5 << 0 << 5 << 5;
}

void tst_PanelValues::listSelectionRules()
{
    QFETCH(int, borderWidth);
    QFETCH(int, month);
    QFETCH(int, day);
    QFETCH(int, frameIndex);
    QFETCH(int, monthIndex);
    QFETCH(int, dayIndex);
    clsTemplateIO tpl;
    tpl.BorderWidth(borderWidth);
    tpl.Month(month);
    tpl.Day(day);
    PanelValues p = startup();
    p.applyTemplate(tpl, false, kFonts);
    QCOMPARE(p.FrameSizeIndex, frameIndex);
    QCOMPARE(p.MonthIndex, monthIndex);
    QCOMPARE(p.DayIndex, dayIndex);
}

void tst_PanelValues::keepDateAndTime()
{
    clsTemplateIO tpl;
    tpl.Month(2);
    tpl.Day(3);
    tpl.Year(QStringLiteral("1999"));
    tpl.Time(QStringLiteral("01:00"));
    tpl.Data(0, QStringLiteral("M31"));
    PanelValues p = startup();
    p.applyTemplate(tpl, true, kFonts);
    QCOMPARE(p.MonthIndex, 11);
    QCOMPARE(p.Year, "2002");
    QCOMPARE(p.Time, "23:59 JST");
    QCOMPARE(p.TargetName, "M31");
}

void tst_PanelValues::unusableValuesKeepThePrevious()
{
    clsTemplateIO tpl;
    for (int i = 0; i < 5; ++i)
        tpl.FontName(i, QStringLiteral("ＭＳ 明朝"));
    tpl.FontName(3, QStringLiteral("Not Installed Sans"));
    tpl.FontName(4, QStringLiteral("ipagothic")); // letter case does not matter
    tpl.FontSize(3, -12);
    tpl.FontBold(3, true);
    // Item 2 takes codes 3 and 4 although its menu hides them; 5 and -1 keep the previous.
    tpl.FontAlign(2, 4);
    tpl.FontAlign(3, 5);
    tpl.FontAlign(4, -1);
    PanelValues p = startup();
    p.Align.fill(FooterAlign::Centre);
    p.applyTemplate(tpl, false, kFonts);
    QCOMPARE(p.Fonts[0].FontName, "ＭＳ 明朝");
    QCOMPARE(p.Fonts[3].FontName, "ＭＳ ゴシック");
    QCOMPARE(p.Fonts[4].FontName, "IPAGothic");
    QCOMPARE(p.Fonts[3].Bold, 1); // the rest of the row still arrives
    QCOMPARE(p.Align, (std::array{FooterAlign::RightOfAbove, FooterAlign::Centre,
                                  FooterAlign::Centre}));
}

void tst_PanelValues::saveReadings()
{
    PanelValues p = startup();
    p.FrameSizeIndex = -1;
    p.Fonts[0].FontSize = QStringLiteral("12.5");
    p.Fonts[1].FontSize = QString();
    p.Fonts[2].FontSize = QStringLiteral("13.5");
    p.Fonts[2].Italic = 2;
    p.Align = {FooterAlign::Left, FooterAlign::LeftOfAbove, FooterAlign::RightOfAbove};
    clsTemplateIO tpl;
    p.toTemplate(tpl);
    QCOMPARE(tpl.BorderWidth(), 0); // nothing selected: the empty value stays
    QCOMPARE(tpl.FontSize(0), 12);
    QCOMPARE(tpl.FontSize(1), 0);
    QCOMPARE(tpl.FontSize(2), 14);
    QVERIFY(tpl.FontItalic(2));
    QCOMPARE(tpl.FontAlign(2), 0);
    QCOMPARE(tpl.FontAlign(4), 4);
}

QTEST_GUILESS_MAIN(tst_PanelValues)
#include "tst_PanelValues.moc"
