// The preset colourings of the per-key colour mode, shipped beside the program in
// profile/default_light.xml:
//
//   <preconfig_prpfile>
//     <key_light1> <item key_code="41" key_rgb="#FF8000"/> ... </key_light1>
//     ... key_light6
//   </preconfig_prpfile>
//
// key_code is the key code in decimal, key_rgb a colour text (ParseColorText). Items are kept
// in document order.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

// The preset ids of the lighting page's preset chooser: 202 + n reads key_light(n + 1).
inline constexpr int kFirstLightPreset = 202;
inline constexpr int kLightPresetCount = 6;

// A key code and its colour (red | green << 8 | blue << 16).
using PresetKeyColor = std::pair<int, int>;

// The preset's items. Nothing (no value) when the file is missing or not well formed, the id
// lies outside 202..207 or the file has no element for it. Items whose key code is not a key
// (isKey false), whose colour text is not one, or that name a key a second time are skipped;
// at most maxItems items are kept.
std::optional<std::vector<PresetKeyColor>> ReadLightPreset(const std::wstring& path, int presetId,
                                                           const std::function<bool(int)>& isKey,
                                                           size_t maxItems);
