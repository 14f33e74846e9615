#include "reportrenderer.h"

#include "picture.h"
#include "stddatetime.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

namespace {

// Millimetres of the printing area in the units of the painter's device, whose origin is the
// top-left corner of the paper.
class Mm
{
public:
    explicit Mm(const QPaintDevice *device)
        : m_x(device->logicalDpiX() / 25.4)
        , m_y(device->logicalDpiY() / 25.4)
    {
    }
    double x(double mm) const { return (ReportRenderer::AreaLeftMm + mm) * m_x; }
    double y(double mm) const { return (ReportRenderer::AreaTopMm + mm) * m_y; }
    double w(double mm) const { return mm * m_x; }
    double h(double mm) const { return mm * m_y; }
    QRectF rect(double x0, double y0, double width, double height) const
    {
        return {x(x0), y(y0), w(width), h(height)};
    }

private:
    double m_x;
    double m_y;
};

QFont reportFont(const QStringList &families, int points, bool bold)
{
    QFont f;
    f.setFamilies(families);
    f.setStyleHint(QFont::SansSerif);
    f.setPointSize(points);
    f.setBold(bold);
    return f;
}

// The report's default font and the fonts its fields name. Where a machine lacks them, fonts
// of about their width stand in (a wider font would run the texts into each other at the
// report's fixed positions).
QFont defaultFont()
{
    return reportFont({QStringLiteral("MS Sans Serif"), QStringLiteral("Microsoft Sans Serif"),
                       QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans Condensed")},
                      8, false);
}
QFont tahoma(int points, bool bold)
{
    return reportFont({QStringLiteral("Tahoma"), QStringLiteral("DejaVu Sans Condensed"),
                       QStringLiteral("Liberation Sans")},
                      points, bold);
}
QFont arial8()
{
    return reportFont({QStringLiteral("Arial"), QStringLiteral("Liberation Sans"),
                       QStringLiteral("DejaVu Sans Condensed")},
                      8, false);
}

// A text whose top-left corner is at x, y (mm from the printing area's corner, the band's top
// already added). `width` only matters to a right-aligned text. Nothing is clipped: a text
// shows every character the report gives it.
void text(QPainter &p, const Mm &mm, double x, double y, const QString &value, const QFont &font,
          double width = 0.0, Qt::Alignment align = Qt::AlignLeft)
{
    if (value.isEmpty())
        return;
    p.setFont(font);
    const QRectF r(mm.x(x), mm.y(y), mm.w(width > 0 ? width : 1.0), mm.h(4.0));
    p.drawText(r, int(align | Qt::AlignTop) | Qt::TextDontClip | Qt::TextSingleLine, value);
}

QPen thinPen(const Mm &mm)
{
    QPen pen(Qt::black);
    pen.setWidthF(qMax(1.0, mm.w(0.2)));
    return pen;
}

// A box with its caption set into the top border, as the footer's totals are framed.
void captionedBox(QPainter &p, const Mm &mm, double x, double y, double w, double h,
                  const QString &caption)
{
    p.setPen(thinPen(mm));
    p.setBrush(Qt::NoBrush);
    p.drawRect(mm.rect(x, y, w, h));
    const QFont font = defaultFont();
    p.setFont(font);
    const QFontMetricsF fm(font, p.device());
    const double capX = mm.x(x + 2.0);
    const double capTop = mm.y(y) - fm.height() / 2.0;
    const QRectF capRect(capX, capTop, fm.horizontalAdvance(caption), fm.height());
    p.fillRect(capRect, Qt::white);
    p.drawText(capRect, int(Qt::AlignLeft | Qt::AlignTop) | Qt::TextDontClip | Qt::TextSingleLine,
               caption);
}

// The footer's boxes: where each lies, its caption (with its blanks) and its value.
struct FooterBox
{
    double x, y, w, h;
    const char *caption;
    QString MonthlyResult::*value;
    double valueX, valueY;
    int points;
};

const FooterBox kFooterBoxes[] = {
    {2, 3, 31, 13, " Odpracováno hodin ", &MonthlyResult::VYSLEDEK_SKUT, 7, 9, 10},
    {34, 3, 31, 13, " Dovolená ", &MonthlyResult::VYSLEDEK_DOV, 39, 9, 10},
    {67, 3, 31, 13, " Nemoc ", &MonthlyResult::VYSLEDEK_NEM, 71, 9, 10},
    {113, 3, 46, 13, " Celkem odpracováno za měsíc ", &MonthlyResult::VYSLEDEK_CELKEM, 124, 9, 10},
    {160, 3, 35, 13, " Stav hodin tento měsíc ", &MonthlyResult::VYSLEDEK_PRESC, 165, 9, 10},
    {113, 18, 46, 13, " Celkem proplaceno hodin ", &MonthlyResult::VYSLEDEK_PROP, 124, 23, 10},
    {113, 33, 46, 13, " Výsledek po proplacení", &MonthlyResult::KONECNY_VYSLEDEK, 124, 39, 10},
    {113, 48, 46, 13, " Konečný výsledek ", &MonthlyResult::VYSLEDEK_PRESC_ROK, 123, 53, 12},
};

// The three shift lines on the left of the footer.
struct ShiftLine
{
    double y;
    const char *label;
    QString MonthlyResult::*weekday;
    QString MonthlyResult::*weekend;
};

const ShiftLine kShiftLines[] = {
    {20, "Ranní směna:", &MonthlyResult::VYSLEDEK_RANNI, &MonthlyResult::VYSLEDEK_RANNI_V},
    {25, "Odpolední směnna:", &MonthlyResult::VYSLEDEK_ODPO, &MonthlyResult::VYSLEDEK_ODPO_V},
    {31, "Noční směnna:", &MonthlyResult::VYSLEDEK_NOCNI, &MonthlyResult::VYSLEDEK_NOCNI_V},
};

QString weekendLabel() { return QStringLiteral("/ víkend:"); }
QString workingDaysLabel() { return QStringLiteral("Pracovních dnů:"); }

QString workingDaysText(qint32 days)
{
    return Picture::parse(QStringLiteral("@n3")).format(qint64(days)).trimmed();
}

} // namespace

ReportRenderer::ReportRenderer(const ReportPerson &person, const MonthlyResult &result,
                               const QDateTime &stamp)
    : m_person(person)
    , m_result(result)
    , m_stamp(stamp)
{
    layOut();
}

void ReportRenderer::layOut()
{
    m_bands.clear();
    int page = 0;
    double top = 0.0;
    m_bands.push_back({Band::Heading, page, top, -1});
    top += HeadingHeightMm;
    for (size_t i = 0; i < m_result.lines.size(); ++i) {
        // A small tolerance keeps rounding of the sums from pushing the last line that fits
        // onto the next page.
        if (top + DetailHeightMm > AreaHeightMm + 1e-6) {
            ++page;
            top = 0.0;
        }
        m_bands.push_back({Band::Detail, page, top, int(i)});
        top += DetailHeightMm;
    }
    if (top + FooterHeightMm > AreaHeightMm + 1e-6) {
        ++page;
        top = 0.0;
    }
    m_bands.push_back({Band::Footer, page, top, -1});
    m_pageCount = page + 1;
}

QString ReportRenderer::title() const
{
    return QStringLiteral("Přehled docházky za rok ") + QString::number(m_result.Rok)
        + QStringLiteral(" měsíc");
}

void ReportRenderer::paintPage(QPainter &painter, int page) const
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    for (const Band &band : m_bands) {
        if (band.page != page)
            continue;
        switch (band.kind) {
        case Band::Heading:
            paintHeading(painter, band.top);
            break;
        case Band::Detail:
            paintDetail(painter, band.top, m_result.lines[size_t(band.line)]);
            break;
        case Band::Footer:
            paintFooter(painter, band.top, page);
            break;
        }
    }
    painter.restore();
}

void ReportRenderer::paintHeading(QPainter &p, double top) const
{
    const Mm mm(p.device());
    const QFont normal = defaultFont();
    p.setPen(thinPen(mm));
    p.setBrush(Qt::NoBrush);

    // The person's address.
    p.drawRect(mm.rect(2, top + 1, 52, 19));
    text(p, mm, 3, top + 2, m_person.nazev, tahoma(8, true));
    text(p, mm, 3, top + 7, m_person.ulice, normal);
    text(p, mm, 3, top + 11, m_person.mesto, normal);
    text(p, mm, 42, top + 11, m_person.psc, normal);
    text(p, mm, 3, top + 15, QStringLiteral("Tel.:"), normal);
    text(p, mm, 10, top + 15, m_person.mobil, normal);

    // The month.
    p.drawRect(mm.rect(96, top + 1, 103, 19));
    text(p, mm, 98, top + 3, title(), tahoma(8, true));
    text(p, mm, 153, top + 3, m_result.calendarName, tahoma(8, true));
    text(p, mm, 98, top + 10, workingDaysLabel(), normal);
    text(p, mm, 121, top + 10, workingDaysText(m_result.PRACOVNICH_DNU), normal, 6,
         Qt::AlignRight);

    // The bar over the columns.
    p.fillRect(mm.rect(1, top + 23, 198, 5), QColor(220, 220, 220));
    p.drawRect(mm.rect(1, top + 23, 198, 5));
    text(p, mm, 2, top + 24, QStringLiteral("č.:"), normal);
    text(p, mm, 8, top + 24, QStringLiteral("Popis akce:"), normal);
}

void ReportRenderer::paintDetail(QPainter &p, double top, const DetailLine &line) const
{
    const Mm mm(p.device());
    const QFont normal = defaultFont();
    text(p, mm, 1, top + 1, Picture::parse(QStringLiteral("@N-3")).format(qint64(line.POL)).trimmed(),
         normal, 6, Qt::AlignRight);
    text(p, mm, 8, top + 1, line.DATA1.left(Data1Length), normal);
    text(p, mm, 86, top + 1, line.DATA2.left(Data2Length), normal);
    p.setPen(thinPen(mm));
    p.drawLine(QPointF(mm.x(1), mm.y(top + 5)), QPointF(mm.x(200), mm.y(top + 5)));
}

void ReportRenderer::paintFooter(QPainter &p, double top, int page) const
{
    const Mm mm(p.device());
    for (const FooterBox &box : kFooterBoxes) {
        captionedBox(p, mm, box.x, top + box.y, box.w, box.h, QString::fromUtf8(box.caption));
        text(p, mm, box.valueX, top + box.valueY, m_result.*box.value, tahoma(box.points, true));
    }

    const QFont normal = defaultFont();
    for (const ShiftLine &line : kShiftLines) {
        text(p, mm, 2, top + line.y, QString::fromUtf8(line.label), tahoma(8, true));
        text(p, mm, 35, top + line.y, m_result.*line.weekday, normal);
        text(p, mm, 53, top + line.y, weekendLabel(), tahoma(8, true));
        text(p, mm, 68, top + line.y, m_result.*line.weekend, normal);
    }

    const QFont small = arial8();
    text(p, mm, 2, top + 66, QStringLiteral("Date:"), small);
    text(p, mm, 9, top + 66,
         Picture::parse(QStringLiteral("@D17")).format(qint64(StdDateTime::fromQDate(m_stamp.date()))),
         small);
    text(p, mm, 34, top + 66, QStringLiteral("Time:"), small);
    text(p, mm, 41, top + 66,
         Picture::parse(QStringLiteral("@T7")).format(qint64(StdDateTime::fromQTime(m_stamp.time()))),
         small);
    text(p, mm, 172, top + 66,
         Picture::parse(QStringLiteral("@pPage <<#p")).format(qint64(page + 1)), small);
}

void ReportRenderer::setUpPage(QPagedPaintDevice *device)
{
    device->setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                      QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter));
}

bool ReportRenderer::print(QPagedPaintDevice *device, QString *error) const
{
    return print(device, {this}, error);
}

bool ReportRenderer::print(QPagedPaintDevice *device,
                           const std::vector<const ReportRenderer *> &reports, QString *error)
{
    QPainter painter;
    if (!painter.begin(device)) {
        if (error)
            *error = QStringLiteral("Na zařízení nelze tisknout.");
        return false;
    }
    // A device that keeps margins paints from the corner of its margins: move the origin back
    // to the corner of the paper, where the report's millimetres start.
    const QPageLayout layout = device->pageLayout();
    const QRect paint = layout.paintRectPixels(device->logicalDpiX());
    painter.translate(-paint.topLeft());

    bool first = true;
    for (const ReportRenderer *report : reports) {
        for (int page = 0; page < report->pageCount(); ++page) {
            if (!first && !device->newPage()) {
                painter.end();
                if (error)
                    *error = QStringLiteral("Další stránku nelze začít.");
                return false;
            }
            first = false;
            report->paintPage(painter, page);
        }
    }
    if (!painter.end()) {
        if (error)
            *error = QStringLiteral("Tisk nebyl dokončen.");
        return false;
    }
    return true;
}

bool ReportRenderer::writePdf(const QString &fileName,
                              const std::vector<const ReportRenderer *> &reports, QString *error)
{
    QPdfWriter writer(fileName);
    writer.setResolution(600);
    writer.setTitle(QStringLiteral("LOG_POKOJE Report"));
    writer.setCreator(QStringLiteral("halvane"));
    setUpPage(&writer);
    if (!print(&writer, reports)) {
        if (error)
            *error = QStringLiteral("Soubor %1 nelze zapsat.").arg(fileName);
        return false;
    }
    return true;
}

QString ReportRenderer::noRecordsText(const ReportPerson &person, int month, int year)
{
    const QString who = person.nazev.isEmpty()
        ? QStringLiteral("Osoba s kódem %1").arg(person.kod)
        : QStringLiteral("Osoba %1 (kód %2)").arg(person.nazev).arg(person.kod);
    return who + QStringLiteral(" nemá v měsíci %1/%2 žádný záznam docházky, není co tisknout.")
                     .arg(month)
                     .arg(year);
}

QStringList ReportRenderer::textLines() const
{
    const QChar tab = QLatin1Char('\t');
    QStringList out;
    out << title() + tab + m_result.calendarName;
    out << workingDaysLabel() + tab + workingDaysText(m_result.PRACOVNICH_DNU);
    for (const DetailLine &line : m_result.lines)
        out << QString::number(line.POL) + tab + line.DATA1.left(Data1Length) + tab
                + line.DATA2.left(Data2Length);
    for (const FooterBox &box : kFooterBoxes)
        out << QString::fromUtf8(box.caption).trimmed() + tab + m_result.*box.value;
    for (const ShiftLine &line : kShiftLines)
        out << QString::fromUtf8(line.label) + tab + m_result.*line.weekday + tab
                + m_result.*line.weekend;
    return out;
}
