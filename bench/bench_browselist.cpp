// List benchmark: a room access log list (LOG_POKOJE in the order of LPO:KeyId) over a log of
// 1,000,000 rows against one of 1,000 rows. Times opening the list (window, first page), going
// to the end (End), dragging the scroll bar to places all over the log and paging down, and
// reports the peak memory of a process that only opens and scrolls the list. Opening and going
// to the end of the large log should stay within twice the times of the small one.
//
//   build/bench/bench_browselist [DIR]     (DIR defaults to a temporary directory)
//
// The program makes both logs, then measures each in a process of its own (itself, started
// with --measure DIR), so that the peak memory is the list's and not the filling's.

#include "browselist.h"
#include "browsemodel.h"
#include "datacontext.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QScrollBar>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <cstdio>
#include <memory>
#include <random>
#include <vector>

namespace {

void makeLog(const QString &dir, qint64 rows)
{
    DataContext ctx(dir);
    FileManager &log = ctx.file(TableId::LOG_POKOJE);
    log.use();
    Store &store = ctx.store();
    Record r(TableId::LOG_POKOJE);
    constexpr int batch = 20000;
    int inBatch = 0;
    store.begin({TableId::LOG_POKOJE}, 2000);
    for (qint64 id = 1; id <= rows; ++id) {
        r.clear();
        r.setInteger(LPO::ID, id);
        r.setInteger(LPO::DRZITEL, 1 + id % 200);
        r.setInteger(LPO::DATUM, 80000 + id / 700);
        r.setInteger(LPO::CAS, 1 + (id * 7919) % 8640000);
        r.setInteger(LPO::DATA, id % 2 ? 11 : 10);
        r.setInteger(LPO::CTECKA, 1 + id % 20);
        r.setText(LPO::KARTA, QStringLiteral("%1").arg(1 + id % 200, 8, 16, QLatin1Char('0')));
        store.insert(r);
        if (++inBatch == batch) {
            store.commit();
            store.begin({TableId::LOG_POKOJE}, 2000);
            inBatch = 0;
        }
    }
    store.commit();
}

qint64 statusKb(const char *key)
{
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray k(key);
    for (const QByteArray &line : f.readAll().split('\n'))
        if (line.startsWith(k))
            return line.mid(k.size()).trimmed().split(' ').first().toLongLong();
    return -1;
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

std::vector<BrowseColumn> columns()
{
    auto col = [](int field, const char *header, int width, const char *picture) {
        return BrowseColumn::ofField(field, QString::fromUtf8(header), width, Qt::AlignRight, Qt::AlignHCenter,
                                     QString::fromLatin1(picture));
    };
    return {col(LPO::KARTA, "Karta", 68, "s16"),  col(LPO::DATA, "Data", 20, "n3"),
            col(LPO::DATUM, "Datum", 64, "D17"),  col(LPO::CAS, "Cas", 40, "T7"),
            col(LPO::CTECKA, "Ctecka", 28, "n3"), col(LPO::ID, "Id", 56, "n-14")};
}

// Measures one log in this process and prints one line of figures.
int measure(const QString &dir)
{
    const qint64 rssBefore = statusKb("VmRSS:");
    constexpr int repeats = 15;
    std::vector<double> openMs, endMs;
    double dragMs = 0, pageMs = 0, sortedEndMs = 0, sortedDragMs = 0;
    int drags = 0, pages = 0;
    qint64 lastId = 0;
    for (int i = 0; i < repeats; ++i) {
        QElapsedTimer t;
        t.start();
        auto ctx = std::make_unique<DataContext>(dir);
        auto host = std::make_unique<QWidget>();
        host->resize(700, 450);
        auto *list = new BrowseList(*ctx, TableId::LOG_POKOJE, host.get());
        list->resize(700, 450);
        list->setColumns(columns());
        list->setOrders({BrowseOrder::byKey(LPO::KeyId)});
        list->setSortHeaders(true);
        host->show();
        list->fill();
        QCoreApplication::processEvents();
        openMs.push_back(double(t.nsecsElapsed()) / 1e6);

        t.restart();
        QTest::keyClick(list->view(), Qt::Key_End);
        endMs.push_back(double(t.nsecsElapsed()) / 1e6);
        lastId = list->currentRowId();

        if (i == 0) {
            // The thumb dragged to places all over the log, and pages down from each.
            QScrollBar *bar = list->scrollBar();
            std::mt19937 rng(7);
            for (int k = 0; k < 20; ++k) {
                t.restart();
                bar->setSliderDown(true);
                bar->setSliderPosition(int(rng() % unsigned(bar->maximum() + 1)));
                bar->setSliderDown(false);
                dragMs += double(t.nsecsElapsed()) / 1e6;
                ++drags;
                // The selection to the top row shown (a click reads nothing), then page down.
                QTest::mouseClick(list->view()->viewport(), Qt::LeftButton, {},
                                  list->view()->visualRect(list->model()->index(0, 0)).center());
                t.restart();
                for (int p = 0; p < 10; ++p)
                    QTest::keyClick(list->view(), Qt::Key_PageDown);
                pageMs += double(t.nsecsElapsed()) / 1e6;
                pages += 10;
            }
            // Sorted by the "Karta" header: the same reads over the card key.
            t.restart();
            list->sortByColumn(0);
            QTest::keyClick(list->view(), Qt::Key_End);
            sortedEndMs = double(t.nsecsElapsed()) / 1e6;
            for (int k = 0; k < 20; ++k) {
                t.restart();
                bar->setSliderDown(true);
                bar->setSliderPosition(int(rng() % unsigned(bar->maximum() + 1)));
                bar->setSliderDown(false);
                sortedDragMs += double(t.nsecsElapsed()) / 1e6 / 20;
            }
        }
        host.reset();
        ctx.reset();
    }
    std::printf("%.3f %.3f %.3f %.3f %lld %lld %lld %.3f %.3f\n", median(openMs), median(endMs), dragMs / drags,
                pageMs / pages, static_cast<long long>(statusKb("VmHWM:")), static_cast<long long>(rssBefore),
                static_cast<long long>(lastId), sortedEndMs, sortedDragMs);
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() > 2 && args.at(1) == QStringLiteral("--measure"))
        return measure(args.at(2));

    QTemporaryDir tmp;
    const QString base = args.size() > 1 ? args.at(1) : tmp.path();
    struct Size {
        const char *name;
        qint64 rows;
    };
    const Size sizes[] = {{"large", 1000000}, {"small", 1000}};
    struct Figures {
        double openMs = 0, endMs = 0, dragMs = 0, pageMs = 0, sortedEndMs = 0, sortedDragMs = 0;
        qint64 peakKb = 0, startKb = 0, lastId = 0;
    } figures[2];
    for (int i = 0; i < 2; ++i) {
        const QString dir = base + QLatin1Char('/') + QLatin1String(sizes[i].name);
        QDir().mkpath(dir);
        if (!QFile::exists(dir + QStringLiteral("/logy_pokoje.sqlite"))) {
            QElapsedTimer t;
            t.start();
            makeLog(dir, sizes[i].rows);
            std::printf("log of %lld rows made in %.1f s\n", static_cast<long long>(sizes[i].rows),
                        double(t.elapsed()) / 1000);
        }
        QProcess child;
        child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--measure"), dir});
        if (!child.waitForFinished(600000) || child.exitCode() != 0) {
            std::printf("measuring %s failed: %s\n", sizes[i].name, child.readAllStandardError().constData());
            return 2;
        }
        const QList<QByteArray> f = child.readAllStandardOutput().trimmed().split('\n').last().split(' ');
        if (f.size() < 9) {
            std::printf("measuring %s gave no figures\n", sizes[i].name);
            return 2;
        }
        Figures &g = figures[i];
        g.openMs = f[0].toDouble();
        g.endMs = f[1].toDouble();
        g.dragMs = f[2].toDouble();
        g.pageMs = f[3].toDouble();
        g.peakKb = f[4].toLongLong();
        g.startKb = f[5].toLongLong();
        g.lastId = f[6].toLongLong();
        g.sortedEndMs = f[7].toDouble();
        g.sortedDragMs = f[8].toDouble();
    }
    for (int i = 0; i < 2; ++i) {
        const Figures &g = figures[i];
        std::printf("log of %9lld rows: open %.2f ms, End %.2f ms (last row %lld), thumb drag %.2f ms, "
                    "page down %.2f ms; sorted by Karta: End %.2f ms, thumb drag %.2f ms; "
                    "peak memory %lld kB (%lld kB before the first list)\n",
                    static_cast<long long>(sizes[i].rows), g.openMs, g.endMs, static_cast<long long>(g.lastId),
                    g.dragMs, g.pageMs, g.sortedEndMs, g.sortedDragMs, static_cast<long long>(g.peakKb),
                    static_cast<long long>(g.startKb));
    }
    const double openRatio = figures[0].openMs / figures[1].openMs;
    const double endRatio = figures[0].endMs / figures[1].endMs;
    std::printf("large/small: open %.2fx, End %.2fx, peak memory %.2fx (goal: open and End within 2x)\n", openRatio,
                endRatio, double(figures[0].peakKb) / double(figures[1].peakKb));
    return openRatio <= 2 && endRatio <= 2 ? 0 : 1;
}
