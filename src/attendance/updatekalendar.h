#pragma once

#include "recordform.h"

#include <QPixmap>

class FieldEdit;
class QPushButton;
class QTabWidget;

// `UpdateKalendar`: one month of the work calendar (KALENDAR). The code KAL:KOD is shown and
// numbered automatically; the name, the working days and hours, the month and the year are
// typed. Ctrl+H works in every entry.
//
// The form refuses, naming the field, values no month can have: a month outside 1 to 12, a
// year outside 1801 to 2099 (a four-digit year: 2010, not 10), working days outside 1 to 31,
// negative working hours, and a second record for a year and month that has one already.
// Nothing is saved until they are corrected. A change that alters nothing is not checked (it
// writes nothing), so a month stored earlier with such values can still be looked at and
// left with "&OK".
class UpdateKalendar : public RecordForm
{
    Q_OBJECT

public:
    explicit UpdateKalendar(DataContext &context, QWidget *parent = nullptr);

    FieldEdit *kodDisplay() const { return m_kod; }
    FieldEdit *nazevEntry() const { return m_nazev; }
    FieldEdit *dnuEntry() const { return m_dnu; }
    FieldEdit *hodinEntry() const { return m_hodin; }
    FieldEdit *mesicEntry() const { return m_mesic; }
    FieldEdit *rokEntry() const { return m_rok; }
    QPushButton *okButton() const { return m_ok; }
    QPushButton *cancelButton() const { return m_cancel; }

    // The years a calendar month may have.
    static constexpr int FirstYear = 1801;
    static constexpr int LastYear = 2099;

protected:
    bool validate() override;
    void paintEvent(QPaintEvent *event) override;

private:
    bool refuse(int field, FieldEdit *entry, const QString &text);

    QTabWidget *m_sheet = nullptr;
    FieldEdit *m_kod = nullptr;
    FieldEdit *m_nazev = nullptr;
    FieldEdit *m_dnu = nullptr;
    FieldEdit *m_hodin = nullptr;
    FieldEdit *m_mesic = nullptr;
    FieldEdit *m_rok = nullptr;
    QPushButton *m_ok = nullptr;
    QPushButton *m_cancel = nullptr;
    QPixmap m_wallpaper;
};
