#include "tiskdochazky.h"

#include "datacontext.h"
#include "errorreporter.h"
#include "globals.h"
#include "reportrenderer.h"
#include "settingsfile.h"
#include "shell.h"

#include <QApplication>
#include <QComboBox>
#include <QDate>
#include <QFontMetrics>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QProgressBar>
#include <QPushButton>
#include <QShortcut>
#include <QSpinBox>
#include <QStyle>
#include <QVBoxLayout>

namespace {

constexpr int kFirstYear = 2000;
constexpr int kLastYear = 2099;

// The year entry's first value: 2000 plus GLO:Rok when that holds a number, otherwise the
// current year.
int startYear()
{
    bool ok = false;
    const int stored = GLO::Rok.get().trimmed().toInt(&ok);
    const int year = ok ? kFirstYear + stored : QDate::currentDate().year();
    return qBound(kFirstYear, year, kLastYear);
}

// The month list's first value: Obdobi, or the current month while no month was chosen yet.
int startMonth()
{
    const int chosen = GLO::Obdobi.get();
    return (chosen >= 1 && chosen <= 12) ? chosen : QDate::currentDate().month();
}

// The preview's placement in dialog units of its own font, as every window keeps its own.
int toDuX(const QWidget *w, int px)
{
    const int cw = qMax(1, w->fontMetrics().averageCharWidth());
    return (px * 4 + cw / 2) / cw;
}
int toDuY(const QWidget *w, int px)
{
    const int ch = qMax(1, w->fontMetrics().height());
    return (px * 8 + ch / 2) / ch;
}
int fromDuX(const QWidget *w, int du) { return (du * w->fontMetrics().averageCharWidth() + 2) / 4; }
int fromDuY(const QWidget *w, int du) { return (du * w->fontMetrics().height() + 4) / 8; }

} // namespace

TiskDochazky::TiskDochazky(DataContext &context, qint32 personKod, QWidget *parent)
    : ProcedureWindow(QStringLiteral("TiskDochazky"), context, parent)
    , m_personKod(personKod)
{
    // The person is the caller's; the shared variable follows it for the windows that read it.
    GLO::TiskDrzitel.set(personKod);
    m_person.kod = personKod;

    setWindowTitle(QStringLiteral("Tisk"));
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSize(8);
    setFont(font);

    m_progress = new QProgressBar(this);
    m_progress->setObjectName(QStringLiteral("progress"));
    m_progress->setRange(0, 100);
    m_progress->setValue(0);
    m_progress->setTextVisible(false);

    m_freeText = new QLabel(this);
    m_freeText->setObjectName(QStringLiteral("freeText"));
    m_freeText->setAlignment(Qt::AlignCenter);
    m_percent = new QLabel(this);
    m_percent->setObjectName(QStringLiteral("percent"));
    m_percent->setAlignment(Qt::AlignCenter);

    auto *userLabel = new QLabel(QStringLiteral("Uživatel:"), this);
    m_name = new QLabel(this);
    m_name->setObjectName(QStringLiteral("name"));
    QFont nameFont(QStringLiteral("Tahoma"));
    nameFont.setStyleHint(QFont::SansSerif);
    nameFont.setPointSize(12);
    m_name->setFont(nameFont);

    auto *monthLabel = new QLabel(QStringLiteral("Období tisku:"), this);
    m_month = new QComboBox(this);
    m_month->setObjectName(QStringLiteral("month"));
    for (int m = 1; m <= 12; ++m)
        m_month->addItem(QString::number(m), m);
    m_month->setCurrentIndex(startMonth() - 1);
    monthLabel->setBuddy(m_month);
    connect(m_month, &QComboBox::activated, this, [this](int index) {
        // The month list is bound to Obdobi: the month last chosen is kept for the next report.
        GLO::Obdobi.set(index + 1);
    });

    auto *yearLabel = new QLabel(QStringLiteral("Rok:"), this);
    m_year = new QSpinBox(this);
    m_year->setObjectName(QStringLiteral("year"));
    m_year->setRange(kFirstYear, kLastYear);
    m_year->setValue(startYear());
    yearLabel->setBuddy(m_year);

    m_start = new QPushButton(QStringLiteral("Pause"), this);
    m_start->setObjectName(QStringLiteral("start"));
    m_start->setIcon(style()->standardIcon(QStyle::SP_DialogOkButton));
    m_cancel = new QPushButton(QStringLiteral("Storno"), this);
    m_cancel->setObjectName(QStringLiteral("cancel"));
    m_cancel->setIcon(style()->standardIcon(QStyle::SP_DialogCancelButton));
    m_cancel->setToolTip(QStringLiteral("Cancel Report"));
    connect(m_start, &QPushButton::clicked, this, &TiskDochazky::startPressed);
    connect(m_cancel, &QPushButton::clicked, this, &TiskDochazky::cancel);
    auto *esc = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(esc, &QShortcut::activated, this, &TiskDochazky::cancel);

    auto *fields = new QGridLayout;
    fields->addWidget(userLabel, 0, 0);
    fields->addWidget(m_name, 0, 1, 1, 3);
    fields->addWidget(monthLabel, 1, 0);
    fields->addWidget(m_month, 1, 1);
    fields->addWidget(yearLabel, 1, 2, Qt::AlignRight);
    fields->addWidget(m_year, 1, 3);
    fields->setColumnStretch(1, 1);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_start);
    buttons->addStretch(1);
    buttons->addWidget(m_cancel);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_progress);
    layout->addWidget(m_freeText);
    layout->addWidget(m_percent);
    layout->addSpacing(duY(4));
    layout->addLayout(fields);
    layout->addStretch(1);
    layout->addLayout(buttons);

    setDesignedSize(195, 131, false);

    // The record processor waits, paused, for the month to be chosen.
    m_timer.setInterval(TimerIntervalMs);
    connect(&m_timer, &QTimer::timeout, this, &TiskDochazky::cycle);
    m_start->setText(QStringLiteral("Tisk"));
    m_start->setDefault(true);
}

TiskDochazky::~TiskDochazky()
{
    m_timer.stop();
    // The base class cannot reach this class's closeTables() from its destructor.
    if (m_tablesOpen)
        closeTables();
}

QString TiskDochazky::previewSection()
{
    return QStringLiteral("PrintPreview");
}

void TiskDochazky::setRecordsPerCycle(int records)
{
    m_recordsPerCycle = qMax(1, records);
}

void TiskDochazky::openTables()
{
    context().relation(TableId::ADR_DAT).open();
    context().file(TableId::KALENDAR).open();
    context().relation(TableId::LOG_POKOJE).open();
    m_tablesOpen = true;
    m_source = std::make_unique<StoreAttendanceSource>(context());

    // The person is read once; without a record the window shows no name and no message.
    QString error;
    ReportPerson person;
    if (m_source->person(m_personKod, &person, &error))
        m_person = person;
    m_name->setText(m_person.nazev);
}

void TiskDochazky::closeTables()
{
    m_timer.stop();
    m_computation.reset();
    m_source.reset();
    if (!m_tablesOpen)
        return;
    m_tablesOpen = false;
    context().relation(TableId::LOG_POKOJE).close();
    context().file(TableId::KALENDAR).close();
    context().relation(TableId::ADR_DAT).close();
}

void TiskDochazky::startPressed()
{
    switch (m_state) {
    case RunState::Waiting:
        if (beginRun()) {
            m_state = RunState::Running;
            m_start->setText(QStringLiteral("Pause"));
            m_timer.start();
        }
        break;
    case RunState::Running:
        m_timer.stop();
        m_state = RunState::Paused;
        m_start->setText(QStringLiteral("Restart"));
        break;
    case RunState::Paused:
        m_state = RunState::Running;
        m_start->setText(QStringLiteral("Pause"));
        m_timer.start();
        break;
    case RunState::Ended:
        break;
    }
}

bool TiskDochazky::beginRun()
{
    if (!m_source)
        return false;
    // The window's values go into their variables; the person, the month and the year of this
    // run are fixed from here on.
    const int month = m_month->currentIndex() + 1;
    const int year = m_year->value();
    GLO::Obdobi.set(month);
    GLO::Rok.set(QStringLiteral("%1").arg(year % 100, 2, 10, QLatin1Char('0')));
    m_month->setEnabled(false);
    m_year->setEnabled(false);

    setProgressText(QStringLiteral("Preparing for print..."));
    const ShiftBoundaries boundaries{GLO::RANNI_DO.get(), GLO::ODPOLEDNI_DO.get(),
                                     GLO::NOCNI_DO.get()};
    m_computation = std::make_unique<MonthlyComputation>(m_source.get(), m_personKod, month, year,
                                                         boundaries);
    QString error;
    if (!m_computation->prepare(&error)) {
        MessageArgs args;
        args.file = QString::fromLatin1(tableDef(m_source->failedTable()).externalName);
        args.errorText = error;
        reportMessage(MessageId::ReadFailed, args);
        finish(DataContext::RequestCancelled);
        return false;
    }
    if (!m_computation->result().hasRecords) {
        MessageArgs args;
        args.message = ReportRenderer::noRecordsText(m_person, month, year);
        reportMessage(MessageId::NoRecords, args);
        backToWaiting();
        return false;
    }
    setProgressText(QStringLiteral("Counting dochazka 2/2..."));
    updateProgress();
    return true;
}

void TiskDochazky::backToWaiting()
{
    m_computation.reset();
    m_state = RunState::Waiting;
    m_start->setText(QStringLiteral("Tisk"));
    m_month->setEnabled(true);
    m_year->setEnabled(true);
    m_progress->setValue(0);
    m_percent->clear();
    setProgressText(QString());
}

void TiskDochazky::cancel()
{
    if (isFinished() || m_state == RunState::Ended)
        return;
    // Nothing is printed: the records not yet processed are dropped with the run.
    m_timer.stop();
    finish(DataContext::RequestCancelled);
}

void TiskDochazky::cycle()
{
    if (m_state != RunState::Running || !m_computation)
        return;
    // The report is opened with its first band: the footer's date and time are taken then.
    if (!m_stamp.isValid())
        m_stamp = QDateTime::currentDateTime();
    for (int i = 0; i < m_recordsPerCycle && m_computation->step(); ++i) {
    }
    updateProgress();
    if (m_computation->atEnd())
        endRun();
}

void TiskDochazky::endRun()
{
    m_timer.stop();
    m_computation->finish();
    m_state = RunState::Ended;
    m_start->setEnabled(false);
    setProgressText(QString());
    m_renderer = std::make_unique<ReportRenderer>(m_person, m_computation->result(), m_stamp);
    showPreview();
}

void TiskDochazky::showPreview()
{
    m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    ReportRenderer::setUpPage(m_printer.get());
    m_printer->setFullPage(true);
    m_printer->setDocName(QStringLiteral("LOG_POKOJE Report"));

    m_preview = new QPrintPreviewDialog(m_printer.get(), this);
    m_preview->setObjectName(QStringLiteral("preview"));
    m_preview->setWindowModality(Qt::WindowModal);
    connect(m_preview, &QPrintPreviewDialog::paintRequested, this, [this](QPrinter *printer) {
        m_renderer->print(printer);
    });
    connect(m_preview, &QDialog::finished, this, &TiskDochazky::previewClosed);

    // Maximised, unless the user left it otherwise the last time.
    bool maximised = true;
    if (SettingsFile *settings = Shell::settings()) {
        const StoredPlacement p = readPlacement(*settings, previewSection());
        if (p.isStored()) {
            if (p.x && p.y)
                m_preview->move(fromDuX(m_preview, *p.x), fromDuY(m_preview, *p.y));
            if (p.width && p.height)
                m_preview->resize(fromDuX(m_preview, *p.width), fromDuY(m_preview, *p.height));
            maximised = p.isMaximized();
        }
    }
    if (maximised)
        m_preview->showMaximized();
    else
        m_preview->showNormal();
}

void TiskDochazky::previewClosed()
{
    if (SettingsFile *settings = Shell::settings()) {
        PlacementState s;
        s.maximized = m_preview->isMaximized();
        s.minimized = m_preview->isMinimized();
        s.resizable = true;
        s.x = toDuX(m_preview, m_preview->x());
        s.y = toDuY(m_preview, m_preview->y());
        s.width = toDuX(m_preview, m_preview->width());
        s.height = toDuY(m_preview, m_preview->height());
        writePlacement(*settings, previewSection(), s);
    }
    m_preview->deleteLater();
    m_preview = nullptr;
    finish(DataContext::RequestCompleted);
}

void TiskDochazky::setProgressText(const QString &text)
{
    m_freeText->setText(text);
    // The preparation reads before the event loop runs again: show the text now.
    m_freeText->repaint();
}

void TiskDochazky::updateProgress()
{
    if (!m_computation)
        return;
    const int total = m_computation->recordCount();
    const int done = m_computation->processedCount();
    const int percent = total > 0 ? int(qint64(done) * 100 / total) : 100;
    m_progress->setValue(percent);
    m_percent->setText(QStringLiteral("%1%").arg(percent));
}
