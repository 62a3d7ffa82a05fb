#include "xml/XmlTokenizer.h"

#include <cwchar>

#include "xml/XmlNames.h"
#include "xml/XmlResultLog.h"

namespace {

bool StartsStartTag(wchar_t c)
{
    return c == L':' || c == L'_' || (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z') ||
           c >= 0x7B;
}

}  // namespace

XmlToken XmlTokenizer::Next()
{
    if (pos_ >= text_.size()) {
        XmlToken token;
        token.start = text_.size();
        return token;
    }
    return text_[pos_] == L'<' ? Markup() : Character();
}

XmlToken XmlTokenizer::Take(XmlTokenKind kind, size_t end)
{
    XmlToken token;
    token.kind = kind;
    token.start = pos_;
    token.length = end - pos_;
    pos_ = end;
    return token;
}

size_t XmlTokenizer::Find(std::wstring_view terminator, size_t from) const
{
    const size_t size = text_.size();
    while (from < size) {
        const wchar_t* hit = std::wmemchr(text_.data() + from, terminator[0], size - from);
        if (hit == nullptr) {
            return std::wstring_view::npos;
        }
        const size_t at = static_cast<size_t>(hit - text_.data());
        if (text_.substr(at, terminator.size()) == terminator) {
            return at;
        }
        from = at + 1;
    }
    return std::wstring_view::npos;
}

size_t XmlTokenizer::ClosingQuote(size_t open) const
{
    return Find(std::wstring_view(&text_[open], 1), open + 1);
}

XmlToken XmlTokenizer::Character()
{
    size_t i = pos_;
    const size_t size = text_.size();
    while (i < size && IsXmlSpace(text_[i])) {
        ++i;
    }
    if (i == size || text_[i] == L'<') {
        return Take(XmlTokenKind::WhiteSpace, i);
    }
    const wchar_t* hit = std::wmemchr(text_.data() + i, L'<', size - i);
    return Take(XmlTokenKind::Text,
                hit != nullptr ? static_cast<size_t>(hit - text_.data()) : size);
}

XmlToken XmlTokenizer::Markup()
{
    const wchar_t c1 = At(pos_ + 1);
    if (pos_ + 1 >= text_.size()) {
        return Unterminated(L"tag");
    }
    if (c1 == L'/') {
        const size_t gt = Find(L">", pos_ + 2);
        if (gt == std::wstring_view::npos) {
            return Unterminated(L"end_tag");
        }
        size_t nameEnd = pos_ + 2;
        while (nameEnd < gt && !EndsTokenName(text_[nameEnd])) {
            ++nameEnd;
        }
        const size_t start = pos_;
        XmlToken token = Take(XmlTokenKind::EndTag, gt + 1);
        token.nameLength = nameEnd - start - 2;
        return token;
    }
    if (c1 == L'?') {
        return Closed(XmlTokenKind::ProcessingInstruction, L"?>", pos_ + 2,
                      L"processing_instruction");
    }
    if (c1 == L'!') {
        if (pos_ + 2 >= text_.size()) {
            return Unterminated(L"tag");
        }
        const wchar_t c2 = text_[pos_ + 2];
        if (c2 == L'-') {
            if (pos_ + 3 >= text_.size()) {
                return Unterminated(L"comment");
            }
            if (text_[pos_ + 3] != L'-') {
                return SyntaxError(L"comment_tag_syntax", pos_);
            }
            return Closed(XmlTokenKind::Comment, L"-->", pos_ + 4, L"comment");
        }
        if (c2 == L'[') {
            if (pos_ + 3 >= text_.size()) {
                return Unterminated(L"cdata_section");
            }
            if (text_[pos_ + 3] != L'C') {
                return SyntaxError(L"cdata_section_syntax", pos_);
            }
            return Closed(XmlTokenKind::Cdata, L"]]>", pos_ + 4, L"cdata_section");
        }
        if (c2 == L'D') {
            return DocumentType();
        }
        return SyntaxError(L"exclamation_tag_syntax", pos_);
    }
    if (StartsStartTag(c1)) {
        return StartTag();
    }
    return SyntaxError(L"first_tag_syntax", pos_);
}

XmlToken XmlTokenizer::StartTag()
{
    const size_t size = text_.size();
    size_t nameEnd = pos_ + 1;
    while (nameEnd < size && !EndsTokenName(text_[nameEnd])) {
        ++nameEnd;
    }
    size_t lastQuoteClose = std::wstring_view::npos;
    size_t i = nameEnd;
    while (i < size) {
        const wchar_t c = text_[i];
        if (c == L'>') {
            break;
        }
        ++i;
        if (c != L'=') {
            continue;
        }
        while (i < size && IsXmlSpace(text_[i])) {
            ++i;
        }
        if (i < size && (text_[i] == L'"' || text_[i] == L'\'')) {
            const size_t close = ClosingQuote(i);
            if (close == std::wstring_view::npos) {
                return Unterminated(L"start_tag");
            }
            lastQuoteClose = close;
            i = close + 1;
        }
    }
    if (i >= size) {
        return Unterminated(L"start_tag");
    }
    const size_t gt = i;
    bool empty = false;
    if (gt >= pos_ + 2 && text_[gt - 1] == L'/') {
        const size_t before = gt - 2;
        empty = gt - 1 == nameEnd || IsXmlSpace(text_[before]) || before == lastQuoteClose;
    }
    const size_t start = pos_;
    XmlToken token = Take(XmlTokenKind::StartTag, gt + 1);
    token.nameLength = nameEnd - start - 1;
    token.empty = empty;
    return token;
}

XmlToken XmlTokenizer::DocumentType()
{
    const size_t size = text_.size();
    size_t i = pos_ + 3;
    while (i < size) {
        const wchar_t c = text_[i];
        if (c == L'>') {
            return Take(XmlTokenKind::DocumentType, i + 1);
        }
        if (c == L'"' || c == L'\'') {
            const size_t close = ClosingQuote(i);
            if (close == std::wstring_view::npos) {
                break;
            }
            i = close + 1;
            continue;
        }
        if (c != L'[') {
            ++i;
            continue;
        }
        // The internal subset, up to its "]".
        ++i;
        while (i < size && text_[i] != L']') {
            if (text_[i] == L'"' || text_[i] == L'\'') {
                const size_t close = ClosingQuote(i);
                if (close == std::wstring_view::npos) {
                    return Unterminated(L"document_type");
                }
                i = close + 1;
                continue;
            }
            if (text_[i] != L'<') {
                ++i;
                continue;
            }
            size_t end = std::wstring_view::npos;
            if (At(i + 1) == L'?') {
                end = Find(L"?>", i + 2);
                end = end == std::wstring_view::npos ? end : end + 2;
            } else if (At(i + 1) == L'!' && At(i + 2) == L'-' && At(i + 3) == L'-') {
                end = Find(L"-->", i + 4);
                end = end == std::wstring_view::npos ? end : end + 3;
            } else if (At(i + 1) == L'!' &&
                       (At(i + 2) == L'E' || At(i + 2) == L'A' || At(i + 2) == L'N')) {
                // A declaration, to its ">" outside quotes.
                size_t j = i + 3;
                while (j < size && text_[j] != L'>') {
                    if (text_[j] == L'"' || text_[j] == L'\'') {
                        const size_t close = ClosingQuote(j);
                        if (close == std::wstring_view::npos) {
                            return Unterminated(L"document_type");
                        }
                        j = close;
                    }
                    ++j;
                }
                end = j < size ? j + 1 : std::wstring_view::npos;
            } else {
                return SyntaxError(L"doctype_tag_syntax", i);
            }
            if (end == std::wstring_view::npos) {
                return Unterminated(L"document_type");
            }
            i = end;
        }
        if (i < size) {
            ++i;
        }
    }
    return Unterminated(L"document_type");
}

XmlToken XmlTokenizer::Closed(XmlTokenKind kind, std::wstring_view terminator, size_t from,
                              const wchar_t* unterminatedType)
{
    const size_t at = Find(terminator, from);
    if (at == std::wstring_view::npos) {
        return Unterminated(unterminatedType);
    }
    return Take(kind, at + terminator.size());
}

XmlToken XmlTokenizer::SyntaxError(const wchar_t* type, size_t offset)
{
    if (log_ != nullptr) {
        log_->Add(type, {XmlResultLog::Number(L"offset", static_cast<long long>(offset))});
    }
    const size_t gt = Find(L">", offset);
    return Take(XmlTokenKind::Error, gt == std::wstring_view::npos ? text_.size() : gt + 1);
}

XmlToken XmlTokenizer::Unterminated(const wchar_t* type)
{
    if (log_ != nullptr) {
        log_->Add(L"unterminated_tag_syntax",
                  {XmlResultLog::Text(L"type", type),
                   XmlResultLog::Number(L"offset", static_cast<long long>(pos_))});
    }
    return Take(XmlTokenKind::Error, text_.size());
}
