#pragma once

#include "errorreporter.h"

#include <functional>
#include <memory>

class QMessageBox;
class QWidget;

// The program's error reporter: every message of the table in a real message box, with the
// title and text of the table ("|" as a line break, the details in place of their
// placeholders). A notice has an OK button; a question Yes and No (No is the default and the
// Escape key); a fatal message, whose text ends with "  Stiskněte OK pro ukončení programu",
// has an OK button, and pressing it ends the program at once with exit code 1, writing nothing.
//
// Messages raised on another thread are shown by the application's thread; the caller waits.
class MessageBoxReporter : public ErrorReporter
{
public:
    using ProgramEnd = std::function<void(int exitCode)>;

    MessageBoxReporter();
    ~MessageBoxReporter() override;

    Answer report(MessageId id, const MessageArgs &args) override;

    // What ends the program after a fatal message (std::exit by default). Tests put a hook here.
    void setProgramEnd(ProgramEnd end) { m_end = std::move(end); }

    // The box a message is shown in, ready to exec(); the caller owns it.
    static std::unique_ptr<QMessageBox> createBox(MessageId id, const MessageArgs &args, QWidget *parent = nullptr);

    // The exit code after a fatal message.
    static constexpr int FatalExitCode = 1;

private:
    Answer show(MessageId id, const MessageArgs &args);

    ProgramEnd m_end;
};
