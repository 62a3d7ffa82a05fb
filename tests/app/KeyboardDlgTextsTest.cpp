#include <gtest/gtest.h>

#include <string>

#include "app/KeyboardDlgFixture.h"
#include "platform/mui/KeyFuncControl.h"
#include "platform/mui/KeyTypeTab.h"
#include "platform/mui/KeyValueList2.h"

namespace {

class KeyboardDlgTextsTest : public apptest::KeyboardDlgFixture {};

struct Text {
    unsigned id;
    enum { kCaption, kTooltip, kItem } kind;
    int item;
    const wchar_t* english;
    const wchar_t* chinese;
};

// A sample of every kind of text of the frame and the settings page.
const Text kTexts[] = {
    {32, Text::kCaption, 0, L"EC1", L"ZC1"},      {35, Text::kTooltip, 0, L"E16", L"Z16"},
    {36, Text::kTooltip, 0, L"E2", L"Z2"},        {37, Text::kTooltip, 0, L"E3", L"Z3"},
    {42, Text::kTooltip, 0, L"E60", L"Z60"},      {44, Text::kTooltip, 0, L"E62", L"Z62"},
    {45, Text::kCaption, 0, L"E63", L"Z63"},      {46, Text::kTooltip, 0, L"E64", L"Z64"},
    {50, Text::kItem, 2, L"E72", L"Z72"},         {52, Text::kItem, 3, L"E83", L"Z83"},
    {54, Text::kItem, 1, L"E86", L"Z86"},         {69, Text::kCaption, 0, L"E820", L"Z820"},
    {332, Text::kCaption, 0, L"E56", L"Z56"},     {340, Text::kCaption, 0, L"E590", L"Z590"},
    {343, Text::kCaption, 0, L"E1000", L"Z1000"}, {344, Text::kCaption, 0, L"E1001", L"Z1001"},
    {357, Text::kCaption, 0, L"E560", L"Z560"},   {362, Text::kItem, 0, L"E580", L"Z580"},
    {365, Text::kCaption, 0, L"E566", L"Z566"},   {369, Text::kCaption, 0, L"E568", L"Z568"},
    {387, Text::kCaption, 0, L"E579", L"Z579"},   {390, Text::kCaption, 0, L"E582", L"Z582"},
    {394, Text::kCaption, 0, L"EC2", L"ZC2"},
};

std::wstring Read(MUI::MControl* control, const Text& text)
{
    switch (text.kind) {
        case Text::kCaption:
            return control->GetTitle();
        case Text::kTooltip:
            return control->GetTooltip();
        case Text::kItem:
            return dynamic_cast<MUI::MComboBox*>(control)->GetItemText(text.item);
    }
    return {};
}

TEST_F(KeyboardDlgTextsTest, LanguageChangeRelabelsFrameTabsAndSettingsPage)
{
    KeyboardDlg& dlg = Build();
    for (const Text& text : kTexts) {
        SCOPED_TRACE(text.id);
        EXPECT_EQ(Read(Control(text.id), text), text.english);
    }
    // Fixed texts are not language texts; the model's name waits for a keyboard.
    EXPECT_EQ(Control(334)->GetTitle(), L"");
    EXPECT_EQ(Control(336)->GetTitle(), L"V1.0.0.2 (2025-11-25)");

    auto* tabs = ControlAs<MUI::MTabCtrl>(55);
    tabs->InsertItem(99, L"own caption", L"", nullptr);
    tabs->SetCurSel(3);

    CurrentLanguageId = 2052;
    dlg.ApplyLanguageTexts();
    for (const Text& text : kTexts) {
        SCOPED_TRACE(text.id);
        EXPECT_EQ(Read(Control(text.id), text), text.chinese);
    }
    const wchar_t* captions[] = {L"Z51", L"Z52", L"Z53", L"Z54", L"Z55", L"Z56"};
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(tabs->GetItemCaption(i), captions[i]);
    }
    EXPECT_EQ(tabs->GetItemCaption(6), L"own caption");
    // Re-labelling keeps selections and state.
    EXPECT_EQ(tabs->GetCurSel(), 3);
    EXPECT_EQ(ControlAs<MUI::MComboBox>(52)->GetTitle(), L"Z80");
    EXPECT_EQ(Control(334)->GetTitle(), L"");
}

TEST_F(KeyboardDlgTextsTest, KeyPaletteNamesItsDisableKeyAndMediaTilesInTheLanguage)
{
    KeyboardDlg& dlg = Build();
    const auto disableName = [this] {
        for (const auto& item : ControlAs<MUI::KeyFuncControl>(98)->GetItems())
            if (item.values[1] == MUI::KeyFuncControl::kDisableUsage) return item.name;
        return std::wstring(L"(none)");
    };
    EXPECT_EQ(disableName(), L"E860");
    // The media tab is open while the language changes: its tiles follow at once.
    ControlAs<MUI::KeyTypeTab>(97)->SetCurTab(1);
    dlg.BuildKeyValuePalette(1);
    EXPECT_EQ(ControlAs<MUI::KeyValueList2>(99)->GetItems().at(0).caption, L"E840");
    CurrentLanguageId = 2052;
    dlg.ApplyLanguageTexts();
    EXPECT_EQ(disableName(), L"Z860");
    const auto tiles = ControlAs<MUI::KeyValueList2>(99)->GetItems();
    ASSERT_EQ(tiles.size(), 20u);
    EXPECT_EQ(tiles[0].caption, L"Z840");
    EXPECT_EQ(tiles[19].caption, L"Z859");
}

TEST_F(KeyboardDlgTextsTest, CloseTooltipSaysExitOnlyWhenExitModeIsTwo)
{
    KeyboardDlg& dlg = Build();
    const std::pair<const wchar_t*, const wchar_t*> cases[] = {
        {L"0", L"E16"}, {L"1", L"E16"}, {L"2", L"E17"}, {L"x", L"E16"}};
    for (const auto& [mode, tooltip] : cases) {
        SCOPED_TRACE(mode);
        SetRegString(L"exit_mode", mode);
        dlg.ApplyLanguageTexts();
        EXPECT_EQ(Control(35)->GetTooltip(), tooltip);
    }
}

// Without its file a language shows the English texts built into the program.
TEST_F(KeyboardDlgTextsTest, MissingLanguageFileGivesTheBuiltInEnglishTexts)
{
    KeyboardDlg& dlg = Build();
    CurrentLanguageId = 1041;
    dlg.ApplyLanguageTexts();
    EXPECT_EQ(Control(69)->GetTitle(), L"No keyboard detected. Please connect your keyboard.");
    EXPECT_EQ(ControlAs<MUI::MTabCtrl>(55)->GetItemCaption(0), L"Keymap");
    EXPECT_EQ(ControlAs<MUI::MComboBox>(50)->GetItemCount(), 3);
    EXPECT_EQ(ControlAs<MUI::MComboBox>(50)->GetItemData(2), 2);
}

}  // namespace
