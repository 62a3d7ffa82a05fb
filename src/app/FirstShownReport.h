// The start-up measurement's "shown" milestone: reported once, when the watched window is
// first shown.
#pragma once

#include <memory>

#include "platform/mui/FirstShowWatch.h"

// Watches the window; keep the returned object as long as the window may be shown.
std::unique_ptr<MUI::FirstShowWatch> WatchFirstShown(const MUI::MWindow& window);
