#pragma once

#include "errorreporter.h"

#include <QList>
#include <QString>

// Records every message instead of showing it and answers questions from a script
// (Yes/No in order; No once the script is used up). Installs itself as the global reporter
// for its lifetime.
class ScriptedReporter : public ErrorReporter
{
public:
    struct Entry {
        MessageId id;
        QString title;
        QString text;
        MessageArgs args;
    };

    ScriptedReporter();
    ~ScriptedReporter() override;

    Answer report(MessageId id, const MessageArgs &args) override;

    void answer(Answer a) { m_answers.append(a); }
    const QList<Entry> &entries() const { return m_entries; }
    QList<MessageId> ids() const;
    bool saw(MessageId id) const { return ids().contains(id); }
    void clear() { m_entries.clear(); }

private:
    QList<Entry> m_entries;
    QList<Answer> m_answers;
};
