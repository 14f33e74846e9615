#pragma once

#include "plainbrowsewindow.h"

// `Kalendar`: the work calendar, the months of KALENDAR in the order they were entered
// (KAL:KeyKod), with a step locator on KAL:KOD. Its buttons start UpdateKalendar.
class Kalendar : public PlainBrowseWindow
{
    Q_OBJECT

public:
    explicit Kalendar(DataContext &context, QWidget *parent = nullptr);
};

// The window of the menu item "Kalendář" (menu "Nastaveni").
ProcedureWindow *startKalendar(DataContext *context);
