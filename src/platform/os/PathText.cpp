#include "platform/os/PathText.h"

namespace os {

std::wstring NormalizePath(std::wstring_view path)
{
    std::wstring out;
    out.reserve(path.size());
    for (wchar_t c : path) {
        if (c == L'\\') {
            c = L'/';
        }
        if (c == L'/' && !out.empty() && out.back() == L'/') {
            continue;
        }
        out += c;
    }
    return out;
}

}  // namespace os
