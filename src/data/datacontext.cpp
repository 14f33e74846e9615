#include "datacontext.h"

#include "sqlitestore.h"

#include <mutex>

namespace {
std::mutex factoryMutex;
DataContext::StoreFactory &factory()
{
    static DataContext::StoreFactory f;
    return f;
}
} // namespace

DataContext::DataContext(QString directory)
    : m_dir(std::move(directory))
{
    {
        std::lock_guard lock(factoryMutex);
        if (factory())
            m_store = factory()(m_dir);
    }
    if (!m_store)
        m_store = std::make_unique<SqliteStore>(m_dir);
    for (int i = 0; i < TableCount; ++i) {
        m_files[size_t(i)] = std::make_unique<FileManager>(*this, TableId(i));
        m_relations[size_t(i)] = std::make_unique<RelationManager>(*this, TableId(i));
    }
}

DataContext::~DataContext()
{
    // The store closes every table still open; the managers go with it.
    m_relations = {};
    m_files = {};
    m_store.reset();
}

Record *DataContext::history(const QString &procedure)
{
    auto it = m_history.find(procedure);
    return it == m_history.end() ? nullptr : &it->second;
}

void DataContext::setHistory(const QString &procedure, const Record &record)
{
    m_history[procedure] = record;
}

void DataContext::setStoreFactory(StoreFactory factory_)
{
    std::lock_guard lock(factoryMutex);
    factory() = std::move(factory_);
}
