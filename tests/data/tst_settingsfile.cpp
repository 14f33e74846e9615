#include <QtTest>
class Stub_tst_settingsfile : public QObject { Q_OBJECT private slots: void placeholder() { QVERIFY(true); } };
QTEST_GUILESS_MAIN(Stub_tst_settingsfile)
#include "tst_settingsfile.moc"
