// Ending the process at once, as ExitProcess does: no destructors, no clean-up handlers, no
// other thread stopped first. Buffered standard output is flushed before.
#pragma once

namespace os {

[[noreturn]] void ExitProcess(int code);

}  // namespace os
