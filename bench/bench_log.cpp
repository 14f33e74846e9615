// Log store benchmark: inserts a log of 1,000,000 rows (200 people over four years) and one of
// 10,000 rows with as many rows per person and month (2 people), then times reading one
// person's month in the person, date and time order. The read in the large log should stay
// within twice the read in the small one.
//
//   build/bench/bench_log [DIR]     (DIR defaults to a temporary directory)

#include "datacontext.h"
#include "demogenerator.h"
#include "sqlitestore.h"
#include "stddatetime.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <cstdio>

namespace {

struct Figures {
    double insertPerSecond = 0;
    double monthReadMs = 0;
    qint64 monthRows = 0;
};

constexpr int years = 4;
constexpr int firstYear = 2023;

Figures run(const QString &dir, int people, int rowsPerPerson)
{
    Figures f;
    DataContext ctx(dir);
    FileManager &log = ctx.file(TableId::LOG_POKOJE);
    log.use();
    QElapsedTimer t;
    t.start();
    QString error;
    DemoGenerator::LogOptions options;
    options.people = people;
    options.firstYear = firstYear;
    options.years = years;
    options.rows = qint64(people) * rowsPerPerson;
    if (!DemoGenerator::generateLog(ctx, options, &error))
        std::fprintf(stderr, "%s\n", qPrintable(error));
    f.insertPerSecond = double(options.rows) / (double(t.nsecsElapsed()) / 1e9);

    // One person's month, read as the monthly report and the people windows read it.
    const qint32 from = StdDateTime::fromYmd(firstYear + 2, 5, 1);
    const qint32 to = StdDateTime::fromYmd(firstYear + 2, 5, 31);
    const int repeats = 50;
    t.restart();
    for (int k = 0; k < repeats; ++k) {
        PageRequest req = PageRequest::forKey(log.def(), LPO::KeyOsoba_Dat_Cas);
        req.where = {{LPO::DRZITEL, Condition::Eq, 1}, {LPO::DATUM, Condition::Ge, from}, {LPO::DATUM, Condition::Le, to}};
        req.limit = 0;
        std::vector<Record> rows;
        log.readPage(req, &rows);
        f.monthRows = qint64(rows.size());
    }
    f.monthReadMs = double(t.nsecsElapsed()) / 1e6 / repeats;
    return f;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir tmp;
    const QString base = argc > 1 ? QString::fromLocal8Bit(argv[1]) : tmp.path();
    QDir().mkpath(base + QStringLiteral("/large"));
    QDir().mkpath(base + QStringLiteral("/small"));
    const Figures large = run(base + QStringLiteral("/large"), 200, 5000);
    const Figures small = run(base + QStringLiteral("/small"), 2, 5000);
    std::printf("log of 1,000,000 rows: %.0f rows/s inserted; one person's month (%lld rows) read in %.3f ms\n",
                large.insertPerSecond, static_cast<long long>(large.monthRows), large.monthReadMs);
    std::printf("log of    10,000 rows: %.0f rows/s inserted; one person's month (%lld rows) read in %.3f ms\n",
                small.insertPerSecond, static_cast<long long>(small.monthRows), small.monthReadMs);
    std::printf("month read, large/small: %.2fx (goal: within 2x)\n", large.monthReadMs / small.monthReadMs);
    return large.monthReadMs <= 2 * small.monthReadMs ? 0 : 1;
}
