// The program's XML document: the whole document as one wide text plus an index of its
// elements (offsets into that text), a cursor to walk it, operations that splice new elements
// and attributes into the text, and whole-file loading and saving with encoding detection.
//
// Text units: one wchar_t per UTF-16 unit, except that characters from U+10000 up are held as
// one wchar_t (their code point), as text::Utf8ToWide gives them. UTF-16 files are read into
// and written from that form; offsets and lengths count wchar_t.
//
// A document is used by one thread at a time. Nothing here throws on bad input: problems go to
// the result log, and the results say whether the document is well formed.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "xml/XmlElementIndex.h"
#include "xml/XmlResultLog.h"

// Doc flags.
constexpr int kXmlDocUtf16Le = 0x1;  // encoding bits, found by loading and used by saving
constexpr int kXmlDocUtf8Bom = 0x4;
constexpr int kXmlDocUtf16Be = 0x80;
constexpr int kXmlDocIgnoreCase = 0x8;    // tag and attribute names compare without ASCII case
constexpr int kXmlDocReadingFile = 0x10;  // mode bits, set only while a load or save runs
constexpr int kXmlDocWritingFile = 0x20;
constexpr int kXmlDocAppendFile = 0x40;
constexpr int kXmlDocEncodingBits = kXmlDocUtf16Le | kXmlDocUtf8Bom | kXmlDocUtf16Be;
constexpr int kXmlDocModeBits = kXmlDocReadingFile | kXmlDocWritingFile | kXmlDocAppendFile;

// AddElement flags (0x8 keeps character references, as kXmlEscapeKeepReferences).
constexpr int kXmlAddCdata = 0x1;           // write the value as a CDATA section
constexpr int kXmlAddNoLineBreak = 0x2;     // no CR LF after the new element
constexpr int kXmlAddSpaceBeforeEnd = 0x4;  // end an empty element with " />"
constexpr int kXmlAddKeepReferences = 0x8;
constexpr int kXmlAddStartTagOnly = 0x10;  // write "<name>" only
constexpr int kXmlAddBefore = 0x2000;      // insert before the reference element
constexpr int kXmlAddChild = 0x4000;       // insert as a child of the current element

class XmlDocument {
public:
    XmlDocument();
    explicit XmlDocument(std::wstring_view text);
    ~XmlDocument() = default;
    XmlDocument(const XmlDocument&) = delete;
    XmlDocument& operator=(const XmlDocument&) = delete;

    // Replaces the text (refused while a file is read or written), empties the result log and
    // parses. Returns IsWellFormed.
    bool SetText(std::wstring_view text);
    // Rebuilds the index from the text and resets the cursor. Returns IsWellFormed.
    bool Parse();
    // True when the text has exactly one top-level element and no syntax problem.
    bool IsWellFormed() const;

    const std::wstring& GetText() const { return text_; }
    const std::wstring& GetResult() const { return log_.Text(); }
    int GetDocFlags() const { return docFlags_; }
    // Sets the doc flags (for example kXmlDocIgnoreCase before SetText).
    void SetDocFlags(int flags) { docFlags_ = flags; }

    // Cursor. FindElement searches the siblings after the current element (or the parent's
    // children from the first); an empty or null name takes the next element of any name.
    bool FindElement(std::wstring_view name = {});
    bool FindElement(const wchar_t* name);
    bool EnterElement();
    bool LeaveElement();
    int GetParent() const { return parent_; }
    int GetCurrent() const { return current_; }
    int GetChild() const { return child_; }

    // Decoded attribute values of a start tag; empty when absent.
    std::wstring GetAttribute(std::wstring_view name) const;
    std::wstring GetAttributeAt(int element, std::wstring_view name) const;
    // The tag name of an element (empty for 0 or an element number out of range).
    std::wstring GetTagName(int element) const;

    // Building: splices the new text in and patches the index. See kXmlAdd* for the flags.
    bool AddElement(std::wstring_view name, std::wstring_view value = {}, int flags = 0);
    bool SetAttribute(int element, std::wstring_view name, std::wstring_view value, int flags = 0);
    bool SetAttribute(std::wstring_view name, std::wstring_view value, int flags = 0);
    bool SetAttribute(std::wstring_view name, int value);

    // Whole-file input and output. LoadFile replaces `text` with the file's text (empty on
    // failure); *flags receives the encoding bits found. SaveFile writes `text` in the encoding
    // chosen by *flags (kXmlDocUtf8Bom, kXmlDocUtf16Le, kXmlDocUtf16Be; kXmlDocAppendFile to
    // append), else the one it declares, else UTF-8 without a mark. `result`, when given,
    // receives the log of the operation.
    static bool LoadFile(std::wstring& text, std::wstring* result, const std::wstring& path,
                         int* flags);
    static bool SaveFile(const std::wstring& text, std::wstring* result, const std::wstring& path,
                         int* flags);

    // Read access to the element index (entries 1 .. GetEntryCount() - 1; 0 is the root).
    const XmlElementIndex& GetIndex() const { return index_; }
    int GetEntryCount() const { return nextFree_; }

private:
    bool IsElement(int element) const { return element > 0 && element < nextFree_; }
    bool OnElement() const { return nodeType_ == 1; }
    void ResetCursor();
    int32_t TakeEntry();
    // Replaces text_[offset, offset + removed) by `inserted`, moves every entry that starts at
    // or after `offset` and grows `owner` and its ancestors.
    void Splice(size_t offset, size_t removed, std::wstring_view inserted, int32_t owner);
    // Moves by `delta` every entry that starts at or after `from`, which lies inside `owner`.
    void MoveEntriesFrom(int32_t from, int32_t delta, int32_t owner);
    // Moves `top` and every entry below it by `delta`.
    void MoveSubtree(int32_t top, int32_t delta);
    void LinkChild(int32_t parent, int32_t reference, int32_t entry, bool before);

    std::wstring text_;
    XmlResultLog log_;
    int32_t parent_ = 0;
    int32_t current_ = 0;
    int32_t child_ = 0;
    int32_t nextFree_ = 1;
    int32_t nodeType_ = 0;
    int docFlags_ = 0;
    XmlElementIndex index_;
};
