// Path texts are written with either separator ("db\%s_datav4.db" joined to a data folder that
// ends in '/'); this turns them into one Linux form.
#pragma once

#include <string>
#include <string_view>

namespace storage {

// Every '\' becomes '/', and each run of separators collapses into one '/'.
// Nothing else changes: no separator is added or removed at either end beyond that.
std::string NormalizePath(std::string_view path);
std::wstring NormalizePath(std::wstring_view path);

}  // namespace storage
