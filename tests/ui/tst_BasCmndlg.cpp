#include "support/FakePlatformServices.h"
#include "ui/BasCmndlg.h"

#include <QFrame>
#include <QTest>

class tst_BasCmndlg : public QObject
{
    Q_OBJECT

private slots:
    void paletteSwatch();
};

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
