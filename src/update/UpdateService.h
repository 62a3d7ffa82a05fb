// Where the update service lives: a fixed HTTPS address (the build's TV_UPDATE_HOST), which
// TOLVENIC_UPDATE_BASE_URL replaces (tests run a local HTTPS server).
#pragma once

#include <string>

// The service's base address, ending in "/".
std::wstring UpdateBaseAddress();
// The software and firmware folders under it, each ending in "/".
std::wstring SoftwareUpdateFolder();
std::wstring FirmwareUpdateFolder();
