#include "platform/text/CodePage.h"

#include <iconv.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "platform/text/Utf8.h"

namespace text {
namespace {

struct NamedCodePage {
    const char* name;
    unsigned codePage;
};

// Character-set names Windows associates with its code pages. The first name of each code page
// is its preferred name.
constexpr NamedCodePage kNames[] = {
    {"utf-8", 65001},
    {"unicode-1-1-utf-8", 65001},
    {"unicode-2-0-utf-8", 65001},
    {"x-unicode11utf8", 65001},
    {"x-unicode2-0-utf-8", 65001},
    {"utf-16", 1200},
    {"utf-16le", 1200},
    {"unicode", 1200},
    {"ucs-2", 1200},
    {"iso-10646-ucs-2", 1200},
    {"utf-16be", 1201},
    {"unicodefffe", 1201},
    {"utf-32", 12000},
    {"utf-32le", 12000},
    {"utf-32be", 12001},
    {"utf-7", 65000},
    {"unicode-1-1-utf-7", 65000},
    {"unicode-2-0-utf-7", 65000},
    {"csunicode11utf7", 65000},
    {"x-unicode11utf7", 65000},
    {"x-unicode2-0-utf-7", 65000},
    {"us-ascii", 20127},
    {"ascii", 20127},
    {"us", 20127},
    {"iso646-us", 20127},
    {"iso_646.irv:1991", 20127},
    {"iso-ir-6", 20127},
    {"ansi_x3.4-1968", 20127},
    {"ansi_x3.4-1986", 20127},
    {"cp367", 20127},
    {"ibm367", 20127},
    {"csascii", 20127},
    {"windows-1250", 1250},
    {"x-cp1250", 1250},
    {"windows-1251", 1251},
    {"x-cp1251", 1251},
    {"windows-1252", 1252},
    {"x-ansi", 1252},
    {"windows-1253", 1253},
    {"windows-1254", 1254},
    {"windows-1255", 1255},
    {"windows-1256", 1256},
    {"cp1256", 1256},
    {"windows-1257", 1257},
    {"windows-1258", 1258},
    {"windows-874", 874},
    {"dos-874", 874},
    {"tis-620", 874},
    {"iso-8859-11", 874},
    {"iso-8859-1", 28591},
    {"iso8859-1", 28591},
    {"iso_8859-1", 28591},
    {"iso_8859-1:1987", 28591},
    {"iso-ir-100", 28591},
    {"ibm819", 28591},
    {"cp819", 28591},
    {"csisolatin1", 28591},
    {"l1", 28591},
    {"latin1", 28591},
    {"iso-8859-2", 28592},
    {"iso8859-2", 28592},
    {"iso_8859-2", 28592},
    {"iso_8859-2:1987", 28592},
    {"iso-ir-101", 28592},
    {"csisolatin2", 28592},
    {"l2", 28592},
    {"latin2", 28592},
    {"iso-8859-3", 28593},
    {"iso_8859-3", 28593},
    {"iso_8859-3:1988", 28593},
    {"iso-ir-109", 28593},
    {"csisolatin3", 28593},
    {"l3", 28593},
    {"latin3", 28593},
    {"iso-8859-4", 28594},
    {"iso_8859-4", 28594},
    {"iso_8859-4:1988", 28594},
    {"iso-ir-110", 28594},
    {"csisolatin4", 28594},
    {"l4", 28594},
    {"latin4", 28594},
    {"iso-8859-5", 28595},
    {"iso_8859-5", 28595},
    {"iso_8859-5:1988", 28595},
    {"iso-ir-144", 28595},
    {"csisolatincyrillic", 28595},
    {"cyrillic", 28595},
    {"iso-8859-6", 28596},
    {"iso_8859-6", 28596},
    {"iso_8859-6:1987", 28596},
    {"iso-ir-127", 28596},
    {"csisolatinarabic", 28596},
    {"arabic", 28596},
    {"ecma-114", 28596},
    {"iso-8859-7", 28597},
    {"iso_8859-7", 28597},
    {"iso_8859-7:1987", 28597},
    {"iso-ir-126", 28597},
    {"csisolatingreek", 28597},
    {"greek", 28597},
    {"greek8", 28597},
    {"ecma-118", 28597},
    {"elot_928", 28597},
    {"iso-8859-8", 28598},
    {"iso_8859-8", 28598},
    {"iso_8859-8:1988", 28598},
    {"iso-8859-8 visual", 28598},
    {"iso-ir-138", 28598},
    {"csisolatinhebrew", 28598},
    {"hebrew", 28598},
    {"logical", 28598},
    {"visual", 28598},
    {"iso-8859-8-i", 38598},
    {"iso-8859-9", 28599},
    {"iso_8859-9", 28599},
    {"iso_8859-9:1989", 28599},
    {"iso-ir-148", 28599},
    {"csisolatin5", 28599},
    {"l5", 28599},
    {"latin5", 28599},
    {"iso-8859-13", 28603},
    {"iso-8859-15", 28605},
    {"iso_8859-15", 28605},
    {"csisolatin9", 28605},
    {"l9", 28605},
    {"latin9", 28605},
    {"koi8-r", 20866},
    {"koi", 20866},
    {"koi8", 20866},
    {"koi8r", 20866},
    {"cskoi8r", 20866},
    {"koi8-u", 21866},
    {"koi8-ru", 21866},
    {"shift_jis", 932},
    {"shift-jis", 932},
    {"sjis", 932},
    {"x-sjis", 932},
    {"ms_kanji", 932},
    {"csshiftjis", 932},
    {"cswindows31j", 932},
    {"x-ms-cp932", 932},
    {"euc-jp", 20932},
    {"x-euc-jp", 20932},
    {"x-euc", 20932},
    {"cseucpkdfmtjapanese", 20932},
    {"extended_unix_code_packed_format_for_japanese", 20932},
    {"iso-2022-jpeuc", 20932},
    {"iso-2022-jp", 50220},
    {"csiso2022jp", 50221},
    {"_iso-2022-jp", 50221},
    {"_iso-2022-jp$esc", 50221},
    {"_iso-2022-jp$sio", 50222},
    {"gb2312", 936},
    {"gbk", 936},
    {"gb_2312-80", 936},
    {"gb2312-80", 936},
    {"gb231280", 936},
    {"csgb2312", 936},
    {"csgb231280", 936},
    {"csiso58gb231280", 936},
    {"iso-ir-58", 936},
    {"chinese", 936},
    {"cn-gb", 936},
    {"x-cp20936", 20936},
    {"euc-cn", 51936},
    {"x-euc-cn", 51936},
    {"gb18030", 54936},
    {"hz-gb-2312", 52936},
    {"big5", 950},
    {"big5-hkscs", 950},
    {"cn-big5", 950},
    {"csbig5", 950},
    {"x-x-big5", 950},
    {"ks_c_5601-1987", 949},
    {"korean", 949},
    {"ks-c-5601", 949},
    {"ks-c5601", 949},
    {"ks_c_5601", 949},
    {"ks_c_5601-1989", 949},
    {"ks_c_5601_1987", 949},
    {"ksc5601", 949},
    {"ksc_5601", 949},
    {"csksc56011987", 949},
    {"iso-ir-149", 949},
    {"euc-kr", 51949},
    {"cseuckr", 51949},
    {"iso-2022-kr-8", 51949},
    {"iso-2022-kr-8bit", 51949},
    {"iso-2022-kr", 50225},
    {"csiso2022kr", 50225},
    {"iso-2022-kr-7", 50225},
    {"iso-2022-kr-7bit", 50225},
    {"johab", 1361},
    {"x-cp20949", 20949},
    {"ibm437", 437},
    {"437", 437},
    {"cp437", 437},
    {"cspc8codepage437", 437},
    {"asmo-708", 708},
    {"dos-720", 720},
    {"ibm737", 737},
    {"ibm775", 775},
    {"ibm850", 850},
    {"cp850", 850},
    {"ibm852", 852},
    {"cp852", 852},
    {"ibm855", 855},
    {"cp855", 855},
    {"ibm857", 857},
    {"cp857", 857},
    {"ibm00858", 858},
    {"cp00858", 858},
    {"cp858", 858},
    {"ccsid00858", 858},
    {"pc-multilingual-850+euro", 858},
    {"ibm860", 860},
    {"cp860", 860},
    {"ibm861", 861},
    {"cp861", 861},
    {"dos-862", 862},
    {"ibm862", 862},
    {"cp862", 862},
    {"ibm863", 863},
    {"cp863", 863},
    {"ibm864", 864},
    {"cp864", 864},
    {"ibm865", 865},
    {"cp865", 865},
    {"cp866", 866},
    {"ibm866", 866},
    {"ibm869", 869},
    {"cp869", 869},
    {"ibm037", 37},
    {"cp037", 37},
    {"csibm037", 37},
    {"ebcdic-cp-us", 37},
    {"ebcdic-cp-ca", 37},
    {"ebcdic-cp-wt", 37},
    {"ebcdic-cp-nl", 37},
    {"ibm500", 500},
    {"cp500", 500},
    {"csibm500", 500},
    {"ebcdic-cp-be", 500},
    {"ebcdic-cp-ch", 500},
    {"ibm870", 870},
    {"cp870", 870},
    {"ebcdic-cp-roece", 870},
    {"ebcdic-cp-yu", 870},
    {"cp875", 875},
    {"ibm1026", 1026},
    {"cp1026", 1026},
    {"ibm01047", 1047},
    {"ibm01140", 1140},
    {"ccsid01140", 1140},
    {"cp01140", 1140},
    {"ibm273", 20273},
    {"cp273", 20273},
    {"ibm277", 20277},
    {"ebcdic-cp-dk", 20277},
    {"ebcdic-cp-no", 20277},
    {"ibm278", 20278},
    {"cp278", 20278},
    {"ebcdic-cp-fi", 20278},
    {"ebcdic-cp-se", 20278},
    {"ibm280", 20280},
    {"cp280", 20280},
    {"ebcdic-cp-it", 20280},
    {"ibm284", 20284},
    {"cp284", 20284},
    {"ebcdic-cp-es", 20284},
    {"ibm285", 20285},
    {"cp285", 20285},
    {"ebcdic-cp-gb", 20285},
    {"ibm290", 20290},
    {"cp290", 20290},
    {"ebcdic-jp-kana", 20290},
    {"ibm297", 20297},
    {"cp297", 20297},
    {"ebcdic-cp-fr", 20297},
    {"ibm420", 20420},
    {"cp420", 20420},
    {"ebcdic-cp-ar1", 20420},
    {"ibm423", 20423},
    {"cp423", 20423},
    {"ebcdic-cp-gr", 20423},
    {"ibm424", 20424},
    {"cp424", 20424},
    {"ebcdic-cp-he", 20424},
    {"ibm871", 20871},
    {"cp871", 20871},
    {"ebcdic-cp-is", 20871},
    {"ibm880", 20880},
    {"cp880", 20880},
    {"ebcdic-cyrillic", 20880},
    {"ibm905", 20905},
    {"cp905", 20905},
    {"ebcdic-cp-tr", 20905},
    {"ibm-thai", 20838},
    {"x-ebcdic-koreanextended", 20833},
    {"ibm00924", 20924},
    {"x-chinese-cns", 20000},
    {"x-cp20001", 20001},
    {"x-chinese-eten", 20002},
    {"x-cp20003", 20003},
    {"x-cp20004", 20004},
    {"x-cp20005", 20005},
    {"x-ia5", 20105},
    {"irv", 20105},
    {"x-ia5-german", 20106},
    {"german", 20106},
    {"x-ia5-swedish", 20107},
    {"swedish", 20107},
    {"sen_850200_b", 20107},
    {"x-ia5-norwegian", 20108},
    {"norwegian", 20108},
    {"ns_4551-1", 20108},
    {"x-cp20261", 20261},
    {"x-cp20269", 20269},
    {"x-cp50227", 50227},
    {"cp50227", 50227},
    {"x-europa", 29001},
    {"x-iscii-de", 57002},
    {"x-iscii-be", 57003},
    {"x-iscii-ta", 57004},
    {"x-iscii-te", 57005},
    {"x-iscii-as", 57006},
    {"x-iscii-or", 57007},
    {"x-iscii-ka", 57008},
    {"x-iscii-ma", 57009},
    {"x-iscii-gu", 57010},
    {"x-iscii-pa", 57011},
    {"macintosh", 10000},
    {"x-mac-japanese", 10001},
    {"x-mac-chinesetrad", 10002},
    {"x-mac-korean", 10003},
    {"x-mac-arabic", 10004},
    {"x-mac-hebrew", 10005},
    {"x-mac-greek", 10006},
    {"x-mac-cyrillic", 10007},
    {"x-mac-chinesesimp", 10008},
    {"x-mac-romanian", 10010},
    {"x-mac-ukrainian", 10017},
    {"x-mac-thai", 10021},
    {"x-mac-ce", 10029},
    {"x-mac-icelandic", 10079},
    {"x-mac-turkish", 10081},
    {"x-mac-croatian", 10082},
};

struct IconvCodePage {
    unsigned codePage;
    const char* iconvName;
};

// glibc's names for the code pages it can convert.
constexpr IconvCodePage kIconvNames[] = {
    {37, "IBM037"},          {437, "IBM437"},         {500, "IBM500"},
    {708, "ASMO-708"},       {737, "CP737"},          {775, "CP775"},
    {850, "CP850"},          {852, "CP852"},          {855, "CP855"},
    {857, "CP857"},          {858, "CP858"},          {860, "CP860"},
    {861, "CP861"},          {862, "CP862"},          {863, "CP863"},
    {864, "CP864"},          {865, "CP865"},          {866, "CP866"},
    {869, "CP869"},          {870, "IBM870"},         {874, "WINDOWS-874"},
    {875, "IBM875"},         {932, "CP932"},          {936, "CP936"},
    {949, "CP949"},          {950, "BIG5-HKSCS"},     {1026, "IBM1026"},
    {1047, "IBM1047"},       {1140, "IBM1140"},       {1200, "UTF-16LE"},
    {1201, "UTF-16BE"},      {1250, "CP1250"},        {1251, "CP1251"},
    {1252, "CP1252"},        {1253, "CP1253"},        {1254, "CP1254"},
    {1255, "CP1255"},        {1256, "CP1256"},        {1257, "CP1257"},
    {1258, "CP1258"},        {1361, "JOHAB"},         {10000, "MACINTOSH"},
    {10007, "MAC-CYRILLIC"}, {10017, "MACUKRAINIAN"}, {10029, "MAC-CENTRALEUROPE"},
    {10079, "MAC-IS"},       {12000, "UTF-32LE"},     {12001, "UTF-32BE"},
    {20127, "ASCII"},        {20273, "IBM273"},       {20277, "IBM277"},
    {20278, "IBM278"},       {20280, "IBM280"},       {20284, "IBM284"},
    {20285, "IBM285"},       {20290, "IBM290"},       {20297, "IBM297"},
    {20420, "IBM420"},       {20423, "IBM423"},       {20424, "IBM424"},
    {20866, "KOI8-R"},       {20871, "IBM871"},       {20880, "IBM880"},
    {20905, "IBM905"},       {20932, "EUC-JP"},       {21866, "KOI8-U"},
    {28591, "ISO-8859-1"},   {28592, "ISO-8859-2"},   {28593, "ISO-8859-3"},
    {28594, "ISO-8859-4"},   {28595, "ISO-8859-5"},   {28596, "ISO-8859-6"},
    {28597, "ISO-8859-7"},   {28598, "ISO-8859-8"},   {28599, "ISO-8859-9"},
    {28603, "ISO-8859-13"},  {28605, "ISO-8859-15"},  {38598, "ISO-8859-8"},
    {50220, "ISO-2022-JP"},  {50221, "ISO-2022-JP"},  {50222, "ISO-2022-JP"},
    {50225, "ISO-2022-KR"},  {51932, "EUC-JP"},       {51936, "EUC-CN"},
    {51949, "EUC-KR"},       {54936, "GB18030"},      {65000, "UTF-7"},
    {65001, "UTF-8"},
};

char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

const char* IconvName(unsigned codePage)
{
    for (const auto& entry : kIconvNames) {
        if (entry.codePage == codePage) {
            return entry.iconvName;
        }
    }
    return nullptr;
}

// Owns one iconv descriptor for the length of a conversion.
class IconvHandle {
public:
    IconvHandle(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~IconvHandle()
    {
        if (ok()) {
            iconv_close(cd_);
        }
    }
    IconvHandle(const IconvHandle&) = delete;
    IconvHandle& operator=(const IconvHandle&) = delete;

    bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
    iconv_t get() const { return cd_; }

private:
    iconv_t cd_;
};

// Folds surrogate pairs into code points; lone surrogates are kept so that they count as
// characters the target cannot hold.
std::u32string ToCodePoints(std::wstring_view wide)
{
    std::u32string out;
    out.reserve(wide.size());
    for (size_t i = 0; i < wide.size(); ++i) {
        auto cp = static_cast<char32_t>(static_cast<uint32_t>(wide[i]));
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < wide.size()) {
            const auto lo = static_cast<char32_t>(static_cast<uint32_t>(wide[i + 1]));
            if (lo >= 0xDC00 && lo <= 0xDFFF) {
                cp = 0x10000 + ((cp - 0xD800) << 10) + (lo - 0xDC00);
                ++i;
            }
        }
        out.push_back(cp);
    }
    return out;
}

}  // namespace

unsigned GetAnsiCodePage()
{
    const char* locale = nullptr;
    for (const char* var : {"LC_ALL", "LC_CTYPE", "LANG"}) {
        const char* value = std::getenv(var);
        if (value != nullptr && *value != '\0') {
            locale = value;
            break;
        }
    }
    if (locale == nullptr) {
        return 1252;
    }
    const std::string_view lang(locale, std::min<size_t>(std::strlen(locale), 2));
    if (lang == "zh") {
        return 936;
    }
    if (lang == "ja") {
        return 932;
    }
    if (lang == "ko") {
        return 949;
    }
    return 1252;
}

unsigned CodePageFromName(std::string_view name)
{
    for (const auto& entry : kNames) {
        const std::string_view candidate(entry.name);
        if (candidate.size() == name.size() &&
            std::equal(candidate.begin(), candidate.end(), name.begin(),
                       [](char a, char b) { return a == LowerAscii(b); })) {
            return entry.codePage;
        }
    }
    return 0;
}

unsigned CodePageFromName(std::wstring_view name)
{
    std::string narrow;
    narrow.reserve(name.size());
    for (wchar_t c : name) {
        if (c <= 0 || c >= 0x80) {
            return 0;
        }
        narrow.push_back(static_cast<char>(c));
    }
    return CodePageFromName(std::string_view(narrow));
}

std::string_view CodePageName(unsigned codePage)
{
    for (const auto& entry : kNames) {
        if (entry.codePage == codePage) {
            return entry.name;
        }
    }
    return {};
}

bool IsCodePageSupported(unsigned codePage)
{
    if (codePage == kCodePageUtf8) {
        return true;
    }
    const char* name = IconvName(codePage);
    return name != nullptr && IconvHandle("WCHAR_T", name).ok();
}

bool MultiByteToWide(unsigned codePage, std::string_view bytes, std::wstring& out)
{
    out.clear();
    if (codePage == kCodePageUtf8) {
        out = Utf8ToWide(bytes);
        return true;
    }
    const char* name = IconvName(codePage);
    if (name == nullptr) {
        return false;
    }
    IconvHandle cd("WCHAR_T", name);
    if (!cd.ok()) {
        return false;
    }
    std::vector<wchar_t> buffer(bytes.size() + 16);
    char* in = const_cast<char*>(bytes.data());
    size_t inLeft = bytes.size();
    size_t produced = 0;
    bool flushing = false;
    for (;;) {
        char* outPtr = reinterpret_cast<char*>(buffer.data() + produced);
        size_t outLeft = (buffer.size() - produced) * sizeof(wchar_t);
        const size_t rc = flushing ? iconv(cd.get(), nullptr, nullptr, &outPtr, &outLeft)
                                   : iconv(cd.get(), &in, &inLeft, &outPtr, &outLeft);
        produced = buffer.size() - outLeft / sizeof(wchar_t);
        if (rc != static_cast<size_t>(-1)) {
            if (flushing) {
                break;
            }
            flushing = true;
            continue;
        }
        if (errno == E2BIG) {
            buffer.resize(buffer.size() * 2);
            continue;
        }
        // A byte that starts no character, or a sequence cut off by the end of the data.
        if (produced == buffer.size()) {
            buffer.resize(buffer.size() * 2);
        }
        buffer[produced++] = static_cast<wchar_t>(0xFFFD);
        if (errno == EILSEQ && inLeft > 1) {
            ++in;
            --inLeft;
            continue;
        }
        inLeft = 0;
        flushing = true;
    }
    out.assign(buffer.data(), produced);
    return true;
}

bool WideToMultiByte(unsigned codePage, std::wstring_view wide, std::string& out, bool* usedDefault)
{
    out.clear();
    if (usedDefault != nullptr) {
        *usedDefault = false;
    }
    if (codePage == kCodePageUtf8) {
        out = WideToUtf8(wide);
        return true;
    }
    const char* name = IconvName(codePage);
    if (name == nullptr) {
        return false;
    }
    IconvHandle cd(name, "UTF-32LE");
    if (!cd.ok()) {
        return false;
    }
    std::u32string points = ToCodePoints(wide);
    // iconv reads little-endian 32-bit units; store them so on any host.
    std::string units(points.size() * 4, '\0');
    for (size_t i = 0; i < points.size(); ++i) {
        const uint32_t cp = points[i];
        units[i * 4] = static_cast<char>(cp & 0xFF);
        units[i * 4 + 1] = static_cast<char>((cp >> 8) & 0xFF);
        units[i * 4 + 2] = static_cast<char>((cp >> 16) & 0xFF);
        units[i * 4 + 3] = static_cast<char>((cp >> 24) & 0xFF);
    }
    static constexpr char kQuestionMark[4] = {'?', 0, 0, 0};
    std::string buffer(points.size() * 2 + 16, '\0');
    char* in = units.data();
    size_t inLeft = units.size();
    size_t produced = 0;
    bool flushing = false;
    for (;;) {
        char* outPtr = buffer.data() + produced;
        size_t outLeft = buffer.size() - produced;
        const size_t rc = flushing ? iconv(cd.get(), nullptr, nullptr, &outPtr, &outLeft)
                                   : iconv(cd.get(), &in, &inLeft, &outPtr, &outLeft);
        produced = buffer.size() - outLeft;
        if (rc != static_cast<size_t>(-1)) {
            if (flushing) {
                break;
            }
            flushing = true;
            continue;
        }
        if (errno == E2BIG) {
            buffer.resize(buffer.size() * 2);
            continue;
        }
        // A character the code page cannot hold: write the default character in its place.
        if (usedDefault != nullptr) {
            *usedDefault = true;
        }
        char* q = const_cast<char*>(kQuestionMark);
        size_t qLeft = sizeof(kQuestionMark);
        for (;;) {
            outPtr = buffer.data() + produced;
            outLeft = buffer.size() - produced;
            const size_t qrc = iconv(cd.get(), &q, &qLeft, &outPtr, &outLeft);
            produced = buffer.size() - outLeft;
            if (qrc == static_cast<size_t>(-1) && errno == E2BIG) {
                buffer.resize(buffer.size() * 2);
                continue;
            }
            break;
        }
        if (inLeft >= 4) {
            in += 4;
            inLeft -= 4;
        } else {
            inLeft = 0;
        }
        if (inLeft == 0) {
            flushing = true;
        }
    }
    out.assign(buffer.data(), produced);
    return true;
}

}  // namespace text
