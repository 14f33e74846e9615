#pragma once

#include <QString>
#include <functional>

class QMdiArea;
class SettingsFile;
class ProcedureWindow;
class DataContext;

// What the windows of a running program share: the data directory, the settings file and the
// frame's window area. Set by the program at start; tests set their own.
namespace Shell {

void setDataDirectory(const QString &directory);
QString dataDirectory();

void setSettings(SettingsFile *settings);  // not owned; may be null (nothing is stored)
SettingsFile *settings();

void setFrameArea(QMdiArea *area);  // not owned; null: windows open as top-level windows
QMdiArea *frameArea();

// Starts a window procedure from the frame: it gets a context of its own, which it owns.
using WindowFactory = std::function<ProcedureWindow *(DataContext *context)>;
ProcedureWindow *startProcedure(const WindowFactory &factory);

} // namespace Shell
