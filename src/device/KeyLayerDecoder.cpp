#include "device/KeyLayerDecoder.h"

std::vector<KeyMacroRecord> DecodeKeyLayer(
    const KeyLayerRead& layer, const std::map<int, int>& indexToCode,
    const std::function<bool(int keyCode, KeyMacroRecord& row)>& loadRow,
    const KeyActionTexts& texts, std::span<const int> macroIds)
{
    std::vector<KeyMacroRecord> rows;
    for (const auto& [index, code] : indexToCode) {
        if (index >= kDecodedKeyIndexes) break;
        if (code < 1 || !layer.EntryArrived(index) || layer.Entry(index)[0] == 0) continue;
        KeyMacroRecord row;
        if (!loadRow(code, row)) continue;
        DecodeDeviceKeyCode(layer.Entry(index), row, texts, macroIds);
        if (row.macro_type >= 1) rows.push_back(std::move(row));
    }
    return rows;
}
