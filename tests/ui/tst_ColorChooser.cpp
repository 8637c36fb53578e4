#include "support/FakePlatformServices.h"
#include "ui/ColorChooser.h"

#include <QFrame>
#include <QTest>

class tst_ColorChooser : public QObject
{
    Q_OBJECT

private slots:
    void paletteSwatch()
    {
        FakePlatformServices services;
        QFrame swatch;
        ColorChooser::setSwatchColor(&swatch, QColor(10, 20, 30));
        services.colorAnswers.enqueue(QColor(40, 50, 60, 100));
        QVERIFY(ColorChooser::chooseSwatchColor(nullptr, &swatch, services));
        QCOMPARE(services.colorCalls[0].initial, QColor(10, 20, 30));
        // The picture has no transparency: the chosen colour arrives opaque.
        QCOMPARE(ColorChooser::swatchColor(&swatch), QColor(40, 50, 60));
    }
};

QTEST_MAIN(tst_ColorChooser)
#include "tst_ColorChooser.moc"
