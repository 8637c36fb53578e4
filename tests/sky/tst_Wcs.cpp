#include <QtTest>
class tst_Wcs : public QObject
{
    Q_OBJECT
};
QTEST_MAIN(tst_Wcs)
#include "tst_Wcs.moc"
