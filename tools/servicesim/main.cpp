// halvane-servicesim: behaves towards the program's tables as the communication service does
// (see servicesimulator.h), for trying the program and its tables under a writing service.
//
//   halvane-servicesim --data DIR [--rate N] [--count N] [--seconds S] [--people 1-5,8]
//                      [--readers 1,3] [--seed N] [--busy-timeout MS]
//
// Prints at the end how many events it wrote and their entry numbers, how often it retried
// because the files were locked, and how often it took the change signal. Exit code 0 when
// done, 1 when the tables could not be used or written, 2 for wrong options.

#include "servicesimulator.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("halvane-servicesim"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Writes door and attendance events into LOG_POKOJE as the communication service does, reads CARDS, "
        "GCU_POK and GCU_ALARM and takes the change signal of STATE record 1."));
    parser.addHelpOption();
    const QCommandLineOption data(QStringLiteral("data"), QStringLiteral("The data directory."), QStringLiteral("DIR"));
    const QCommandLineOption rate(QStringLiteral("rate"), QStringLiteral("Events a second (10)."), QStringLiteral("N"),
                                  QStringLiteral("10"));
    const QCommandLineOption count(QStringLiteral("count"), QStringLiteral("Stop after N events."), QStringLiteral("N"));
    const QCommandLineOption seconds(QStringLiteral("seconds"),
                                     QStringLiteral("Stop after S seconds (60 when neither --count nor --seconds)."),
                                     QStringLiteral("S"));
    const QCommandLineOption people(QStringLiteral("people"),
                                    QStringLiteral("ADR:KOD of the people, e.g. 1,4,7 or 1-5 (every card holder)."),
                                    QStringLiteral("LIST"));
    const QCommandLineOption readers(QStringLiteral("readers"),
                                     QStringLiteral("GCP:ID_GCU of the readers, e.g. 1-3,13 (every unit)."),
                                     QStringLiteral("LIST"));
    const QCommandLineOption seed(QStringLiteral("seed"), QStringLiteral("Seed of the events (1)."), QStringLiteral("N"),
                                  QStringLiteral("1"));
    const QCommandLineOption busy(QStringLiteral("busy-timeout"),
                                  QStringLiteral("How long a statement waits for a lock, in ms (2000)."),
                                  QStringLiteral("MS"), QStringLiteral("2000"));
    parser.addOptions({data, rate, count, seconds, people, readers, seed, busy});
    parser.process(app);

    auto usage = [](const QString &text) {
        std::fprintf(stderr, "halvane-servicesim: %s\n", qPrintable(text));
        return 2;
    };
    SimulatorOptions o;
    o.dataDir = parser.value(data);
    if (o.dataDir.isEmpty())
        return usage(QStringLiteral("--data DIR is required"));
    bool ok = false;
    o.rate = parser.value(rate).toDouble(&ok);
    if (!ok || !(o.rate > 0))
        return usage(QStringLiteral("--rate must be a number above 0"));
    if (parser.isSet(count)) {
        o.count = parser.value(count).toLongLong(&ok);
        if (!ok || o.count < 0)
            return usage(QStringLiteral("--count must be a whole number, 0 or more"));
    }
    if (parser.isSet(seconds)) {
        o.seconds = parser.value(seconds).toDouble(&ok);
        if (!ok || !(o.seconds > 0))
            return usage(QStringLiteral("--seconds must be a number above 0"));
    }
    if (parser.isSet(people) && !ServiceSimulator::parseNumbers(parser.value(people), &o.people))
        return usage(QStringLiteral("--people must be a list such as 1,4,7 or 1-5"));
    if (parser.isSet(readers) && !ServiceSimulator::parseNumbers(parser.value(readers), &o.readers))
        return usage(QStringLiteral("--readers must be a list such as 1,3 or 1-13"));
    o.seed = parser.value(seed).toUInt(&ok);
    if (!ok)
        return usage(QStringLiteral("--seed must be a whole number"));
    o.busyTimeoutMs = parser.value(busy).toInt(&ok);
    if (!ok || o.busyTimeoutMs < 0)
        return usage(QStringLiteral("--busy-timeout must be a whole number of ms"));

    ServiceSimulator simulator(o);
    SimulatorReport report;
    QString error;
    const bool done = simulator.run(&report, &error);
    std::printf("cards: %d, units: %d, alarm outputs: %d\n", report.cards, report.units, report.alarms);
    std::printf("events written: %lld\n", static_cast<long long>(report.written));
    if (report.written > 0)
        std::printf("entries: %lld..%lld\n", static_cast<long long>(report.firstId),
                    static_cast<long long>(report.lastId));
    else
        std::printf("entries: none\n");
    std::printf("retries: %d\n", report.retries);
    std::printf("change signals taken: %d\n", report.signalsTaken);
    if (!done) {
        std::fprintf(stderr, "halvane-servicesim: %s\n", qPrintable(error));
        return 1;
    }
    return 0;
}
