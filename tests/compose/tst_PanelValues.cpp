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
    void startupDefaults()
    {
        // The window's start-up test pins the rest of the panel.
        const PanelValues morning =
            PanelValues::startupDefaults(QDateTime(QDate(2024, 3, 1), QTime(9, 5)), kFonts, true);
        QCOMPARE((QStringList{morning.time, morning.monthText(), morning.dayText()}),
                 (QStringList{"09:05 JST", "Mar", "01"}));
        QCOMPARE(morning.fonts[4].fontName, "ＭＳ ゴシック");
        QCOMPARE(morning.align[0], FooterAlign::Left);
        // Without the default face the name stays empty.
        const PanelValues p = PanelValues::startupDefaults(QDateTime::currentDateTime(),
                                                           {QStringLiteral("DejaVu Sans")}, false);
        QCOMPARE(p.fonts[0].fontName, QString());
    }
    void listSelectionRules_data()
    {
        QTest::addColumn<QList<int>>("values");    // border width, month, day of the template
        QTest::addColumn<QList<int>>("selection"); // border, month and day indices after
        // The panel starts at border "01", December, 31st.
        QTest::newRow("border 11 keeps the selection")
            << QList<int>{11, 11, 30} << QList<int>{0, 11, 30};
        QTest::newRow("border 0 clears the selection")
            << QList<int>{0, 0, 0} << QList<int>{-1, 0, 0};
        QTest::newRow("month and day -1 clear") << QList<int>{10, -1, -1} << QList<int>{9, -1, -1};
        QTest::newRow("beyond 16 bits keeps")
            << QList<int>{70000, 70000, -70000} << QList<int>{0, 11, 30};
        QTest::newRow("lowest border keeps")
            << QList<int>{int(0x80000000), 5, 5} << QList<int>{0, 5, 5};
    }
    void listSelectionRules()
    {
        QFETCH(QList<int>, values);
        QFETCH(QList<int>, selection);
        TemplateFile tpl;
        tpl.setBorderWidth(values[0]);
        tpl.setMonth(values[1]);
        tpl.setDay(values[2]);
        PanelValues p = startup();
        p.applyTemplate(tpl, false, kFonts);
        QCOMPARE((QList<int>{p.frameSizeIndex, p.monthIndex, p.dayIndex}), selection);
    }
    void unusableValuesKeepThePrevious()
    {
        TemplateFile tpl;
        for (int i = 0; i < 5; ++i)
            tpl.setFontName(i, QStringLiteral("ＭＳ 明朝"));
        // A face not offered keeps the row's face, and the rest of the row still arrives; letter
        // case does not matter.
        tpl.setFontName(3, QStringLiteral("Not Installed Sans"));
        tpl.setFontBold(3, true);
        tpl.setFontName(4, QStringLiteral("ipagothic"));
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
        QCOMPARE(p.fonts[3].bold, true);
        QCOMPARE(p.align,
                 (std::array{FooterAlign::RightOfAbove, FooterAlign::Centre, FooterAlign::Centre}));
    }
    void saveReadings()
    {
        PanelValues p = startup();
        p.frameSizeIndex = -1;
        p.fonts[0].fontSize = QStringLiteral("12.5");
        p.fonts[1].fontSize = QString();
        p.fonts[2].fontSize = QStringLiteral("13.5");
        p.align = {FooterAlign::Left, FooterAlign::LeftOfAbove, FooterAlign::RightOfAbove};
        TemplateFile tpl;
        p.toTemplate(tpl);
        QCOMPARE(tpl.borderWidth(), 0); // nothing selected: the empty value stays
        // Sizes round halves to even, an empty one is 0; alignments are written by their codes.
        QCOMPARE((QList<qint32>{tpl.fontSize(0), tpl.fontSize(1), tpl.fontSize(2), tpl.fontAlign(2),
                                tpl.fontAlign(4)}),
                 (QList<qint32>{12, 0, 14, 0, 4}));
    }
};

QTEST_GUILESS_MAIN(tst_PanelValues)
#include "tst_PanelValues.moc"
