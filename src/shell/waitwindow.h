#pragma once

#include <QWidget>
#include <functional>

// The window shown while the core tables open: "Initializing Database", with an icon and two
// lines of text, and nothing to operate.
class WaitWindow : public QWidget
{
    Q_OBJECT

public:
    explicit WaitWindow(QWidget *parent = nullptr);

    // Shows the wait window and the wait cursor, runs `work` once the window is on the screen,
    // then closes the window and restores the cursor.
    static void runWhile(const std::function<void()> &work);
};
