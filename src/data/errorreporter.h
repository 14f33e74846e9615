#pragma once

#include "messages.h"

#include <QString>

// Where every message of the program goes. The windows install a reporter that shows message
// boxes; tests install a scripted one that records each message and answers each question.
class ErrorReporter
{
public:
    enum class Answer { Ok, Yes, No };

    virtual ~ErrorReporter() = default;

    // Shows the message; a question returns Yes or No, anything else Ok. After a fatal message
    // the reporter ends the program (a scripted reporter records it and returns).
    virtual Answer report(MessageId id, const MessageArgs &args) = 0;
};

// The process-wide reporter. Never null: until one is installed, messages go to the log.
ErrorReporter &globalErrors();
void setGlobalErrors(ErrorReporter *reporter);  // not owned; nullptr restores the log reporter

// Convenience: report through the global reporter, with the running procedure filled in.
ErrorReporter::Answer reportMessage(MessageId id, MessageArgs args = {});
bool askYes(MessageId id, MessageArgs args = {});

// The name of the procedure running on this thread (for %Procedure).
void setCurrentProcedure(const QString &name);
QString currentProcedure();
