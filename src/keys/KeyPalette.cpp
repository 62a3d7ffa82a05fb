#include "keys/KeyPalette.h"

#include <cwchar>
#include <span>

#include "device/KeyMacroType.h"
#include "device/MacroImage.h"
#include "storage/KBDataBase.h"
#include "storage/RecordList.h"

namespace {

constexpr int kTileSize = 55;
constexpr int kTileStep = 88;
constexpr int kLeft = 10;
constexpr int kFirstRowTop = 150;
constexpr int kRowStep = 80;
// As many as the widest tab holds: the keyboard's 32 macros fit in three rows.
constexpr int kMacrosPerRow = 11;

// One tile of a tab: its row (0 or 1), caption (none: the base-layer caption) and code.
struct TileDef {
    int row;
    const wchar_t* caption;
    int code;
};

constexpr TileDef kMediaTab[] = {
    {0, L"Player", 0x183},
    {0, L"Vol+", 0xE9},
    {0, L"Vol-", 0xEA},
    {0, L"Mute", 0xE2},
    {0, L"Play", 0xCD},
    {0, L"Stop", 0xB7},
    {0, L"Previous", 0xB6},
    {0, L"Next", 0xB5},
    {0, L"Screen\nBright+", 0x6F},
    {0, L"Screen\nBright-", 0x70},
    {1, L"Web\nHome", 0x223},
    {1, L"Web\nRefresh", 0x227},
    {1, L"Web\nStop", 0x226},
    {1, L"Web\nBackward", 0x224},
    {1, L"Web\nForward", 0x225},
    {1, L"Web\nFavorites", 0x22A},
    {1, L"Web\nSearch", 0x221},
    {1, L"PC", 0x194},
    {1, L"Calculator", 0x192},
    {1, L"Email", 0x18A},
};

constexpr TileDef kExtraKeysTab[] = {
    {0, L"F13", 0x68},    {0, L"F14", 0x69},  {0, L"F15", 0x6A},  {0, L"F16", 0x6B},
    {0, L"F17", 0x6C},    {0, L"F18", 0x6D},  {0, L"F19", 0x6E},  {0, L"F20", 0x6F},
    {0, L"F21", 0x70},    {0, L"F22", 0x71},  {0, L"F23", 0x72},  {1, L"F24", 0x73},
    {1, L"NUHS", 0x32},   {1, L"NUBS", 0x64}, {1, L"Ro", 0x87},   {1, L"￥", 0x89},
    {1, L"無変換", 0x8B}, {1, L"漢字", 0x91}, {1, L"한영", 0x90}, {1, L"変換", 0x8A},
    {1, L"かな", 0x88},
};

constexpr TileDef kFunctionsTab[] = {
    {0, L"Lock", 1},  {0, L"Win\nLock", 2},          {0, L"Boot", 7},
    {0, L"Reset", 8}, {1, nullptr, FUNC_BASE_LAYER}, {1, L"FN1", FUNC_FN1},
};

constexpr TileDef kLightingTab[] = {
    {0, L"RGB Mode+", 0x2E},  {0, L"RGB Mode-", 0x2F}, {0, L"RGB Mode", 0x30},
    {0, L"RGB Test", 0x31},   {0, L"Bright-", 0x33},   {0, L"Bright+", 0x32},
    {0, L"Bright Off", 0x35}, {1, L"Speed-", 0x37},    {1, L"Speed+", 0x36},
    {1, L"Color -", 0x3D},    {1, L"Color +", 0x3C},   {1, L"Color", 0x3E},
};

RECT TileRect(int row, int column)
{
    const int left = kLeft + column * kTileStep;
    const int top = kFirstRowTop + row * kRowStep;
    return RECT{left, top, left + kTileSize, top + kTileSize};
}

std::vector<PaletteTile> TilesOf(std::span<const TileDef> tab, const std::wstring& baseLayerCaption)
{
    std::vector<PaletteTile> tiles;
    int row = 0;
    int column = 0;
    for (const TileDef& tile : tab) {
        if (tile.row != row) {
            row = tile.row;
            column = 0;
        }
        tiles.push_back(PaletteTile{tile.code,
                                    tile.caption ? std::wstring(tile.caption) : baseLayerCaption,
                                    TileRect(row, column)});
        ++column;
    }
    return tiles;
}

std::wstring MacroCaption(int macroId, int steps)
{
    wchar_t text[32];
    if (steps > 0) {
        std::swprintf(text, 32, L"M%d\n(%d)", macroId, steps);
    } else {
        std::swprintf(text, 32, L"M%d", macroId);
    }
    return text;
}

}  // namespace

int PaletteMacroType(int tab)
{
    switch (tab) {
        case PALETTE_MEDIA:
            return KMT_CONSUMER;
        case PALETTE_EXTRA_KEYS:
            return KMT_KEY;
        case PALETTE_FUNCTIONS:
        case PALETTE_LIGHTING:
            return KMT_FUNCTION;
        case PALETTE_MACROS:
            return KMT_MACRO;
        default:
            return KMT_NONE;
    }
}

std::wstring PaletteCaptionText(std::wstring text)
{
    for (size_t at = text.find(L"\\n"); at != std::wstring::npos; at = text.find(L"\\n", at)) {
        text.replace(at, 2, L"\n");
        ++at;
    }
    return text;
}

std::vector<PaletteTile> PaletteTiles(int tab, const std::wstring& baseLayerCaption,
                                      const PaletteMacroSource& macros,
                                      const std::function<std::wstring(int)>& text)
{
    switch (tab) {
        case PALETTE_MEDIA: {
            std::vector<PaletteTile> tiles = TilesOf(kMediaTab, baseLayerCaption);
            for (size_t i = 0; text && i < tiles.size(); ++i) {
                const std::wstring caption = text(kFirstMediaText + static_cast<int>(i));
                if (!caption.empty()) tiles[i].caption = PaletteCaptionText(caption);
            }
            return tiles;
        }
        case PALETTE_EXTRA_KEYS:
            return TilesOf(kExtraKeysTab, baseLayerCaption);
        case PALETTE_FUNCTIONS:
            return TilesOf(kFunctionsTab, baseLayerCaption);
        case PALETTE_LIGHTING:
            return TilesOf(kLightingTab, baseLayerCaption);
        case PALETTE_MACROS: {
            std::vector<PaletteTile> tiles;
            int index = 0;
            for (const PaletteMacro& macro : macros ? macros() : std::vector<PaletteMacro>{}) {
                tiles.push_back(
                    PaletteTile{macro.id, MacroCaption(macro.id, macro.steps),
                                TileRect(index / kMacrosPerRow, index % kMacrosPerRow)});
                ++index;
            }
            return tiles;
        }
        default:
            return {};
    }
}

std::vector<PaletteMacro> PaletteMacros(KBDataBase& db)
{
    std::vector<MacroRecord*> stored;
    db.GetMacros(stored);
    std::vector<PaletteMacro> macros;
    for (const MacroRecord& macro : TakeRecords(stored)) {
        if (static_cast<int>(macros.size()) >= kMacroImageMacros) break;
        macros.push_back({macro.macro_id, db.GetMacroStepCount(macro.macro_id)});
    }
    return macros;
}
