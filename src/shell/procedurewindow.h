#pragma once

#include <QPointer>
#include <QSize>
#include <QWidget>
#include <functional>
#include <memory>

class DataContext;
class QMdiSubWindow;

// The base of every window of the program: a list, a form, a report window. It runs in a data
// context (its own when started from the frame, its caller's when it is a form), takes the
// context's request when it is made, restores and stores its placement in the settings
// section named after its procedure, and leaves its response in the context when it closes.
//
// A window started by another (a form from its list) blocks only that window: the caller is
// disabled until the child finishes, and every other window stays usable.
class ProcedureWindow : public QWidget
{
    Q_OBJECT

public:
    ProcedureWindow(const QString &procedure, DataContext &context, QWidget *parent = nullptr);
    ~ProcedureWindow() override;

    QString procedure() const { return m_procedure; }
    DataContext &context() const { return *m_context; }
    quint8 request() const { return m_request; }
    quint8 response() const { return m_response; }
    bool isFinished() const { return m_finished; }

    // The window's designed size in dialog units of its font; it is also its minimum size.
    void setDesignedSize(int widthDu, int heightDu, bool resizable);
    QSize designedSizePx() const;
    bool isResizable() const { return m_resizable; }
    // Dialog units of this window's font in pixels.
    int duX(int du) const;
    int duY(int du) const;

    // The window as placed on the screen: its frame sub-window, or itself.
    QWidget *placedWindow() const;

    // Shows the window (in the frame's area when there is one), restores its placement and
    // brings it within the visible desktop.
    void openWindow();

    // Runs `child` in this window's context: this window is disabled until the child
    // finishes; then `done` gets the child's response.
    void runChild(ProcedureWindow *child, std::function<void(quint8 response)> done = {});
    bool hasRunningChild() const { return !m_child.isNull(); }
    ProcedureWindow *runningChild() const { return m_child.data(); }

    // Takes ownership of a context made for this window alone (windows started from the frame).
    void adoptContext(DataContext *context);

signals:
    void finished(quint8 response);

protected:
    // Ends the window with a response (1 completed, 2 cancelled).
    void finish(quint8 response);
    // Whether the window may close now (a form asks about unsaved changes here).
    virtual bool canClose() { return true; }
    // Opened after the window was made and before it shows; closed when it finishes.
    virtual void openTables() {}
    virtual void closeTables() {}
    // Called by openWindow() once the tables are open, before the window shows. Returning
    // false leaves the window unshown: it ends without ever appearing (a form's deletion, or
    // an insert whose priming was given up) and is finished as cancelled if it did not finish.
    virtual bool prepareWindow() { return true; }

    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void restorePlacement();
    void storePlacement();

    QString m_procedure;
    DataContext *m_context;
    std::unique_ptr<DataContext> m_ownedContext;
    quint8 m_request = 0;
    quint8 m_response = 0;
    bool m_finished = false;
    bool m_tablesOpen = false;
    bool m_resizable = false;
    bool m_opened = false;
    bool m_placed = false;   // shown and placed: its placement is stored when it closes
    QSize m_designedDu;
    QPointer<ProcedureWindow> m_child;
    QPointer<QMdiSubWindow> m_sub;
};
