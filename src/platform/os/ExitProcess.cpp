#include "platform/os/ExitProcess.h"

#include <unistd.h>
#include <cstdio>

namespace os {

void ExitProcess(int code)
{
    std::fflush(nullptr);
    _exit(code);
}

}  // namespace os
