// The result log of parsing and file input and output: a small XML text of empty elements,
// one per entry, named after the entry type ("read", "bom", "lone_end_tag", ...).
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>

class XmlResultLog {
public:
    // Entries are no longer appended once the log is longer than this.
    static constexpr size_t kMaxLength = 999;

    struct Attribute {
        std::wstring_view name;
        std::wstring value;
    };

    static Attribute Number(std::wstring_view name, long long value);
    static Attribute Text(std::wstring_view name, std::wstring_view value);

    // Appends `<type a="v" .../>`; refused (false) once the log is over kMaxLength.
    bool Add(std::wstring_view type, std::initializer_list<Attribute> attributes = {});
    // Sets an attribute on the last entry of the given type; false when there is none.
    bool SetOnLast(std::wstring_view type, std::wstring_view name, std::wstring_view value);

    void Clear() { text_.clear(); }
    const std::wstring& Text() const { return text_; }

private:
    std::wstring text_;
};
