// People windows benchmark. Writes a log of 1,000,000 rows and one of 10,000 rows (200 people,
// four years of door and attendance events), opens BrowseAdresar and BrowsePristupy on each
// (offscreen) and times a change of the highlighted person up to the refilled right-hand lists,
// for 50 changes in a row (down the people list, one person at a time), on every period tab.
//
//   build/bench/bench_peoplewindows [DIR]   (DIR: a temporary directory; a DIR that already holds
//                                            the generated logs is used as it is)
//
// Exit code 0 when the median change on 1,000,000 rows takes at most twice the one on 10,000
// rows (plus 5 ms of measuring noise); 1 otherwise.

#include "browseadresar.h"
#include "browselist.h"
#include "browsepristupy.h"
#include "datacontext.h"
#include "filemanager.h"
#include "peoplepanel.h"
#include "shell.h"
#include "stddatetime.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTabBar>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <random>

namespace {

constexpr int kPeople = 200;

bool generate(const QString &dir, qint64 rows)
{
    QDir().mkpath(dir);
    DataContext ctx(dir);
    FileManager &people = ctx.file(TableId::ADR_DAT);
    FileManager &log = ctx.file(TableId::LOG_POKOJE);
    if (!people.use() || !log.use())
        return false;
    qint64 existing = 0;
    log.count({}, &existing);
    if (existing == rows)
        return true;
    if (existing != 0) {
        std::fprintf(stderr, "%s holds another log\n", qPrintable(dir));
        return false;
    }
    for (int i = 0; i < kPeople; ++i) {
        if (!people.primeRecord())
            return false;
        people.record().setText(ADR::NAZEV, QStringLiteral("Osoba %1").arg(i + 1));
        if (!people.insert().ok())
            return false;
    }
    Store &store = ctx.store();
    std::mt19937 rng(11);
    const qint32 start = StdDateTime::fromYmd(2021, 1, 1);
    const int codes[] = {41, 43, 51, 51, 51, 53, 66, 15, 10};
    Record r(TableId::LOG_POKOJE);
    store.begin({TableId::LOG_POKOJE}, 2000);
    for (qint64 id = 1; id <= rows; ++id) {
        r.clear();
        r.setInteger(LPO::ID, id);
        r.setInteger(LPO::DRZITEL, 1 + qint64(rng() % kPeople));
        r.setInteger(LPO::DATUM, start + qint32(id * 1461 / rows));
        r.setInteger(LPO::CAS, 1 + qint64(rng() % 8640000));
        r.setInteger(LPO::DATA, codes[rng() % 9]);
        r.setInteger(LPO::CTECKA, 1 + rng() % 20);
        r.setText(LPO::KARTA, QStringLiteral("04%1").arg(rng() % 5000, 8, 16, QLatin1Char('0')));
        if (!store.insert(r).ok())
            return false;
        if (id % 50000 == 0) {
            store.commit();
            store.begin({TableId::LOG_POKOJE}, 2000);
        }
    }
    return store.commit().ok();
}

// Median milliseconds of one change of the highlighted person, over 50 changes.
template<typename Window>
double timeChanges(Window *w, BrowseList *people, int tab)
{
    w->periodTabs()->setCurrentIndex(tab);
    people->goFirst();
    std::vector<double> ms;
    for (int i = 0; i < 50; ++i) {
        QElapsedTimer clock;
        clock.start();
        people->moveBy(1);
        ms.push_back(clock.nsecsElapsed() / 1e6);
    }
    std::sort(ms.begin(), ms.end());
    return ms[ms.size() / 2];
}

struct Figures {
    double adresar[5];
    double pristupy[5];
};

bool measure(const QString &dir, Figures *out)
{
    Shell::setDataDirectory(dir);
    auto *a = qobject_cast<BrowseAdresar *>(Shell::startProcedure(startBrowseAdresar));
    auto *p = qobject_cast<BrowsePristupy *>(Shell::startProcedure(startBrowsePristupy));
    if (!a || !p)
        return false;
    for (int tab = 0; tab < 5; ++tab) {
        out->adresar[tab] = timeChanges(a, a->people()->list(), tab);
        out->pristupy[tab] = timeChanges(p, p->people()->list(), tab);
    }
    delete p;
    delete a;
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir temp;
    const QString base = argc > 1 ? QString::fromLocal8Bit(argv[1]) : temp.path();
    // "Today" inside the generated years, so that every period tab lists rows.
    PeoplePanel::setTodayForTests(QDate(2023, 6, 15));
    Figures small{};
    Figures large{};
    const QString smallDir = base + QStringLiteral("/log10k");
    const QString largeDir = base + QStringLiteral("/log1m");
    if (!generate(smallDir, 10000) || !generate(largeDir, 1000000)) {
        std::fprintf(stderr, "could not write the logs\n");
        return 1;
    }
    if (!measure(smallDir, &small) || !measure(largeDir, &large)) {
        std::fprintf(stderr, "could not open the windows\n");
        return 1;
    }
    const char *tabs[] = {"Zobrazit vše", "Pouze dnešní", "Pouze včerejší", "Tento měsíc", "Minulý měsíc"};
    bool ok = true;
    std::printf("%-32s %12s %12s %8s\n", "person change (median ms)", "10,000", "1,000,000", "ratio");
    for (int tab = 0; tab < 5; ++tab) {
        const double pairs[2][2] = {{small.adresar[tab], large.adresar[tab]}, {small.pristupy[tab], large.pristupy[tab]}};
        for (int w = 0; w < 2; ++w) {
            const double s = pairs[w][0];
            const double l = pairs[w][1];
            const bool within = l <= 2 * s + 5;
            ok = ok && within;
            std::printf("%-15s %-16s %12.2f %12.2f %8.2f%s\n", w == 0 ? "BrowseAdresar" : "BrowsePristupy", tabs[tab],
                        s, l, s > 0 ? l / s : 0.0, within ? "" : "  (over 2x)");
        }
    }
    return ok ? 0 : 1;
}
