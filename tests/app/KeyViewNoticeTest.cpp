// What the key views show before and around a keyboard's layout: the preset chooser names a
// preset from the start, a layout or picture that cannot be loaded is named on one line in the
// key views instead of leaving them blank, and the model's lighting range and pictures reach
// the pages.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "app/KeyboardDlgFixture.h"
#include "platform/mui/KeyboardCtrl.h"
#include "platform/mui/MComboBox.h"
#include "platform/mui/MPicture.h"
#include "platform/mui/MSlider.h"
#include "platform/mui/TextFit.h"
#include "storage/KBDataBase.h"

namespace {

namespace fs = std::filesystem;

class KeyViewNoticeTest : public apptest::KeyboardDlgFixture {
protected:
    void TearDown() override
    {
        KBDataBase::GetInstance().Close();
        KeyboardDlgFixture::TearDown();
    }

    // Loads model 101 from `layout` written as its layout file.
    void LoadLayout(KeyboardDlg& dlg, const std::string& layout)
    {
        const fs::path folder = fs::path(GetModuleFolder()) / "layouts";
        fs::create_directories(folder);
        std::ofstream(folder / "qx71_max.xml") << layout;
        DeviceModel keyboard;
        keyboard.name = L"KeyViewNoticeTest";
        keyboard.id = 101;
        keyboard.layoutKey = L"qx71_max";
        {
            std::lock_guard lock(dlg.model.mutex);
            dlg.model.models = {keyboard};
        }
        dlg.LoadKeyboardLayout(101);
    }
};

TEST_F(KeyViewNoticeTest, PresetChooserShowsTheFirstPresetFromTheStart)
{
    Build();
    auto* presets = ControlAs<MUI::MComboBox>(90);
    ASSERT_NE(presets, nullptr);
    EXPECT_EQ(presets->GetCurData(), 202);
    EXPECT_EQ(presets->GetTitle(), L"E225");
}

TEST_F(KeyViewNoticeTest, LayoutThatDoesNotLoadIsNamedOnOneLineInEveryKeyView)
{
    KeyboardDlg& dlg = Build();
    // A layout file cut off in the middle of its keys.
    LoadLayout(dlg,
               "<?xml version=\"1.0\"?><device.info><Keyboard bk_color=\"232323\" "
               "width=\"100\" height=\"50\"><KeyItems><key code=\"29\" name=\"Esc\"");
    const std::vector<MUI::KeyboardCtrl*> views = dlg.KeyViews();
    ASSERT_FALSE(views.empty());
    for (MUI::KeyboardCtrl* view : views) {
        EXPECT_EQ(view->GetKeyItemCount(), 0);
        EXPECT_EQ(view->GetTitle(), L"E830 qx71_max.xml");
    }
    const std::vector<MUI::DrawnText> drawn = MUI::RecordDrawnTexts(*views.front());
    ASSERT_EQ(drawn.size(), 1u);
    EXPECT_EQ(drawn[0].text, L"E830 qx71_max.xml");
    EXPECT_FALSE(drawn[0].multiLine);
    EXPECT_TRUE(MUI::TextFits(drawn[0]));
}

TEST_F(KeyViewNoticeTest, MissingKeyboardPictureIsNamedUnderTheKeys)
{
    KeyboardDlg& dlg = Build();
    // The test folder holds no skin, so the model's key view picture cannot be loaded.
    LoadLayout(dlg,
               "<?xml version=\"1.0\"?><device.info><Keyboard bk_color=\"232323\" "
               "width=\"100\" height=\"50\"><KeyItems><key code=\"29\" name=\"Esc\" "
               "rect_left=\"0\" rect_top=\"0\" rect_width=\"40\" rect_height=\"40\" "
               "row_col=\"0-0\"/></KeyItems></Keyboard></device.info>");
    for (MUI::KeyboardCtrl* view : dlg.KeyViews()) {
        EXPECT_EQ(view->GetKeyItemCount(), 1);
        EXPECT_EQ(view->GetTitle(), L"E831 keyboard/keyboardctrl_bg1.png");
    }
}

TEST_F(KeyViewNoticeTest, ModelLayoutSetsTheBrightnessRangeAndThePicturesUnderTheKeys)
{
    KeyboardDlg& dlg = Build();
    auto* brightness = ControlAs<MUI::MSlider>(154);
    ASSERT_NE(brightness, nullptr);
    EXPECT_EQ(brightness->GetRangeMax(), 100);
    LoadLayout(dlg,
               "<?xml version=\"1.0\"?><device.info><light rgb_keyboard=\"1\" "
               "default_mode=\"1\" default_brightness=\"4\" default_speed=\"2\" "
               "brightness_max=\"4\" speed_max=\"9\"/><Keyboard bk_color=\"232323\" "
               "width=\"100\" height=\"50\"><KeyItems><key code=\"29\" name=\"Esc\" "
               "rect_left=\"0\" rect_top=\"0\" rect_width=\"40\" rect_height=\"40\" "
               "row_col=\"0-0\"/></KeyItems></Keyboard></device.info>");
    // The settings page names the model.
    EXPECT_EQ(Control(334)->GetTitle(), L"KeyViewNoticeTest");
    EXPECT_EQ(brightness->GetRangeMin(), 0);
    EXPECT_EQ(brightness->GetRangeMax(), 4);
    // The speed keeps its five levels whatever the file says.
    auto* speed = ControlAs<MUI::MSlider>(156);
    ASSERT_NE(speed, nullptr);
    EXPECT_EQ(speed->GetRangeMax(), 4);
    for (const unsigned id : {83u, 105u, 139u, 273u}) {
        SCOPED_TRACE(id);
        auto* picture = ControlAs<MUI::MPicture>(id);
        ASSERT_NE(picture, nullptr);
        EXPECT_EQ(picture->GetImage(), L"keyboard/keyboardctrl_bg1.png");
        EXPECT_EQ(picture->GetRect(), (RECT{350, 190, 1420, 540}));
    }
    EXPECT_EQ(ControlAs<MUI::MPicture>(218)->GetImage(), L"keyboard/keyboardctrl_bg.png");
    for (MUI::KeyboardCtrl* view : dlg.KeyViews()) {
        EXPECT_EQ(view->GetModelId(), 101);
        // The views themselves keep the page layout's rectangle.
        EXPECT_EQ(view->GetRect(), (RECT{230, 200, 1500, 540}));
        // ...and draw the keys on the picture.
        EXPECT_EQ(view->GetBoardArea(), (RECT{350, 190, 1420, 540}));
    }
}

}  // namespace
