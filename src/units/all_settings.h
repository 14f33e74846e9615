#pragma once

#include "procedurewindow.h"
#include "schema.h"

#include <QPixmap>
#include <array>

class BrowseList;
class QLabel;
class QPushButton;
class QTabWidget;

// `all_settings`: the settings overview. Four navigation buttons on the left choose one of four
// pages: "Obecné" and "Modem GSM" show only their heading; "Přístupové čtečky" lists the door
// units (GCU_POK, by unit number) and "Pracovní kalendář" the months of the work calendar
// (KALENDAR, in the order they were entered), each with "Nový", "Změnit" and "Smazat", which
// start UpdateGCU_POK or UpdateKalendar. The window itself writes nothing: "Uložit" closes it
// completed, "Storno" cancelled.
class all_settings : public ProcedureWindow
{
    Q_OBJECT

public:
    explicit all_settings(DataContext &context, QWidget *parent = nullptr);
    ~all_settings() override;

    enum Page { ObecnePage, CteckyPage, ModemPage, KalendarPage, PageCount };
    // The record buttons under each list.
    enum ListButton { NovyButton, ZmenitButton, SmazatButton };

    QTabWidget *sheet() const { return m_sheet; }
    int currentPage() const;
    QPushButton *navigationButton(Page page) const { return m_navigation[size_t(page)]; }
    BrowseList *readerList() const { return m_readers; }
    BrowseList *calendarList() const { return m_calendar; }
    QPushButton *readerButton(ListButton b) const { return m_readerButtons[size_t(b)]; }
    QPushButton *calendarButton(ListButton b) const { return m_calendarButtons[size_t(b)]; }
    QPushButton *saveButton() const { return m_save; }
    QPushButton *stornoButton() const { return m_storno; }

    // Shows a page, as its navigation button does.
    void showPage(Page page);

protected:
    void openTables() override;
    void closeTables() override;
    bool prepareWindow() override;
    void paintEvent(QPaintEvent *event) override;

private:
    QWidget *makePage(Page page, const QString &heading, bool withIcon);
    BrowseList *makeList(QWidget *page, TableId table, std::array<QPushButton *, 3> &buttons);
    void runReaderForm(quint8 request);
    void runCalendarForm(quint8 request);

    QTabWidget *m_sheet = nullptr;
    std::array<QPushButton *, PageCount> m_navigation{};
    BrowseList *m_readers = nullptr;
    BrowseList *m_calendar = nullptr;
    std::array<QPushButton *, 3> m_readerButtons{};
    std::array<QPushButton *, 3> m_calendarButtons{};
    QPushButton *m_save = nullptr;
    QPushButton *m_storno = nullptr;
    QPixmap m_wallpaper;
};

// The window of the menu item "Nastavení test" (menu "Nastaveni").
ProcedureWindow *startall_settings(DataContext *context);
