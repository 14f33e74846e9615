#include "reportcommand.h"

#include "datacontext.h"
#include "globals.h"
#include "monthlycomputation.h"
#include "programsession.h"
#include "reportrenderer.h"
#include "storeattendancesource.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QTextStream>

#include <limits>
#include <memory>

namespace {

constexpr int ExitDone = 0;
constexpr int ExitNoRecords = 1;
constexpr int ExitUsage = 2;
constexpr int ExitFailed = 3;

struct ReportLine
{
    QString person;
    QString month;
    QString year;
    QString dataDir = QStringLiteral(".");
    QString pdf;
    bool hasPdf = false;
    bool text = false;
};

bool parse(QStringList args, ReportLine *line, QString *error)
{
    if (!args.isEmpty() && args.first() == QLatin1String("report"))
        args.removeFirst();
    for (qsizetype i = 0; i < args.size(); ++i) {
        QString name = args.at(i);
        QString value;
        bool hasValue = false;
        if (const qsizetype eq = name.indexOf(QLatin1Char('=')); name.startsWith(QLatin1String("--")) && eq > 0) {
            value = name.mid(eq + 1);
            name.truncate(eq);
            hasValue = true;
        }
        if (name == QLatin1String("--text")) {
            if (hasValue) {
                *error = QStringLiteral("--text takes no value");
                return false;
            }
            line->text = true;
            continue;
        }
        QString ReportLine::*target = nullptr;
        if (name == QLatin1String("--person"))
            target = &ReportLine::person;
        else if (name == QLatin1String("--month"))
            target = &ReportLine::month;
        else if (name == QLatin1String("--year"))
            target = &ReportLine::year;
        else if (name == QLatin1String("--data"))
            target = &ReportLine::dataDir;
        else if (name == QLatin1String("--pdf"))
            target = &ReportLine::pdf;
        if (!target) {
            *error = QStringLiteral("unknown option: %1").arg(args.at(i));
            return false;
        }
        if (!hasValue) {
            if (++i >= args.size()) {
                *error = QStringLiteral("%1 needs a value").arg(name);
                return false;
            }
            value = args.at(i);
        }
        if (value.isEmpty()) {
            *error = QStringLiteral("%1 needs a value").arg(name);
            return false;
        }
        line->*target = value;
        if (target == &ReportLine::pdf)
            line->hasPdf = true;
    }
    if (line->person.isEmpty() || line->month.isEmpty() || line->year.isEmpty()) {
        *error = QStringLiteral("--person, --month and --year are required");
        return false;
    }
    if (line->hasPdf == line->text) {
        *error = QStringLiteral("give one of --pdf FILE and --text");
        return false;
    }
    return true;
}

bool number(const QString &text, qint64 low, qint64 high, qint64 *value)
{
    bool ok = false;
    const qint64 v = text.trimmed().toLongLong(&ok);
    if (!ok || v < low || v > high)
        return false;
    *value = v;
    return true;
}

QString personName(const ReportPerson &p)
{
    return p.nazev.isEmpty() ? QString::number(p.kod)
                             : QStringLiteral("%1 %2").arg(p.kod).arg(p.nazev);
}

// The table files the report reads: without them the directory is not one of the program's.
QStringList missingTables(const QString &dir)
{
    QStringList missing;
    for (TableId t : {TableId::ADR_DAT, TableId::LOG_POKOJE, TableId::KALENDAR, TableId::SETINGS}) {
        if (!QFileInfo::exists(QDir(dir).filePath(tableDef(t).fileName())))
            missing << QString::fromLatin1(tableDef(t).label);
    }
    return missing;
}

} // namespace

QString reportCommandUsage()
{
    return QStringLiteral(
        "       halvane report --person KOD|all --month M --year YYYY [--data DIR]\n"
        "                      (--pdf FILE | --text)\n"
        "  report         the monthly attendance report of a person (or of everybody with\n"
        "                 records in the month) as a PDF file or as text on standard output;\n"
        "                 exit 1 when there is no record to report, 2 for a wrong command\n"
        "                 line, 3 when a table or the file cannot be read or written\n");
}

int runReportCommand(const QStringList &args, QTextStream &out, QTextStream &err)
{
    const QString prefix = QStringLiteral("halvane report: ");
    ReportLine line;
    QString error;
    if (!parse(args, &line, &error)) {
        err << prefix << error << '\n' << QStringLiteral("usage:") << reportCommandUsage().mid(6);
        err.flush();
        return ExitUsage;
    }

    const bool everybody = line.person == QLatin1String("all");
    qint64 kod = 0;
    qint64 month = 0;
    qint64 year = 0;
    if (!everybody
        && !number(line.person, std::numeric_limits<qint32>::min(),
                   std::numeric_limits<qint32>::max(), &kod))
        error = QStringLiteral("--person must be a person's code or \"all\", not \"%1\"").arg(line.person);
    else if (!number(line.month, 1, 12, &month))
        error = QStringLiteral("--month must be 1 to 12, not \"%1\"").arg(line.month);
    else if (!number(line.year, 1801, 2099, &year))
        error = QStringLiteral("--year must be 1801 to 2099, not \"%1\"").arg(line.year);
    if (!error.isEmpty()) {
        err << prefix << error << '\n';
        err.flush();
        return ExitUsage;
    }

    const QString dir = QDir(line.dataDir).absolutePath();
    if (!QFileInfo(dir).isDir()) {
        err << prefix << QStringLiteral("the data directory %1 does not exist\n").arg(dir);
        err.flush();
        return ExitUsage;
    }
    if (const QStringList missing = missingTables(dir); !missing.isEmpty()) {
        err << prefix
            << QStringLiteral("%1 holds no tables of the program (missing %2)\n")
                   .arg(dir, missing.join(QStringLiteral(", ")));
        err.flush();
        return ExitUsage;
    }

    DataContext context(dir);
    // As the main frame does after the login; a change of the boundaries counts from the next run.
    loadShiftBoundaries(context);
    const ShiftBoundaries boundaries{GLO::RANNI_DO.get(), GLO::ODPOLEDNI_DO.get(),
                                     GLO::NOCNI_DO.get()};
    for (TableId t : {TableId::ADR_DAT, TableId::LOG_POKOJE, TableId::KALENDAR})
        context.file(t).open();
    StoreAttendanceSource source(context);
    const auto readFailed = [&](const QString &text) {
        err << prefix
            << QStringLiteral("reading %1 failed: %2\n")
                   .arg(QString::fromLatin1(tableDef(source.failedTable()).externalName), text);
        err.flush();
        return ExitFailed;
    };

    std::vector<ReportPerson> people;
    if (everybody) {
        if (!source.people(&people, &error))
            return readFailed(error);
    } else {
        ReportPerson p;
        if (!source.person(qint32(kod), &p, &error)) {
            if (!error.isEmpty())
                return readFailed(error);
            err << prefix << QStringLiteral("there is no person with the code %1\n").arg(kod);
            err.flush();
            return ExitUsage;
        }
        people.push_back(p);
    }

    // Every report is computed before anything is written: a failure leaves no file behind.
    const QDateTime stamp = QDateTime::currentDateTime();
    std::vector<std::unique_ptr<ReportRenderer>> reports;
    QStringList withoutRecords;
    for (const ReportPerson &p : people) {
        MonthlyComputation computation(&source, p.kod, int(month), int(year), boundaries);
        if (!computation.compute(&error))
            return readFailed(error);
        if (!computation.result().hasRecords) {
            withoutRecords << personName(p);
            continue;
        }
        reports.push_back(std::make_unique<ReportRenderer>(p, computation.result(), stamp));
    }

    const QString period = QStringLiteral("%1/%2").arg(month).arg(year);
    if (reports.empty()) {
        if (everybody)
            err << prefix << QStringLiteral("nobody has attendance records in %1; nothing written\n").arg(period);
        else
            err << prefix
                << QStringLiteral("%1 has no attendance records in %2; nothing written\n")
                       .arg(personName(people.front()), period);
        err.flush();
        return ExitNoRecords;
    }

    if (line.hasPdf) {
        std::vector<const ReportRenderer *> pages;
        for (const auto &r : reports)
            pages.push_back(r.get());
        if (!ReportRenderer::writePdf(QDir(QDir::currentPath()).absoluteFilePath(line.pdf), pages, &error)) {
            err << prefix << error << '\n';
            err.flush();
            return ExitFailed;
        }
    } else {
        out.setEncoding(QStringConverter::Utf8);
        bool first = true;
        for (const auto &r : reports) {
            if (!first)
                out << '\n';
            first = false;
            if (everybody)
                out << QStringLiteral("Uživatel:\t%1\t%2\n").arg(r->person().kod).arg(r->person().nazev);
            for (const QString &l : r->textLines())
                out << l << '\n';
        }
        out.flush();
    }

    if (everybody && !withoutRecords.isEmpty()) {
        err << prefix
            << QStringLiteral("no attendance records in %1: %2\n")
                   .arg(period, withoutRecords.join(QStringLiteral(", ")));
        err.flush();
    }
    return ExitDone;
}
