#include "app/FirstShownReport.h"

#include "app/StartupReport.h"

std::unique_ptr<MUI::FirstShowWatch> WatchFirstShown(const MUI::MWindow& window)
{
    return std::make_unique<MUI::FirstShowWatch>(window, [] { ReportStartupMilestone("shown"); });
}
