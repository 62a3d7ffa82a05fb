// Control commands a test sends to a running virtual keyboard (over its socket), one per line:
//   fault <option>            adds a fault (ParseFault syntax)
//   clear-faults            removes every fault
//   short-reports on|off    the configuration interface shows 64- or 65-byte reports
//   travel <key index> <reading> <full scale> [<calibration> <d1> <d2> <d3> <ref1> <ref2>]
//   profile-switch <layer> <profile>
//   unplug <ms>             pulled out for ms, then plugged back in
//   restart running|boot    restarts at once as the keyboard or its boot loader
//   clear-log               forgets the requests and errors recorded so far
#pragma once

#include <string>

#include "VirtualKeyboard.h"

namespace vkb {

// "ok", or "error: " and the reason.
std::string RunControlCommand(VirtualKeyboard& keyboard, const std::string& line);

}  // namespace vkb
