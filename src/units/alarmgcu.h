#pragma once

#include "plainbrowsewindow.h"

// `alarmGCU`: the alarm outputs (GCU_ALARM) in the order of ALR:Keyid, the only order, with a
// step locator on ALR:ID. Its buttons start Updategcu_alarm.
class alarmGCU : public PlainBrowseWindow
{
    Q_OBJECT

public:
    explicit alarmGCU(DataContext &context, QWidget *parent = nullptr);
};

// The window of the menu item "Nastavení alarm gcu" (menu "Nastaveni").
ProcedureWindow *startalarmGCU(DataContext *context);
