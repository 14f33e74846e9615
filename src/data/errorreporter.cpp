#include "errorreporter.h"

#include <QDebug>
#include <atomic>

namespace {

class LogReporter : public ErrorReporter
{
public:
    Answer report(MessageId id, const MessageArgs &args) override
    {
        qWarning().noquote() << messageTitle(id) << ":" << messageText(id, args);
        return messageDef(id).kind == MessageKind::Question ? Answer::No : Answer::Ok;
    }
};

LogReporter logReporter;
std::atomic<ErrorReporter *> installed{nullptr};
thread_local QString procedureName;

} // namespace

ErrorReporter &globalErrors()
{
    ErrorReporter *r = installed.load();
    return r ? *r : logReporter;
}

void setGlobalErrors(ErrorReporter *reporter)
{
    installed.store(reporter);
}

ErrorReporter::Answer reportMessage(MessageId id, MessageArgs args)
{
    if (args.procedure.isEmpty())
        args.procedure = procedureName;
    return globalErrors().report(id, args);
}

bool askYes(MessageId id, MessageArgs args)
{
    return reportMessage(id, std::move(args)) == ErrorReporter::Answer::Yes;
}

void setCurrentProcedure(const QString &name)
{
    procedureName = name;
}

QString currentProcedure()
{
    return procedureName;
}
