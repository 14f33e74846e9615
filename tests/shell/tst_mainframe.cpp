#include "datacontext.h"
#include "globals.h"
#include "login.h"
#include "mainframe.h"
#include "messageboxreporter.h"
#include "platform.h"
#include "procedurewindow.h"
#include "programsession.h"
#include "scratchdir.h"
#include "scriptedreporter.h"
#include "settingsfile.h"
#include "shell.h"
#include "translations.h"

#include <QAbstractButton>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPointer>
#include <QPrintDialog>
#include <QPushButton>
#include <QToolBar>
#include <QToolButton>
#include <QtTest>

#include <memory>

// The main frame: its menus and toolbar, its commands and when it accepts them, the shift
// boundaries it loads after the login, its placement; and the message boxes of the program.
class tst_MainFrame : public QObject
{
    Q_OBJECT

private slots:
    void init() { GLO::resetForTests(); }

    void menuTree();
    void toolbarCaptions();
    void unregisteredProcedureIsShownDisabled();
    void commandsWaitForTheLogin();
    void commandChosenTwiceOpensTwoWindows();
    void menuAndToolbarStartTheSameProcedure();
    void shiftBoundariesLoadedOnceAfterLogin();
    void placementNeverStoredGivesDesignedSize();
    void placementRoundTrip();
    void closedMaximisedKeepsNoPosition();
    void closingDuringLoginChecksThePassword();
    void windowThatRefusesKeepsTheFrameOpen();
    void printSetupOpensThePrinterDialog();

    void messageBoxTexts_data();
    void messageBoxTexts();
    void questionsAnswerYesOrNo_data();
    void questionsAnswerYesOrNo();
    void fatalMessageEndsTheProgram();
    void standardButtonsSpeakCzech();
};

namespace {

// A window of the simplest kind, started from the frame; it may refuse to close, as a form
// with unsaved changes does.
class TestWindow : public ProcedureWindow
{
public:
    explicit TestWindow(DataContext &context, bool refuseClose = false)
        : ProcedureWindow(QStringLiteral("BrowseCARDS"), context)
        , refuse(refuseClose)
    {
        setDesignedSize(120, 80, true);
    }

    bool refuse;

protected:
    bool canClose() override { return !refuse; }
};

Shell::WindowFactory testWindows(bool refuseClose = false)
{
    return [refuseClose](DataContext *context) { return new TestWindow(*context, refuseClose); };
}

// A data directory with the program started in it, as far as the frame needs: the settings,
// the first context with its core tables open.
class Program
{
public:
    Program()
    {
        session.start();
        session.openMain();
        Shell::setDataDirectory(dir.path());
        Shell::setSettings(&session.settings());
        Login::setProgramEnd([this](int code) { ends.append(code); });
    }

    ~Program()
    {
        frame.reset();
        Login::setProgramEnd({});
        Shell::setSettings(nullptr);
        session.closeMain();
    }

    MainFrame &makeFrame()
    {
        frame = std::make_unique<MainFrame>(session.context());
        return *frame;
    }

    // Opens the frame and waits for its login.
    Login *openFrame()
    {
        if (!frame)
            makeFrame();
        frame->openFrame();
        if (!QTest::qWaitFor([this] { return frame->login() != nullptr; }))
            return nullptr;
        return frame->login();
    }

    // Passes the login of an empty address book.
    bool passLogin()
    {
        Login *login = frame->login();
        if (!login)
            return false;
        QTest::mouseClick(login->okButton(), Qt::LeftButton);
        return frame->acceptsCommands();
    }

    QAction *action(const QString &procedure, bool inToolbar = false) const
    {
        for (QAction *a : frame->findChildren<QAction *>(procedure)) {
            const QList<QObject *> users = a->associatedObjects();
            const bool onToolbar = std::any_of(users.begin(), users.end(),
                                               [](QObject *o) { return qobject_cast<QToolButton *>(o) != nullptr; });
            if (onToolbar == inToolbar)
                return a;
        }
        return nullptr;
    }

    QList<ProcedureWindow *> windows() const
    {
        QList<ProcedureWindow *> out;
        for (QMdiSubWindow *sub : frame->area()->subWindowList())
            if (auto *w = qobject_cast<ProcedureWindow *>(sub->widget()); w && sub->isVisible())
                out << w;
        return out;
    }

    ScratchDir dir;
    ScriptedReporter reporter;
    ProgramSession session{dir.path(), systemPlatform()};
    std::unique_ptr<MainFrame> frame;
    QList<int> ends;
};

struct MenuItem {
    QString menu;
    QString text;        // empty: a separator
    QString statusText;
    QString procedure;   // the command's procedure, if it starts one
};

QList<MenuItem> menuItems(MainFrame &frame)
{
    QList<MenuItem> items;
    for (QAction *m : frame.menuBar()->actions()) {
        QMenu *menu = m->menu();
        if (!menu)
            continue;
        for (QAction *a : menu->actions())
            items.append({m->text(), a->isSeparator() ? QString() : a->text(), a->statusTip(), a->objectName()});
    }
    return items;
}

// Waits for the message box that report() shows and presses one of its buttons.
void pressWhenShown(QMessageBox::StandardButton button, QString *seenTitle = nullptr)
{
    QTimer::singleShot(0, [=] {
        QMessageBox *box = nullptr;
        const bool shown = QTest::qWaitFor([&] {
            box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            return box != nullptr;
        });
        if (!shown || !box)
            return;
        if (seenTitle)
            *seenTitle = box->windowTitle();
        if (button == QMessageBox::Escape)
            QTest::keyClick(box, Qt::Key_Escape);
        else
            box->button(button)->click();
    });
}

} // namespace

void tst_MainFrame::menuTree()
{
    Program p;
    MainFrame &frame = p.makeFrame();
    QCOMPARE(frame.windowTitle(), QStringLiteral("Application"));
    const QList<MenuItem> expected = {
        {QStringLiteral("File"), QStringLiteral("&Print Setup ..."), QStringLiteral("Setup printer"), QString()},
        {QStringLiteral("File"), QString(), QString(), QString()},
        {QStringLiteral("File"), QStringLiteral("E&xit"), QStringLiteral("Exit this application"), QString()},
        {QStringLiteral("Browse"), QStringLiteral("Browse Komunikační logy pristupu do pokoju"),
         QStringLiteral("Browse Komunikační logy pristupu do pokoju"), QStringLiteral("BrowseLOG_POKOJE")},
        {QStringLiteral("Browse"), QStringLiteral("Browse Databáze karet"), QStringLiteral("Browse Databáze karet"),
         QStringLiteral("BrowseCARDS")},
        {QStringLiteral("Nastaveni"), QStringLiteral("Nastavení gcu"), QString(), QStringLiteral("BrowseGCU_POK")},
        {QStringLiteral("Nastaveni"), QStringLiteral("Nastaveni programu"), QString(), QStringLiteral("Nastaveni")},
        {QStringLiteral("Nastaveni"), QStringLiteral("Kalendář"), QString(), QStringLiteral("Kalendar")},
        {QStringLiteral("Nastaveni"), QStringLiteral("Nastavení alarm gcu"), QString(), QStringLiteral("alarmGCU")},
        {QStringLiteral("Nastaveni"), QStringLiteral("Nastavení test"), QString(), QStringLiteral("all_settings")},
    };
    const QList<MenuItem> actual = menuItems(frame);
    QCOMPARE(actual.size(), expected.size());
    for (qsizetype i = 0; i < expected.size(); ++i) {
        QCOMPARE(actual[i].menu, expected[i].menu);
        QCOMPARE(actual[i].text, expected[i].text);
        QCOMPARE(actual[i].statusText, expected[i].statusText);
        if (!expected[i].procedure.isEmpty())
            QCOMPARE(actual[i].procedure, expected[i].procedure);
    }
}

void tst_MainFrame::toolbarCaptions()
{
    Program p;
    MainFrame &frame = p.makeFrame();
    auto *bar = frame.findChild<QToolBar *>(QStringLiteral("toolbar"));
    QVERIFY(bar);
    frame.show();
    QList<QLabel *> captions = bar->findChildren<QLabel *>(QStringLiteral("caption"));
    std::sort(captions.begin(), captions.end(), [](QLabel *a, QLabel *b) { return a->mapTo(a->window(), QPoint()).x() < b->mapTo(b->window(), QPoint()).x(); });
    QStringList texts;
    for (QLabel *l : captions)
        texts << l->text();
    QCOMPARE(texts, (QStringList{QStringLiteral("Docházka"), QStringLiteral("Log záznamy"), QStringLiteral("Přístupy")}));
    const QStringList procedures = {QStringLiteral("BrowseAdresar"), QStringLiteral("BrowseLOG_POKOJE"),
                                    QStringLiteral("BrowsePristupy")};
    for (int i = 0; i < captions.size(); ++i) {
        QLabel *label = captions[i];
        // Grey text beneath a picture button of its own.
        QCOMPARE(label->palette().color(label->foregroundRole()), QColor(128, 128, 128));
        auto *button = label->parentWidget()->findChild<QToolButton *>();
        QVERIFY(button);
        QVERIFY(button->mapTo(&frame, QPoint()).y() < label->mapTo(&frame, QPoint()).y());
        QCOMPARE(button->toolButtonStyle(), Qt::ToolButtonIconOnly);
        QVERIFY(!button->icon().isNull());
        QCOMPARE(button->defaultAction()->objectName(), procedures[i]);
    }
}

void tst_MainFrame::unregisteredProcedureIsShownDisabled()
{
    Program p;
    MainFrame &frame = p.makeFrame();
    frame.setCommand(QStringLiteral("BrowseCARDS"), testWindows());
    QVERIFY(p.openFrame());
    QVERIFY(p.passLogin());
    QVERIFY(p.action(QStringLiteral("BrowseCARDS"))->isEnabled());
    for (const QString &procedure : MainFrame::procedureNames()) {
        if (procedure == QLatin1String("BrowseCARDS"))
            continue;
        QAction *a = p.action(procedure, procedure == QLatin1String("BrowseAdresar") ||
                                             procedure == QLatin1String("BrowsePristupy"));
        QVERIFY2(a, qPrintable(procedure));
        QVERIFY2(a->isVisible(), qPrintable(procedure));
        QVERIFY2(!a->isEnabled(), qPrintable(procedure));
        QVERIFY(!frame.startCommand(procedure));
    }
    // A window library registered later enables its item then.
    frame.setCommand(QStringLiteral("Kalendar"), testWindows());
    QVERIFY(p.action(QStringLiteral("Kalendar"))->isEnabled());
}

void tst_MainFrame::commandsWaitForTheLogin()
{
    Program p;
    MainFrame &frame = p.makeFrame();
    frame.setCommand(QStringLiteral("BrowseCARDS"), testWindows());
    QSignalSpy accepted(&frame, &MainFrame::commandsAccepted);
    QVERIFY(p.openFrame());
    QVERIFY(!frame.acceptsCommands());
    QAction *cards = p.action(QStringLiteral("BrowseCARDS"));
    QVERIFY(!cards->isEnabled());
    cards->trigger();
    QVERIFY(!frame.startCommand(QStringLiteral("BrowseCARDS")));
    QVERIFY(p.windows().size() == 1 && p.windows().first() == frame.login());
    QCOMPARE(accepted.count(), 0);

    QVERIFY(p.passLogin());
    QCOMPARE(accepted.count(), 1);
    QVERIFY(cards->isEnabled());
    cards->trigger();
    QCOMPARE(p.windows().size(), 1);
    QCOMPARE(p.windows().first()->procedure(), QStringLiteral("BrowseCARDS"));
}

void tst_MainFrame::commandChosenTwiceOpensTwoWindows()
{
    Program p;
    MainFrame &frame = p.makeFrame();
    frame.setCommand(QStringLiteral("BrowseCARDS"), testWindows());
    QVERIFY(p.openFrame());
    QVERIFY(p.passLogin());
    QAction *cards = p.action(QStringLiteral("BrowseCARDS"));
    cards->trigger();
    cards->trigger();
    const QList<ProcedureWindow *> open = p.windows();
    QCOMPARE(open.size(), 2);
    DataContext &first = open[0]->context();
    DataContext &second = open[1]->context();
    QVERIFY(&first != &second);
    QVERIFY(&first != &p.session.context());
    QVERIFY(&second != &p.session.context());
    QCOMPARE(first.directory(), p.dir.path());
    // What one window holds is its own: its record buffers and its request.
    first.file(TableId::CARDS).record().setText(CAR::KOD_RFID, QStringLiteral("A1"));
    first.globalRequest = DataContext::ChangeRecord;
    QCOMPARE(second.file(TableId::CARDS).record().text(CAR::KOD_RFID), QString());
    QCOMPARE(second.globalRequest, quint8(DataContext::NoRequest));
    // Closing one leaves the other open.
    open[0]->placedWindow()->close();
    QTRY_COMPARE(p.windows().size(), 1);
    QCOMPARE(p.windows().first(), open[1]);
}

void tst_MainFrame::menuAndToolbarStartTheSameProcedure()
{
    Program p;
    MainFrame &frame = p.makeFrame();
    QStringList started;
    frame.setCommand(QStringLiteral("BrowseLOG_POKOJE"), [&started](DataContext *c) {
        started << QStringLiteral("BrowseLOG_POKOJE");
        return new TestWindow(*c);
    });
    QVERIFY(p.openFrame());
    QVERIFY(p.passLogin());
    p.action(QStringLiteral("BrowseLOG_POKOJE"), false)->trigger();
    p.action(QStringLiteral("BrowseLOG_POKOJE"), true)->trigger();
    QCOMPARE(started.size(), 2);
    QCOMPARE(p.windows().size(), 2);
}

void tst_MainFrame::shiftBoundariesLoadedOnceAfterLogin()
{
    Program p;
    auto writeShifts = [&p](qint64 ranni, qint64 odpoledni, qint64 nocni) {
        DataContext other(p.dir.path());
        FileManager &fm = other.file(TableId::SETINGS);
        fm.open();
        const bool exists = fm.fetch(SET::PRIMARY, {1});
        if (!exists) {
            fm.record().clear();
            fm.record().setInteger(SET::ID, 1);
        }
        fm.record().setInteger(SET::RANNI_DO, ranni);
        fm.record().setInteger(SET::ODPOLEDNI_DO, odpoledni);
        fm.record().setInteger(SET::NOCNI_DO, nocni);
        const OpResult r = exists ? fm.update() : fm.insert();
        fm.close();
        return r.ok();
    };
    QVERIFY(writeShifts(2880001, 5040001, 7920001));  // 8:00, 14:00, 22:00
    MainFrame &frame = p.makeFrame();
    frame.setCommand(QStringLiteral("BrowseCARDS"), testWindows());
    QVERIFY(p.openFrame());
    QCOMPARE(GLO::RANNI_DO.get(), 0);
    QVERIFY(p.passLogin());
    QCOMPARE(GLO::RANNI_DO.get(), 2880001);
    QCOMPARE(GLO::ODPOLEDNI_DO.get(), 5040001);
    QCOMPARE(GLO::NOCNI_DO.get(), 7920001);

    // Changed while the program runs: the globals stay as they were until the next start.
    QVERIFY(writeShifts(3240001, 5400001, 8280001));
    QVERIFY(frame.startCommand(QStringLiteral("BrowseCARDS")));
    QCOMPARE(GLO::RANNI_DO.get(), 2880001);
    QCOMPARE(GLO::ODPOLEDNI_DO.get(), 5040001);
    QCOMPARE(GLO::NOCNI_DO.get(), 7920001);
}

void tst_MainFrame::placementNeverStoredGivesDesignedSize()
{
    Program p;
    QVERIFY(p.openFrame());
    QCOMPARE(p.frame->size(), p.frame->designedSizePx());
    QVERIFY(!p.frame->isMaximized());
}

void tst_MainFrame::placementRoundTrip()
{
    Program p;
    QVERIFY(p.openFrame());
    QVERIFY(p.passLogin());
    // Within the desktop of the test screen, so that nothing is pulled back into it.
    p.frame->move(30, 20);
    p.frame->resize(p.frame->designedSizePx() + QSize(40, 30));
    const QRect before = p.frame->geometry();
    QVERIFY(p.frame->close());
    SettingsFile &ini = p.session.settings();
    QCOMPARE(ini.value(QStringLiteral("Main"), QStringLiteral("Maximize")), QStringLiteral("No"));
    QCOMPARE(ini.value(QStringLiteral("Main"), QStringLiteral("Minimize")), QStringLiteral("No"));
    QVERIFY(ini.contains(QStringLiteral("Main"), QStringLiteral("XPos")));
    QVERIFY(ini.contains(QStringLiteral("Main"), QStringLiteral("Width")));

    p.makeFrame();
    QVERIFY(p.openFrame());
    const QRect after = p.frame->geometry();
    // Stored in dialog units: back to within a unit of where it was.
    const int cw = p.frame->fontMetrics().averageCharWidth();
    const int ch = p.frame->fontMetrics().height();
    QVERIFY2(qAbs(after.x() - before.x()) <= cw && qAbs(after.y() - before.y()) <= ch, qPrintable(QStringLiteral("%1,%2 vs %3,%4").arg(after.x()).arg(after.y()).arg(before.x()).arg(before.y())));
    QVERIFY(qAbs(after.width() - before.width()) <= cw);
    QVERIFY(qAbs(after.height() - before.height()) <= ch);
}

void tst_MainFrame::closedMaximisedKeepsNoPosition()
{
    Program p;
    QVERIFY(p.openFrame());
    QVERIFY(p.passLogin());
    p.frame->move(60, 40);
    p.frame->close();
    QVERIFY(p.session.settings().contains(QStringLiteral("Main"), QStringLiteral("XPos")));

    p.makeFrame();
    QVERIFY(p.openFrame());
    QVERIFY(p.passLogin());
    p.frame->showMaximized();
    QTRY_VERIFY(p.frame->isMaximized());
    p.frame->close();
    SettingsFile &ini = p.session.settings();
    QCOMPARE(ini.value(QStringLiteral("Main"), QStringLiteral("Maximize")), QStringLiteral("Yes"));
    for (const char *key : {"XPos", "YPos", "Width", "Height"})
        QVERIFY2(!ini.contains(QStringLiteral("Main"), QString::fromLatin1(key)), key);

    p.makeFrame();
    QVERIFY(p.openFrame());
    QTRY_VERIFY(p.frame->isMaximized());
}

void tst_MainFrame::closingDuringLoginChecksThePassword()
{
    Program p;
    {
        // Somebody in the address book, and nobody chosen: the check fails.
        DataContext other(p.dir.path());
        FileManager &fm = other.file(TableId::ADR_DAT);
        fm.open();
        fm.record().clear();
        fm.record().setInteger(ADR::KOD, 1);
        fm.record().setText(ADR::NAZEV, QStringLiteral("Adámek Aleš"));
        QVERIFY(fm.insert().ok());
        fm.close();
    }
    QVERIFY(p.openFrame());
    QSignalSpy closed(p.frame.get(), &MainFrame::closed);
    QVERIFY(!p.frame->close());
    QCOMPARE(p.ends, QList<int>{0});
    QVERIFY(p.reporter.saw(MessageId::WrongPassword));
    QCOMPARE(closed.count(), 0);
    QVERIFY(!p.session.settings().sections().contains(QStringLiteral("Main")));
}

void tst_MainFrame::windowThatRefusesKeepsTheFrameOpen()
{
    Program p;
    MainFrame &frame = p.makeFrame();
    frame.setCommand(QStringLiteral("BrowseCARDS"), testWindows(true));
    frame.setCommand(QStringLiteral("Kalendar"), testWindows());
    QVERIFY(p.openFrame());
    QVERIFY(p.passLogin());
    auto *refusing = static_cast<TestWindow *>(frame.startCommand(QStringLiteral("BrowseCARDS")));
    QVERIFY(refusing);
    QVERIFY(frame.startCommand(QStringLiteral("Kalendar")));
    QSignalSpy closed(&frame, &MainFrame::closed);
    QVERIFY(!frame.close());
    QCOMPARE(closed.count(), 0);
    QVERIFY(frame.isVisible());
    QVERIFY(!p.session.settings().sections().contains(QStringLiteral("Main")));

    // "E&xit" closes the frame with its windows once none refuses.
    refusing->refuse = false;
    QAction *exit = nullptr;
    for (QAction *a : frame.menuBar()->actions().first()->menu()->actions())
        if (a->text() == QLatin1String("E&xit"))
            exit = a;
    QVERIFY(exit);
    exit->trigger();
    QCOMPARE(closed.count(), 1);
    QVERIFY(!frame.isVisible());
    QTRY_COMPARE(p.windows().size(), 0);
    QVERIFY(p.session.settings().sections().contains(QStringLiteral("Main")));
}

void tst_MainFrame::printSetupOpensThePrinterDialog()
{
    Program p;
    QVERIFY(p.openFrame());
    QAction *setup = p.frame->menuBar()->actions().first()->menu()->actions().first();
    QVERIFY(!setup->isEnabled());
    QVERIFY(p.passLogin());
    QVERIFY(setup->isEnabled());
    bool seen = false;
    QTimer::singleShot(0, [&seen] {
        (void)QTest::qWaitFor([&seen] {
            if (auto *dialog = qobject_cast<QPrintDialog *>(QApplication::activeModalWidget())) {
                seen = true;
                dialog->reject();
            }
            return seen;
        });
    });
    setup->trigger();
    QVERIFY(seen);
}

void tst_MainFrame::messageBoxTexts_data()
{
    QTest::addColumn<int>("id");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("errorText");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("buttons");
    QTest::addColumn<int>("icon");
    const int ok = QMessageBox::Ok;
    const int yesNo = QMessageBox::Yes | QMessageBox::No;
    QTest::newRow("notice with line breaks and details")
        << int(MessageId::ReadFailed) << "adresar" << "disk I/O error" << QStringLiteral("Chyba při čtení databáze")
        << QStringLiteral("Vznikla chyba při čtení záznamu z databáze: adresar.\ndisk I/O error\n\nOtevřené okno bude zavřeno.")
        << ok << int(QMessageBox::Warning);
    QTest::newRow("question") << int(MessageId::ConfirmDelete) << "" << "" << QStringLiteral("Potvrzení vymazání")
                              << QStringLiteral("Opravdu chcete vymazat záznam ?") << yesNo << int(QMessageBox::Question);
    QTest::newRow("question with details")
        << int(MessageId::RetryAutoNumber) << "" << "database is locked" << QStringLiteral("Chyba")
        << QStringLiteral("Pokus o automatické očíslování záznamu selhal.\nChyba: database is locked.\nMám pokus opakovat?")
        << yesNo << int(QMessageBox::Question);
    QTest::newRow("fatal with its suffix")
        << int(MessageId::CreateFailed) << "SETINGS" << "unable to open database file" << QStringLiteral("Chyba databáze")
        << QStringLiteral("Při vytváření databáze SETINGS vznikla chyba\nunable to open database file  Stiskněte OK pro ukončení programu")
        << ok << int(QMessageBox::Critical);
    QTest::newRow("a detail is shown as it is") << int(MessageId::InsertFailed) << "" << "<b>not bold</b> %File"
                                                << QStringLiteral("Vložení záznamu")
                                                << QStringLiteral("Vznikla chyba během vkládaní/uložení záznamu.\n<b>not bold</b> %File")
                                                << ok << int(QMessageBox::Warning);
    QTest::newRow("wrong password") << int(MessageId::WrongPassword) << "" << "" << QString()
                                    << QStringLiteral("Nespravne heslo!!!") << ok << int(QMessageBox::Warning);
}

void tst_MainFrame::messageBoxTexts()
{
    QFETCH(int, id);
    QFETCH(QString, file);
    QFETCH(QString, errorText);
    QFETCH(QString, title);
    QFETCH(QString, text);
    QFETCH(int, buttons);
    QFETCH(int, icon);
    MessageArgs args;
    args.file = file;
    args.errorText = errorText;
    const std::unique_ptr<QMessageBox> box = MessageBoxReporter::createBox(MessageId(id), args);
    QCOMPARE(box->windowTitle(), title);
    QCOMPARE(box->text(), text);
    QCOMPARE(box->textFormat(), Qt::PlainText);
    QCOMPARE(int(box->standardButtons()), buttons);
    QCOMPARE(int(box->icon()), icon);
}

void tst_MainFrame::questionsAnswerYesOrNo_data()
{
    QTest::addColumn<int>("press");
    QTest::addColumn<int>("answer");
    QTest::newRow("Yes") << int(QMessageBox::Yes) << int(ErrorReporter::Answer::Yes);
    QTest::newRow("No") << int(QMessageBox::No) << int(ErrorReporter::Answer::No);
    QTest::newRow("Escape is No") << int(QMessageBox::Escape) << int(ErrorReporter::Answer::No);
}

void tst_MainFrame::questionsAnswerYesOrNo()
{
    QFETCH(int, press);
    QFETCH(int, answer);
    MessageBoxReporter reporter;
    QString title;
    pressWhenShown(QMessageBox::StandardButton(press), &title);
    QCOMPARE(int(reporter.report(MessageId::CancelChanges, {})), answer);
    QCOMPARE(title, QStringLiteral("Změny nebudou uloženy!"));

    // A notice is only confirmed.
    pressWhenShown(QMessageBox::Ok);
    QCOMPARE(reporter.report(MessageId::DuplicateKey, {}), ErrorReporter::Answer::Ok);
}

void tst_MainFrame::fatalMessageEndsTheProgram()
{
    MessageBoxReporter reporter;
    QList<int> ends;
    reporter.setProgramEnd([&ends](int code) { ends << code; });
    pressWhenShown(QMessageBox::Ok);
    reporter.report(MessageId::KeyRebuildFailed, {});
    QCOMPARE(ends.size(), 1);
    QVERIFY(ends.first() != 0);

    // A notice does not end it.
    pressWhenShown(QMessageBox::Ok);
    reporter.report(MessageId::BadKey, {});
    QCOMPARE(ends.size(), 1);
}

void tst_MainFrame::standardButtonsSpeakCzech()
{
    QString error;
    QVERIFY2(Translations::install(&error), qPrintable(error));
    const std::unique_ptr<QMessageBox> box = MessageBoxReporter::createBox(MessageId::ConfirmDelete, {});
    QCOMPARE(box->button(QMessageBox::Yes)->text().remove(QLatin1Char('&')), QStringLiteral("Ano"));
    QCOMPARE(box->button(QMessageBox::No)->text().remove(QLatin1Char('&')), QStringLiteral("Ne"));
}

QTEST_MAIN(tst_MainFrame)
#include "tst_mainframe.moc"
