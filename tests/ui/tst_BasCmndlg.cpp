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

// The sixteen custom colours, written out as red, green, blue.
const QList<QColor> Standard = {
    QColor(0, 0, 0),       QColor(0, 0, 128),   QColor(0, 128, 0),   QColor(0, 128, 128),
    QColor(128, 0, 0),     QColor(128, 0, 128), QColor(128, 128, 0), QColor(192, 192, 192),
    QColor(128, 128, 128), QColor(0, 0, 255),   QColor(0, 255, 0),   QColor(0, 255, 255),
    QColor(255, 0, 0),     QColor(255, 0, 255), QColor(255, 255, 0), QColor(255, 255, 255),
};

} // namespace

class tst_BasCmndlg : public QObject
{
    Q_OBJECT

private slots:
    void customColoursAtEveryOpening();
    void swatchOkAndCancel_data();
    void swatchOkAndCancel();
    void paletteSwatch();
};

void tst_BasCmndlg::customColoursAtEveryOpening()
{
    QCOMPARE(BasCmndlg::standardCustomColors(), Standard);

    FakePlatformServices services;
    Swatch swatch;
    services.colorAnswers.enqueue(QColor(1, 2, 3));
    services.colorAnswers.enqueue(std::nullopt);
    BasCmndlg::chooseSwatchColor(nullptr, &swatch, services);
    BasCmndlg::chooseSwatchColor(nullptr, &swatch, services);
    QCOMPARE(services.colorCalls.size(), 2);
    for (const auto &call : services.colorCalls) {
        QCOMPARE(call.customColors, Standard);
        QCOMPARE(call.title, u"色の選択"_s);
    }
}

void tst_BasCmndlg::swatchOkAndCancel_data()
{
    QTest::addColumn<bool>("ok");
    QTest::addColumn<qint32>("after");

    // The user picks red (0x0000FF as 0x00BBGGRR).
    QTest::newRow("OK replaces the colour") << true << qint32(0x0000FF);
    QTest::newRow("Cancel keeps it") << false << qint32(0x804020);
}

void tst_BasCmndlg::swatchOkAndCancel()
{
    QFETCH(bool, ok);
    QFETCH(qint32, after);

    FakePlatformServices services;
    Swatch swatch;
    swatch.backColor = 0x804020;
    services.colorAnswers.enqueue(ok ? std::optional<QColor>(QColor(255, 0, 0)) : std::nullopt);
    QCOMPARE(BasCmndlg::chooseSwatchColor(nullptr, &swatch, services), ok);
    QCOMPARE(services.colorCalls.size(), 1);
    // The dialog starts at the swatch's colour: red 0x20, green 0x40, blue 0x80.
    QCOMPARE(services.colorCalls[0].initial, QColor(0x20, 0x40, 0x80));
    QCOMPARE(swatch.backColor, after);
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
