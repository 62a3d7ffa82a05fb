#include "xml/XmlElementIndex.h"

#include <algorithm>
#include <climits>

void XmlElementIndex::Reset(int32_t capacity)
{
    segments_.clear();
    capacity_ = 0;
    Resize(std::max(capacity, 1));
}

void XmlElementIndex::Grow()
{
    const int64_t wanted = static_cast<int64_t>(capacity_) + std::max(capacity_ / 2, 1);
    Resize(static_cast<int32_t>(std::min<int64_t>(wanted, INT32_MAX)));
}

void XmlElementIndex::Resize(int32_t capacity)
{
    int32_t remaining = capacity;
    for (size_t s = 0; remaining > 0; ++s) {
        const int32_t size = std::min(remaining, kSegmentSize);
        if (s == segments_.size()) {
            segments_.emplace_back();
        }
        if (static_cast<int32_t>(segments_[s].size()) < size) {
            segments_[s].resize(static_cast<size_t>(size));
        }
        remaining -= size;
    }
    capacity_ = capacity;
}
