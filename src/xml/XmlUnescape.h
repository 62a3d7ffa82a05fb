// Reading text out of XML: decodes character references (decimal, hexadecimal and the named
// references of HTML 4). Characters from U+10000 up are held as one wchar_t.
#pragma once

#include <string>
#include <string_view>

std::wstring XmlUnescape(std::wstring_view text);

// The code point of a named reference ("amp", "eacute", ...), or 0 when the name is unknown.
// Names compare in small letters; keys that HTML defines in two cases give the small letter.
char32_t XmlNamedReference(std::wstring_view lowerCaseName);
