// The database's list reads hand out records made with new; these take them over as values.
#pragma once

#include <memory>
#include <vector>

template <class Record>
std::vector<Record> TakeRecords(std::vector<Record*>& records)
{
    std::vector<Record> values;
    values.reserve(records.size());
    for (Record* record : records) {
        std::unique_ptr<Record> owned(record);
        values.push_back(std::move(*owned));
    }
    records.clear();
    return values;
}
