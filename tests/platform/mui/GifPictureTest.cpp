#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/mui/CGifPicture.h"
#include "platform/mui/ControlHarness.h"
#include "platform/mui/Manager.h"
#include "platform/mui/SkinImages.h"

namespace {

using muitest::ControlTest;

// A 1 x 1 GIF of two frames (black, then white), 20 ms each.
const unsigned char kTwoFrames[] = {
    'G',  'I',  'F', '8',  '9',  'a',  1, 0, 1, 0, 0x80, 0, 0,  // screen, 2-colour table
    0,    0,    0,   0xFF, 0xFF, 0xFF,                          // black, white
    0x21, 0xF9, 4,   0,    2,    0,    0, 0,                    // 20 ms
    0x2C, 0,    0,   0,    0,    1,    0, 1, 0, 0, 2,    2, 0x44, 0x01, 0,  // pixel 0
    0x21, 0xF9, 4,   0,    2,    0,    0, 0,                                // 20 ms
    0x2C, 0,    0,   0,    0,    1,    0, 1, 0, 0, 2,    2, 0x4C, 0x01, 0,  // pixel 1
    0x3B};

class GifPictureTest : public ControlTest {
protected:
    void SetUp() override
    {
        ControlTest::SetUp();
        skin = std::filesystem::path(std::getenv("HOME")) / "gif-skin";
        std::filesystem::create_directories(skin);
        std::ofstream(skin / "loading.gif", std::ios::binary)
            .write(reinterpret_cast<const char*>(kTwoFrames), sizeof kTwoFrames);
        previousRoot = MUI::Manager::GetSkinRoot();
        MUI::Manager::SetSkinRoot(skin.wstring());
        MUI::ClearSkinImageCache();
        dialog.SetMTimer(10);
    }
    void TearDown() override
    {
        dialog.SetMTimer(0);
        muitest::Pump();  // the stop runs on the UI thread before the window goes
        ControlTest::TearDown();
        MUI::Manager::SetSkinRoot(previousRoot);
        MUI::ClearSkinImageCache();
    }

    std::filesystem::path skin;
    std::wstring previousRoot;
};

TEST_F(GifPictureTest, FramesAdvanceOnlyWhileRunning)
{
    auto* gif = Make<MUI::CGifPicture>(L"CGifPicture", 30, RECT{1, 1, 101, 101});
    gif->SetImage(L"loading.gif");
    gif->AddAnimationTimer();
    ASSERT_EQ(gif->GetFrameCount(), 2);
    muitest::PumpUntil([] { return false; }, 150);
    EXPECT_EQ(gif->GetFrame(), 0);  // not running yet

    gif->SetRunning(true);
    EXPECT_TRUE(muitest::PumpUntil([&] { return gif->GetFrame() == 1; }));
    EXPECT_TRUE(muitest::PumpUntil([&] { return gif->GetFrame() == 0; }));  // wraps round
    gif->SetRunning(false);
    const int stopped = gif->GetFrame();
    muitest::PumpUntil([] { return false; }, 150);
    EXPECT_EQ(gif->GetFrame(), stopped);
}

TEST_F(GifPictureTest, AMissingPictureLeavesTheAreaBlank)
{
    auto* gif = Make<MUI::CGifPicture>(L"CGifPicture", 30, RECT{1, 1, 101, 101});
    gif->SetImage(L"no-such.gif");
    gif->SetRunning(true);
    gif->AddAnimationTimer();
    muitest::PumpUntil([] { return false; }, 100);
    EXPECT_EQ(gif->GetFrameCount(), 0);
    EXPECT_EQ(gif->GetFrame(), 0);
    const QImage shot = gif->Widget()->grab().toImage();
    ASSERT_FALSE(shot.isNull());
    EXPECT_EQ(qAlpha(shot.pixel(50, 50)), qAlpha(shot.pixel(1, 1)));
}

}  // namespace
