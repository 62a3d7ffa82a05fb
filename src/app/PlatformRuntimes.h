// Run-times and privileges that the program starts and stops around its main window. On this
// platform none of them needs anything; each stays a named step of start-up and teardown.
#pragma once

// Raising the process's debug privilege has no counterpart here; reports success.
bool EnableDebugPrivilege();
// Qt draws every picture itself, so the graphics run-time needs no start.
void StartGraphicsRuntime();
// Counterpart of StartGraphicsRuntime: nothing to release.
void StopGraphicsRuntime();
// No component-object run-time exists here; drag and drop is Qt's own.
void InitializeComponentRuntime();
// Counterpart of InitializeComponentRuntime: nothing to release.
void UninitializeComponentRuntime();
