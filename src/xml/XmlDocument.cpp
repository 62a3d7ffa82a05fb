#include "xml/XmlDocument.h"

#include <climits>

#include "xml/XmlAttributeScanner.h"
#include "xml/XmlEscape.h"
#include "xml/XmlFile.h"
#include "xml/XmlIndexBuilder.h"
#include "xml/XmlNames.h"
#include "xml/XmlUnescape.h"

namespace {

constexpr size_t kMaxTextLength = INT32_MAX;

// A name written into the text must read back as the same name: no character that ends one.
bool IsWritableName(std::wstring_view name)
{
    if (name.empty()) {
        return false;
    }
    for (wchar_t c : name) {
        if (EndsTagName(c) || c == L'&') {
            return false;
        }
    }
    return true;
}

}  // namespace

XmlDocument::XmlDocument() { SetText({}); }

XmlDocument::XmlDocument(std::wstring_view text) { SetText(text); }

bool XmlDocument::SetText(std::wstring_view text)
{
    if ((docFlags_ & (kXmlDocReadingFile | kXmlDocWritingFile)) != 0) {
        return false;
    }
    text_.assign(text);
    log_.Clear();
    return Parse();
}

void XmlDocument::ResetCursor()
{
    parent_ = current_ = child_ = 0;
    nodeType_ = 0;
}

bool XmlDocument::Parse()
{
    ResetCursor();
    nextFree_ = 1;
    if (text_.size() >= kMaxTextLength) {
        // Offsets are 32-bit: a text this long cannot be indexed.
        index_.Reset(8);
        index_[0].flags = kXmlIllFormed;
        return false;
    }
    index_.Reset(static_cast<int32_t>(text_.size() / 64 + 8));
    if (!text_.empty()) {
        const int32_t first = XmlIndexBuilder::Build(text_, (docFlags_ & kXmlDocIgnoreCase) != 0,
                                                     index_, nextFree_, log_);
        index_[0].length = static_cast<int32_t>(text_.size());
        if (first == 0) {
            log_.Add(L"no_root_element");
        } else {
            index_[0].firstChild = first;
            if (index_[first].next != 0) {
                log_.Add(L"root_has_sibling");
            }
        }
    }
    ResetCursor();
    return IsWellFormed();
}

bool XmlDocument::IsWellFormed() const
{
    const XmlIndexEntry& root = index_[0];
    return (root.flags & kXmlIllFormed) == 0 && root.firstChild != 0 &&
           index_[root.firstChild].next == 0;
}

bool XmlDocument::FindElement(const wchar_t* name)
{
    return FindElement(name != nullptr ? std::wstring_view(name) : std::wstring_view());
}

bool XmlDocument::FindElement(std::wstring_view name)
{
    if ((docFlags_ & kXmlDocWritingFile) != 0) {
        return false;
    }
    const bool ignoreCase = (docFlags_ & kXmlDocIgnoreCase) != 0;
    int32_t e = current_ != 0 ? index_[current_].next : index_[parent_].firstChild;
    for (; e != 0; e = index_[e].next) {
        if (name.empty() || SameXmlName(XmlTagNameAt(text_, static_cast<size_t>(index_[e].start)),
                                        name, ignoreCase)) {
            parent_ = index_[e].parent;
            current_ = e;
            child_ = 0;
            nodeType_ = 1;
            return true;
        }
    }
    return false;
}

bool XmlDocument::EnterElement()
{
    if (current_ == 0 || !OnElement()) {
        return false;
    }
    parent_ = current_;
    current_ = child_;
    child_ = 0;
    return true;
}

bool XmlDocument::LeaveElement()
{
    if (parent_ == 0) {
        return false;
    }
    child_ = current_;
    current_ = parent_;
    parent_ = index_[parent_].parent;
    nodeType_ = 1;
    return true;
}

std::wstring XmlDocument::GetAttribute(std::wstring_view name) const
{
    return GetAttributeAt(current_, name);
}

std::wstring XmlDocument::GetAttributeAt(int element, std::wstring_view name) const
{
    if (!IsElement(element) || !OnElement() || name.empty()) {
        return {};
    }
    const XmlIndexEntry& e = index_[element];
    const size_t start = static_cast<size_t>(e.start);
    const XmlAttributeSpan span =
        XmlAttributeScanner::Find(text_, start, start + static_cast<size_t>(e.startTagLength), name,
                                  (docFlags_ & kXmlDocIgnoreCase) != 0);
    if (!span.found) {
        return {};
    }
    return XmlUnescape(std::wstring_view(text_).substr(span.valueStart, span.valueLength));
}

std::wstring XmlDocument::GetTagName(int element) const
{
    if (!IsElement(element)) {
        return {};
    }
    return std::wstring(XmlTagNameAt(text_, static_cast<size_t>(index_[element].start)));
}

int32_t XmlDocument::TakeEntry()
{
    if (nextFree_ >= index_.Capacity()) {
        index_.Grow();
    }
    const int32_t n = nextFree_++;
    index_[n] = XmlIndexEntry{};
    return n;
}

void XmlDocument::Splice(size_t offset, size_t removed, std::wstring_view inserted, int32_t owner)
{
    const size_t needed = text_.size() - removed + inserted.size();
    if (needed > text_.capacity()) {
        text_.reserve(needed + needed / 2 + 128);
    }
    text_.replace(offset, removed, inserted);
    const int32_t delta = static_cast<int32_t>(inserted.size()) - static_cast<int32_t>(removed);
    MoveEntriesFrom(static_cast<int32_t>(offset), delta, owner);
    for (int32_t a = owner; a != 0; a = index_[a].parent) {
        index_[a].length += delta;
    }
    index_[0].length += delta;
}

void XmlDocument::MoveSubtree(int32_t top, int32_t delta)
{
    // Pre-order walk of `top` and its descendants, without a stack.
    int32_t e = top;
    for (;;) {
        index_[e].start += delta;
        if (index_[e].firstChild != 0) {
            e = index_[e].firstChild;
            continue;
        }
        while (e != top && index_[e].next == 0) {
            e = index_[e].parent;
        }
        if (e == top) {
            return;
        }
        e = index_[e].next;
    }
}

void XmlDocument::MoveEntriesFrom(int32_t from, int32_t delta, int32_t owner)
{
    if ((index_[0].flags & kXmlIllFormed) != 0) {
        // The tree of a damaged text need not follow the text's order: look at every entry.
        for (int32_t i = 1; i < nextFree_; ++i) {
            if (index_[i].start >= from) {
                index_[i].start += delta;
            }
        }
        return;
    }
    // The tree follows the text's order and `from` lies inside the owner's text, so what
    // starts there or later is: the owner's last children (walked back from the last), then
    // the siblings after the owner and after each of its ancestors, each with its subtree.
    // Building at the end of a document moves nothing, so each insertion costs its own size.
    if (const int32_t first = index_[owner].firstChild; first != 0) {
        for (int32_t c = index_[first].previous; index_[c].start >= from; c = index_[c].previous) {
            MoveSubtree(c, delta);
            if (c == first) {
                break;
            }
        }
    }
    for (int32_t a = owner; a != 0; a = index_[a].parent) {
        for (int32_t s = index_[a].next; s != 0; s = index_[s].next) {
            MoveSubtree(s, delta);
        }
    }
}

void XmlDocument::LinkChild(int32_t parent, int32_t reference, int32_t n, bool before)
{
    XmlIndexEntry& p = index_[parent];
    XmlIndexEntry& e = index_[n];
    e.parent = parent;
    if (p.firstChild == 0) {
        p.firstChild = n;
        e.previous = n;
        e.flags |= kXmlFirstChild;
        return;
    }
    const int32_t first = p.firstChild;
    if (reference == 0) {
        const int32_t last = index_[first].previous;
        index_[last].next = n;
        e.previous = last;
        index_[first].previous = n;
    } else if (!before) {
        e.next = index_[reference].next;
        e.previous = reference;
        index_[reference].next = n;
        index_[e.next != 0 ? e.next : first].previous = n;
    } else if (reference == first) {
        e.previous = index_[first].previous;
        e.next = first;
        e.flags |= kXmlFirstChild;
        index_[first].previous = n;
        index_[first].flags &= ~kXmlFirstChild;
        p.firstChild = n;
    } else {
        const int32_t previous = index_[reference].previous;
        index_[previous].next = n;
        e.previous = previous;
        e.next = reference;
        index_[reference].previous = n;
    }
}

bool XmlDocument::AddElement(std::wstring_view name, std::wstring_view value, int flags)
{
    if ((docFlags_ & kXmlDocReadingFile) != 0 || !IsWritableName(name)) {
        return false;
    }
    const bool asChild = (flags & kXmlAddChild) != 0;
    if (asChild && (current_ == 0 || (docFlags_ & kXmlDocWritingFile) != 0)) {
        return false;
    }
    if ((flags & kXmlAddStartTagOnly) != 0 && !value.empty()) {
        return false;
    }
    const int32_t parent = asChild ? current_ : parent_;
    const int32_t reference = asChild ? child_ : current_;
    if ((parent != 0 && !IsElement(parent)) ||
        (reference != 0 && (!IsElement(reference) || index_[reference].parent != parent))) {
        return false;
    }

    std::wstring element = L"<";
    element += name;
    size_t startTagLength = 0;
    size_t endTagLength = 0;
    if (!value.empty()) {
        element += L'>';
        element += (flags & kXmlAddCdata) != 0 ? XmlCdata(value)
                                               : XmlEscape(value, flags & kXmlEscapeKeepReferences);
        element += L"</";
        element += name;
        element += L'>';
        startTagLength = name.size() + 2;
        endTagLength = name.size() + 3;
    } else {
        element += (flags & kXmlAddStartTagOnly)     ? L">"
                   : (flags & kXmlAddSpaceBeforeEnd) ? L" />"
                                                     : L"/>";
        startTagLength = element.size();
    }
    const size_t elementLength = element.size();
    const bool lineBreak = (flags & kXmlAddNoLineBreak) == 0;
    if (lineBreak) {
        element += L"\r\n";
    }

    size_t offset = 0;
    size_t removed = 0;
    size_t lead = 0;  // characters inserted before the new element
    std::wstring inserted;
    if (reference != 0) {
        const XmlIndexEntry& r = index_[reference];
        offset = static_cast<size_t>(r.start) +
                 ((flags & kXmlAddBefore) != 0 ? 0 : static_cast<size_t>(r.length));
    } else if (parent == 0) {
        offset = text_.size();
    } else {
        const XmlIndexEntry& p = index_[parent];
        offset = static_cast<size_t>(p.start + p.length - p.endTagLength);
    }
    bool opened = false;
    if (reference == 0 && parent != 0 && index_[parent].length == index_[parent].startTagLength) {
        // The parent has no end tag yet: open it around the new element.
        XmlIndexEntry& p = index_[parent];
        const size_t gt = static_cast<size_t>(p.start + p.startTagLength) - 1;
        if (gt >= text_.size() || text_[gt] != L'>') {
            return false;
        }
        const bool emptyTag = (p.flags & kXmlNoEndTag) == 0;
        if (emptyTag && (gt == 0 || text_[gt - 1] != L'/')) {
            return false;
        }
        offset = emptyTag ? gt - 1 : gt;
        removed = emptyTag ? 1 : 0;
        const std::wstring parentName = GetTagName(parent);
        inserted = L">\r\n" + element + L"</" + parentName;
        lead = 3;
        opened = true;
    } else if (reference == 0 && parent != 0 &&
               index_[parent].length ==
                   index_[parent].startTagLength + index_[parent].endTagLength) {
        // A start tag and an end tag with nothing between them.
        offset = static_cast<size_t>(index_[parent].start + index_[parent].startTagLength);
        inserted = L"\r\n" + element;
        lead = 2;
    } else {
        if (lineBreak) {
            size_t next = offset;
            while (next < text_.size() && IsXmlSpace(text_[next])) {
                ++next;
            }
            if (next < text_.size() && text_[next] == L'<') {
                offset = next;
            }
        }
        inserted = std::move(element);
    }
    if (text_.size() - removed + inserted.size() >= kMaxTextLength) {
        return false;
    }

    Splice(offset, removed, inserted, parent);
    if (opened) {
        XmlIndexEntry& p = index_[parent];
        p.startTagLength -= static_cast<int32_t>(removed);
        p.endTagLength = static_cast<int32_t>(GetTagName(parent).size() + 3);
        p.flags &= ~kXmlNoEndTag;
    }
    const int32_t n = TakeEntry();
    XmlIndexEntry& e = index_[n];
    e.start = static_cast<int32_t>(offset + lead);
    e.length = static_cast<int32_t>(elementLength);
    e.startTagLength = static_cast<int32_t>(startTagLength);
    e.endTagLength = static_cast<int32_t>(endTagLength);
    if ((flags & kXmlAddStartTagOnly) != 0) {
        e.flags |= kXmlNoEndTag;
    }
    e.SetLevel(parent != 0 ? index_[parent].Level() + 1 : 0);
    LinkChild(parent, reference, n, (flags & kXmlAddBefore) != 0);
    if (asChild) {
        child_ = n;
    } else {
        current_ = n;
        child_ = 0;
    }
    nodeType_ = 1;
    return true;
}

bool XmlDocument::SetAttribute(int element, std::wstring_view name, std::wstring_view value,
                               int flags)
{
    if ((docFlags_ & kXmlDocReadingFile) != 0 || !IsElement(element) || !OnElement() ||
        !IsWritableName(name)) {
        return false;
    }
    const std::wstring escaped =
        XmlEscape(value, kXmlEscapeAttribute | (flags & kXmlEscapeKeepReferences));
    const XmlIndexEntry& e = index_[element];
    const size_t start = static_cast<size_t>(e.start);
    const XmlAttributeSpan span =
        XmlAttributeScanner::Find(text_, start, start + static_cast<size_t>(e.startTagLength), name,
                                  (docFlags_ & kXmlDocIgnoreCase) != 0);
    std::wstring inserted;
    size_t offset = span.insertAt;
    size_t removed = 0;
    if (span.found) {
        offset = span.tokenStart;
        removed = span.tokenLength;
    } else {
        inserted = L" ";
        inserted += name;
        inserted += L'=';
    }
    inserted += L'"';
    inserted += escaped;
    inserted += L'"';
    if (text_.size() - removed + inserted.size() >= kMaxTextLength) {
        return false;
    }
    Splice(offset, removed, inserted, element);
    index_[element].startTagLength +=
        static_cast<int32_t>(inserted.size()) - static_cast<int32_t>(removed);
    return true;
}

bool XmlDocument::SetAttribute(std::wstring_view name, std::wstring_view value, int flags)
{
    return SetAttribute(current_, name, value, flags);
}

bool XmlDocument::SetAttribute(std::wstring_view name, int value)
{
    return SetAttribute(current_, name, std::to_wstring(value), 0);
}

bool XmlDocument::LoadFile(std::wstring& text, std::wstring* result, const std::wstring& path,
                           int* flags)
{
    return XmlFile::Load(text, result, path, flags);
}

bool XmlDocument::SaveFile(const std::wstring& text, std::wstring* result, const std::wstring& path,
                           int* flags)
{
    return XmlFile::Save(text, result, path, flags);
}
