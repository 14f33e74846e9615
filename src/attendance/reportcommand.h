#pragma once

#include <QString>
#include <QStringList>

class QTextStream;

// The command line of the monthly attendance report, for scripted month-end runs:
//
//   halvane report --person KOD|all --month M --year YYYY [--data DIR] (--pdf FILE | --text)
//
// `args` are the arguments after the program's name; a leading "report" is skipped. Values may
// also be given as --name=value. DIR is the current directory when not given.
//
// The shift boundaries are loaded from SETINGS record 1 as the main frame loads them after the
// login; the settings file is neither read nor written, and GLO:Rok and Obdobi are left alone.
//
// --pdf writes the pages of the print preview into FILE; with --person all every person with
// attendance records in the month, in code order, each report on new pages, and a note on
// `err` naming the people without records. --text writes the report to `out` as UTF-8 text
// (ReportRenderer::textLines(); with --person all each report is preceded by a line
// "Uživatel:", tab, code, tab, name, and reports are separated by an empty line).
//
// Exit codes: 0 done; 1 no report (the person, or with --person all everybody, has no record
// in the month; nothing written); 2 a wrong command line, an unknown person, a month outside
// 1..12, a year outside 1801..2099 or a data directory without the program's tables (a message
// on `err`, nothing written); 3 a table could not be read or the file could not be written.
//
// Needs a QGuiApplication (fonts) for --pdf.
int runReportCommand(const QStringList &args, QTextStream &out, QTextStream &err);

// The lines of the usage text that describe the command.
QString reportCommandUsage();
