#pragma once

#include "plainbrowsewindow.h"

// `BrowseGCU_POK`: the door units of the rooms (GCU_POK) in unit-number order (GCP:PRIMARY,
// the list's only order) with a step locator on GCP:ID_GCU. Its buttons start UpdateGCU_POK;
// renumbering or deleting a unit there is carried into the log by the relation rules.
class BrowseGCU_POK : public PlainBrowseWindow
{
    Q_OBJECT

public:
    explicit BrowseGCU_POK(DataContext &context, QWidget *parent = nullptr);
};

// The window of the menu item "Nastavení gcu" (menu "Nastaveni").
ProcedureWindow *startBrowseGCU_POK(DataContext *context);
