// Path texts written the Windows way ("db\%s_datav4.db", "logo//left_logo.png") made into
// Linux paths: every backslash becomes '/', and each run of separators collapses into one.
// Nothing else changes: no separator is added or removed at either end beyond that.
#pragma once

#include <string>
#include <string_view>

namespace text {

std::string NormalizePath(std::string_view path);
std::wstring NormalizePath(std::wstring_view path);

}  // namespace text
