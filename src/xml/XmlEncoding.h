// Encoding names of XML files: the code page a name stands for, and the encoding a document
// declares for itself.
#pragma once

#include <string>
#include <string_view>

// The code page of an encoding name (ASCII case ignored): a name starting with "UTF-32" is
// UTF-32 (12000, or 12001 for "UTF-32BE"); an unknown or empty name is the ANSI code page.
unsigned XmlEncodingToCodePage(std::wstring_view name);

// The encoding the text declares: the "encoding" of an xml declaration at its very start, or,
// in an HTML text, the charset of its meta Content-Type tag. Empty when it declares none.
std::wstring XmlSniffEncoding(std::wstring_view text);
