#include "app/MonitorScale.h"

#include "platform/mui/ScreenMetrics.h"

int ScaleFromEffectiveDpi(int dpi)
{
    switch (dpi) {
        case 120:
            return 125;
        case 144:
        case 168:
        case 192:
            return dpi;
        default:
            return 100;
    }
}

int GetMonitorScale()
{
    // Without a screen the DPI is 0, which gives 100.
    return ScaleFromEffectiveDpi(MUI::GetEffectiveScreenDpi());
}

bool IsDpiAwareScreen(int width, int height, int scale)
{
    return (width < 1920 && height < 1080) || (width == 1920 && height == 1080 && scale > 125);
}

void SetProcessDpiAware() {}
