#include <QtTest>
class TstRelations : public QObject { Q_OBJECT private slots: void placeholder() {} };
QTEST_GUILESS_MAIN(TstRelations)
#include "tst_relations.moc"
