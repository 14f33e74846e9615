#pragma once

#include <QMutex>
#include <QObject>

#include <vector>

// The tag list of the room access log windows (the program calls it TAGQUE_KAR): the entry
// numbers LPO:ID of the tagged log rows, kept in memory only. A row is tagged exactly when its
// entry number is in the list; the list holds numbers, not rows, so the number of a deleted row
// stays tagged and a later row given that number shows as tagged.
//
// The numbers are kept as a sorted list of disjoint ranges of consecutive numbers, so that
// tagging every row of a log of a million rows is one range, inverting the tags is one pass over
// the ranges and a look-up is a binary search; no operation reads the log. "Tag all" and
// "invert" take the first and the last entry number of the log from the caller: the numbers in
// between that belong to no row (deleted before the tagging) count as tagged too, which nothing
// can see, since the program gives a new row the highest number plus one.
//
// One list serves the whole program (TAGQUE_KAR()): every open log window uses it, on whatever
// thread it runs. Every read and change is serialised by the list's own lock; changed() is
// emitted after each change, outside the lock (queued to receivers on other threads).
class TagList : public QObject
{
    Q_OBJECT

public:
    struct Range {
        qint64 first;
        qint64 last;
        bool operator==(const Range &) const = default;
    };

    explicit TagList(QObject *parent = nullptr);

    bool contains(qint64 id) const;
    bool isEmpty() const;
    // How many numbers are tagged.
    qint64 count() const;
    // A copy of the ranges in ascending order.
    std::vector<Range> ranges() const;
    // Increases with every change (to tell whether the list changed since it was last read).
    quint64 generation() const;

    // Tags `id` when it is not tagged, untags it otherwise; true when it is tagged now.
    bool toggle(qint64 id);
    void setTagged(qint64 id, bool tagged);
    // Untags every number.
    void clear();
    // Tags exactly the numbers first..last ("tag all"); with last < first nothing is tagged.
    void tagAll(qint64 first, qint64 last);
    // Tags the numbers of first..last that are not tagged now and untags every other number
    // ("invert"); with last < first nothing is tagged.
    void invert(qint64 first, qint64 last);

    // The numbers of first..last that are tagged (`tagged` true) or not tagged, in ascending
    // order, when there are at most `most` of them: false, with `out` empty, when there are more.
    bool numbersWithin(qint64 first, qint64 last, bool tagged, qint64 most, std::vector<qint64> *out) const;

signals:
    void changed();

private:
    // The index of the range that holds `id`, or -1. Called with the lock held.
    int indexOf(qint64 id) const;
    void setTaggedLocked(qint64 id, bool tagged);
    void changedLocked() { ++m_generation; }

    mutable QMutex m_mutex;
    std::vector<Range> m_ranges;
    quint64 m_generation = 0;
};

// The program-wide tag list of the log windows.
TagList &TAGQUE_KAR();
