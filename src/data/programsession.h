#pragma once

#include "datacontext.h"
#include "platform.h"
#include "settingsfile.h"

#include <QString>
#include <memory>

// The program's start and end around the main frame, without any window: the settings file
// and its global values, the desktop's drag setting, the first context and its core tables.
//
//   ProgramSession s(dir, platform);
//   s.start();          // settings read, drag setting switched off
//   s.openMain();       // "TARVO" for a blank data source; GCU_POK (with LOG_POKOJE), SETINGS, STATE
//   ... login, s.loadShiftBoundaries(), the frame runs ...
//   s.closeMain();      // tables closed
//   s.finish();         // globals written back, end marker, drag setting restored
//
// When the program ends at the login nothing of this is written: the session is dropped
// without finish().
class ProgramSession
{
public:
    ProgramSession(QString directory, Platform &platform);
    ~ProgramSession();

    QString directory() const { return m_dir; }
    SettingsFile &settings() { return *m_settings; }
    DataContext &context() { return *m_context; }

    void start();
    void openMain();
    // Copies the shift boundaries of SETINGS record 1 into the three globals (zero without it).
    void loadShiftBoundaries();
    void closeMain();
    // Writes the global values and the end marker; false with the reason when the file could not be written.
    bool finish(QString *error = nullptr);

    bool tablesOpen() const { return m_tablesOpen; }

private:
    QString m_dir;
    Platform &m_platform;
    std::unique_ptr<SettingsFile> m_settings;
    std::unique_ptr<DataContext> m_context;
    bool m_dragWasOn = false;
    bool m_tablesOpen = false;
};

// Reads SETINGS record 1 in the given context into the shift-boundary globals.
void loadShiftBoundaries(DataContext &context);
