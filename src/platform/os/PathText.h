// Path texts written the Windows way ("db\%s_datav4.db", "logo//left_logo.png") made into
// Linux paths: every backslash becomes '/', and runs of separators collapse into one.
#pragma once

#include <string>
#include <string_view>

namespace os {

std::wstring NormalizePath(std::wstring_view path);

}  // namespace os
