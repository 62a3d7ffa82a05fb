// The statements that give a new model file its tables and indexes.
#pragma once

#include <string>
#include <vector>

namespace storage {

// The 31 statements in execution order; built on first use and kept until exit.
const std::vector<std::string>& SchemaStatements();
// The name of the table or index each statement creates, in the same order.
const std::vector<std::string>& SchemaObjectNames();

// Indexes on the columns the table operations look rows up by (a profile's keys, a layer, a
// mode, a macro's steps...). Without them every such read and update scans its whole table,
// so a load grows with the number of profiles stored. They are no part of the file format:
// they are added to every file when it is opened, to files made before them too. Each ends on
// the columns a multi-row read filters by, so that such a read still gives its rows in the
// order they were stored (the table's own order) and not in the order of an index column.
const std::vector<std::string>& LookupIndexStatements();

}  // namespace storage
