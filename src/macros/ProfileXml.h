// The profile exchange file: a UTF-8 XML document of attribute-only elements, written from a
// profile's rows and read back with every value checked. Files come from anywhere, so reading
// accepts only what this program's tables and the keyboard can hold.
#pragma once

#include <optional>
#include <string>

#include "macros/ProfileFileContent.h"

// The document text: the declaration line, then profile / info (name) with its sections
// adv_keys (only when there are advanced keys), macro_info, key_info, perf_info, light_mode,
// key_light, music_layer and config_info.
std::wstring BuildProfileXml(const ProfileFileContent& content);

// The content of a document text; nothing when the text is not well formed, has no profile
// and info element, or holds a value outside its column's range, a text too long, more items
// than the keyboard can hold or two advanced keys or macros with one id. Sections are found
// in any order, unknown elements and attributes are passed over, a missing section is empty
// and a missing attribute reads as 0 or the empty text.
std::optional<ProfileFileContent> ReadProfileXml(const std::wstring& text);
