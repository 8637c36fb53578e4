#include <QtTest>
class tst_FieldFacts : public QObject
{
    Q_OBJECT
};
QTEST_MAIN(tst_FieldFacts)
#include "tst_FieldFacts.moc"
