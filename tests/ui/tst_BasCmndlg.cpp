#include "support/FakePlatformServices.h"
#include "ui/BasCmndlg.h"

#include <QFrame>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// A swatch like the editing panel's: its colour is a "BackColor" property, 0x00BBGGRR.
class Swatch : public QFrame
{
    Q_OBJECT
    Q_PROPERTY(qint32 BackColor MEMBER backColor)

public:
    qint32 backColor = 0;
};

} // namespace

class tst_BasCmndlg : public QObject
{
    Q_OBJECT

private slots:
    void propertySwatch();
    void paletteSwatch();
};

void tst_BasCmndlg::propertySwatch()
{
    FakePlatformServices services;
    Swatch swatch;
    swatch.backColor = 0x804020;
    services.colorAnswers << std::nullopt << QColor(255, 0, 0);
    QVERIFY(!BasCmndlg::chooseSwatchColor(nullptr, &swatch, services));
    QCOMPARE(swatch.backColor, 0x804020);
    QVERIFY(BasCmndlg::chooseSwatchColor(nullptr, &swatch, services));
    QCOMPARE(swatch.backColor, 0x0000FF);
    // The dialog starts at the swatch's colour: red 0x20, green 0x40, blue 0x80.
    QCOMPARE(services.colorCalls[0].initial, QColor(0x20, 0x40, 0x80));
    QCOMPARE(services.colorCalls[1].title, u"色の選択"_s);
}

void tst_BasCmndlg::paletteSwatch()
{
    FakePlatformServices services;
    QFrame swatch;
    BasCmndlg::setSwatchColor(&swatch, QColor(10, 20, 30));
    services.colorAnswers.enqueue(QColor(40, 50, 60, 100));
    QVERIFY(BasCmndlg::chooseSwatchColor(nullptr, &swatch, services));
    QCOMPARE(services.colorCalls[0].initial, QColor(10, 20, 30));
    // The picture has no transparency: the chosen colour arrives opaque.
    QCOMPARE(BasCmndlg::swatchColor(&swatch), QColor(40, 50, 60));
}

QTEST_MAIN(tst_BasCmndlg)
#include "tst_BasCmndlg.moc"
