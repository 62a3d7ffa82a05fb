// The per-key colour exchanges: the profile's stored user colours out to the keyboard, and
// the live colours it shows now, read for the preview and written for the music mode. Worker
// thread. Keys are addressed by their key index, which is also their light index; keys
// without one, or whose index lies past the table, are left out.
#pragma once

#include <utility>
#include <vector>

#include "device/KeyIndexMaps.h"

class DeviceManager;
class KBDataBase;

// A key code and its colour (red | green << 8 | blue << 16).
using KeyColor = std::pair<int, int>;

class ColorTransfer {
public:
    ColorTransfer(DeviceManager& device, const KeyIndexMaps& maps);

    // The profile's stored colours in one batch; sent gives the keys and colours written.
    // Nothing for a profile below 1.
    bool WriteUserColors(KBDataBase& db, int profile, std::vector<KeyColor>& sent);
    // The live colours in one batch, stopping at the first chunk that fails; colours gets the
    // colour of every mapped key only when every chunk arrived. thirdScale: the model sends
    // its channels at a third of the scale.
    bool ReadLiveColors(bool thirdScale, std::vector<KeyColor>& colors);
    // The live colours in one batch; a failed chunk stops the chunks, and the batch is ended
    // all the same.
    bool WriteLiveColors(const std::vector<KeyColor>& colors);

private:
    DeviceManager& device_;
    const KeyIndexMaps& maps_;
};
