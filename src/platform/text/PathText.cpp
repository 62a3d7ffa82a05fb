#include "platform/text/PathText.h"

namespace text {
namespace {

template <class Char>
std::basic_string<Char> Normalize(std::basic_string_view<Char> path)
{
    std::basic_string<Char> out;
    out.reserve(path.size());
    for (Char c : path) {
        const bool separator = c == Char('/') || c == Char('\\');
        if (!separator) {
            out.push_back(c);
        } else if (out.empty() || out.back() != Char('/')) {
            out.push_back(Char('/'));
        }
    }
    return out;
}

}  // namespace

std::string NormalizePath(std::string_view path) { return Normalize(path); }

std::wstring NormalizePath(std::wstring_view path) { return Normalize(path); }

}  // namespace text
