// The statements that give a new model file its tables and indexes.
#pragma once

#include <string>
#include <vector>

namespace storage {

// The 31 statements in execution order; built on first use and kept until exit.
const std::vector<std::string>& SchemaStatements();

}  // namespace storage
