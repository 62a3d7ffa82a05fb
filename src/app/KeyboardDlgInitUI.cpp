// Construction of the main window: the frame, the page containers with the tab control that
// switches between them, and the no-keyboard panel; then the pages and the first layout.
#include "app/KeyboardDlg.h"
#include "app/KeyboardDlgBuilder.h"
#include "app/KeyboardDlgTexts.h"
#include "app/Language.h"

namespace {

using namespace MainId;

constexpr MUI::ARGB kBandColor = 0xFF3F4440;
constexpr MUI::ARGB kWhite = 0xFFFFFFFF;

MUI::MImageButton* WindowButton(const ControlBuilder& build, unsigned id, const wchar_t* image)
{
    auto* button = build.Control<MUI::MImageButton>(L"MImageButton", id);
    button->SetImage(image, 4);
    button->SetHoverColor(kBandColor, kWhite);
    button->SetPressedColor(kBandColor, kWhite);
    return button;
}

// One of the four keyboard-setting comboboxes; the item texts come with the frame's texts.
MUI::MComboBox2* SettingCombo(const ControlBuilder& build, unsigned id,
                              std::initializer_list<int> data)
{
    auto* combo = build.Control<MUI::MComboBox2>(L"MComboBox2", id);
    combo->SetImage(L"combobox_device_dropdown2.png");
    combo->SetFont(L"PingFang Medium_0", 14, MUI::kFontRegular);
    combo->SetTextColor(0xFF737373);
    combo->SetAlignment(MUI::kAlignRight);
    for (int value : data) {
        combo->AddItem(L"", value);
    }
    combo->SetCurSel(0);
    return combo;
}

void BuildFrame(const ControlBuilder& build, MainWindowControls& ui)
{
    ui.background = build.Area<MUI::MPicture>(L"MPicture", kBackground);
    ui.background->SetImage(L"main_bkg.png");

    ui.captionBand = build.Area<MUI::CRoundArea>(L"CRoundArea", kCaptionBand);
    ui.captionBand->SetColor(kBandColor);
    ui.captionBand->SetRoundRadius(0);
    ui.captionBand->SetVisible(false);

    ui.leftLogo = build.Area<MUI::MPicture>(L"MPicture", kLeftLogo);
    ui.leftLogo->SetImage(L"logo//left_logo.png");
    ui.titleLogo = build.Area<MUI::MPicture>(L"MPicture", kTitleLogo);
    ui.titleLogo->SetImage(L"logo//title_logo.png");

    ui.captionText = build.Area<MUI::MText>(L"MText", kCaptionText);
    ui.captionText->SetTextColor(MainColor::kText);
    ui.captionText->SetAlignment(MUI::kAlignCenter);
    ui.captionText->SetTextSize(20);

    ui.modelCombo = build.Control<MUI::MComboBox2>(L"MComboBox2", kModelCombo);
    ui.modelCombo->SetTextColor(MainColor::kList);
    ui.modelCombo->SetTextSize(23);
    ui.modelCombo->SetStyle(1);
    ui.modelCombo->SetEnabled(false);
    ui.modelCombo->AddItem(L"TOLVENIC-QX71", 101);
    ui.modelCombo->SetCurSel(0);

    ui.closeButton = WindowButton(build, kCloseButton, L"btn_close.png");
    ui.maximizeButton = WindowButton(build, kMaximizeButton, L"btn_max.png");
    ui.minimizeButton = WindowButton(build, kMinimizeButton, L"btn_min.png");

    ui.websiteButton = build.Control<MUI::MImageButton>(L"MImageButton", kWebsiteButton);
    ui.websiteButton->SetImage(L"icon\\btn_website.png");
    ui.userDocButton = build.Control<MUI::MImageButton>(L"MImageButton", kUserDocButton);
    ui.userDocButton->SetImage(L"icon\\btn_userdoc.png");
    ui.forumButton = build.Control<MUI::MImageButton>(L"MImageButton", kForumButton);
    ui.forumButton->SetImage(L"icon\\btn_bbs.png");
    ui.softwareUpgradeButton = build.Control<MUI::CTextButton>(L"CTextButton", kSoftwareUpgrade);
    ui.softwareUpgradeButton->SetImage(L"icon\\btn_softwareupgrade.png");
    ui.firmwareUpgradeButton = build.Control<MUI::CTextButton>(L"CTextButton", kFirmwareUpgrade);
    ui.firmwareUpgradeButton->SetImage(L"icon\\btn_firmwareupgrade.png");

    ui.calibrationIcon = build.Area<MUI::MPicture>(L"MPicture", kCalibrationIcon);
    ui.calibrationIcon->SetImage(L"icon\\icon_warn.png");
    ui.calibrationText =
        build.Area<MUI::MText>(L"MText", kCalibrationText, L"按键未校准，请重新校准按键");
    ui.calibrationText->SetTextColor(MainColor::kText);
    ui.comboDivider = build.Area<MUI::CRoundArea>(L"CRoundArea", kComboDivider);
    ui.comboDivider->SetColor(0xFF828282);

    ui.tickRateCombo = SettingCombo(build, kTickRateCombo, {0, 1, 2});
    ui.debounceCombo = SettingCombo(build, kDebounceCombo, {0, 1, 2});
    ui.reportRateCombo = SettingCombo(build, kReportRateCombo, {1, 2, 3, 4});
    ui.tachyonModeCombo = SettingCombo(build, kTachyonModeCombo, {0, 1});
    ui.rateText = build.Area<MUI::MText>(L"MText", kRateText, L"1000HZ");
    ui.rateText->SetTextColor(MainColor::kText);
}

void BuildPages(MUI::MDialog& window, MainWindowControls& ui)
{
    const ControlBuilder build(window);
    const struct {
        unsigned id;
        MUI::MTabLayout** slot;
    } containers[] = {
        {kKeysPage, &ui.keysPage},
        {kAdvancedKeysPage, &ui.advancedKeysPage},
        {kLightingPage, &ui.lightingPage},
        {kMacrosPage, &ui.macrosPage},
        {kPerformancePage, &ui.performancePage},
        {kSettingsPage, &ui.settingsPage},
        {kHomePage, &ui.homePage},
    };
    for (const auto& container : containers) {
        *container.slot = build.Control<MUI::MTabLayout>(L"MTabLayout", container.id);
        (*container.slot)->SetVisible(container.id == kKeysPage);
    }

    ui.tabBand = build.Area<MUI::CRoundArea>(L"CRoundArea", kTabBand);
    ui.tabBand->SetColor(0xFFF7F7F7);

    ui.tabCtrl = build.Control<MUI::MTabCtrl>(L"MTabCtrl", kTabCtrl);
    ui.tabCtrl->SetTextColor(0xFF3E3E3E);
    ui.tabCtrl->SetTextSize(25);
    ui.tabCtrl->SetTabWidth(210);
    ui.tabCtrl->SetTabHeight(60);
    ui.tabCtrl->SetPadding(0, 1260, 0, 40);
    for (const MainTab& tab : kMainTabs) {
        ui.tabCtrl->InsertItem(tab.page, GetLanString(tab.caption), tab.icon,
                               window.GetControl(tab.container), 4, 0);
    }
    ui.tabCtrl->SetItemWidth(210, 210, 1);
    ui.tabCtrl->SetItemHeight(60, 60, 1);
    ui.tabCtrl->SetCurSel(0);
    ui.tabCtrl->SetVisible(false);
}

void BuildHomePanel(MUI::MDialog& window, MainWindowControls& ui)
{
    const ControlBuilder build(window);
    ui.overlay = build.Area<MUI::CRoundArea>(L"CRoundArea", kOverlay);
    ui.overlay->SetColor(0x7D111F1F);
    ui.overlay->SetRoundRadius(0);

    const ControlBuilder panel(window, ui.homePage);
    ui.homeBackground = panel.Area<MUI::CRoundArea>(L"CRoundArea", kHomeBackground);
    ui.homeBackground->SetColor(kWhite);
    const wchar_t* pictures[] = {L"img_no_connect.png", L"img_no_connect1.png",
                                 L"img_no_connect2.png"};
    for (int i = 0; i < 3; ++i) {
        MUI::MPicture* picture =
            panel.Area<MUI::MPicture>(L"MPicture", kNoConnectPicture + static_cast<unsigned>(i));
        picture->SetImage(pictures[i]);
        picture->SetVisible(i == 0);
        ui.noConnectPictures[i] = picture;
    }
    ui.statusTitle = panel.Area<MUI::MText>(L"MText", kStatusText);
    ui.statusTitle->SetTextColor(MainColor::kSecondary);
    ui.statusTitle->SetVAlignment(MUI::kVAlignTop);
    ui.statusTitle->SetAlignment(MUI::kAlignCenter);
    ui.statusTitle->SetTextSize(20);
    ui.statusTitle->SetMultiLine(true);
}

}  // namespace

void KeyboardDlg::InitUI(const RECT& client)
{
    BuildFrame(ControlBuilder(*this), ui);
    BuildPages(*this, ui);
    BuildHomePanel(*this, ui);
    ApplyFrameTexts(*this);

    // The pages, in this order: key assignment, advanced keys, macros, lighting, the lighting
    // page's music controls, performance, settings.
    BuildKeyPage();
    BuildMacroPage();
    BuildLightPage();
    BuildAdvKeyPage();
    BuildPerfPage();
    BuildSettingsPage();

    UISize(client);
}
