#include "procedurewindow.h"

#include "datacontext.h"
#include "errorreporter.h"
#include "settingsfile.h"
#include "shell.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScreen>

ProcedureWindow::ProcedureWindow(const QString &procedure, DataContext &context, QWidget *parent)
    : QWidget(parent)
    , m_procedure(procedure)
    , m_context(&context)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setCurrentProcedure(procedure);
    // The window takes the request it was started with; the context is idle again.
    m_request = context.globalRequest;
    context.globalRequest = DataContext::NoRequest;
    context.globalResponse = DataContext::NoResponse;
}

ProcedureWindow::~ProcedureWindow()
{
    if (m_tablesOpen)
        closeTables();
}

void ProcedureWindow::adoptContext(DataContext *context)
{
    m_ownedContext.reset(context);
}

int ProcedureWindow::duX(int du) const
{
    return (du * fontMetrics().averageCharWidth() + 2) / 4;
}

int ProcedureWindow::duY(int du) const
{
    return (du * fontMetrics().height() + 4) / 8;
}

void ProcedureWindow::setDesignedSize(int widthDu, int heightDu, bool resizable)
{
    m_designedDu = QSize(widthDu, heightDu);
    m_resizable = resizable;
    const QSize px = designedSizePx();
    if (resizable) {
        setMinimumSize(px);
        resize(px);
    } else {
        setFixedSize(px);
    }
}

QSize ProcedureWindow::designedSizePx() const
{
    return QSize(duX(m_designedDu.width()), duY(m_designedDu.height()));
}

QWidget *ProcedureWindow::placedWindow() const
{
    if (m_sub)
        return m_sub.data();
    return const_cast<ProcedureWindow *>(this);
}

void ProcedureWindow::openWindow()
{
    if (m_opened)
        return;
    m_opened = true;
    openTables();
    m_tablesOpen = true;
    if (!prepareWindow() || m_finished) {
        if (!m_finished)
            finish(DataContext::RequestCancelled);
        return;
    }
    if (QMdiArea *area = Shell::frameArea()) {
        m_sub = area->addSubWindow(this);
        m_sub->setAttribute(Qt::WA_DeleteOnClose);
        m_sub->setWindowIcon(windowIcon());
        if (!m_resizable)
            m_sub->setWindowFlags(m_sub->windowFlags() & ~Qt::WindowMaximizeButtonHint);
    } else if (parentWidget() && !isWindow()) {
        // Without a frame a window started by another (a form, a report) is a window of its
        // own; left a plain child it would be drawn inside the window that started it.
        setWindowFlags(windowFlags() | Qt::Window);
    }
    restorePlacement();
    m_placed = true;
    placedWindow()->show();
    placedWindow()->raise();
    activateWindow();
}

void ProcedureWindow::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (m_sub) {
        // The frame of a sub-window grows by its own decorations around the designed size.
        const QSize frame = m_sub->size() - size();
        m_sub->setMinimumSize(minimumSize() + frame);
    }
}

void ProcedureWindow::runChild(ProcedureWindow *child, std::function<void(quint8)> done)
{
    m_child = child;
    setEnabled(false);
    connect(child, &ProcedureWindow::finished, this, [this, done](quint8 response) {
        m_child = nullptr;
        setEnabled(true);
        setCurrentProcedure(m_procedure);
        if (done)
            done(response);
        placedWindow()->raise();
        activateWindow();
    });
    child->openWindow();
    // Disabling this window disables every widget below it, child windows too: a child that
    // was made with this window as its parent (and not moved into the frame) is enabled again,
    // or it could not be used.
    for (QWidget *w = child->parentWidget(); w; w = w->parentWidget()) {
        if (w == this) {
            if (child->isWindow())
                child->setEnabled(true);
            break;
        }
    }
}

void ProcedureWindow::finish(quint8 response)
{
    if (m_finished)
        return;
    m_finished = true;
    m_response = response;
    if (m_placed)
        storePlacement();
    if (m_tablesOpen) {
        closeTables();
        m_tablesOpen = false;
    }
    setCurrentProcedure(QString());
    m_context->globalResponse = response;
    emit finished(response);
    placedWindow()->close();
}

void ProcedureWindow::closeEvent(QCloseEvent *event)
{
    if (m_finished) {
        event->accept();
        return;
    }
    if (m_child) {
        // A window waits for the form it started.
        event->ignore();
        m_child->placedWindow()->raise();
        return;
    }
    if (!canClose()) {
        event->ignore();
        return;
    }
    event->accept();
    finish(DataContext::RequestCancelled);
}

void ProcedureWindow::restorePlacement()
{
    SettingsFile *settings = Shell::settings();
    if (!settings)
        return;
    const StoredPlacement p = readPlacement(*settings, m_procedure);
    if (!p.isStored())
        return;
    QWidget *w = placedWindow();
    const QSize frame = m_sub ? m_sub->size() - size() : QSize(0, 0);
    if (p.x && p.y)
        w->move(duX(*p.x), duY(*p.y));
    if (m_resizable && p.width && p.height) {
        const QSize client = QSize(duX(*p.width), duY(*p.height)).expandedTo(minimumSize());
        if (m_sub)
            m_sub->resize(client + frame);
        else
            resize(client);
    }
    // Within the visible desktop (or the frame's area): a window is never restored out of reach.
    QRect bounds;
    if (QMdiArea *area = Shell::frameArea(); area && m_sub)
        bounds = area->viewport()->rect();
    else if (QScreen *s = QGuiApplication::primaryScreen())
        bounds = s->availableGeometry();
    if (bounds.isValid()) {
        QRect r = w->frameGeometry();
        if (r.right() > bounds.right())
            r.moveRight(bounds.right());
        if (r.bottom() > bounds.bottom())
            r.moveBottom(bounds.bottom());
        if (r.left() < bounds.left())
            r.moveLeft(bounds.left());
        if (r.top() < bounds.top())
            r.moveTop(bounds.top());
        w->move(r.topLeft());
    }
    if (p.isMaximized())
        w->setWindowState(w->windowState() | Qt::WindowMaximized);
    else
        w->setWindowState(w->windowState() & ~Qt::WindowMaximized);
}

void ProcedureWindow::storePlacement()
{
    SettingsFile *settings = Shell::settings();
    if (!settings)
        return;
    QWidget *w = placedWindow();
    PlacementState s;
    s.maximized = w->isMaximized();
    s.minimized = w->isMinimized();
    s.resizable = m_resizable;
    const int cw = qMax(1, fontMetrics().averageCharWidth());
    const int ch = qMax(1, fontMetrics().height());
    s.x = (w->x() * 4 + cw / 2) / cw;
    s.y = (w->y() * 8 + ch / 2) / ch;
    s.width = (width() * 4 + cw / 2) / cw;
    s.height = (height() * 8 + ch / 2) / ch;
    writePlacement(*settings, m_procedure, s);
}
