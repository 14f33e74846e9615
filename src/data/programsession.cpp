#include "programsession.h"

#include "globals.h"

ProgramSession::ProgramSession(QString directory, Platform &platform)
    : m_dir(std::move(directory))
    , m_platform(platform)
    , m_settings(std::make_unique<SettingsFile>(SettingsFile::pathIn(m_dir)))
{
}

ProgramSession::~ProgramSession() = default;

void ProgramSession::start()
{
    m_settings->load();
    GLO::fetchGlobals(*m_settings);
    m_context = std::make_unique<DataContext>(m_dir);
    m_platform.registerSessionEndHandlers();
    m_dragWasOn = switchOffDragFullWindows(m_platform);
}

void ProgramSession::openMain()
{
    if (GLO::DataSource.get().isEmpty())
        GLO::DataSource.set(QStringLiteral("TARVO"));
    // The unit table comes with its related log; then the shift boundaries and the status record.
    for (TableId t : {TableId::GCU_POK, TableId::SETINGS, TableId::STATE}) {
        if (t == TableId::GCU_POK)
            m_context->relation(t).open();
        else
            m_context->file(t).open();
        m_context->file(t).use();
    }
    m_context->file(TableId::LOG_POKOJE).use();
    m_tablesOpen = true;
}

void ProgramSession::loadShiftBoundaries()
{
    ::loadShiftBoundaries(*m_context);
}

void ProgramSession::closeMain()
{
    if (!m_tablesOpen)
        return;
    m_context->relation(TableId::GCU_POK).close();
    m_context->file(TableId::SETINGS).close();
    m_context->file(TableId::STATE).close();
    m_tablesOpen = false;
}

bool ProgramSession::finish(QString *error)
{
    GLO::updateGlobals(*m_settings);
    m_settings->writeEndMarker();
    const bool saved = m_settings->save(error);
    restoreDragFullWindows(m_platform, m_dragWasOn);
    return saved;
}

void loadShiftBoundaries(DataContext &context)
{
    FileManager &fm = context.file(TableId::SETINGS);
    fm.open();
    // Without a record 1 the buffer stays cleared and the boundaries become empty times.
    if (!fm.fetch(SET::PRIMARY, {1}))
        fm.record().clear();
    GLO::setShiftBoundaries(qint32(fm.record().integer(SET::NOCNI_DO)), qint32(fm.record().integer(SET::RANNI_DO)),
                            qint32(fm.record().integer(SET::ODPOLEDNI_DO)));
    fm.close();
}
