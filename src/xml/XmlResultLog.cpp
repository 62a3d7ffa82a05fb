#include "xml/XmlResultLog.h"

#include "xml/XmlDocument.h"
#include "xml/XmlEscape.h"

XmlResultLog::Attribute XmlResultLog::Number(std::wstring_view name, long long value)
{
    return {name, std::to_wstring(value)};
}

XmlResultLog::Attribute XmlResultLog::Text(std::wstring_view name, std::wstring_view value)
{
    return {name, std::wstring(value)};
}

bool XmlResultLog::Add(std::wstring_view type, std::initializer_list<Attribute> attributes)
{
    if (text_.size() > kMaxLength) {
        return false;
    }
    text_ += L'<';
    text_ += type;
    for (const auto& a : attributes) {
        text_ += L' ';
        text_ += a.name;
        text_ += L"=\"";
        text_ += XmlEscape(a.value, kXmlEscapeAttribute);
        text_ += L'"';
    }
    text_ += L"/>";
    return true;
}

bool XmlResultLog::SetOnLast(std::wstring_view type, std::wstring_view name,
                             std::wstring_view value)
{
    XmlDocument log(text_);
    const std::wstring wanted(type);
    int last = 0;
    while (log.FindElement(wanted.c_str())) {
        last = log.GetCurrent();
    }
    if (last == 0 || !log.SetAttribute(last, std::wstring(name).c_str(), std::wstring(value))) {
        return false;
    }
    text_ = log.GetText();
    return true;
}
