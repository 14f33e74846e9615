#include "mainframe.h"

#include "datacontext.h"
#include "errorreporter.h"
#include "images.h"
#include "login.h"
#include "messageboxreporter.h"
#include "platform.h"
#include "procedurewindow.h"
#include "programsession.h"
#include "settingsfile.h"
#include "translations.h"
#include "waitwindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPrintDialog>
#include <QPrinter>
#include <QScreen>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <cstdio>

namespace {

const QString MainSection = QStringLiteral("Main");
// The frame's designed size, in dialog units of its font.
constexpr int DesignedWidthDu = 480;
constexpr int DesignedHeightDu = 300;

QPrinter *sharedPrinter = nullptr;

QFont tahoma()
{
    return QFont(QStringLiteral("Tahoma"), 8);
}

} // namespace

MainFrame::MainFrame(DataContext &context, QWidget *parent)
    : QMainWindow(parent)
    , m_context(context)
{
    setCurrentProcedure(MainSection);
    // The frame takes the request it was started with; the context is idle again.
    m_context.globalRequest = DataContext::NoRequest;
    m_context.globalResponse = DataContext::NoResponse;

    setWindowTitle(QStringLiteral("Application"));
    setWindowIcon(Images::icon(Images::Program));
    setFont(tahoma());

    m_area = new QMdiArea(this);
    m_area->setObjectName(QStringLiteral("frameArea"));
    m_area->viewport()->installEventFilter(this);
    setCentralWidget(m_area);
    Shell::setFrameArea(m_area);

    buildMenus();
    buildToolbar();
    statusBar();
    updateCommands();
}

MainFrame::~MainFrame()
{
    if (Shell::frameArea() == m_area)
        Shell::setFrameArea(nullptr);
}

Login *MainFrame::login() const
{
    return m_login.data();
}

QStringList MainFrame::procedureNames()
{
    return {QStringLiteral("BrowseLOG_POKOJE"), QStringLiteral("BrowseCARDS"), QStringLiteral("BrowseGCU_POK"),
            QStringLiteral("Nastaveni"),        QStringLiteral("Kalendar"),    QStringLiteral("alarmGCU"),
            QStringLiteral("all_settings"),     QStringLiteral("BrowseAdresar"), QStringLiteral("BrowsePristupy")};
}

QAction *MainFrame::addCommand(QMenu *menu, const QString &text, const QString &statusText, const QString &procedure)
{
    QAction *action = menu ? menu->addAction(text) : new QAction(text, this);
    action->setObjectName(procedure);
    if (!statusText.isEmpty())
        action->setStatusTip(statusText);
    connect(action, &QAction::triggered, this, [this, procedure] { startCommand(procedure); });
    m_commandActions.emplace_back(procedure, action);
    return action;
}

void MainFrame::buildMenus()
{
    QMenu *file = menuBar()->addMenu(QStringLiteral("File"));
    m_printSetup = file->addAction(QStringLiteral("&Print Setup ..."));
    m_printSetup->setStatusTip(QStringLiteral("Setup printer"));
    connect(m_printSetup, &QAction::triggered, this, &MainFrame::printSetup);
    file->addSeparator();
    m_exit = file->addAction(QStringLiteral("E&xit"));
    m_exit->setStatusTip(QStringLiteral("Exit this application"));
    connect(m_exit, &QAction::triggered, this, &QWidget::close);

    QMenu *browse = menuBar()->addMenu(QStringLiteral("Browse"));
    const QString logs = QStringLiteral("Browse Komunikační logy pristupu do pokoju");
    const QString cards = QStringLiteral("Browse Databáze karet");
    addCommand(browse, logs, logs, QStringLiteral("BrowseLOG_POKOJE"));
    addCommand(browse, cards, cards, QStringLiteral("BrowseCARDS"));

    QMenu *settings = menuBar()->addMenu(QStringLiteral("Nastaveni"));
    addCommand(settings, QStringLiteral("Nastavení gcu"), QString(), QStringLiteral("BrowseGCU_POK"));
    addCommand(settings, QStringLiteral("Nastaveni programu"), QString(), QStringLiteral("Nastaveni"));
    addCommand(settings, QStringLiteral("Kalendář"), QString(), QStringLiteral("Kalendar"));
    addCommand(settings, QStringLiteral("Nastavení alarm gcu"), QString(), QStringLiteral("alarmGCU"));
    addCommand(settings, QStringLiteral("Nastavení test"), QString(), QStringLiteral("all_settings"));
}

void MainFrame::buildToolbar()
{
    QToolBar *bar = addToolBar(QStringLiteral("Toolbar"));
    bar->setObjectName(QStringLiteral("toolbar"));
    bar->setMovable(false);
    bar->setFloatable(false);
    bar->toggleViewAction()->setVisible(false);
    setContextMenuPolicy(Qt::NoContextMenu);

    struct Button {
        const char *caption;
        Images::Icon icon;
        const char *procedure;
    };
    const Button buttons[] = {
        {"Docházka", Images::Attendance, "BrowseAdresar"},
        {"Log záznamy", Images::Log, "BrowseLOG_POKOJE"},
        {"Přístupy", Images::Access, "BrowsePristupy"},
    };
    QFont captionFont = tahoma();
    for (const Button &b : buttons) {
        const QString caption = QString::fromUtf8(b.caption);
        QAction *action = addCommand(nullptr, caption, QString(), QString::fromLatin1(b.procedure));
        action->setIcon(Images::icon(b.icon));

        // A picture button, and its caption as a text of its own beneath it.
        auto *cell = new QWidget(bar);
        auto *column = new QVBoxLayout(cell);
        column->setContentsMargins(6, 2, 6, 2);
        column->setSpacing(1);
        auto *button = new QToolButton(cell);
        button->setDefaultAction(action);
        button->setToolButtonStyle(Qt::ToolButtonIconOnly);
        button->setIconSize(QSize(32, 32));
        button->setAutoRaise(true);
        auto *label = new QLabel(caption, cell);
        label->setObjectName(QStringLiteral("caption"));
        label->setFont(captionFont);
        label->setAlignment(Qt::AlignHCenter);
        label->setStyleSheet(QStringLiteral("color: rgb(128, 128, 128);"));
        column->addWidget(button, 0, Qt::AlignHCenter);
        column->addWidget(label, 0, Qt::AlignHCenter);
        bar->addWidget(cell);
    }
}

void MainFrame::setCommand(const QString &procedureName, Shell::WindowFactory factory)
{
    if (factory)
        m_commands[procedureName] = std::move(factory);
    else
        m_commands.erase(procedureName);
    updateCommands();
}

bool MainFrame::hasCommand(const QString &procedureName) const
{
    return m_commands.count(procedureName) > 0;
}

void MainFrame::updateCommands()
{
    for (const auto &[procedure, action] : m_commandActions)
        action->setEnabled(m_accepting && hasCommand(procedure));
    m_printSetup->setEnabled(m_accepting);
}

ProcedureWindow *MainFrame::startCommand(const QString &procedureName)
{
    if (!m_accepting)
        return nullptr;
    const auto it = m_commands.find(procedureName);
    if (it == m_commands.end())
        return nullptr;
    return Shell::startProcedure(it->second);
}

int MainFrame::duX(int du) const
{
    return (du * fontMetrics().averageCharWidth() + 2) / 4;
}

int MainFrame::duY(int du) const
{
    return (du * fontMetrics().height() + 4) / 8;
}

QSize MainFrame::designedSizePx() const
{
    return QSize(duX(DesignedWidthDu), duY(DesignedHeightDu));
}

void MainFrame::openFrame()
{
    if (m_opened)
        return;
    m_opened = true;
    restorePlacement();
    show();
}

void MainFrame::restorePlacement()
{
    resize(designedSizePx());
    QRect bounds;
    if (QScreen *s = screen() ? screen() : QGuiApplication::primaryScreen())
        bounds = s->availableGeometry();
    const SettingsFile *settings = Shell::settings();
    const StoredPlacement p = settings ? readPlacement(*settings, MainSection) : StoredPlacement();
    if (!p.isStored()) {
        // Never stored: the designed size, in the middle of the desktop.
        if (bounds.isValid()) {
            QRect r(QPoint(0, 0), size());
            r.moveCenter(bounds.center());
            move(r.topLeft());
        }
        return;
    }
    if (p.x && p.y)
        move(duX(*p.x), duY(*p.y));
    if (p.width && p.height)
        resize(duX(*p.width), duY(*p.height));
    if (bounds.isValid()) {
        // Within the visible desktop: a frame is never restored out of reach.
        QRect r = frameGeometry();
        if (r.right() > bounds.right())
            r.moveRight(bounds.right());
        if (r.bottom() > bounds.bottom())
            r.moveBottom(bounds.bottom());
        if (r.left() < bounds.left())
            r.moveLeft(bounds.left());
        if (r.top() < bounds.top())
            r.moveTop(bounds.top());
        move(r.topLeft());
    }
    if (p.isMaximized())
        setWindowState(windowState() | Qt::WindowMaximized);
}

void MainFrame::storePlacement()
{
    SettingsFile *settings = Shell::settings();
    if (!settings)
        return;
    PlacementState s;
    s.maximized = isMaximized();
    s.minimized = isMinimized();
    s.resizable = true;
    const int cw = qMax(1, fontMetrics().averageCharWidth());
    const int ch = qMax(1, fontMetrics().height());
    s.x = (x() * 4 + cw / 2) / cw;
    s.y = (y() * 8 + ch / 2) / ch;
    s.width = (width() * 4 + cw / 2) / cw;
    s.height = (height() * 8 + ch / 2) / ch;
    writePlacement(*settings, MainSection, s);
}

void MainFrame::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (m_shown)
        return;
    m_shown = true;
    // The login comes once the frame is on the screen and placed.
    QTimer::singleShot(0, this, &MainFrame::runLogin);
}

void MainFrame::runLogin()
{
    if (m_login || m_accepting)
        return;
    const SettingsFile *settings = Shell::settings();
    const bool placed = settings && readPlacement(*settings, QStringLiteral("Login")).isStored();
    m_login = new Login(m_context);
    connect(m_login, &ProcedureWindow::finished, this, &MainFrame::loginPassed);
    m_login->openWindow();
    if (!placed) {
        QWidget *w = m_login->placedWindow();
        QRect r = w->frameGeometry();
        r.moveCenter(m_area->viewport()->rect().center());
        w->move(qMax(0, r.left()), qMax(0, r.top()));
    }
    m_login->personList()->setFocus();
}

void MainFrame::loginPassed()
{
    setCurrentProcedure(MainSection);
    // Loaded once: a change of the shift boundaries takes effect at the next start.
    loadShiftBoundaries(m_context);
    m_accepting = true;
    updateCommands();
    emit commandsAccepted();
}

void MainFrame::printSetup()
{
    QPrintDialog dialog(&printer(), this);
    dialog.setOption(QAbstractPrintDialog::PrintToFile, true);
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
    dialog.exec();
}

QPrinter &MainFrame::printer()
{
    if (!sharedPrinter) {
        sharedPrinter = new QPrinter(QPrinter::HighResolution);
        // Gone with the application object, while the print system is still there.
        qAddPostRoutine([] {
            delete sharedPrinter;
            sharedPrinter = nullptr;
        });
    }
    return *sharedPrinter;
}

void MainFrame::closeEvent(QCloseEvent *event)
{
    if (m_login) {
        // Closing the frame during the login closes the login first, which checks the password.
        m_login->placedWindow()->close();
        if (m_login && !m_login->isFinished()) {
            event->ignore();
            return;
        }
    }
    // Every window is asked first; one that refuses (a form with changes) keeps the frame open.
    m_area->closeAllSubWindows();
    for (QMdiSubWindow *sub : m_area->subWindowList()) {
        if (sub->isVisible()) {
            event->ignore();
            return;
        }
    }
    if (m_opened)
        storePlacement();
    setCurrentProcedure(QString());
    event->accept();
    QMainWindow::closeEvent(event);
    emit closed();
}

bool MainFrame::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_area->viewport() && event->type() == QEvent::Resize)
        m_area->setBackground(QBrush(Images::frameWallpaper(m_area->viewport()->size())));
    return QMainWindow::eventFilter(watched, event);
}

int MainFrame::runProgram(const QString &directory, const Commands &commands)
{
    QString error;
    if (!Translations::install(&error))
        std::fprintf(stderr, "halvane: %s\n", qPrintable(error));
    QApplication::setWindowIcon(Images::icon(Images::Program));

    MessageBoxReporter reporter;
    setGlobalErrors(&reporter);
    ProgramSession session(directory, systemPlatform());
    session.start();
    Shell::setDataDirectory(directory);
    Shell::setSettings(&session.settings());

    setCurrentProcedure(MainSection);
    WaitWindow::runWhile([&session] { session.openMain(); });

    int code = 0;
    {
        MainFrame frame(session.context());
        for (const auto &[procedure, factory] : commands)
            frame.setCommand(procedure, factory);
        connect(&frame, &MainFrame::closed, qApp, &QCoreApplication::quit, Qt::QueuedConnection);
        frame.openFrame();
        code = QApplication::exec();
    }

    session.closeMain();
    Shell::setSettings(nullptr);
    setCurrentProcedure(QString());
    if (!session.finish(&error)) {
        std::fprintf(stderr, "halvane: the settings could not be written: %s\n", qPrintable(error));
        if (code == 0)
            code = 1;
    }
    setGlobalErrors(nullptr);
    return code;
}
