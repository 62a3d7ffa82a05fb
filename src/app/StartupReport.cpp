#include "app/StartupReport.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>

bool StartupReportEnabled() { return std::getenv("TV_STARTUP_REPORT") != nullptr; }

void ReportStartupMilestone(std::string_view milestone)
{
    if (!StartupReportEnabled()) {
        return;
    }
    using namespace std::chrono;
    const long long ms =
        duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
    std::printf("%.*s %lld\n", static_cast<int>(milestone.size()), milestone.data(), ms);
    std::fflush(stdout);
}
