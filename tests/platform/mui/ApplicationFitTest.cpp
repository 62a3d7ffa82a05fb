#include <gtest/gtest.h>

#include "platform/mui/Application.h"

namespace {

TEST(ApplicationFit, FactorFitsTheDesignIntoTheWorkAreaAndNeverEnlarges)
{
    struct Case {
        int width, height;
        double factor;
    };
    const Case cases[] = {
        {1600, 970, 1.0},         {2560, 1440, 1.0},          {1366, 768, 768.0 / 970},
        {1280, 720, 720.0 / 970}, {1000, 970, 1000.0 / 1600}, {0, 0, 1.0},
    };
    for (const Case& c : cases) {
        EXPECT_DOUBLE_EQ(MUI::FitFactorFor(c.width, c.height, 1600, 970), c.factor)
            << c.width << "x" << c.height;
    }
    EXPECT_DOUBLE_EQ(MUI::FitFactorFor(1366, 768, 0, 0), 1.0);
}

}  // namespace
