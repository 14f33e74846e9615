// halvane: the program's entry. Reads the command line and hands over to the program or to one
// of its tools; nothing else lives here.
//
//   halvane [--data DIR]          the program, with its tables and halvane.INI in DIR
//   halvane check [--data DIR]    checks every table and prints one line for each
//   halvane report ...            the monthly attendance report as PDF or text
//   halvane --demo DIR            creates DIR with a demo installation
//
// DIR is the current directory when not given.

#include "alarmgcu.h"
#include "all_settings.h"
#include "browseadresar.h"
#include "browsecards.h"
#include "browsegcu_pok.h"
#include "browselog_pokoje.h"
#include "browsepristupy.h"
#include "consolereporter.h"
#include "demogenerator.h"
#include "errorreporter.h"
#include "kalendar.h"
#include "mainframe.h"
#include "nastaveni.h"
#include "reportcommand.h"
#include "tablecheck.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QGuiApplication>
#include <QStringList>
#include <QTextStream>

#include <cstdio>
#include <functional>

namespace {

constexpr int UsageExitCode = 2;

const char usageText[] =
    "usage: halvane [--data DIR]\n"
    "       halvane check [--data DIR]\n"
    "       halvane report --person KOD|all --month M --year YYYY [--data DIR] (--pdf FILE | --text)\n"
    "       halvane --demo DIR\n"
    "\n"
    "  (no command)   run the program with its tables and halvane.INI in DIR\n"
    "  check          check every table in DIR, print one line per table;\n"
    "                 exit 0 when all are sound, 1 otherwise\n"
    "  report         the monthly attendance report of a person or of everyone\n"
    "  --data DIR     the data directory (default: the current directory)\n"
    "  --demo DIR     create DIR and fill it with a demo installation\n"
    "  -h, --help     show this text\n";

struct CommandLine {
    QString command;                   // empty: the program with its windows
    QString dataDir = QStringLiteral(".");
    QString demoDir;                   // --demo DIR
    bool help = false;
    QString error;                     // set when the line cannot be understood
};

// The options every command takes. A new option is one more row here.
struct Option {
    const char *name;
    QString CommandLine::*value;       // null for a switch
    bool CommandLine::*flag;           // null for an option with a value
};
const Option options[] = {
    {"--data", &CommandLine::dataDir, nullptr},
    {"--demo", &CommandLine::demoDir, nullptr},
    {"--help", nullptr, &CommandLine::help},
    {"-h", nullptr, &CommandLine::help},
};

const QStringList commands = {QStringLiteral("check")};

CommandLine parse(const QStringList &args)
{
    CommandLine line;
    qsizetype i = 0;
    if (i < args.size() && !args.at(i).startsWith(QLatin1Char('-'))) {
        line.command = args.at(i++);
        if (!commands.contains(line.command)) {
            line.error = QStringLiteral("unknown command: %1").arg(line.command);
            return line;
        }
    }
    for (; i < args.size(); ++i) {
        QString arg = args.at(i);
        QString inlineValue;
        bool hasInline = false;
        if (const qsizetype eq = arg.indexOf(QLatin1Char('=')); arg.startsWith(QLatin1String("--")) && eq > 0) {
            inlineValue = arg.mid(eq + 1);
            arg.truncate(eq);
            hasInline = true;
        }
        const Option *option = nullptr;
        for (const Option &o : options)
            if (arg == QLatin1String(o.name))
                option = &o;
        if (!option) {
            line.error = QStringLiteral("unknown option: %1").arg(args.at(i));
            return line;
        }
        if (option->flag) {
            if (hasInline) {
                line.error = QStringLiteral("%1 takes no value").arg(arg);
                return line;
            }
            line.*(option->flag) = true;
            continue;
        }
        if (!hasInline) {
            if (++i >= args.size() || args.at(i).isEmpty()) {
                line.error = QStringLiteral("%1 needs a value").arg(arg);
                return line;
            }
            inlineValue = args.at(i);
        }
        line.*(option->value) = inlineValue;
    }
    return line;
}

void printError(const QString &text)
{
    std::fprintf(stderr, "halvane: %s\n", text.toUtf8().constData());
}

// The data directory as an absolute path; made when it does not exist yet.
bool prepareDataDir(QString *dir)
{
    const QString path = QDir(*dir).absolutePath();
    if (!QDir().mkpath(path)) {
        printError(QStringLiteral("the data directory %1 cannot be made").arg(path));
        return false;
    }
    *dir = QDir::cleanPath(path);
    return true;
}

int runCheck(int argc, char **argv, const CommandLine &line)
{
    QCoreApplication app(argc, argv);
    ConsoleReporter reporter;
    setGlobalErrors(&reporter);
    const TableCheckReport report = checkTables(line.dataDir);
    for (const TableCheckLine &l : report.lines)
        std::printf("%s\n", l.text().toUtf8().constData());
    std::fflush(stdout);
    setGlobalErrors(nullptr);
    if (report.sound())
        return 0;
    printError(QStringLiteral("the tables in %1 are not sound: see the lines above").arg(line.dataDir));
    return 1;
}

int runReport(int argc, char **argv, const QStringList &args)
{
    // The report draws its pages with fonts, so it needs a GUI application, but no screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    ConsoleReporter reporter;
    setGlobalErrors(&reporter);
    QTextStream out(stdout);
    QTextStream err(stderr);
    const int code = runReportCommand(args, out, err);
    out.flush();
    err.flush();
    setGlobalErrors(nullptr);
    return code;
}

int runDemo(int argc, char **argv, const QString &dir)
{
    QCoreApplication app(argc, argv);
    ConsoleReporter reporter;
    setGlobalErrors(&reporter);
    QString error;
    const bool made = DemoGenerator::createDemo(QDir(dir).absolutePath(), DemoGenerator::DemoOptions{}, &error);
    setGlobalErrors(nullptr);
    if (!made) {
        printError(error);
        return 1;
    }
    std::printf("demo installation created in %s\n", QDir(dir).absolutePath().toUtf8().constData());
    return 0;
}

int runProgram(int argc, char **argv, const CommandLine &line)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("halvane"));
    const MainFrame::Commands windows = {
        {QStringLiteral("BrowseLOG_POKOJE"), startBrowseLOG_POKOJE},
        {QStringLiteral("BrowseCARDS"), startBrowseCARDS},
        {QStringLiteral("BrowseGCU_POK"), startBrowseGCU_POK},
        {QStringLiteral("Nastaveni"), startNastaveni},
        {QStringLiteral("Kalendar"), startKalendar},
        {QStringLiteral("alarmGCU"), startalarmGCU},
        {QStringLiteral("all_settings"), startall_settings},
        {QStringLiteral("BrowseAdresar"), startBrowseAdresar},
        {QStringLiteral("BrowsePristupy"), startBrowsePristupy},
    };
    return MainFrame::runProgram(line.dataDir, windows);
}

} // namespace

int main(int argc, char **argv)
{
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    // The report has options of its own and parses them itself.
    if (!args.isEmpty() && args.first() == QLatin1String("report"))
        return runReport(argc, argv, args.mid(1));
    CommandLine line = parse(args);
    if (!line.error.isEmpty()) {
        printError(line.error);
        std::fputs(usageText, stderr);
        return UsageExitCode;
    }
    if (line.help) {
        std::fputs(usageText, stdout);
        return 0;
    }
    if (!line.demoDir.isEmpty())
        return runDemo(argc, argv, line.demoDir);
    if (!prepareDataDir(&line.dataDir))
        return 1;
    if (line.command == QLatin1String("check"))
        return runCheck(argc, argv, line);
    return runProgram(argc, argv, line);
}
