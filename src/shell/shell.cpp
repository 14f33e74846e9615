#include "shell.h"

#include "datacontext.h"
#include "procedurewindow.h"

#include <QMdiArea>
#include <QPointer>

namespace {
QString dataDir;
SettingsFile *settingsFile = nullptr;
QPointer<QMdiArea> area;
} // namespace

namespace Shell {

void setDataDirectory(const QString &directory)
{
    dataDir = directory;
}

QString dataDirectory()
{
    return dataDir;
}

void setSettings(SettingsFile *settings)
{
    settingsFile = settings;
}

SettingsFile *settings()
{
    return settingsFile;
}

void setFrameArea(QMdiArea *a)
{
    area = a;
}

QMdiArea *frameArea()
{
    return area.data();
}

ProcedureWindow *startProcedure(const WindowFactory &factory)
{
    auto *context = new DataContext(dataDir);
    ProcedureWindow *w = factory(context);
    w->adoptContext(context);
    w->openWindow();
    return w;
}

} // namespace Shell
