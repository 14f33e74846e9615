#include "scriptedreporter.h"

ScriptedReporter::ScriptedReporter()
{
    setGlobalErrors(this);
}

ScriptedReporter::~ScriptedReporter()
{
    setGlobalErrors(nullptr);
}

ErrorReporter::Answer ScriptedReporter::report(MessageId id, const MessageArgs &args)
{
    m_entries.append({id, messageTitle(id), messageText(id, args), args});
    if (messageDef(id).kind != MessageKind::Question)
        return Answer::Ok;
    return m_answers.isEmpty() ? Answer::No : m_answers.takeFirst();
}

QList<MessageId> ScriptedReporter::ids() const
{
    QList<MessageId> out;
    for (const Entry &e : m_entries)
        out.append(e.id);
    return out;
}
