#include "app/PlatformRuntimes.h"

bool EnableDebugPrivilege() { return true; }

void StartGraphicsRuntime() {}

void StopGraphicsRuntime() {}

void InitializeComponentRuntime() {}

void UninitializeComponentRuntime() {}
