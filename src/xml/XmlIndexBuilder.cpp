#include "xml/XmlIndexBuilder.h"

#include <array>
#include <vector>

#include "xml/XmlNames.h"
#include "xml/XmlResultLog.h"
#include "xml/XmlTokenizer.h"

namespace {

// The elements still open while the index is built, innermost last. A count of open names per
// hash bucket answers "is any element of this name open?" without walking the stack, so lone
// end tags cost nothing however deep the stack is.
class XmlOpenElementStack {
public:
    struct Open {
        std::wstring_view name;
        int32_t entry;
        uint32_t bucket;
    };

    explicit XmlOpenElementStack(bool ignoreCase) : ignoreCase_(ignoreCase) { open_.reserve(7); }

    void Push(std::wstring_view name, int32_t entry)
    {
        const uint32_t bucket = Bucket(name);
        ++counts_[bucket];
        open_.push_back({name, entry, bucket});
    }

    // Depth (index into the stack) of the innermost open element of that name, or -1.
    ptrdiff_t Find(std::wstring_view name) const
    {
        if (counts_[Bucket(name)] == 0) {
            return -1;
        }
        for (size_t i = open_.size(); i-- > 0;) {
            if (SameXmlName(open_[i].name, name, ignoreCase_)) {
                return static_cast<ptrdiff_t>(i);
            }
        }
        return -1;
    }

    void PopTo(size_t depth)
    {
        while (open_.size() > depth) {
            --counts_[open_.back().bucket];
            open_.pop_back();
        }
    }

    size_t Depth() const { return open_.size(); }
    const Open& operator[](size_t i) const { return open_[i]; }
    int32_t Top() const { return open_.empty() ? 0 : open_.back().entry; }

private:
    uint32_t Bucket(std::wstring_view name) const
    {
        uint32_t h = 0;
        for (wchar_t c : name) {
            h = h * 31 + static_cast<uint32_t>(ignoreCase_ ? LowerAscii(c) : c);
        }
        return h & (kBuckets - 1);
    }

    static constexpr uint32_t kBuckets = 1024;
    bool ignoreCase_;
    std::vector<Open> open_;
    std::array<uint32_t, kBuckets> counts_{};
};

class Builder {
public:
    Builder(std::wstring_view text, bool ignoreCase, XmlElementIndex& index, XmlResultLog& log)
        : text_(text), index_(index), log_(log), stack_(ignoreCase)
    {
    }

    int32_t Run(int32_t& nextFree)
    {
        XmlTokenizer tokenizer(text_, &log_);
        for (;;) {
            const XmlToken token = tokenizer.Next();
            switch (token.kind) {
                case XmlTokenKind::StartTag:
                    StartTag(token);
                    break;
                case XmlTokenKind::EndTag:
                    EndTag(token);
                    break;
                case XmlTokenKind::Error:
                    index_[0].flags |= kXmlIllFormed;
                    break;
                case XmlTokenKind::EndOfText:
                    CloseUnended(0, text_.size());
                    nextFree = nextFree_;
                    return first_;
                default:
                    break;
            }
        }
    }

private:
    void StartTag(const XmlToken& token)
    {
        if (nextFree_ >= index_.Capacity()) {
            index_.Grow();
        }
        const int32_t n = nextFree_++;
        const int32_t parent = stack_.Top();
        XmlIndexEntry& e = index_[n];
        e = XmlIndexEntry{};
        e.parent = parent;
        XmlIndexEntry& p = index_[parent];
        if (p.firstChild != 0) {
            XmlIndexEntry& first = index_[p.firstChild];
            index_[first.previous].next = n;
            e.previous = first.previous;
            first.previous = n;
        } else {
            p.firstChild = n;
            e.previous = n;
            e.flags = kXmlFirstChild;
        }
        e.SetLevel(static_cast<int32_t>(stack_.Depth()) + index_[0].Level());
        e.start = static_cast<int32_t>(token.start);
        e.startTagLength = static_cast<int32_t>(token.length);
        if (first_ == 0) {
            first_ = n;
        }
        if (token.empty) {
            e.length = e.startTagLength;
        } else {
            stack_.Push(text_.substr(token.start + 1, token.nameLength), n);
        }
    }

    void EndTag(const XmlToken& token)
    {
        const std::wstring_view name = text_.substr(token.start + 2, token.nameLength);
        const ptrdiff_t depth = stack_.Find(name);
        if (depth < 0) {
            index_[0].flags |= kXmlIllFormed;
            log_.Add(L"lone_end_tag",
                     {XmlResultLog::Text(L"tagname", name),
                      XmlResultLog::Number(L"offset", static_cast<long long>(token.start))});
            return;
        }
        CloseUnended(static_cast<size_t>(depth) + 1, token.start);
        XmlIndexEntry& e = index_[stack_[static_cast<size_t>(depth)].entry];
        e.length = static_cast<int32_t>(token.start + token.length) - e.start;
        e.endTagLength = static_cast<int32_t>(token.length);
        stack_.PopTo(static_cast<size_t>(depth));
    }

    // Closes the open elements from `depth` up as unended: each keeps only its start tag, and
    // its children follow it as siblings under its parent, in document order.
    void CloseUnended(size_t depth, size_t foundAt)
    {
        if (depth >= stack_.Depth()) {
            return;
        }
        index_[0].flags |= kXmlIllFormed;
        for (size_t k = stack_.Depth(); k-- > depth;) {
            XmlIndexEntry& e = index_[stack_[k].entry];
            e.length = e.startTagLength;
            e.endTagLength = 0;
            e.flags |= kXmlNoEndTag;
            log_.Add(L"unended_start_tag",
                     {XmlResultLog::Text(L"tagname", stack_[k].name),
                      XmlResultLog::Number(L"offset", e.start),
                      XmlResultLog::Number(L"offset2", static_cast<long long>(foundAt))});
        }
        const int32_t parent = index_[stack_[depth].entry].parent;
        for (size_t k = depth; k < stack_.Depth(); ++k) {
            XmlIndexEntry& u = index_[stack_[k].entry];
            const int32_t first = u.firstChild;
            if (first == 0) {
                continue;
            }
            const int32_t last = index_[first].previous;
            for (int32_t c = first; c != 0; c = index_[c].next) {
                index_[c].parent = parent;
            }
            index_[first].flags &= ~kXmlFirstChild;
            XmlIndexEntry& parentFirst = index_[index_[parent].firstChild];
            index_[parentFirst.previous].next = first;
            index_[first].previous = parentFirst.previous;
            parentFirst.previous = last;
            u.firstChild = 0;
        }
        stack_.PopTo(depth);
    }

    std::wstring_view text_;
    XmlElementIndex& index_;
    XmlResultLog& log_;
    XmlOpenElementStack stack_;
    int32_t nextFree_ = 1;
    int32_t first_ = 0;
};

}  // namespace

int32_t XmlIndexBuilder::Build(std::wstring_view text, bool ignoreCase, XmlElementIndex& index,
                               int32_t& nextFree, XmlResultLog& log)
{
    return Builder(text, ignoreCase, index, log).Run(nextFree);
}
