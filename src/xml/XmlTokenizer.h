// Splits a document text into tokens: tags, text, white space, CDATA sections, processing
// instructions, comments, document types. Syntax problems become error tokens and entries in
// the result log.
#pragma once

#include <cstddef>
#include <string_view>

class XmlResultLog;

enum class XmlTokenKind : int {
    EndTag = 0,
    StartTag = 1,
    Text = 2,
    WhiteSpace = 4,
    Cdata = 8,
    ProcessingInstruction = 16,
    Comment = 32,
    DocumentType = 64,
    Error = -1,
    EndOfText = -2,
};

struct XmlToken {
    XmlTokenKind kind = XmlTokenKind::EndOfText;
    size_t start = 0;
    size_t length = 0;
    size_t nameLength = 0;  // start and end tags: length of the tag name
    bool empty = false;     // start tags: written as an empty-element tag ("/>")
};

class XmlTokenizer {
public:
    // `log` may be null when problems need not be recorded.
    XmlTokenizer(std::wstring_view text, XmlResultLog* log) : text_(text), log_(log) {}

    XmlToken Next();

private:
    XmlToken Character();
    XmlToken Markup();
    XmlToken StartTag();
    XmlToken DocumentType();
    XmlToken Closed(XmlTokenKind kind, std::wstring_view terminator, size_t from,
                    const wchar_t* unterminatedType);
    XmlToken SyntaxError(const wchar_t* type, size_t offset);
    XmlToken Unterminated(const wchar_t* type);
    XmlToken Take(XmlTokenKind kind, size_t end);

    // Position of the terminator at or after `from`, or npos.
    size_t Find(std::wstring_view terminator, size_t from) const;
    // Position of the quote closing a value whose opening quote is at `open`, or npos.
    size_t ClosingQuote(size_t open) const;
    wchar_t At(size_t i) const { return i < text_.size() ? text_[i] : L'\0'; }

    std::wstring_view text_;
    XmlResultLog* log_;
    size_t pos_ = 0;
};
