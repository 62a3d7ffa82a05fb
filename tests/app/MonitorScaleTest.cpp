#include <gtest/gtest.h>

#include "app/MonitorScale.h"

namespace {

TEST(MonitorScale, EffectiveDpiMapsToTheListedScales)
{
    const std::pair<int, int> cases[] = {{0, 100},   {72, 100},  {96, 100},  {110, 100}, {120, 125},
                                         {144, 144}, {168, 168}, {192, 192}, {240, 100}};
    for (const auto& [dpi, scale] : cases) {
        EXPECT_EQ(ScaleFromEffectiveDpi(dpi), scale) << dpi;
    }
}

TEST(MonitorScale, DpiAwarenessFollowsScreenSizeAndScale)
{
    struct Case {
        int width, height, scale;
        bool aware;
    };
    const Case cases[] = {
        {1920, 1080, 144, true},  {1920, 1080, 125, false}, {1920, 1080, 100, false},
        {1366, 768, 100, true},   {1366, 768, 192, true},   {1920, 1200, 100, false},
        {1920, 1200, 192, false}, {1600, 1200, 144, false}, {2560, 1440, 144, false},
        {1919, 1079, 100, true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IsDpiAwareScreen(c.width, c.height, c.scale), c.aware)
            << c.width << "x" << c.height << " at " << c.scale;
    }
}

TEST(MonitorScale, OffscreenScreenHasTheDefaultScale)
{
    // The test program's offscreen screen reports 96 DPI, or there is no GUI application yet.
    EXPECT_EQ(GetMonitorScale(), 100);
}

}  // namespace
