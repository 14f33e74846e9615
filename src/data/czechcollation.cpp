#include "czechcollation.h"

#include <QString>
#include <sqlite3.h>
#include <vector>

namespace {

struct Weight {
    int primary;
    int secondary;
};

// Letters of their own in Czech come right after their base letter.
int letterWeight(char16_t base)  // base is 'a'..'z'
{
    return 1000 + (base - u'a') * 4;
}

void appendWeights(QStringView s, std::vector<Weight> *out)
{
    out->clear();
    out->reserve(size_t(s.size()));
    for (qsizetype i = 0; i < s.size(); ++i) {
        const QChar c = s.at(i).toLower();
        const char16_t u = c.unicode();
        // "ch" is one letter, after "h".
        if (u == u'c' && i + 1 < s.size() && s.at(i + 1).toLower() == QLatin1Char('h')) {
            out->push_back({letterWeight(u'h') + 1, 0});
            ++i;
            continue;
        }
        switch (u) {
        case u'č': out->push_back({letterWeight(u'c') + 1, 0}); continue;
        case u'ř': out->push_back({letterWeight(u'r') + 1, 0}); continue;
        case u'š': out->push_back({letterWeight(u's') + 1, 0}); continue;
        case u'ž': out->push_back({letterWeight(u'z') + 1, 0}); continue;
        default: break;
        }
        if (u >= u'a' && u <= u'z') {
            out->push_back({letterWeight(u), 0});
            continue;
        }
        if (u >= u'0' && u <= u'9') {
            out->push_back({500 + (u - u'0'), 0});
            continue;
        }
        // Other accented Latin letters sort with their base letter.
        const QString d = c.decomposition();
        if (!d.isEmpty()) {
            const char16_t b = d.at(0).toLower().unicode();
            if (b >= u'a' && b <= u'z') {
                out->push_back({letterWeight(b), 1 + int(d.size() > 1 ? d.at(1).unicode() % 97 : 0)});
                continue;
            }
        }
        if (u == u'ł') {
            out->push_back({letterWeight(u'l'), 50});
            continue;
        }
        // Blanks and punctuation before digits and letters, then anything else by code.
        out->push_back({u < 128 ? int(u) : 200000 + int(u), 0});
    }
}

int collate(void *, int lenA, const void *a, int lenB, const void *b)
{
    const QStringView va(static_cast<const char16_t *>(a), lenA / 2);
    const QStringView vb(static_cast<const char16_t *>(b), lenB / 2);
    return CzechCollation::compare(va, vb);
}

} // namespace

namespace CzechCollation {

int compare(QStringView a, QStringView b)
{
    thread_local std::vector<Weight> wa, wb;
    appendWeights(a, &wa);
    appendWeights(b, &wb);
    const size_t n = std::min(wa.size(), wb.size());
    for (size_t i = 0; i < n; ++i)
        if (wa[i].primary != wb[i].primary)
            return wa[i].primary < wb[i].primary ? -1 : 1;
    if (wa.size() != wb.size())
        return wa.size() < wb.size() ? -1 : 1;
    for (size_t i = 0; i < n; ++i)
        if (wa[i].secondary != wb[i].secondary)
            return wa[i].secondary < wb[i].secondary ? -1 : 1;
    return 0;
}

bool atOrAfter(QStringView text, QStringView prefix)
{
    std::vector<Weight> wt, wp;
    appendWeights(text, &wt);
    appendWeights(prefix, &wp);
    for (size_t i = 0; i < wp.size(); ++i) {
        if (i >= wt.size())
            return false;
        if (wt[i].primary != wp[i].primary)
            return wt[i].primary > wp[i].primary;
    }
    return true;
}

bool install(sqlite3 *db)
{
    return sqlite3_create_collation(db, name, SQLITE_UTF16_ALIGNED, nullptr, collate) == SQLITE_OK;
}

} // namespace CzechCollation
