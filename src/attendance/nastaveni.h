#pragma once

#include "plainbrowsewindow.h"

// `Nastaveni`: the shift boundaries, the records of SETINGS in the order of SET:PRIMARY with a
// step locator on SET:ID. Only record 1 counts; the program reads it when it starts, so a
// change takes effect at the next start. Its buttons start UpdateSETINGS.
class Nastaveni : public PlainBrowseWindow
{
    Q_OBJECT

public:
    explicit Nastaveni(DataContext &context, QWidget *parent = nullptr);

protected:
    void listFilled() override;
};

// The window of the menu item "Nastaveni programu" (menu "Nastaveni").
ProcedureWindow *startNastaveni(DataContext *context);
