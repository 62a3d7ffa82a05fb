// The statements that give a new model file its tables and indexes.
#pragma once

#include <string>
#include <vector>

namespace storage {

// The 31 statements in execution order; built on first use and kept until exit.
const std::vector<std::string>& SchemaStatements();
// The name of the table or index each statement creates, in the same order.
const std::vector<std::string>& SchemaObjectNames();

}  // namespace storage
