// Code-page conversions in the manner of the Windows code-page functions, on top of iconv.
//
// Wide text holds one Unicode code point per wchar_t (as Utf8ToWide produces); a surrogate
// pair found in wide input is accepted too and treated as the one character it encodes.
// Code pages are the Windows code-page numbers (1252, 936, 65001, ...).
#pragma once

#include <string>
#include <string_view>

namespace text {

constexpr unsigned kCodePageUtf16Le = 1200;
constexpr unsigned kCodePageUtf16Be = 1201;
constexpr unsigned kCodePageUtf32Le = 12000;
constexpr unsigned kCodePageUtf32Be = 12001;
constexpr unsigned kCodePageUtf7 = 65000;
constexpr unsigned kCodePageUtf8 = 65001;

// The code page Windows would use as its ANSI code page for the user's locale language
// (LC_ALL, LC_CTYPE, then LANG): 936 Chinese, 932 Japanese, 949 Korean, 1252 otherwise.
unsigned GetAnsiCodePage();

// The code page of a character-set name (IANA names and the aliases Windows knows, such as
// "utf-8", "gb2312", "ksc_5601", "l2"), compared without regard to ASCII case; 0 when unknown.
unsigned CodePageFromName(std::string_view name);
unsigned CodePageFromName(std::wstring_view name);

// The preferred character-set name of a code page ("utf-8", "windows-1252", ...); empty when
// the code page has no name in the table.
std::string_view CodePageName(unsigned codePage);

// True when conversions to and from the code page are available on this system.
bool IsCodePageSupported(unsigned codePage);

// Bytes in the code page to wide text. Bytes that form no character become U+FFFD; the
// conversion goes on after them. False (out empty) only when the code page is not supported.
bool MultiByteToWide(unsigned codePage, std::string_view bytes, std::wstring& out);

// Wide text to bytes in the code page. A character with no equivalent becomes the code page's
// default character ("?"), and *usedDefault (when given) is set to true; it is false otherwise.
// False (out empty) only when the code page is not supported.
bool WideToMultiByte(unsigned codePage, std::wstring_view wide, std::string& out,
                     bool* usedDefault = nullptr);

}  // namespace text
