#pragma once

#include "procedurewindow.h"

#include <QPixmap>
#include <functional>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QStandardItemModel;

// `Login`: the person and the password asked right after the frame opens. The list of people is
// the address book in the order of ADR:KeyNazev; choosing one reads that person's ADR_DAT record
// again. Whichever way the window closes ("&OK", "Storno" or its close box), the typed password
// `HESLO` is checked against ADR:PASS of the chosen person: equal, the window closes and the
// frame goes on; different, "Nespravne heslo!!!" is shown and the program ends with exit code 0,
// writing nothing.
//
// When the address book was read without error and holds nobody, the check compares with a
// blank password (so a new installation can be entered and its first person created). When it
// holds people and none was chosen, or when it could not be read, the check fails.
class Login : public ProcedureWindow
{
    Q_OBJECT

public:
    explicit Login(DataContext &context, QWidget *parent = nullptr);
    ~Login() override;

    // The password as kept in ADR:PASS and typed into HESLO: 20 characters.
    static constexpr int PasswordLength = 20;

    // Whether the typed password equals the stored one as texts of 20 characters: letter case
    // significant, trailing blanks not.
    static bool passwordsMatch(const QString &typed, const QString &stored);

    // What ends the program after a wrong password (std::exit by default). Tests put a hook here.
    using ProgramEnd = std::function<void(int exitCode)>;
    static void setProgramEnd(ProgramEnd end);

    // The check as it stands now, without ending anything.
    bool passwordAccepted() const;

    QComboBox *personList() const { return m_people; }
    QLineEdit *passwordEntry() const { return m_password; }
    QPushButton *okButton() const { return m_ok; }
    QPushButton *stornoButton() const { return m_storno; }

protected:
    void openTables() override;
    void closeTables() override;
    bool canClose() override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void fillPeople();
    void choosePerson(int index);
    void closeWith(quint8 response);
    void refuse();

    QComboBox *m_people = nullptr;
    QStandardItemModel *m_model = nullptr;
    QLineEdit *m_password = nullptr;
    QLabel *m_picture = nullptr;
    QPushButton *m_ok = nullptr;
    QPushButton *m_storno = nullptr;
    QPixmap m_wallpaper;
    bool m_bookRead = false;     // the address book was read without error
    bool m_personRead = false;   // a chosen person's record is the current ADR_DAT record
    bool m_refusing = false;
};
