// Writing text into XML: character references for markup characters and CDATA sections.
#pragma once

#include <string>
#include <string_view>

// Flags of XmlEscape. kXmlEscapeKeepReferences keeps references already in the text
// ("&amp;", "&#65;", ...) as they are; kXmlEscapeAttribute also replaces the apostrophe and the
// double quote, as attribute values need.
constexpr int kXmlEscapeKeepReferences = 0x8;
constexpr int kXmlEscapeAttribute = 0x100;

std::wstring XmlEscape(std::wstring_view text, int flags);

// "<![CDATA[" text "]]>", with every "]]>" inside the text split across two sections.
std::wstring XmlCdata(std::wstring_view text);
