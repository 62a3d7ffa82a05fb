// Start-up milestones printed for measurements: with the environment variable
// TV_STARTUP_REPORT set (to anything), the program prints "<milestone> <wall-clock ms>" lines
// to standard output ("listening" once the instance socket is up, "shown" when the main window
// is first shown).
#pragma once

#include <string_view>

bool StartupReportEnabled();
void ReportStartupMilestone(std::string_view milestone);
