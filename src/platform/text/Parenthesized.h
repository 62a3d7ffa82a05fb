// A text with a name in parentheses after it, as the text's own script writes them.
#pragma once

#include <string>

// "text（inner）" when the text holds a CJK character (the full-width brackets of Chinese
// and Japanese texts), else "text (inner)".
std::wstring Parenthesized(const std::wstring& text, const std::wstring& inner);
