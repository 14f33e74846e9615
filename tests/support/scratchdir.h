#pragma once

#include <QString>
#include <QTemporaryDir>

// A fresh, empty data directory for one test, removed afterwards.
class ScratchDir
{
public:
    ScratchDir();
    QString path() const { return m_dir.path(); }
    QString file(const QString &name) const { return m_dir.filePath(name); }

private:
    QTemporaryDir m_dir;
};
