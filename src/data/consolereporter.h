#pragma once

#include "errorreporter.h"

#include <functional>

// The reporter of the command-line tools (`halvane check`): every message goes to stderr as
// "title: text" (the lines of a message indented beneath), every question is answered No, and
// a fatal message ends the program with exit code 1.
class ConsoleReporter : public ErrorReporter
{
public:
    using ProgramEnd = std::function<void(int exitCode)>;

    // `end` ends the program after a fatal message; std::exit when empty.
    explicit ConsoleReporter(ProgramEnd end = {});

    Answer report(MessageId id, const MessageArgs &args) override;

    // The text written for a message, without the final line break.
    static QString lineFor(MessageId id, const MessageArgs &args);

private:
    ProgramEnd m_end;
};
