#include "czechcollation.h"
#include "datacontext.h"
#include "fieldlimits.h"
#include "messages.h"
#include "scratchdir.h"
#include "scriptedreporter.h"
#include "sqlitestore.h"

#include <QFile>
#include <QtTest>
#include <sqlite3.h>

// The tables as files: layouts, keys, orders, numbering and the limits of the fields.
class TstTables : public QObject
{
    Q_OBJECT

private slots:
    void recordLengths_data();
    void recordLengths();
    void missingFilesAreCreatedEmpty();
    void plainConnectionReadsAndInserts();
    void optKeyLeavesBlankRecordsOut();
    void autoNumbering();
    void czechNameOrder();
    void locatorComparesLikeTheOrder_data();
    void locatorComparesLikeTheOrder();
    void pagesInBothDirections();
    void fieldLimits_data();
    void fieldLimits();
    void decimalKeptExactly();
    void duplicateInUniqueKeyRefused();
    void hiddenFieldsSurviveAChange();
};

namespace {

// Inserts a person through the file manager as a form would: prime, fill, insert.
qint64 addPerson(DataContext &ctx, const QString &name, qint64 personal = 0)
{
    FileManager &fm = ctx.file(TableId::ADR_DAT);
    if (!fm.primeRecord())
        return -1;
    fm.record().setText(ADR::NAZEV, name);
    fm.record().setInteger(ADR::OSOBNI_CISLO, personal);
    if (!fm.insert().ok())
        return -1;
    return fm.record().integer(ADR::KOD);
}

QStringList names(const std::vector<Record> &rows, int field)
{
    QStringList out;
    for (const Record &r : rows)
        out << r.text(field);
    return out;
}

} // namespace

void TstTables::recordLengths_data()
{
    QTest::addColumn<int>("table");
    QTest::addColumn<int>("length");
    const int lengths[] = {7, 16, 47, 257, 28, 166, 44, 13, 396};
    for (int i = 0; i < TableCount; ++i)
        QTest::newRow(tableDef(TableId(i)).label) << i << lengths[i];
}

void TstTables::recordLengths()
{
    QFETCH(int, table);
    QFETCH(int, length);
    QCOMPARE(tableDef(TableId(table)).recordLength(), length);
}

void TstTables::missingFilesAreCreatedEmpty()
{
    ScratchDir dir;
    ScriptedReporter reporter;
    DataContext ctx(dir.path());
    for (int i = 0; i < TableCount; ++i) {
        FileManager &fm = ctx.file(TableId(i));
        fm.open();
        QVERIFY(fm.use());
        QVERIFY(QFile::exists(dir.file(fm.def().fileName())));
        qint64 n = -1;
        QVERIFY(fm.count({}, &n).ok());
        QCOMPARE(n, 0);
    }
    QVERIFY(reporter.entries().isEmpty());
    QVERIFY(QFile::exists(dir.file(QStringLiteral("databze_karet.sqlite"))));
    QVERIFY(QFile::exists(dir.file(QStringLiteral("GCU_ALAR.sqlite"))));
}

void TstTables::plainConnectionReadsAndInserts()
{
    ScratchDir dir;
    ScriptedReporter reporter;
    DataContext ctx(dir.path());
    QCOMPARE(addPerson(ctx, QStringLiteral("Žofie Nováková")), 1);
    FileManager &log = ctx.file(TableId::LOG_POKOJE);
    QVERIFY(log.primeRecord());
    log.record().setText(LPO::KARTA, QStringLiteral("00AB"));
    QVERIFY(log.insert().ok());

    // The communication service: a plain connection with nothing of ours registered.
    sqlite3 *db = nullptr;
    QCOMPARE(sqlite3_open(QFile::encodeName(dir.file(QStringLiteral("logy_pokoje.sqlite"))).constData(), &db), SQLITE_OK);
    QCOMPARE(sqlite3_exec(db, "INSERT INTO LOG_POKOJE (KARTA, DATA, DATUM, CAS, DRZITEL) VALUES ('00CD', 41, 80000, 100, 1)",
                          nullptr, nullptr, nullptr),
             SQLITE_OK);
    QCOMPARE(sqlite3_last_insert_rowid(db), 2);
    sqlite3_close(db);
    QCOMPARE(sqlite3_open(QFile::encodeName(dir.file(QStringLiteral("adresar.sqlite"))).constData(), &db), SQLITE_OK);
    sqlite3_stmt *st = nullptr;
    QCOMPARE(sqlite3_prepare_v2(db, "SELECT NAZEV, STRAVA FROM ADR_DAT", -1, &st, nullptr), SQLITE_OK);
    QCOMPARE(sqlite3_step(st), SQLITE_ROW);
    QCOMPARE(QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(st, 0))), QStringLiteral("Žofie Nováková"));
    sqlite3_finalize(st);
    sqlite3_close(db);

    std::vector<Record> rows;
    QVERIFY(log.readPage(PageRequest::forKey(log.def(), LPO::KeyId), &rows).ok());
    QCOMPARE(rows.size(), size_t(2));
    QCOMPARE(rows[1].text(LPO::KARTA), QStringLiteral("00CD"));
    QCOMPARE(rows[1].integer(LPO::POZNAMKA), 0);  // a column the service left out reads as cleared
    QCOMPARE(rows[1].text(LPO::POZNAMKA), QString());
}

void TstTables::optKeyLeavesBlankRecordsOut()
{
    ScratchDir dir;
    ScriptedReporter reporter;
    DataContext ctx(dir.path());
    FileManager &cards = ctx.file(TableId::CARDS);
    for (const char *rfid : {"B1", "", "A1"}) {
        cards.primeRecord();
        cards.record().setText(CAR::KOD_RFID, QString::fromLatin1(rfid));
        QVERIFY(cards.insert().ok());
    }
    std::vector<Record> rows;
    QVERIFY(cards.readPage(PageRequest::forKey(cards.def(), CAR::KeyRFID), &rows).ok());
    QCOMPARE(names(rows, CAR::KOD_RFID), (QStringList{QStringLiteral("A1"), QStringLiteral("B1")}));
    QVERIFY(cards.readPage(PageRequest::forKey(cards.def(), CAR::Primary), &rows).ok());
    QCOMPARE(rows.size(), size_t(3));
    // A person with a blank name is still in the name order: the key's person number is not blank.
    addPerson(ctx, QString());
    addPerson(ctx, QStringLiteral("Adam"));
    FileManager &people = ctx.file(TableId::ADR_DAT);
    QVERIFY(people.readPage(PageRequest::forKey(people.def(), ADR::KeyNazev), &rows).ok());
    QCOMPARE(rows.size(), size_t(2));
}

void TstTables::autoNumbering()
{
    ScratchDir dir;
    ScriptedReporter reporter;
    DataContext ctx(dir.path());
    QCOMPARE(addPerson(ctx, QStringLiteral("A")), 1);
    QCOMPARE(addPerson(ctx, QStringLiteral("B")), 2);
    QCOMPARE(addPerson(ctx, QStringLiteral("C")), 3);
    FileManager &fm = ctx.file(TableId::ADR_DAT);
    QVERIFY(fm.fetch(ADR::KeyKod, {2}));
    QVERIFY(fm.remove().ok());
    QCOMPARE(addPerson(ctx, QStringLiteral("D")), 4);
    QVERIFY(fm.fetch(ADR::KeyKod, {4}));
    QVERIFY(fm.remove().ok());
    QCOMPARE(addPerson(ctx, QStringLiteral("E")), 4);

    // The number is reserved while the form is open; giving the insert up deletes it again.
    QVERIFY(fm.primeRecord());
    QCOMPARE(fm.record().integer(ADR::KOD), 5);
    DataContext other(dir.path());
    QCOMPARE(addPerson(other, QStringLiteral("F")), 6);
    fm.abandonReservation();
    qint64 n = 0;
    QVERIFY(fm.count({}, &n).ok());
    QCOMPARE(n, 4);

    // Cards take their number from the store.
    FileManager &cards = ctx.file(TableId::CARDS);
    QVERIFY(cards.primeRecord());
    QVERIFY(!cards.hasReservation());
    QVERIFY(cards.insert().ok());
    QCOMPARE(cards.record().integer(CAR::ID), 1);
    QVERIFY(cards.primeRecord());
    QVERIFY(cards.insert().ok());
    QCOMPARE(cards.record().integer(CAR::ID), 2);
}

void TstTables::czechNameOrder()
{
    ScratchDir dir;
    ScriptedReporter reporter;
    DataContext ctx(dir.path());
    for (const char *n : {"černý", "Cibulka", "Hora", "Chalupa", "Černý", "Dvořák", "Čáp", "Zelený", "Šťastný", "Adámek",
                          "adam"})
        addPerson(ctx, QString::fromUtf8(n));
    FileManager &fm = ctx.file(TableId::ADR_DAT);
    std::vector<Record> rows;
    QVERIFY(fm.readPage(PageRequest::forKey(fm.def(), ADR::KeyNazev), &rows).ok());
    const QStringList expected = QString::fromUtf8("adam|Adámek|Cibulka|Čáp|černý|Černý|Dvořák|Hora|Chalupa|Šťastný|Zelený")
                                     .split(QLatin1Char('|'));
    QCOMPARE(names(rows, ADR::NAZEV), expected);
}

void TstTables::locatorComparesLikeTheOrder_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("atOrAfter");
    QTest::newRow("same letter") << QStringLiteral("Cibulka") << QStringLiteral("c") << true;
    QTest::newRow("č after c") << QString::fromUtf8("Čáp") << QStringLiteral("C") << true;
    QTest::newRow("c before č") << QStringLiteral("Cibulka") << QString::fromUtf8("č") << false;
    QTest::newRow("ch after h") << QStringLiteral("Chalupa") << QStringLiteral("H") << true;
    QTest::newRow("ch not at c") << QStringLiteral("Chalupa") << QStringLiteral("I") << false;
    QTest::newRow("á with a") << QString::fromUtf8("Ádám") << QStringLiteral("a") << true;
}

void TstTables::locatorComparesLikeTheOrder()
{
    QFETCH(QString, text);
    QFETCH(QString, typed);
    QFETCH(bool, atOrAfter);
    QCOMPARE(CzechCollation::atOrAfter(text, typed), atOrAfter);
}

void TstTables::pagesInBothDirections()
{
    ScratchDir dir;
    ScriptedReporter reporter;
    DataContext ctx(dir.path());
    FileManager &log = ctx.file(TableId::LOG_POKOJE);
    // Five rows on two dates, inserted out of order.
    const int dates[] = {2, 1, 2, 1, 2};
    for (int d : dates) {
        log.primeRecord();
        log.record().setInteger(LPO::DATUM, d);
        log.record().setInteger(LPO::CAS, 100);
        QVERIFY(log.insert().ok());
    }
    PageRequest req = PageRequest::forKey(log.def(), LPO::KeyDatum_Cas);
    req.limit = 2;
    std::vector<Record> rows;
    QVERIFY(log.readPage(req, &rows).ok());
    QCOMPARE(rows.size(), size_t(2));
    QCOMPARE(rows[0].integer(LPO::ID), 2);
    QCOMPARE(rows[1].integer(LPO::ID), 4);
    // Next page from the last row, exclusive.
    req.from = {rows[1].value(LPO::DATUM), rows[1].value(LPO::CAS), rows[1].value(LPO::ID)};
    req.hasRowId = true;
    req.fromRowId = rows[1].rowId();
    req.inclusive = false;
    QVERIFY(log.readPage(req, &rows).ok());
    QCOMPARE(rows[0].integer(LPO::ID), 1);
    QCOMPARE(rows[1].integer(LPO::ID), 3);
    // Backwards from there.
    req.from = {rows[0].value(LPO::DATUM), rows[0].value(LPO::CAS), rows[0].value(LPO::ID)};
    req.fromRowId = rows[0].rowId();
    req.backwards = true;
    req.limit = 10;
    QVERIFY(log.readPage(req, &rows).ok());
    QCOMPARE(rows.size(), size_t(2));
    QCOMPARE(rows[0].integer(LPO::ID), 4);
    QCOMPARE(rows[1].integer(LPO::ID), 2);
    // By leading key value only (a locator or the start of a range).
    PageRequest byDate = PageRequest::forKey(log.def(), LPO::KeyDatum_Cas);
    byDate.from = {QVariant(2)};
    QVERIFY(log.readPage(byDate, &rows).ok());
    QCOMPARE(rows.size(), size_t(3));
}

void TstTables::fieldLimits_data()
{
    QTest::addColumn<int>("table");
    QTest::addColumn<int>("field");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<bool>("fits");
    QTest::addColumn<QVariant>("stored");
    const int adr = int(TableId::ADR_DAT), car = int(TableId::CARDS), kal = int(TableId::KALENDAR);
    QTest::newRow("STRING cut") << adr << int(ADR::STAT) << QVariant(QStringLiteral("Česká republika a okolí!"))
                                << true << QVariant(QStringLiteral("Česká republika a ok"));
    QTest::newRow("CSTRING 127") << car << int(CAR::POZNAMKA) << QVariant(QString(130, QLatin1Char('x'))) << true
                                 << QVariant(QString(127, QLatin1Char('x')));
    QTest::newRow("outside code page") << adr << int(ADR::NAZEV) << QVariant(QStringLiteral("Ивана")) << false << QVariant();
    QTest::newRow("BYTE 255") << car << int(CAR::STAV_KARTY) << QVariant(255) << true << QVariant(255);
    QTest::newRow("BYTE 300") << car << int(CAR::STAV_KARTY) << QVariant(300) << false << QVariant();
    QTest::newRow("BYTE -1") << car << int(CAR::STAV_KARTY) << QVariant(-1) << false << QVariant();
    QTest::newRow("DECIMAL 3 bytes 5 digits") << car << int(CAR::CISLO_POKOJE) << QVariant(99999) << true << QVariant(99999);
    QTest::newRow("DECIMAL 3 bytes 6 digits") << car << int(CAR::CISLO_POKOJE) << QVariant(100000) << false << QVariant();
    QTest::newRow("DECIMAL 2 bytes 4 digits") << kal << int(KAL::MESIC) << QVariant(1000) << false << QVariant();
    QTest::newRow("LONG beyond 32 bits") << car << int(CAR::DRUH) << QVariant(qlonglong(1) << 31) << false << QVariant();
}

void TstTables::fieldLimits()
{
    QFETCH(int, table);
    QFETCH(int, field);
    QFETCH(QVariant, value);
    QFETCH(bool, fits);
    QFETCH(QVariant, stored);
    ScratchDir dir;
    ScriptedReporter reporter;
    DataContext ctx(dir.path());
    FileManager &fm = ctx.file(TableId(table));
    QVERIFY(fm.primeRecord());
    fm.record().setValue(field, value);
    const OpResult r = fm.insert();
    QCOMPARE(r.ok(), fits);
    std::vector<Record> rows;
    QVERIFY(fm.readPage(PageRequest::forKey(fm.def(), fm.def().primaryKey()), &rows).ok());
    if (fits) {
        QCOMPARE(rows.size(), size_t(1));
        QCOMPARE(rows[0].value(field).toString(), stored.toString());
    } else {
        QCOMPARE(r.kind, OpResult::OutOfRange);
        QCOMPARE(r.field, field);
        reportFailure(r, Operation::Insert, fm.def(), true);
        QCOMPARE(reporter.entries().last().title, QStringLiteral("Chybná hodnota"));
        QVERIFY(reporter.entries().last().text.contains(fm.def().qualifiedName(field)));
        // Nothing but the reservation (if the table numbers automatically) is there.
        for (const Record &row : rows)
            QVERIFY(row.isBlank(field) || row.value(field) != value);
    }
}

void TstTables::decimalKeptExactly()
{
    ScratchDir dir;
    ScriptedReporter reporter;
    DataContext ctx(dir.path());
    FileManager &fm = ctx.file(TableId::KAT_DAT);
    QVERIFY(fm.primeRecord());
    fm.record().setText(DAT::KATEGORIE, QStringLiteral("Wellness"));
    fm.record().setInteger(DAT::CENA, 1234567);  // 12 345,67
    QVERIFY(fm.insert().ok());
    QVERIFY(fm.fetch(DAT::KeyKod, {1}));
    QCOMPARE(fm.record().integer(DAT::CENA), 1234567);
    sqlite3 *db = nullptr;
    sqlite3_open(QFile::encodeName(dir.file(QStringLiteral("kategorie.sqlite"))).constData(), &db);
    sqlite3_stmt *st = nullptr;
    sqlite3_prepare_v2(db, "SELECT CENA FROM KAT_DAT", -1, &st, nullptr);
    QCOMPARE(sqlite3_step(st), SQLITE_ROW);
    QCOMPARE(QByteArray(reinterpret_cast<const char *>(sqlite3_column_text(st, 0))), QByteArray("12345.67"));
    sqlite3_finalize(st);
    sqlite3_close(db);
}

void TstTables::duplicateInUniqueKeyRefused()
{
    ScratchDir dir;
    ScriptedReporter reporter;
    DataContext ctx(dir.path());
    FileManager &units = ctx.file(TableId::GCU_POK);
    QVERIFY(units.primeRecord());
    QCOMPARE(units.record().integer(GCP::VERZE_GCU), 2);
    QCOMPARE(units.record().integer(GCP::DELKA_ZVUKU), 20);
    QVERIFY(units.insert().ok());
    QVERIFY(units.primeRecord());
    const OpResult r = units.insert();  // a second unit number 0
    QVERIFY(!r.ok());
    QCOMPARE(r.status, StoreStatus::Duplicate);
    QCOMPARE(messageFor(r, Operation::Insert, true), MessageId::DuplicateKey);
}

void TstTables::hiddenFieldsSurviveAChange()
{
    ScratchDir dir;
    ScriptedReporter reporter;
    DataContext ctx(dir.path());
    FileManager &cards = ctx.file(TableId::CARDS);
    QVERIFY(cards.primeRecord());
    for (int f = 0; f < int(cards.def().fields.size()); ++f)
        if (f != CAR::ID && !cards.def().fields[f].isText())
            cards.record().setInteger(f, f % 7 + 1);
    cards.record().setText(CAR::KOD, QStringLiteral("K-17"));
    QVERIFY(cards.insert().ok());
    const Record before = cards.record();
    cards.record().setText(CAR::KOD_RFID, QStringLiteral("FF00"));
    QVERIFY(cards.update().ok());
    QVERIFY(cards.fetch(CAR::Primary, {before.integer(CAR::ID)}));
    for (int f = 0; f < int(cards.def().fields.size()); ++f)
        if (f != CAR::KOD_RFID)
            QCOMPARE(cards.record().value(f), before.value(f));
}

QTEST_GUILESS_MAIN(TstTables)
#include "tst_tables.moc"
