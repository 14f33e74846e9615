#include "datacontext.h"
#include "login.h"
#include "scratchdir.h"
#include "scriptedreporter.h"
#include "settingsfile.h"
#include "shell.h"

#include <QComboBox>
#include <QFile>
#include <QHeaderView>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTreeView>
#include <QtTest>

#include <memory>

// The login: who may enter, and that a wrong password ends the program without writing anything.
class tst_Login : public QObject
{
    Q_OBJECT

private slots:
    void passwordsMatch_data();
    void passwordsMatch();
    void lastChosenPersonCounts_data();
    void lastChosenPersonCounts();
    void letterCaseMatters();
    void everyWayOfClosingChecks_data();
    void everyWayOfClosingChecks();
    void emptyAddressBookEntersWithBlankPassword_data();
    void emptyAddressBookEntersWithBlankPassword();
    void peopleButNoneChosenFails();
    void unreadableAddressBookFails();
    void choosingReadsThePersonAgain();
    void wrongPasswordWritesNothing();
    void rightPasswordStoresPlacement();
    void listShowsPeopleByNameAndNoPasswords();
    void passwordEntryHidesTyping();
};

namespace {

struct Person {
    int kod;
    const char *name;
    const char *pass;
};

// A data directory with an address book, the settings of the program, and a login over them.
class LoginFixture
{
public:
    explicit LoginFixture(std::initializer_list<Person> people = {})
    {
        {
            DataContext seed(dir.path());
            FileManager &fm = seed.file(TableId::ADR_DAT);
            fm.open();
            fm.use();
            for (const Person &p : people) {
                fm.record().clear();
                fm.record().setInteger(ADR::KOD, p.kod);
                fm.record().setText(ADR::NAZEV, QString::fromUtf8(p.name));
                fm.record().setText(ADR::PASS, QString::fromUtf8(p.pass));
                const OpResult r = fm.insert();
                if (!r.ok())
                    qFatal("cannot seed the address book: %s", qPrintable(r.text));
            }
            fm.close();
        }
        settings = std::make_unique<SettingsFile>(SettingsFile::pathIn(dir.path()));
        settings->load();
        Shell::setSettings(settings.get());
        Shell::setFrameArea(nullptr);
        Login::setProgramEnd([this](int code) { ends.append(code); });
    }

    ~LoginFixture()
    {
        delete login.data();
        Login::setProgramEnd({});
        Shell::setSettings(nullptr);
    }

    Login *open()
    {
        context = std::make_unique<DataContext>(dir.path());
        login = new Login(*context);
        login->openWindow();
        return login;
    }

    // Chooses the person of the list with this name, as a user picking the entry would.
    void choose(const char *name)
    {
        QComboBox *list = login->personList();
        const int index = list->findText(QString::fromUtf8(name));
        QVERIFY2(index >= 0, name);
        list->setCurrentIndex(index);
    }

    void type(const char *password)
    {
        login->passwordEntry()->clear();
        QTest::keyClicks(login->passwordEntry(), QString::fromUtf8(password));
    }

    bool refused() const { return reporter.saw(MessageId::WrongPassword); }

    ScratchDir dir;
    ScriptedReporter reporter;
    std::unique_ptr<SettingsFile> settings;
    std::unique_ptr<DataContext> context;
    QPointer<Login> login;
    QList<int> ends;
};

} // namespace

void tst_Login::passwordsMatch_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<bool>("match");
    QTest::newRow("equal") << "Heslo1" << "Heslo1" << true;
    QTest::newRow("letter case differs") << "heslo1" << "Heslo1" << false;
    QTest::newRow("trailing blanks typed") << "Heslo1   " << "Heslo1" << true;
    QTest::newRow("trailing blanks stored") << "Heslo1" << "Heslo1    " << true;
    QTest::newRow("leading blank matters") << " Heslo1" << "Heslo1" << false;
    QTest::newRow("prefix only") << "Hes" << "Heslo1" << false;
    QTest::newRow("both blank") << "" << "" << true;
    QTest::newRow("blank against a password") << "" << "x" << false;
    QTest::newRow("Czech letters") << QString::fromUtf8("Žluťoučký") << QString::fromUtf8("Žluťoučký") << true;
    QTest::newRow("compared as 20 characters") << "abcdefghijklmnopqrstXYZ" << "abcdefghijklmnopqrst" << true;
}

void tst_Login::passwordsMatch()
{
    QFETCH(QString, typed);
    QFETCH(QString, stored);
    QFETCH(bool, match);
    QCOMPARE(Login::passwordsMatch(typed, stored), match);
}

void tst_Login::lastChosenPersonCounts_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("B's password") << "beta" << true;
    QTest::newRow("A's password") << "alfa" << false;
}

void tst_Login::lastChosenPersonCounts()
{
    QFETCH(QString, typed);
    QFETCH(bool, accepted);
    LoginFixture f({{1, "Adámek Aleš", "alfa"}, {2, "Bílá Běla", "beta"}});
    f.open();
    f.choose("Adámek Aleš");
    f.choose("Bílá Běla");
    f.type(typed.toUtf8().constData());
    QTest::mouseClick(f.login->okButton(), Qt::LeftButton);
    if (accepted) {
        QVERIFY(f.login.isNull() || f.login->isFinished());
        QVERIFY(f.ends.isEmpty());
        QVERIFY(!f.refused());
    } else {
        QVERIFY(f.refused());
        QCOMPARE(f.ends, QList<int>{0});
        QVERIFY(!f.login->isFinished());
    }
}

void tst_Login::letterCaseMatters()
{
    LoginFixture f({{7, "Novák Jan", "Tajne"}});
    f.open();
    f.choose("Novák Jan");
    f.type("tajne");
    QTest::mouseClick(f.login->okButton(), Qt::LeftButton);
    QCOMPARE(f.ends, QList<int>{0});
    QCOMPARE(f.reporter.entries().size(), 1);
    QCOMPARE(f.reporter.entries().first().text, QStringLiteral("Nespravne heslo!!!"));
}

void tst_Login::everyWayOfClosingChecks_data()
{
    QTest::addColumn<QString>("way");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<int>("response");
    QTest::newRow("OK, right") << "ok" << "tajne" << true << int(DataContext::RequestCompleted);
    QTest::newRow("Storno, right: the program continues") << "storno" << "tajne" << true << int(DataContext::RequestCancelled);
    QTest::newRow("close box, right") << "close" << "tajne" << true << int(DataContext::RequestCancelled);
    QTest::newRow("Enter, right") << "enter" << "tajne" << true << int(DataContext::RequestCompleted);
    QTest::newRow("OK, wrong") << "ok" << "spatne" << false << 0;
    QTest::newRow("Storno, wrong: ends like OK") << "storno" << "spatne" << false << 0;
    QTest::newRow("close box, wrong") << "close" << "spatne" << false << 0;
}

void tst_Login::everyWayOfClosingChecks()
{
    QFETCH(QString, way);
    QFETCH(QString, typed);
    QFETCH(bool, accepted);
    QFETCH(int, response);
    LoginFixture f({{3, "Dvořák Petr", "tajne"}});
    f.open();
    f.choose("Dvořák Petr");
    f.type(typed.toUtf8().constData());
    int finishedWith = -1;
    QObject::connect(f.login, &ProcedureWindow::finished, f.login, [&](quint8 r) { finishedWith = r; });
    if (way == QLatin1String("ok"))
        QTest::mouseClick(f.login->okButton(), Qt::LeftButton);
    else if (way == QLatin1String("storno"))
        QTest::mouseClick(f.login->stornoButton(), Qt::LeftButton);
    else if (way == QLatin1String("enter"))
        QTest::keyClick(f.login->passwordEntry(), Qt::Key_Return);
    else
        f.login->close();
    if (accepted) {
        QCOMPARE(finishedWith, response);
        QCOMPARE(f.context->globalResponse, quint8(response));
        QVERIFY(f.ends.isEmpty());
        QVERIFY(f.reporter.entries().isEmpty());
        QCOMPARE(f.context->file(TableId::ADR_DAT).openCount(), 0);  // its tables are closed
    } else {
        QCOMPARE(finishedWith, -1);
        QCOMPARE(f.ends, QList<int>{0});
        QVERIFY(f.refused());
        QVERIFY(f.login->isVisible());
    }
}

void tst_Login::emptyAddressBookEntersWithBlankPassword_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("blank") << "" << true;
    QTest::newRow("only blanks") << "   " << true;
    QTest::newRow("something typed") << "x" << false;
}

void tst_Login::emptyAddressBookEntersWithBlankPassword()
{
    QFETCH(QString, typed);
    QFETCH(bool, accepted);
    LoginFixture f;
    f.open();
    QCOMPARE(f.login->personList()->count(), 0);
    f.type(typed.toUtf8().constData());
    QCOMPARE(f.login->passwordAccepted(), accepted);
    QTest::mouseClick(f.login->okButton(), Qt::LeftButton);
    QCOMPARE(f.refused(), !accepted);
    QCOMPARE(f.ends.isEmpty(), accepted);
}

void tst_Login::peopleButNoneChosenFails()
{
    // Nobody chosen: not even a blank password, nor the password of the first person, enters.
    LoginFixture f({{1, "Adámek Aleš", ""}, {2, "Bílá Běla", "beta"}});
    f.open();
    QCOMPARE(f.login->personList()->currentIndex(), -1);
    f.type("");
    QVERIFY(!f.login->passwordAccepted());
    f.type("beta");
    QVERIFY(!f.login->passwordAccepted());
    QTest::mouseClick(f.login->okButton(), Qt::LeftButton);
    QCOMPARE(f.ends, QList<int>{0});
}

void tst_Login::unreadableAddressBookFails()
{
    LoginFixture f;
    {
        QFile junk(f.dir.file(QString::fromLatin1(tableDef(TableId::ADR_DAT).externalName) + QStringLiteral(".sqlite")));
        QVERIFY(junk.open(QIODevice::WriteOnly | QIODevice::Truncate));
        junk.write(QByteArray(4096, 'x'));
    }
    f.open();
    QVERIFY(f.reporter.saw(MessageId::NotADatabase));
    QCOMPARE(f.login->personList()->count(), 0);
    f.type("");
    QVERIFY(!f.login->passwordAccepted());
    QTest::mouseClick(f.login->okButton(), Qt::LeftButton);
    QCOMPARE(f.ends, QList<int>{0});
}

void tst_Login::choosingReadsThePersonAgain()
{
    LoginFixture f({{5, "Černá Eva", "stare"}});
    f.open();
    // Another station changes the password after the list was filled; choosing reads it anew.
    {
        DataContext other(f.dir.path());
        FileManager &fm = other.file(TableId::ADR_DAT);
        fm.open();
        QVERIFY(fm.fetch(ADR::KeyKod, {5}));
        fm.record().setText(ADR::PASS, QStringLiteral("nove"));
        QVERIFY(fm.update().ok());
        fm.close();
    }
    f.choose("Černá Eva");
    const Record &current = f.context->file(TableId::ADR_DAT).record();
    QCOMPARE(current.integer(ADR::KOD), 5);
    QCOMPARE(current.text(ADR::NAZEV), QString::fromUtf8("Černá Eva"));
    f.type("stare");
    QVERIFY(!f.login->passwordAccepted());
    f.type("nove");
    QVERIFY(f.login->passwordAccepted());
}

void tst_Login::wrongPasswordWritesNothing()
{
    LoginFixture f({{1, "Adámek Aleš", "alfa"}});
    // A settings file as a previous run left it.
    const QByteArray before = "[Preserved]\r\nGLO:Pocet_spusteni_programu=7\r\n[Login]\r\nMaximize=No\r\nMinimize=No\r\n"
                              "XPos=10\r\nYPos=12\r\n";
    {
        QFile ini(f.settings->path());
        QVERIFY(ini.open(QIODevice::WriteOnly));
        ini.write(before);
    }
    QVERIFY(f.settings->load());
    f.open();
    f.choose("Adámek Aleš");
    f.type("beta");
    QTest::mouseClick(f.login->stornoButton(), Qt::LeftButton);
    QCOMPARE(f.ends, QList<int>{0});
    QFile ini(f.settings->path());
    QVERIFY(ini.open(QIODevice::ReadOnly));
    QCOMPARE(ini.readAll(), before);
    // Not even the copy in memory took a placement.
    QCOMPARE(f.settings->value(QStringLiteral("Login"), QStringLiteral("XPos")), QStringLiteral("10"));
}

void tst_Login::rightPasswordStoresPlacement()
{
    LoginFixture f({{1, "Adámek Aleš", "alfa"}});
    f.open();
    f.login->placedWindow()->move(40, 30);
    f.choose("Adámek Aleš");
    f.type("alfa");
    QTest::mouseClick(f.login->okButton(), Qt::LeftButton);
    QCOMPARE(f.settings->value(QStringLiteral("Login"), QStringLiteral("Maximize")), QStringLiteral("No"));
    QVERIFY(f.settings->contains(QStringLiteral("Login"), QStringLiteral("XPos")));
    // A window of a fixed size keeps no size.
    QVERIFY(!f.settings->contains(QStringLiteral("Login"), QStringLiteral("Width")));
}

void tst_Login::listShowsPeopleByNameAndNoPasswords()
{
    LoginFixture f({{4, "Novák Jan", "n"}, {12, "Cibulka Karel", "c"}, {3, "Černý Ota", "č"}, {25, "adam Petr", "a"}});
    f.open();
    QComboBox *list = f.login->personList();
    QStringList names;
    for (int i = 0; i < list->count(); ++i)
        names << list->itemText(i);
    // The order of ADR:KeyNazev: Czech, regardless of letter case.
    QCOMPARE(names, (QStringList{QStringLiteral("adam Petr"), QStringLiteral("Cibulka Karel"),
                                 QString::fromUtf8("Černý Ota"), QString::fromUtf8("Novák Jan")}));
    auto *model = qobject_cast<QStandardItemModel *>(list->model());
    QVERIFY(model);
    QCOMPARE(model->columnCount(), 3);
    QCOMPARE(model->headerData(2, Qt::Horizontal).toString(), QStringLiteral("pass"));
    QCOMPARE(model->item(1, 1)->text(), QStringLiteral("12"));
    for (int row = 0; row < model->rowCount(); ++row)
        QCOMPARE(model->item(row, 2)->text(), QString());
    auto *view = qobject_cast<QTreeView *>(list->view());
    QVERIFY(view);
    QVERIFY(!view->header()->isHidden());
    QVERIFY(view->columnWidth(0) > view->columnWidth(2));
    QVERIFY(view->columnWidth(2) > view->columnWidth(1));
}

void tst_Login::passwordEntryHidesTyping()
{
    LoginFixture f;
    f.open();
    QCOMPARE(f.login->windowTitle(), QStringLiteral("Window"));
    QCOMPARE(f.login->passwordEntry()->echoMode(), QLineEdit::Password);
    QCOMPARE(f.login->passwordEntry()->maxLength(), 20);
    QCOMPARE(f.login->passwordEntry()->text(), QString());
    QCOMPARE(f.login->okButton()->text(), QStringLiteral("&OK"));
    QCOMPARE(f.login->okButton()->toolTip(), QStringLiteral("Accept operation"));
    QCOMPARE(f.login->okButton()->statusTip(), QStringLiteral("Accept Operation"));
    QCOMPARE(f.login->stornoButton()->text(), QStringLiteral("Storno"));
    QCOMPARE(f.login->stornoButton()->toolTip(), QStringLiteral("Cancel Operation"));
    QCOMPARE(f.login->stornoButton()->statusTip(), QStringLiteral("Cancel Operation"));
    QVERIFY(!f.login->okButton()->icon().isNull());
}

QTEST_MAIN(tst_Login)
#include "tst_login.moc"
