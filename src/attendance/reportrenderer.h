#pragma once

#include "monthlycomputation.h"
#include "storeattendancesource.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <vector>

class QPagedPaintDevice;
class QPainter;

// The printed monthly attendance report ("LOG_POKOJE Report") of one person: lays the heading,
// the detail lines and the group footer out on portrait A4 pages in millimetres and paints
// them through a QPainter, so the print preview, a printer and a PDF file get the same pages.
// It also gives the report as lines of text.
//
// The printing area starts 6 mm from the left and top edges of the paper and is 200 mm wide
// and 234 mm high. The heading (28 mm) is printed once, at the top of the first page; then one
// detail line (5 mm) per line of the result, as many as fit on a page; the group footer (70 mm)
// with the totals, the balances and the date, time and page number follows the last line, on
// a page of its own when it does not fit under it.
//
// The renderer keeps copies of what it is given; it reads no table.
class ReportRenderer
{
public:
    // `stamp` is the moment the report was opened: the footer's date and time.
    ReportRenderer(const ReportPerson &person, const MonthlyResult &result, const QDateTime &stamp);

    static constexpr double PaperWidthMm = 210.0;
    static constexpr double PaperHeightMm = 297.0;
    static constexpr double AreaLeftMm = 6.0;
    static constexpr double AreaTopMm = 6.0;
    static constexpr double AreaWidthMm = 200.0;
    static constexpr double AreaHeightMm = 234.0;
    static constexpr double HeadingHeightMm = 28.0;
    static constexpr double DetailHeightMm = 5.0;
    static constexpr double FooterHeightMm = 70.0;
    // The most characters of DATA1 and DATA2 that the report shows.
    static constexpr int Data1Length = 48;
    static constexpr int Data2Length = 25;

    // Where a band lies: its page (from 0) and its top in millimetres from the top of the
    // printing area; `line` is the index of a detail line in the result, -1 for the others.
    struct Band
    {
        enum Kind { Heading, Detail, Footer };
        Kind kind;
        int page;
        double top;
        int line;
    };
    const std::vector<Band> &bands() const { return m_bands; }
    int pageCount() const { return m_pageCount; }

    // Paints page `page` (from 0). The painter's origin must be the top-left corner of the
    // paper; its device's logical resolution turns millimetres into device units.
    void paintPage(QPainter &painter, int page) const;

    // Paints every page onto a printer or a PDF writer as it is set up, beginning a new page
    // for every page after the first. False with a reason when the device cannot be painted on.
    bool print(QPagedPaintDevice *device, QString *error = nullptr) const;
    // Several reports one after another, each starting on a new page.
    static bool print(QPagedPaintDevice *device, const std::vector<const ReportRenderer *> &reports,
                      QString *error = nullptr);
    // Sets a device up for the report: A4 portrait without margins.
    static void setUpPage(QPagedPaintDevice *device);
    // Writes the reports into the PDF file `fileName`. False with a reason when the file cannot
    // be written.
    static bool writePdf(const QString &fileName, const std::vector<const ReportRenderer *> &reports,
                         QString *error = nullptr);

    // The report as text: the heading's title line (title, tab, calendar name) and its
    // "Pracovních dnů:" line (label, tab, days); one line per detail line (POL, tab, DATA1, tab,
    // DATA2); one line per footer box (its caption without the surrounding blanks, tab, value);
    // the three shift lines (label, tab, weekday value, tab, weekend value).
    QStringList textLines() const;

    // What the user is told instead of an empty report: the person has no attendance record
    // in the month.
    static QString noRecordsText(const ReportPerson &person, int month, int year);

    // The title of the heading: "Přehled docházky za rok " + the year + " měsíc".
    QString title() const;

    const ReportPerson &person() const { return m_person; }
    const MonthlyResult &result() const { return m_result; }

private:
    void layOut();
    void paintHeading(QPainter &painter, double top) const;
    void paintDetail(QPainter &painter, double top, const DetailLine &line) const;
    void paintFooter(QPainter &painter, double top, int page) const;

    ReportPerson m_person;
    MonthlyResult m_result;
    QDateTime m_stamp;
    std::vector<Band> m_bands;
    int m_pageCount = 1;
};
