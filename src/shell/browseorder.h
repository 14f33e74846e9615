#pragma once

#include "record.h"
#include "store.h"

#include <QVariant>
#include <functional>
#include <vector>

// One order a list can show its table in (the orders its tabs choose between): a key of the
// table or an explicit list of fields, an optional range and an optional filter.
struct BrowseOrder {
    int key = -1;                  // index into the table's keys; -1: `fields` give the order
    std::vector<int> fields;       // explicit order fields (an index of the program's own)
    bool optKey = false;           // with explicit fields: leave out rows whose fields are all blank
    // The range: fixed values of the leading order fields (a person's rows in an order that
    // starts with the person), and any further conditions.
    std::vector<QVariant> rangeValues;
    std::vector<Condition> range;
    // Rows the condition cannot express: tested on each record as it is read.
    std::function<bool(const Record &)> filter;

    static BrowseOrder byKey(int key)
    {
        BrowseOrder o;
        o.key = key;
        return o;
    }
    static BrowseOrder byFields(std::vector<int> fields, bool optKey = false)
    {
        BrowseOrder o;
        o.fields = std::move(fields);
        o.optKey = optKey;
        return o;
    }
};
