#include "consolereporter.h"

#include <cstdio>
#include <cstdlib>

ConsoleReporter::ConsoleReporter(ProgramEnd end)
    : m_end(std::move(end))
{
    if (!m_end)
        m_end = [](int code) { std::exit(code); };
}

QString ConsoleReporter::lineFor(MessageId id, const MessageArgs &args)
{
    QString text = messageText(id, args);
    text.replace(QLatin1Char('\n'), QStringLiteral("\n    "));
    const QString title = messageTitle(id);
    return title.isEmpty() ? text : title + QStringLiteral(": ") + text;
}

ErrorReporter::Answer ConsoleReporter::report(MessageId id, const MessageArgs &args)
{
    const QByteArray line = lineFor(id, args).toLocal8Bit();
    std::fprintf(stderr, "%s\n", line.constData());
    std::fflush(stderr);
    switch (messageDef(id).kind) {
    case MessageKind::Question:
        return Answer::No;
    case MessageKind::Fatal:
        m_end(1);
        return Answer::Ok;
    case MessageKind::Notice:
        break;
    }
    return Answer::Ok;
}
