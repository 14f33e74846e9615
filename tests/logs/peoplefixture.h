#pragma once

// Shared data of the people window tests: people, log rows, units and cards written through a
// context of their own, and the rows a list shows.

#include "browselist.h"
#include "datacontext.h"
#include "filemanager.h"
#include "stddatetime.h"

#include <QList>
#include <QPointer>
#include <QTableView>
#include <QWidget>
#include <QtTest>

namespace PeopleFixture {

// Deletes the windows a test opened, last first.
class Windows
{
public:
    ~Windows()
    {
        for (qsizetype i = m_list.size() - 1; i >= 0; --i)
            delete m_list[i].data();
    }
    template<typename W> W *keep(W *w)
    {
        m_list.append(w);
        return w;
    }

private:
    QList<QPointer<QWidget>> m_list;
};

// A person; returns the code the table numbered it with.
inline qint32 addPerson(const QString &dir, const QString &name)
{
    DataContext c(dir);
    FileManager &fm = c.file(TableId::ADR_DAT);
    if (!fm.primeRecord())
        return 0;
    fm.record().setText(ADR::NAZEV, name);
    if (!fm.insert().ok())
        return 0;
    return qint32(fm.record().integer(ADR::KOD));
}

// A log row; returns its entry number.
inline qint64 addLog(const QString &dir, qint32 person, const QDate &date, int hour, int minute, int code,
                     int reader = 0)
{
    DataContext c(dir);
    FileManager &fm = c.file(TableId::LOG_POKOJE);
    if (!fm.primeRecord())
        return 0;
    fm.record().setInteger(LPO::DRZITEL, person);
    fm.record().setInteger(LPO::DATUM, StdDateTime::fromQDate(date));
    fm.record().setInteger(LPO::CAS, StdDateTime::fromHms(hour, minute));
    fm.record().setInteger(LPO::DATA, code);
    fm.record().setInteger(LPO::CTECKA, reader);
    fm.record().setText(LPO::KARTA, QStringLiteral("K%1").arg(code));
    if (!fm.insert().ok())
        return 0;
    return fm.record().integer(LPO::ID);
}

inline void addUnit(const QString &dir, int id, const QString &name)
{
    DataContext c(dir);
    FileManager &fm = c.file(TableId::GCU_POK);
    QVERIFY(fm.primeRecord());
    fm.record().setInteger(GCP::ID_GCU, id);
    fm.record().setText(GCP::NAZEV, name);
    QVERIFY(fm.insert().ok());
}

inline void addCard(const QString &dir, qint32 holder, const QString &rfid, int state)
{
    DataContext c(dir);
    FileManager &fm = c.file(TableId::CARDS);
    QVERIFY(fm.primeRecord());
    fm.record().setInteger(CAR::DRZITEL, holder);
    fm.record().setText(CAR::KOD_RFID, rfid);
    fm.record().setInteger(CAR::STAV_KARTY, state);
    QVERIFY(fm.insert().ok());
}

// Every log row of the table, in entry order.
inline std::vector<Record> logRows(const QString &dir)
{
    DataContext c(dir);
    std::vector<Record> rows;
    PageRequest all = PageRequest::forKey(tableDef(TableId::LOG_POKOJE), LPO::KeyId);
    all.limit = 0;
    c.file(TableId::LOG_POKOJE).readPage(all, &rows);
    return rows;
}

// A field of every row the list shows, in its order.
inline QList<qint64> listed(BrowseList *list, int field)
{
    QList<qint64> out;
    list->forEachRecord([&](const Record &r) {
        out.append(r.integer(field));
        return true;
    });
    return out;
}

// The text of a cell of the list's view (row on the page, column).
inline QString cell(BrowseList *list, int row, int column)
{
    return list->view()->model()->index(row, column).data().toString().trimmed();
}

// Highlights the person with `kod` by typing the code into the people list, as a user would.
inline void highlight(BrowseList *people, qint32 kod)
{
    QTest::keyClicks(people->view(), QString::number(kod));
}

} // namespace PeopleFixture
