// Builds the element index of a document text from its tokens, recovering from unended
// start tags and lone end tags.
#pragma once

#include <cstdint>
#include <string_view>

#include "xml/XmlElementIndex.h"

class XmlResultLog;

class XmlIndexBuilder {
public:
    // Indexes every start tag of `text` into entries 1, 2, ... of `index` (entry 0 must be
    // zeroed). Returns the first element built (0 when none); `nextFree` becomes the number of
    // the next unused entry. Problems mark entry 0 ill-formed and go to `log`.
    static int32_t Build(std::wstring_view text, bool ignoreCase, XmlElementIndex& index,
                         int32_t& nextFree, XmlResultLog& log);
};
