#include <QtTest>
class Stub_tst_shiftclassifier : public QObject { Q_OBJECT private slots: void placeholder() { QVERIFY(true); } };
QTEST_GUILESS_MAIN(Stub_tst_shiftclassifier)
#include "tst_shiftclassifier.moc"
