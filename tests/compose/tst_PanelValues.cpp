#include "compose/PanelValues.h"
#include "store/TemplateFile.h"
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
    QCOMPARE(morning.time, "09:05 JST");
    QCOMPARE(morning.monthText(), "Mar");
    QCOMPARE(morning.dayText(), "01");
    QCOMPARE(morning.fonts[4].fontName, "ＭＳ ゴシック");
    QCOMPARE(morning.align[0], FooterAlign::Left);
    // Without the default face the name stays empty.
    const PanelValues p = PanelValues::startupDefaults(QDateTime::currentDateTime(),
                                                       {QStringLiteral("DejaVu Sans")}, false);
    QCOMPARE(p.fonts[0].fontName, QString());
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
    TemplateFile tpl;
    tpl.setBorderWidth(borderWidth);
    tpl.setMonth(month);
    tpl.setDay(day);
    PanelValues p = startup();
    p.applyTemplate(tpl, false, kFonts);
    QCOMPARE(p.frameSizeIndex, frameIndex);
    QCOMPARE(p.monthIndex, monthIndex);
    QCOMPARE(p.dayIndex, dayIndex);
}

void tst_PanelValues::keepDateAndTime()
{
    TemplateFile tpl;
    tpl.setMonth(2);
    tpl.setDay(3);
    tpl.setYear(QStringLiteral("1999"));
    tpl.setTime(QStringLiteral("01:00"));
    tpl.setData(0, QStringLiteral("M31"));
    PanelValues p = startup();
    p.applyTemplate(tpl, true, kFonts);
    QCOMPARE(p.monthIndex, 11);
    QCOMPARE(p.year, "2002");
    QCOMPARE(p.time, "23:59 JST");
    QCOMPARE(p.targetName, "M31");
}

void tst_PanelValues::unusableValuesKeepThePrevious()
{
    TemplateFile tpl;
    for (int i = 0; i < 5; ++i)
        tpl.setFontName(i, QStringLiteral("ＭＳ 明朝"));
    tpl.setFontName(3, QStringLiteral("Not Installed Sans"));
    tpl.setFontName(4, QStringLiteral("ipagothic")); // letter case does not matter
    tpl.setFontSize(3, -12);
    tpl.setFontBold(3, true);
    // Item 2 takes codes 3 and 4 although its menu hides them; 5 and -1 keep the previous.
    tpl.setFontAlign(2, 4);
    tpl.setFontAlign(3, 5);
    tpl.setFontAlign(4, -1);
    PanelValues p = startup();
    p.align.fill(FooterAlign::Centre);
    p.applyTemplate(tpl, false, kFonts);
    QCOMPARE(p.fonts[0].fontName, "ＭＳ 明朝");
    QCOMPARE(p.fonts[3].fontName, "ＭＳ ゴシック");
    QCOMPARE(p.fonts[4].fontName, "IPAGothic");
    QCOMPARE(p.fonts[3].bold, true); // the rest of the row still arrives
    QCOMPARE(p.align,
             (std::array{FooterAlign::RightOfAbove, FooterAlign::Centre, FooterAlign::Centre}));
}

void tst_PanelValues::saveReadings()
{
    PanelValues p = startup();
    p.frameSizeIndex = -1;
    p.fonts[0].fontSize = QStringLiteral("12.5");
    p.fonts[1].fontSize = QString();
    p.fonts[2].fontSize = QStringLiteral("13.5");
    p.fonts[2].italic = true;
    p.align = {FooterAlign::Left, FooterAlign::LeftOfAbove, FooterAlign::RightOfAbove};
    TemplateFile tpl;
    p.toTemplate(tpl);
    QCOMPARE(tpl.borderWidth(), 0); // nothing selected: the empty value stays
    QCOMPARE(tpl.fontSize(0), 12);
    QCOMPARE(tpl.fontSize(1), 0);
    QCOMPARE(tpl.fontSize(2), 14);
    QVERIFY(tpl.fontItalic(2));
    QCOMPARE(tpl.fontAlign(2), 0);
    QCOMPARE(tpl.fontAlign(4), 4);
}

QTEST_GUILESS_MAIN(tst_PanelValues)
#include "tst_PanelValues.moc"
