// A left click on a control as the mouse gives it: a press and a release at a point of the
// control, delivered to its widget, so that the control handles it as its own input (selection,
// notification, drag start). Used by the program's scripted-input entry. UI thread only.
#pragma once

#include <functional>
#include <optional>

#include "platform/mui/MControl.h"

namespace MUI {

// A point of the control (relative to its rectangle) where `hit` holds, scanning its area in
// small steps from the top-left; none when no point qualifies.
std::optional<POINT> FindControlPoint(const MControl& control,
                                      const std::function<bool(int x, int y)>& hit);

// Presses and releases the left button at the control-relative point. False when the control
// has no widget yet.
bool ClickControl(MControl& control, POINT at);

}  // namespace MUI
