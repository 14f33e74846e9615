#pragma once

#include "monthlycomputation.h"
#include "procedurewindow.h"
#include "storeattendancesource.h"

#include <QDateTime>
#include <QTimer>

#include <memory>

class QComboBox;
class QLabel;
class QPrinter;
class QPrintPreviewDialog;
class QProgressBar;
class QPushButton;
class QSpinBox;
class ReportRenderer;

// The monthly attendance report window "Tisk" (procedure TiskDochazky): shows the person, lets
// the user choose the month and the year, and runs the report with its record processor.
//
// The window opens paused, the start button reading "Tisk". The first press fixes the person,
// the month and the year, stores the year's last two digits in GLO:Rok, runs the preparation
// (the person's records and the yearly pass) and starts the timer; each tick processes the next
// records, one detail line each, with the progress bar, the percentage and the progress texts
// in the free text line. Further presses pause ("Restart") and resume ("Pause"); the totals are
// kept and the run goes on from the next record. When the records are exhausted the pages go to
// the print preview, shown maximised (its placement is kept in the settings section
// "PrintPreview"), from which the user prints; when the preview is closed the window closes
// with the response completed. "Storno" (or Esc) ends the window at any point without printing,
// with the response cancelled. A month without any record of the person is told to the user
// (message "Žádné záznamy") and the window waits for another month.
//
// A people window starts it for the person highlighted in it:
//   owner->runChild(new TiskDochazky(owner->context(), personKod, owner), done);
// The constructor sets GLO:TiskDrzitel to the person; later changes of GLO:TiskDrzitel or
// Obdobi by other windows do not change a running report.
class TiskDochazky : public ProcedureWindow
{
    Q_OBJECT

public:
    TiskDochazky(DataContext &context, qint32 personKod, QWidget *parent = nullptr);
    ~TiskDochazky() override;

    enum class RunState {
        Waiting,  // opened, or back after a month without records: "Tisk"
        Running,  // the timer processes records: "Pause"
        Paused,   // "Restart"
        Ended,    // every record processed; the preview is open
    };
    RunState runState() const { return m_state; }

    // The record processor's timer, in milliseconds (10 hundredths of a second).
    static constexpr int TimerIntervalMs = 100;
    // How many records one timer tick processes (at least 1).
    void setRecordsPerCycle(int records);
    int recordsPerCycle() const { return m_recordsPerCycle; }

    qint32 personKod() const { return m_personKod; }
    const ReportPerson &person() const { return m_person; }
    // The run's computation: null before the first press of the start button.
    const MonthlyComputation *computation() const { return m_computation.get(); }
    // The report shown in the preview, and the preview itself: null until the run has ended.
    const ReportRenderer *renderer() const { return m_renderer.get(); }
    QPrintPreviewDialog *preview() const { return m_preview; }

    // The settings section of the print preview's placement.
    static QString previewSection();

protected:
    void openTables() override;
    void closeTables() override;

private:
    void startPressed();
    void cancel();
    void cycle();
    bool beginRun();
    void backToWaiting();
    void endRun();
    void showPreview();
    void previewClosed();
    void setProgressText(const QString &text);
    void updateProgress();

    qint32 m_personKod;
    ReportPerson m_person;
    bool m_tablesOpen = false;
    RunState m_state = RunState::Waiting;
    int m_recordsPerCycle = 25;
    QTimer m_timer;
    QDateTime m_stamp;

    std::unique_ptr<StoreAttendanceSource> m_source;
    std::unique_ptr<MonthlyComputation> m_computation;
    std::unique_ptr<ReportRenderer> m_renderer;
    std::unique_ptr<QPrinter> m_printer;
    QPrintPreviewDialog *m_preview = nullptr;

    QProgressBar *m_progress = nullptr;
    QLabel *m_freeText = nullptr;
    QLabel *m_percent = nullptr;
    QLabel *m_name = nullptr;
    QComboBox *m_month = nullptr;
    QSpinBox *m_year = nullptr;
    QPushButton *m_start = nullptr;
    QPushButton *m_cancel = nullptr;
};
