#include "taglist.h"

#include <QMutexLocker>

#include <algorithm>

TagList::TagList(QObject *parent)
    : QObject(parent)
{
}

int TagList::indexOf(qint64 id) const
{
    // The first range that starts after `id`; the one before it may hold it.
    const auto after = std::upper_bound(m_ranges.begin(), m_ranges.end(), id,
                                        [](qint64 value, const Range &r) { return value < r.first; });
    if (after == m_ranges.begin())
        return -1;
    const auto candidate = std::prev(after);
    return id <= candidate->last ? int(candidate - m_ranges.begin()) : -1;
}

bool TagList::contains(qint64 id) const
{
    QMutexLocker lock(&m_mutex);
    return indexOf(id) >= 0;
}

bool TagList::isEmpty() const
{
    QMutexLocker lock(&m_mutex);
    return m_ranges.empty();
}

qint64 TagList::count() const
{
    QMutexLocker lock(&m_mutex);
    qint64 n = 0;
    for (const Range &r : m_ranges)
        n += r.last - r.first + 1;
    return n;
}

std::vector<TagList::Range> TagList::ranges() const
{
    QMutexLocker lock(&m_mutex);
    return m_ranges;
}

quint64 TagList::generation() const
{
    QMutexLocker lock(&m_mutex);
    return m_generation;
}

void TagList::setTaggedLocked(qint64 id, bool tagged)
{
    const int at = indexOf(id);
    if ((at >= 0) == tagged)
        return;
    if (!tagged) {
        // Take the number out of its range: the range shrinks, goes, or splits in two.
        Range &r = m_ranges[size_t(at)];
        if (r.first == r.last) {
            m_ranges.erase(m_ranges.begin() + at);
        } else if (id == r.first) {
            ++r.first;
        } else if (id == r.last) {
            --r.last;
        } else {
            const Range upper{id + 1, r.last};
            r.last = id - 1;
            m_ranges.insert(m_ranges.begin() + at + 1, upper);
        }
        return;
    }
    // Into the gap between two ranges: it joins the range before, the range after, or both.
    const auto next = std::upper_bound(m_ranges.begin(), m_ranges.end(), id,
                                       [](qint64 value, const Range &r) { return value < r.first; });
    const bool joinsPrevious = next != m_ranges.begin() && std::prev(next)->last + 1 == id;
    const bool joinsNext = next != m_ranges.end() && next->first - 1 == id;
    if (joinsPrevious && joinsNext) {
        std::prev(next)->last = next->last;
        m_ranges.erase(next);
    } else if (joinsPrevious) {
        std::prev(next)->last = id;
    } else if (joinsNext) {
        next->first = id;
    } else {
        m_ranges.insert(next, Range{id, id});
    }
}

bool TagList::toggle(qint64 id)
{
    bool now;
    {
        QMutexLocker lock(&m_mutex);
        now = indexOf(id) < 0;
        setTaggedLocked(id, now);
        changedLocked();
    }
    emit changed();
    return now;
}

void TagList::setTagged(qint64 id, bool tagged)
{
    {
        QMutexLocker lock(&m_mutex);
        setTaggedLocked(id, tagged);
        changedLocked();
    }
    emit changed();
}

void TagList::clear()
{
    {
        QMutexLocker lock(&m_mutex);
        m_ranges.clear();
        changedLocked();
    }
    emit changed();
}

void TagList::tagAll(qint64 first, qint64 last)
{
    {
        QMutexLocker lock(&m_mutex);
        m_ranges.clear();
        if (first <= last)
            m_ranges.push_back({first, last});
        changedLocked();
    }
    emit changed();
}

void TagList::invert(qint64 first, qint64 last)
{
    {
        QMutexLocker lock(&m_mutex);
        std::vector<Range> inverted;
        if (first <= last) {
            // The gaps between the ranges, within first..last; numbers outside it are dropped.
            qint64 from = first;
            for (const Range &r : m_ranges) {
                if (r.last < from)
                    continue;
                if (r.first > last)
                    break;
                if (r.first > from)
                    inverted.push_back({from, r.first - 1});
                from = r.last + 1;
                if (from > last)
                    break;
            }
            if (from <= last)
                inverted.push_back({from, last});
        }
        m_ranges = std::move(inverted);
        changedLocked();
    }
    emit changed();
}

bool TagList::numbersWithin(qint64 first, qint64 last, bool tagged, qint64 most, std::vector<qint64> *out) const
{
    out->clear();
    if (last < first)
        return true;
    QMutexLocker lock(&m_mutex);
    // The tagged ranges clipped to first..last; the untagged numbers are the gaps between them.
    std::vector<Range> within;
    qint64 taggedCount = 0;
    for (const Range &r : m_ranges) {
        if (r.last < first)
            continue;
        if (r.first > last)
            break;
        within.push_back({std::max(r.first, first), std::min(r.last, last)});
        taggedCount += within.back().last - within.back().first + 1;
    }
    const qint64 wanted = tagged ? taggedCount : (last - first + 1) - taggedCount;
    if (wanted > most)
        return false;
    out->reserve(size_t(wanted));
    if (tagged) {
        for (const Range &r : within)
            for (qint64 id = r.first; id <= r.last; ++id)
                out->push_back(id);
        return true;
    }
    qint64 from = first;
    for (const Range &r : within) {
        for (qint64 id = from; id < r.first; ++id)
            out->push_back(id);
        from = r.last + 1;
    }
    for (qint64 id = from; id <= last; ++id)
        out->push_back(id);
    return true;
}

TagList &TAGQUE_KAR()
{
    static TagList list;
    return list;
}
