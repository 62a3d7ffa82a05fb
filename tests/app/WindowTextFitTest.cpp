// Every text the main window shows fits the box its control draws it in, in every shipped
// language and on every page. The window is loaded from the virtual keyboard as a user finds
// it; then each control the window holds is painted offscreen and every text it drew is
// measured with its own font. Lists show each of their items in turn, the key palette each of
// its tabs and the layer selectors each layer, so pages and controls that come later are
// checked without being named here.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "app/Environment.h"
#include "app/Language.h"
#include "app/MainWindowTestSupport.h"
#include "platform/mui/KeyLayerCtrl.h"
#include "platform/mui/KeyTypeTab.h"
#include "platform/mui/MComboBox.h"
#include "platform/mui/Manager.h"
#include "platform/mui/SkinImages.h"
#include "platform/mui/TextFit.h"
#include "platform/text/Utf8.h"

namespace {

namespace fs = std::filesystem;

class WindowTextFitTest : public apptest::MainWindowTest,
                          public ::testing::WithParamInterface<int> {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        // The program's folder: the data files and the skin the build draws beside the program.
        const fs::path program = fs::path(TV_PROGRAM_PATH).parent_path();
        SetModuleFolder(text::Utf8ToWide(program.string()) + L"/");
        MUI::Manager::SetSkinRoot(text::Utf8ToWide((program / "skins" / "default").string()));
        MUI::ClearSkinImageCache();
        CurrentLanguageId = GetParam();
    }
    void TearDown() override
    {
        MainWindowTest::TearDown();
        CurrentLanguageId = 1033;
        MUI::Manager::SetSkinRoot(L"");
        MUI::ClearSkinImageCache();
    }

    // Notes every text of the window that does not fit, once per control and text.
    void CheckWindow(const std::string& state)
    {
        for (MUI::MControl* control : dlg->GetControls()) {
            auto* combo = dynamic_cast<MUI::MComboBox*>(control);
            if (combo == nullptr || combo->GetItemCount() == 0) {
                CheckTexts(*control, state);
                continue;
            }
            // A list shows whichever item is chosen.
            const int chosen = combo->GetCurSel();
            for (int i = 0; i < combo->GetItemCount(); ++i) {
                combo->SetCurSel(i);
                CheckTexts(*control, state);
            }
            combo->SetCurSel(chosen);
        }
    }

    void CheckTexts(MUI::MControl& control, const std::string& state)
    {
        for (const MUI::DrawnText& text : MUI::RecordDrawnTexts(control)) {
            if (MUI::TextFits(text)) continue;
            if (!seen_.insert({control.GetID(), text.text}).second) continue;
            const QSizeF needed = MUI::NeededSize(text);
            std::ostringstream line;
            line << "  control " << control.GetID() << " ("
                 << text::WideToUtf8(control.GetClassName()) << ", " << state << "): \""
                 << text::WideToUtf8(text.text) << "\" needs " << needed.width() << " x "
                 << needed.height() << " in a " << text.box.width() << " x " << text.box.height()
                 << " box, " << text::WideToUtf8(text.font.face) << " " << text.font.size << " px";
            offenders_.push_back(line.str());
        }
    }

    // Shows each tab of every palette and each layer of every layer selector in turn.
    void CheckEveryState()
    {
        CheckWindow("as loaded");
        for (MUI::MControl* control : dlg->GetControls()) {
            if (auto* tabs = dynamic_cast<MUI::KeyTypeTab*>(control)) {
                for (int tab = 0; tab < MUI::KeyTypeTab::kTabCount; ++tab) {
                    tabs->SetCurTab(tab);
                    dlg->OnMessage(tabs->GetID(), MUI::kNotifyClick, tab);
                    CheckWindow("palette tab " + std::to_string(tab));
                }
                tabs->SetCurTab(0);
                dlg->OnMessage(tabs->GetID(), MUI::kNotifyClick, 0);
            }
            if (auto* layers = dynamic_cast<MUI::KeyLayerCtrl*>(control)) {
                for (int i = 0; i < layers->GetItemCount(); ++i) {
                    layers->SetSelectKeyLayer(layers->GetItemLayer(i));
                    dlg->OnMessage(layers->GetID(), MUI::kNotifyClick, 0);
                    CheckWindow("layer " + std::to_string(layers->GetItemLayer(i)));
                }
                layers->SetSelectKeyLayer(layers->GetItemLayer(0));
                dlg->OnMessage(layers->GetID(), MUI::kNotifyClick, 0);
            }
        }
    }

    std::set<std::pair<unsigned, std::wstring>> seen_;
    std::vector<std::string> offenders_;
};

TEST_P(WindowTextFitTest, EveryTextFitsItsControl)
{
    Plug();
    CreateWindow();
    ASSERT_TRUE(Drain());
    ASSERT_TRUE(TabsShown());
    CheckEveryState();

    std::string report;
    for (const std::string& line : offenders_) report += line + "\n";
    EXPECT_TRUE(offenders_.empty())
        << offenders_.size() << " texts do not fit in language " << GetParam() << ":\n"
        << report;
}

INSTANTIATE_TEST_SUITE_P(ShippedLanguages, WindowTextFitTest, ::testing::Values(1033, 2052),
                         [](const auto& info) { return "Language" + std::to_string(info.param); });

}  // namespace
