// The macro exchange file: one macro, its header and its steps, as an XML document
//   <macro><macroinfo name times type delaytime/><macroitems><item desc type value delay_time/>
//   ...</macroitems></macro>
// in UTF-8 after the declaration. A file read is untrusted: its numbers are held to what the
// program and the keyboard take, and a file that is not such a document, too large, or holds
// steps no editor makes is refused whole.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "storage/MacroRecord.h"
#include "storage/MacroStepRecord.h"

struct MacroFile {
    MacroRecord header;                  // macro_id 0, link_count = play_times
    std::vector<MacroStepRecord> steps;  // record_index in file order, macro_id 0
};

// Files larger than this are not read.
inline constexpr long long kMacroFileMaxBytes = 1 << 20;

// The document's text.
std::wstring MacroXmlText(const MacroRecord& header, const std::vector<MacroStepRecord>& steps);
bool SaveMacroXml(const std::wstring& path, const MacroRecord& header,
                  const std::vector<MacroStepRecord>& steps);

// The macro of a document's text or file; nothing for a refused one.
std::optional<MacroFile> ParseMacroXml(const std::wstring& text);
std::optional<MacroFile> LoadMacroXml(const std::wstring& path);
