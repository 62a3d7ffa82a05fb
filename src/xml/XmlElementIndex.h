// The element index of an XmlDocument: one entry per element, made of offsets into the
// document text, kept in segments of 65536 entries so that growing never moves old entries
// in bulk.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// Flag bits of XmlIndexEntry::flags (the nesting level lives in the low 16 bits).
constexpr int32_t kXmlLevelMask = 0xFFFF;
constexpr int32_t kXmlFirstChild = 0x80000;
constexpr int32_t kXmlNoEndTag = 0x100000;
constexpr int32_t kXmlIllFormed = 0x800000;

// One element. The two tag lengths have a field each, so that no tag length can overflow
// into the other.
struct XmlIndexEntry {
    int32_t start = 0;           // offset of the element's "<"
    int32_t length = 0;          // from the "<" of the start tag to the last ">" inclusive
    int32_t startTagLength = 0;  // length of the start tag (or of the empty-element tag)
    int32_t endTagLength = 0;    // length of the end tag, 0 when the element has none
    int32_t flags = 0;           // level and kXml* flags
    int32_t parent = 0;          // entry number of the parent, 0 for a top-level element
    int32_t firstChild = 0;      // 0 when none
    int32_t next = 0;            // next sibling, 0 for the last child
    int32_t previous = 0;        // previous sibling; the first child holds the LAST child

    int32_t Level() const { return flags & kXmlLevelMask; }
    void SetLevel(int32_t level)
    {
        flags = (flags & ~kXmlLevelMask) | (level < kXmlLevelMask ? level : kXmlLevelMask);
    }
};

class XmlElementIndex {
public:
    static constexpr int32_t kSegmentBits = 16;
    static constexpr int32_t kSegmentSize = 1 << kSegmentBits;

    // Drops every entry and makes room for `capacity` zeroed entries.
    void Reset(int32_t capacity);
    // Grows the capacity by half (at least by one entry); new entries are zeroed.
    void Grow();

    int32_t Capacity() const { return capacity_; }

    XmlIndexEntry& operator[](int32_t i)
    {
        return segments_[static_cast<size_t>(i >> kSegmentBits)][i & (kSegmentSize - 1)];
    }
    const XmlIndexEntry& operator[](int32_t i) const
    {
        return segments_[static_cast<size_t>(i >> kSegmentBits)][i & (kSegmentSize - 1)];
    }

private:
    void Resize(int32_t capacity);

    std::vector<std::vector<XmlIndexEntry>> segments_;
    int32_t capacity_ = 0;
};
