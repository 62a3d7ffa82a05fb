// Freed memory that the C library keeps for later: a load or a page's first paint frees a few
// megabytes of passing buffers (decoded files, query results, layout work) that would otherwise
// stay resident for as long as the program runs.
#pragma once

namespace os {

// Hands the free pages of every heap back to the system now. Cheap (well under a millisecond
// for this program's heap) and safe from any thread.
void ReleaseFreeMemory();

// The same a moment later, on the application's thread, once the work under way (a page's
// first paint) is done. Calls close together make one release; without an application object
// it releases at once.
void ReleaseFreeMemorySoon();

}  // namespace os
