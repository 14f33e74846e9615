#include "platform.h"

#include <QtGlobal>

#ifdef Q_OS_WIN
#include <QAbstractNativeEventFilter>
#include <QByteArray>
#include <QCoreApplication>

#include <qt_windows.h>
#endif

namespace {

#ifdef Q_OS_WIN

// Answers Windows' question whether the session may end with yes, before anything else of the
// program can say no. The end of the session itself is left to the default handling.
class SessionEndFilter : public QAbstractNativeEventFilter
{
public:
    bool nativeEventFilter(const QByteArray &eventType, void *message, qintptr *result) override
    {
        if (eventType != "windows_generic_MSG" && eventType != "windows_dispatcher_MSG")
            return false;
        const MSG *msg = static_cast<const MSG *>(message);
        if (msg && msg->message == WM_QUERYENDSESSION) {
            if (result)
                *result = TRUE;
            return true;
        }
        return false;
    }
};

class WindowsPlatform : public Platform
{
public:
    bool dragFullWindows() const override
    {
        BOOL on = FALSE;
        if (!SystemParametersInfoA(SPI_GETDRAGFULLWINDOWS, 0, &on, 0))
            return false;
        return on != FALSE;
    }

    void setDragFullWindows(bool on) override
    {
        SystemParametersInfoA(SPI_SETDRAGFULLWINDOWS, on ? TRUE : FALSE, nullptr,
                              SPIF_UPDATEINIFILE | SPIF_SENDCHANGE);
    }

    void registerSessionEndHandlers() override
    {
        if (m_registered || !QCoreApplication::instance())
            return;
        QCoreApplication::instance()->installNativeEventFilter(&m_filter);
        m_registered = true;
    }

private:
    SessionEndFilter m_filter;
    bool m_registered = false;
};

using SystemPlatform = WindowsPlatform;

#else

// No desktop services here: the drag setting is off and stays so, and no session asks us.
class NoDesktopPlatform : public Platform
{
public:
    bool dragFullWindows() const override { return false; }
    void setDragFullWindows(bool) override {}
    void registerSessionEndHandlers() override {}
};

using SystemPlatform = NoDesktopPlatform;

#endif

} // namespace

Platform::~Platform() = default;

Platform &systemPlatform()
{
    static SystemPlatform platform;
    return platform;
}

bool switchOffDragFullWindows(Platform &platform)
{
    if (!platform.dragFullWindows())
        return false;
    platform.setDragFullWindows(false);
    return true;
}

void restoreDragFullWindows(Platform &platform, bool wasOn)
{
    if (wasOn)
        platform.setDragFullWindows(true);
}
