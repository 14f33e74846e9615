#pragma once

#include <QString>

class DataContext;

// The change signal to the communication service: STA:READY2UPDATE = 1 in the STATE record
// whose STA:ID is 1. The card form and the person form raise it when "Uložit" is pressed,
// before they write their record; the program never reads it back.
//
// The signal is one insert-or-update of that single field, committed on its own: the record is
// created (STA:ID 1, STA:READY2UPDATE 1, both stamps 0) when STATE has none, and otherwise
// only the flag is written, so a stamp the service wrote meanwhile is never lost, and a save
// that fails afterwards leaves the signal set. The context's STATE buffer is not touched.
//
// Returns false, with the store's description in `*error` (may be null), when the signal
// could not be written (the table cannot be opened or written, the file is locked). Reports
// nothing itself: the forms go on with their save all the same.
bool raiseChangeSignal(DataContext &ctx, QString *error);
