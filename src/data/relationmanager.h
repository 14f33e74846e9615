#pragma once

#include "filemanager.h"

#include <vector>

// The relation manager of one table in one window context: opens the table together with its
// related tables and changes or deletes its current record under the rules of the relations
// (cascade on change; restrict or clear on delete), in one transaction over every file
// involved. A failure at any point leaves every table as it was.
class RelationManager
{
public:
    RelationManager(DataContext &context, TableId table);

    FileManager &file() const;
    TableId table() const { return m_table; }

    // Opens or closes the table and the tables related to it (parents and children).
    void open();
    void close();

    // The relations in which this table is the parent.
    std::vector<RelationDef> childRelations() const;

    OpResult update();  // the file manager's buffer over its record as read
    OpResult remove();  // the record as read; a restrict rule refuses with RestrictDelete

    // The wait for the locks of every file involved when a transaction starts, in ms.
    static constexpr int transactionWaitMs = 2000;

private:
    DataContext &m_context;
    TableId m_table;
};

// The result of a deletion refused by a restrict rule (reported as "Smazání záznamu").
bool isRestrictRefusal(const OpResult &result);
