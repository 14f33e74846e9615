#pragma once

#include "shell.h"

#include <QMainWindow>
#include <QPointer>
#include <QStringList>
#include <map>
#include <utility>
#include <vector>

class DataContext;
class Login;
class QAction;
class QMdiArea;
class QPrinter;

// `Main`: the program's multiple-document frame, titled "Application", with the menus "File",
// "Browse" and "Nastaveni", the toolbar of three picture buttons with their captions beneath,
// and the wallpaper. Its placement is kept in the settings section "Main".
//
// The commands start list windows by procedure name. A window library registers the factory
// of each of its procedures with setCommand(); an item whose procedure is not registered is
// shown but disabled. Each command opens its window as a child window with a context of its
// own (Shell::startProcedure), so a command chosen twice opens two independent windows.
//
// When the frame is first shown it runs the login in the first context; after the login has
// passed it loads the shift boundaries of SETINGS record 1 into the three globals, and only
// then does it accept commands.
class MainFrame : public QMainWindow
{
    Q_OBJECT

public:
    // `context` is the program's first context (the one the core tables are open in); the
    // frame uses it, it does not own it.
    explicit MainFrame(DataContext &context, QWidget *parent = nullptr);
    ~MainFrame() override;

    // The procedures the frame's commands start, in the order of the menus and the toolbar.
    static QStringList procedureNames();

    // Makes the commands of `procedureName` open windows made by `factory`; an empty factory
    // disables them again.
    void setCommand(const QString &procedureName, Shell::WindowFactory factory);
    bool hasCommand(const QString &procedureName) const;

    // Shows the frame, placed as stored in the section "Main" (at its designed size when never
    // stored). Its first show runs the login.
    void openFrame();

    // Whether the login has passed and the shift boundaries are loaded.
    bool acceptsCommands() const { return m_accepting; }
    // What a command does: opens the procedure's window. Null when the frame does not accept
    // commands yet or the procedure is not registered.
    ProcedureWindow *startCommand(const QString &procedureName);

    QMdiArea *area() const { return m_area; }
    // The login window while it is open.
    Login *login() const;
    // The designed size of the frame in pixels of its font's dialog units.
    QSize designedSizePx() const;

    // The printer chosen with "&Print Setup ...": the reports print to it. Made when first
    // asked for; lives until the application object goes.
    static QPrinter &printer();

    // The commands a program offers: procedure name and the factory of its window.
    using Commands = std::vector<std::pair<QString, Shell::WindowFactory>>;

    // The whole run with windows, in an existing QApplication: Czech translations, the message
    // box reporter, the start of the program in `directory`, the wait window while the core
    // tables open, the frame with the login, and at the normal end (the frame closed) the
    // tables closed and the settings written back. Returns the exit code. A wrong password or
    // a fatal message ends the program inside.
    static int runProgram(const QString &directory, const Commands &commands);

signals:
    // The login has passed and the shift boundaries are loaded.
    void commandsAccepted();
    // The frame has closed (its placement stored).
    void closed();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QAction *addCommand(QMenu *menu, const QString &text, const QString &statusText, const QString &procedure);
    void buildMenus();
    void buildToolbar();
    void updateCommands();
    void runLogin();
    void loginPassed();
    void printSetup();
    void restorePlacement();
    void storePlacement();
    int duX(int du) const;
    int duY(int du) const;

    DataContext &m_context;
    QMdiArea *m_area = nullptr;
    QAction *m_printSetup = nullptr;
    QAction *m_exit = nullptr;
    std::map<QString, Shell::WindowFactory> m_commands;
    std::vector<std::pair<QString, QAction *>> m_commandActions;
    QPointer<Login> m_login;
    bool m_shown = false;
    bool m_opened = false;
    bool m_accepting = false;
};
