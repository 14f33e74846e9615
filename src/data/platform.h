#pragma once

// The few desktop services the program uses outside its own windows: the desktop setting that
// shows window contents while a window is dragged (the drag setting), and the handlers Windows
// asks when the session ends. On Windows these are the system's own; elsewhere there are none:
// the drag setting reads as off and setting it, like registering the handlers, does nothing.
class Platform
{
public:
    virtual ~Platform();

    // Whether the drag setting is on.
    virtual bool dragFullWindows() const = 0;

    // Switches the drag setting for the whole desktop, stored in the user profile and
    // announced to all windows.
    virtual void setDragFullWindows(bool on) = 0;

    // Registers the session-end handlers: asked whether the session may end, the program
    // always answers yes; when the session ends, it does nothing. Call once, after the
    // application object exists.
    virtual void registerSessionEndHandlers() = 0;
};

// The platform the program runs on. Owned by the program; lives until it ends.
Platform &systemPlatform();

// Start of the program: reads the drag setting and, when it is on, switches it off for the run.
// Returns whether it was on; keep the answer for restoreDragFullWindows().
bool switchOffDragFullWindows(Platform &platform);

// Normal end of the program: switches the drag setting on again when `wasOn` (the answer of
// switchOffDragFullWindows()); otherwise leaves it alone.
void restoreDragFullWindows(Platform &platform, bool wasOn);
