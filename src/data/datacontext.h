#pragma once

#include "filemanager.h"
#include "record.h"
#include "relationmanager.h"
#include "store.h"

#include <QString>
#include <array>
#include <functional>
#include <map>
#include <memory>

// Everything one window has of its own: its store connection and table instances, one file
// manager and one relation manager per table, its request and response, and the history copies
// of its forms. Windows of the program never share a context; forms and reports run inside
// the context of the window that started them.
class DataContext
{
public:
    using StoreFactory = std::function<std::unique_ptr<Store>(const QString &directory)>;

    explicit DataContext(QString directory);
    ~DataContext();

    DataContext(const DataContext &) = delete;
    DataContext &operator=(const DataContext &) = delete;

    QString directory() const { return m_dir; }
    Store &store() { return *m_store; }
    FileManager &file(TableId table) { return *m_files[size_t(table)]; }
    RelationManager &relation(TableId table) { return *m_relations[size_t(table)]; }

    // Request kinds handed from a list to its form, and the form's response.
    enum Request : quint8 { NoRequest = 0, InsertRecord = 1, ChangeRecord = 2, DeleteRecord = 3, SelectRecord = 4,
                            ViewRecord = 6 };
    enum Response : quint8 { NoResponse = 0, RequestCompleted = 1, RequestCancelled = 2 };
    quint8 globalRequest = NoRequest;
    quint8 globalResponse = NoResponse;

    // The last record a form procedure saved in this context (for Ctrl+H).
    Record *history(const QString &procedure) ;
    void setHistory(const QString &procedure, const Record &record);

    // Tests and tools replace the store every new context gets (for example to inject faults).
    static void setStoreFactory(StoreFactory factory);

private:
    QString m_dir;
    std::unique_ptr<Store> m_store;
    std::array<std::unique_ptr<FileManager>, TableCount> m_files;
    std::array<std::unique_ptr<RelationManager>, TableCount> m_relations;
    std::map<QString, Record> m_history;
};
