#include "scratchdir.h"

ScratchDir::ScratchDir()
    : m_dir(QDir::tempPath() + QStringLiteral("/halvane-test-XXXXXX"))
{
}
