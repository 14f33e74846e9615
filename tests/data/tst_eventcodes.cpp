#include <QtTest>
class Stub_tst_eventcodes : public QObject { Q_OBJECT private slots: void placeholder() { QVERIFY(true); } };
QTEST_GUILESS_MAIN(Stub_tst_eventcodes)
#include "tst_eventcodes.moc"
