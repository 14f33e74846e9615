#include "reportrenderer.h"
#include "scratchdir.h"

#include <QFile>
#include <QPaintEngine>
#include <QPainter>
#include <QRegularExpression>
#include <QtTest>

namespace {

constexpr int kDpi = 300;

double toMm(double px) { return px * 25.4 / kDpi; }

// One text as the renderer drew it: where its baseline starts, in millimetres from the paper's
// corner, and its font.
struct DrawnText
{
    QString text;
    double x;
    double y;
    QFont font;
};

// A paint engine that keeps every text it is asked to draw and draws nothing.
class RecordingEngine : public QPaintEngine
{
public:
    RecordingEngine()
        : QPaintEngine(QPaintEngine::AllFeatures)
    {
    }
    bool begin(QPaintDevice *) override { return true; }
    bool end() override { return true; }
    void updateState(const QPaintEngineState &) override {}
    void drawPixmap(const QRectF &, const QPixmap &, const QRectF &) override {}
    void drawPath(const QPainterPath &) override {}
    void drawPolygon(const QPointF *, int, PolygonDrawMode) override {}
    void drawRects(const QRectF *, int) override {}
    void drawLines(const QLineF *, int) override {}
    void drawTextItem(const QPointF &p, const QTextItem &item) override
    {
        const QPointF at = painter()->transform().map(p);
        texts.push_back({item.text(), toMm(at.x()), toMm(at.y()), item.font()});
    }
    Type type() const override { return QPaintEngine::User; }

    std::vector<DrawnText> texts;
};

// An A4 page at 300 dpi that records what is painted on it.
class RecordingPage : public QPaintDevice
{
public:
    QPaintEngine *paintEngine() const override { return &m_engine; }
    const std::vector<DrawnText> &texts() const { return m_engine.texts; }

    const DrawnText *find(const QString &text) const
    {
        for (const DrawnText &t : m_engine.texts) {
            if (t.text == text)
                return &t;
        }
        return nullptr;
    }
    QStringList all() const
    {
        QStringList list;
        for (const DrawnText &t : m_engine.texts)
            list << t.text;
        return list;
    }

protected:
    int metric(PaintDeviceMetric m) const override
    {
        switch (m) {
        case PdmWidth: return int(210.0 / 25.4 * kDpi);
        case PdmHeight: return int(297.0 / 25.4 * kDpi);
        case PdmWidthMM: return 210;
        case PdmHeightMM: return 297;
        case PdmNumColors: return 0x7fffffff;
        case PdmDepth: return 32;
        case PdmDpiX:
        case PdmDpiY:
        case PdmPhysicalDpiX:
        case PdmPhysicalDpiY: return kDpi;
        case PdmDevicePixelRatio: return 1;
        case PdmDevicePixelRatioScaled: return int(QPaintDevice::devicePixelRatioFScale());
        }
        return 0;
    }

private:
    mutable RecordingEngine m_engine;
};

// Paints one page of the report onto a recording page.
void paint(const ReportRenderer &renderer, int page, RecordingPage *out)
{
    QPainter p(out);
    renderer.paintPage(p, page);
}

ReportPerson person()
{
    ReportPerson p;
    p.kod = 12;
    p.nazev = QStringLiteral("Šťastná Eva");
    p.ulice = QStringLiteral("Lázeňská 3");
    p.mesto = QStringLiteral("Luhačovice");
    p.psc = QStringLiteral("76326");
    p.mobil = QStringLiteral("777 123 456");
    return p;
}

// March 2011 with a missing departure: what the computation leaves for such a month.
MonthlyResult marchWithWarning(int lines = 3)
{
    MonthlyResult r;
    r.MESIC = 3;
    r.Rok = 2011;
    r.hasCalendar = true;
    r.calendarName = QStringLiteral("Březen 2011");
    r.PRACOVNICH_DNU = 23;
    r.hasRecords = true;
    for (int i = 0; i < lines; ++i) {
        DetailLine l;
        l.POL = i + 1;
        l.DATA1 = QStringLiteral("PŘÍCHOD: Úterý 01/03/2011 07:0%1").arg(i % 10);
        if (i == 1)
            l.DATA2 = QStringLiteral("POZOR - chybí odchod !!!");
        r.lines.push_back(l);
    }
    r.VYSLEDEK_SKUT = QStringLiteral("7:55");
    r.VYSLEDEK_DOV = QStringLiteral("8:00");
    r.VYSLEDEK_NEM = QStringLiteral("0:00");
    r.VYSLEDEK_PROP = QStringLiteral("1:30");
    r.VYSLEDEK_CELKEM = QStringLiteral("15:55");
    r.KONECNY_VYSLEDEK = QStringLiteral("CHYBA !!!");
    r.VYSLEDEK_PRESC = QStringLiteral("-168:05");
    r.VYSLEDEK_PRESC_ROK = QStringLiteral("CHYBA !!!");
    r.VYSLEDEK_RANNI = QStringLiteral("7:55");
    r.VYSLEDEK_ODPO = QStringLiteral("0:00");
    r.VYSLEDEK_NOCNI = QStringLiteral("0:00");
    r.VYSLEDEK_RANNI_V = QStringLiteral("0:00");
    r.VYSLEDEK_ODPO_V = QStringLiteral("0:00");
    r.VYSLEDEK_NOCNI_V = QStringLiteral("0:00");
    return r;
}

const QDateTime kStamp(QDate(2011, 4, 1), QTime(8, 5, 30));

// The number of pages of a PDF file, from its page objects.
int pdfPages(const QByteArray &pdf)
{
    static const QRegularExpression page(QStringLiteral("/Type\\s*/Page(?![a-zA-Z])"));
    return int(QString::fromLatin1(pdf).count(page));
}

} // namespace

// The report on paper: where its heading, lines and footer land, the pages they take, the
// text output, and a real PDF file.
class TstReportRenderer : public QObject
{
    Q_OBJECT

private slots:
    void headingOnTheFirstPage();
    void detailLines();
    void footerWithTotalsAndStamp();
    void pages_data();
    void pages();
    void headingFirstFooterLast();
    void longTextsAreCutAlike();
    void textOutput();
    void pdfFile();
};

void TstReportRenderer::headingOnTheFirstPage()
{
    const ReportRenderer renderer(person(), marchWithWarning(), kStamp);
    RecordingPage page;
    paint(renderer, 0, &page);

    const DrawnText *title = page.find(QStringLiteral("Přehled docházky za rok 2011 měsíc"));
    QVERIFY2(title, qPrintable(page.all().join(u'|')));
    // At 98, 3 of the printing area, which starts 6 mm from the paper's edges; the baseline
    // lies under the top of the text.
    QVERIFY(qAbs(title->x - 104.0) < 0.3);
    QVERIFY(title->y > 9.0 && title->y < 13.0);
    QVERIFY(title->font.bold());

    const DrawnText *name = page.find(QStringLiteral("Březen 2011"));
    QVERIFY(name);
    QVERIFY(qAbs(name->x - 159.0) < 0.3);
    QVERIFY(qAbs(name->y - title->y) < 0.01);

    const DrawnText *days = page.find(QStringLiteral("Pracovních dnů:"));
    QVERIFY(days);
    QVERIFY(qAbs(days->x - 104.0) < 0.3);
    const DrawnText *count = page.find(QStringLiteral("23"));
    QVERIFY(count);
    QVERIFY(count->x > 127.0 && count->x < 133.0);   // right-aligned in 121..127 of the area

    const DrawnText *who = page.find(QStringLiteral("Šťastná Eva"));
    QVERIFY(who);
    QVERIFY(qAbs(who->x - 9.0) < 0.3);
    QVERIFY(page.find(QStringLiteral("Lázeňská 3")));
    QVERIFY(page.find(QStringLiteral("Luhačovice")));
    const DrawnText *psc = page.find(QStringLiteral("76326"));
    QVERIFY(psc && qAbs(psc->x - 48.0) < 0.3);
    QVERIFY(page.find(QStringLiteral("Tel.:")));
    QVERIFY(page.find(QStringLiteral("777 123 456")));
    QVERIFY(page.find(QStringLiteral("č.:")));
    QVERIFY(page.find(QStringLiteral("Popis akce:")));
}

void TstReportRenderer::detailLines()
{
    const ReportRenderer renderer(person(), marchWithWarning(), kStamp);
    RecordingPage page;
    paint(renderer, 0, &page);

    const DrawnText *warning = page.find(QStringLiteral("POZOR - chybí odchod !!!"));
    QVERIFY(warning);
    QVERIFY(qAbs(warning->x - 92.0) < 0.3);
    // The second line: heading 28 mm, then 5 mm a line, its text 1 mm under the line's top.
    const double lineTop = 6.0 + 28.0 + 5.0 + 1.0;
    QVERIFY(warning->y > lineTop && warning->y < lineTop + 4.0);

    const DrawnText *data1 = page.find(QStringLiteral("PŘÍCHOD: Úterý 01/03/2011 07:01"));
    QVERIFY(data1);
    QVERIFY(qAbs(data1->x - 14.0) < 0.3);
    QVERIFY(qAbs(data1->y - warning->y) < 0.01);

    const DrawnText *pol = page.find(QStringLiteral("2"));
    QVERIFY(pol);
    QVERIFY(pol->x > 7.0 && pol->x < 13.0);   // right-aligned in 1..7 of the area
    QVERIFY(qAbs(pol->y - warning->y) < 0.01);
}

void TstReportRenderer::footerWithTotalsAndStamp()
{
    const ReportRenderer renderer(person(), marchWithWarning(), kStamp);
    QCOMPARE(renderer.pageCount(), 1);
    RecordingPage page;
    paint(renderer, 0, &page);
    const double footerTop = 6.0 + 28.0 + 3 * 5.0;

    // Both final results read "CHYBA !!!", in their boxes.
    std::vector<const DrawnText *> errors;
    for (const DrawnText &t : page.texts()) {
        if (t.text == QStringLiteral("CHYBA !!!"))
            errors.push_back(&t);
    }
    QCOMPARE(errors.size(), size_t(2));
    QVERIFY(qAbs(errors[0]->x - 130.0) < 0.3);   // " Výsledek po proplacení" at 124, 39
    QVERIFY(errors[0]->y > footerTop + 39 && errors[0]->y < footerTop + 44);
    QVERIFY(qAbs(errors[1]->x - 129.0) < 0.3);   // " Konečný výsledek " at 123, 53
    QVERIFY(errors[1]->y > footerTop + 53 && errors[1]->y < footerTop + 59);
    QCOMPARE(errors[1]->font.pointSize(), 12);
    QCOMPARE(errors[0]->font.pointSize(), 10);

    for (const char *caption : {" Odpracováno hodin ", " Dovolená ", " Nemoc ", " Celkem odpracováno za měsíc ",
                                " Stav hodin tento měsíc ", " Celkem proplaceno hodin ", " Výsledek po proplacení",
                                " Konečný výsledek "})
        QVERIFY2(page.find(QString::fromUtf8(caption)), caption);
    const DrawnText *worked = page.find(QStringLiteral("15:55"));
    QVERIFY(worked && qAbs(worked->x - 130.0) < 0.3);
    const DrawnText *balance = page.find(QStringLiteral("-168:05"));
    QVERIFY(balance && qAbs(balance->x - 171.0) < 0.3);

    for (const char *label : {"Ranní směna:", "Odpolední směnna:", "Noční směnna:"})
        QVERIFY2(page.find(QString::fromUtf8(label)), label);

    const DrawnText *date = page.find(QStringLiteral("1.4.2011"));
    QVERIFY(date);
    QVERIFY(qAbs(date->x - 15.0) < 0.3);
    QVERIFY(date->y > footerTop + 66 && date->y < footerTop + 70);
    QVERIFY(page.find(QStringLiteral("Date:")));
    QVERIFY(page.find(QStringLiteral("Time:")));
    const DrawnText *time = page.find(QStringLiteral("8:05"));
    QVERIFY(time && qAbs(time->x - 47.0) < 0.3);
    const DrawnText *number = page.find(QStringLiteral("Page 1"));
    QVERIFY(number && qAbs(number->x - 178.0) < 0.3);
}

void TstReportRenderer::pages_data()
{
    QTest::addColumn<int>("lines");
    QTest::addColumn<int>("pages");
    QTest::addColumn<int>("footerPage");
    QTest::addColumn<double>("footerTop");

    // The first page holds the heading and 41 lines; the others 46 lines; the footer needs 70 mm.
    QTest::newRow("no line") << 0 << 1 << 0 << 28.0;
    QTest::newRow("27 lines and the footer fit") << 27 << 1 << 0 << 163.0;
    QTest::newRow("28 lines push the footer over") << 28 << 2 << 1 << 0.0;
    QTest::newRow("41 lines fill the first page") << 41 << 2 << 1 << 0.0;
    QTest::newRow("42nd line on the second page") << 42 << 2 << 1 << 5.0;
    QTest::newRow("87 lines fill two pages") << 87 << 3 << 2 << 0.0;
}

void TstReportRenderer::pages()
{
    QFETCH(int, lines);
    QFETCH(int, pages);
    QFETCH(int, footerPage);
    QFETCH(double, footerTop);

    const ReportRenderer renderer(person(), marchWithWarning(lines), kStamp);
    QCOMPARE(renderer.pageCount(), pages);
    const auto &bands = renderer.bands();
    QCOMPARE(bands.front().kind, ReportRenderer::Band::Heading);
    QCOMPARE(bands.back().kind, ReportRenderer::Band::Footer);
    QCOMPARE(bands.back().page, footerPage);
    QCOMPARE(bands.back().top, footerTop);
    for (const auto &band : bands)
        QVERIFY(band.top + (band.kind == ReportRenderer::Band::Detail ? 5.0 : 0.0)
                <= ReportRenderer::AreaHeightMm);
}

void TstReportRenderer::headingFirstFooterLast()
{
    const ReportRenderer renderer(person(), marchWithWarning(60), kStamp);
    QCOMPARE(renderer.pageCount(), 2);
    RecordingPage first, second;
    paint(renderer, 0, &first);
    paint(renderer, 1, &second);

    const QString title = QStringLiteral("Přehled docházky za rok 2011 měsíc");
    QVERIFY(first.find(title));
    QVERIFY(!second.find(title));
    QVERIFY(!first.find(QStringLiteral(" Konečný výsledek ")));
    QVERIFY(!first.find(QStringLiteral("Page 1")));
    QVERIFY(second.find(QStringLiteral(" Konečný výsledek ")));
    QVERIFY(second.find(QStringLiteral("Page 2")));
    // Line 42 is the first of the second page, at its top.
    const DrawnText *line42 = second.find(QStringLiteral("42"));
    QVERIFY(line42);
    QVERIFY(line42->y > 7.0 && line42->y < 11.0);
    QVERIFY(first.find(QStringLiteral("41")));
    QVERIFY(!first.find(QStringLiteral("42")));
}

void TstReportRenderer::longTextsAreCutAlike()
{
    MonthlyResult r = marchWithWarning(1);
    const QString long1 = QString(60, QLatin1Char('a'));
    const QString long2 = QString(30, QLatin1Char('b'));
    r.lines[0].DATA1 = long1;
    r.lines[0].DATA2 = long2;
    const ReportRenderer renderer(person(), r, kStamp);
    RecordingPage page;
    paint(renderer, 0, &page);
    QVERIFY(page.find(long1.left(48)));
    QVERIFY(page.find(long2.left(25)));
    QVERIFY(renderer.textLines().contains(QStringLiteral("1\t") + long1.left(48) + u'\t' + long2.left(25)));
}

void TstReportRenderer::textOutput()
{
    const ReportRenderer renderer(person(), marchWithWarning(), kStamp);
    const QStringList expected{
        QStringLiteral("Přehled docházky za rok 2011 měsíc\tBřezen 2011"),
        QStringLiteral("Pracovních dnů:\t23"),
        QStringLiteral("1\tPŘÍCHOD: Úterý 01/03/2011 07:00\t"),
        QStringLiteral("2\tPŘÍCHOD: Úterý 01/03/2011 07:01\tPOZOR - chybí odchod !!!"),
        QStringLiteral("3\tPŘÍCHOD: Úterý 01/03/2011 07:02\t"),
        QStringLiteral("Odpracováno hodin\t7:55"),
        QStringLiteral("Dovolená\t8:00"),
        QStringLiteral("Nemoc\t0:00"),
        QStringLiteral("Celkem odpracováno za měsíc\t15:55"),
        QStringLiteral("Stav hodin tento měsíc\t-168:05"),
        QStringLiteral("Celkem proplaceno hodin\t1:30"),
        QStringLiteral("Výsledek po proplacení\tCHYBA !!!"),
        QStringLiteral("Konečný výsledek\tCHYBA !!!"),
        QStringLiteral("Ranní směna:\t7:55\t0:00"),
        QStringLiteral("Odpolední směnna:\t0:00\t0:00"),
        QStringLiteral("Noční směnna:\t0:00\t0:00"),
    };
    QCOMPARE(renderer.textLines(), expected);
}

void TstReportRenderer::pdfFile()
{
    ScratchDir dir;
    const ReportRenderer longer(person(), marchWithWarning(60), kStamp);
    const ReportRenderer shorter(person(), marchWithWarning(3), kStamp);

    const QString one = dir.file(QStringLiteral("one.pdf"));
    QString error;
    QVERIFY2(ReportRenderer::writePdf(one, {&longer}, &error), qPrintable(error));
    QFile file(one);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray pdf = file.readAll();
    QVERIFY(pdf.size() > 1000);
    QVERIFY(pdf.startsWith("%PDF-"));
    QVERIFY(pdf.trimmed().endsWith("%%EOF"));
    QCOMPARE(pdfPages(pdf), 2);

    // Two reports: each starts on a page of its own.
    const QString two = dir.file(QStringLiteral("two.pdf"));
    QVERIFY(ReportRenderer::writePdf(two, {&longer, &shorter}, &error));
    QFile file2(two);
    QVERIFY(file2.open(QIODevice::ReadOnly));
    QCOMPARE(pdfPages(file2.readAll()), 3);

    // A file that cannot be written is an error, not a crash.
    QVERIFY(!ReportRenderer::writePdf(dir.file(QStringLiteral("no/such/dir/x.pdf")), {&shorter}, &error));
    QVERIFY(!error.isEmpty());
}

QTEST_MAIN(TstReportRenderer)
#include "tst_reportrenderer.moc"
