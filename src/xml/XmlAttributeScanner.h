// Finds an attribute in a start tag of a document text.
#pragma once

#include <cstddef>
#include <string_view>

struct XmlAttributeSpan {
    bool found = false;
    size_t valueStart = 0;  // the value without its quotes
    size_t valueLength = 0;
    size_t tokenStart = 0;  // the value with its quotes, when it had them
    size_t tokenLength = 0;
    size_t insertAt = 0;  // end of the last token before the end of the tag
};

class XmlAttributeScanner {
public:
    // Scans the tag that starts at `start` ("<" or "<?") for the attribute `name`, looking at no
    // character at or after `limit`. The tag name (the first token) is skipped.
    static XmlAttributeSpan Find(std::wstring_view text, size_t start, size_t limit,
                                 std::wstring_view name, bool ignoreCase);
};
