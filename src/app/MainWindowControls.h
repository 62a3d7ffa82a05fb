// The main window's control ids for the frame, the page containers, the no-keyboard panel and
// the settings page, and the pointers the window keeps to those controls. The controls belong
// to the window (the UI library frees them with it); the pointers are set while the window is
// built and stay valid until it is destroyed. A pointer is null before construction.
#pragma once

#include "app/MainPage.h"
#include "platform/mui/CCheckButton.h"
#include "platform/mui/CIconButton.h"
#include "platform/mui/CRadioButton.h"
#include "platform/mui/CRoundArea.h"
#include "platform/mui/CSwitchButton.h"
#include "platform/mui/CTextButton.h"
#include "platform/mui/MButton.h"
#include "platform/mui/MComboBox.h"
#include "platform/mui/MComboBox2.h"
#include "platform/mui/MImageButton.h"
#include "platform/mui/MPicture.h"
#include "platform/mui/MTabCtrl.h"
#include "platform/mui/MTabLayout.h"
#include "platform/mui/MText.h"

// Control ids of the main window (frame, containers, no-keyboard panel, settings page).
namespace MainId {

// Frame.
inline constexpr unsigned kBackground = 30;        // MPicture, whole client area
inline constexpr unsigned kCaptionBand = 31;       // CRoundArea behind the title band
inline constexpr unsigned kCaptionText = 32;       // MText, title band text
inline constexpr unsigned kTitleLogo = 33;         // MPicture
inline constexpr unsigned kLeftLogo = 34;          // MPicture
inline constexpr unsigned kCloseButton = 35;       // MImageButton
inline constexpr unsigned kMaximizeButton = 36;    // MImageButton
inline constexpr unsigned kMinimizeButton = 37;    // MImageButton
inline constexpr unsigned kStoreLink = 38;         // routed only: opens the store link
inline constexpr unsigned kModelCombo = 39;        // MComboBox2, keyboard model
inline constexpr unsigned kWebsiteButton = 42;     // MImageButton
inline constexpr unsigned kUserDocButton = 43;     // MImageButton
inline constexpr unsigned kForumButton = 44;       // MImageButton
inline constexpr unsigned kSoftwareUpgrade = 45;   // CTextButton
inline constexpr unsigned kFirmwareUpgrade = 46;   // CTextButton
inline constexpr unsigned kCalibrationIcon = 47;   // MPicture, "not calibrated" warning icon
inline constexpr unsigned kCalibrationText = 48;   // MText, "not calibrated" warning
inline constexpr unsigned kComboDivider = 49;      // CRoundArea
inline constexpr unsigned kTickRateCombo = 50;     // MComboBox2, "tick_rate"
inline constexpr unsigned kDebounceCombo = 51;     // MComboBox2, "debounce_level"
inline constexpr unsigned kReportRateCombo = 52;   // MComboBox2, "reporte_rate"
inline constexpr unsigned kRateText = 53;          // MText, "1000HZ"
inline constexpr unsigned kTachyonModeCombo = 54;  // MComboBox2, "perf_tachyon_mode"
inline constexpr unsigned kTabCtrl = 55;           // MTabCtrl, one item per page
inline constexpr unsigned kTabBand = 56;           // CRoundArea behind the tabs

// Page containers (MTabLayout).
inline constexpr unsigned kKeysPage = 57;
inline constexpr unsigned kAdvancedKeysPage = 58;
inline constexpr unsigned kLightingPage = 59;
inline constexpr unsigned kMacrosPage = 60;
inline constexpr unsigned kPerformancePage = 61;
inline constexpr unsigned kSettingsPage = 62;
inline constexpr unsigned kHomePage = 63;  // the no-keyboard panel

// No-keyboard panel (64-67 and 69 inside container 63).
inline constexpr unsigned kHomeBackground = 64;     // CRoundArea
inline constexpr unsigned kNoConnectPicture = 65;   // MPicture, "img_no_connect.png"
inline constexpr unsigned kNoConnectPicture1 = 66;  // MPicture, "img_no_connect1.png"
inline constexpr unsigned kNoConnectPicture2 = 67;  // MPicture, "img_no_connect2.png"
inline constexpr unsigned kOverlay = 68;            // CRoundArea, translucent
inline constexpr unsigned kStatusText = 69;         // MText, connection status (820 / 821 / 822 / 823)
// The status text telling that the keyboard is there but may not be opened; the status then
// adds the command that installs the udev rule and takes the room of several lines.
inline constexpr int kStatusNoAccessText = 822;

// Settings page (inside container 62).
inline constexpr unsigned kSetHeadingIcon = 330;      // MPicture
inline constexpr unsigned kSetHeadingLine = 331;      // CRoundArea
inline constexpr unsigned kSetHeading = 332;          // MText 56
inline constexpr unsigned kSetDeviceLabel = 333;      // MText 550
inline constexpr unsigned kSetDeviceName = 334;       // MText, the model's name
inline constexpr unsigned kSetSoftwareLabel = 335;    // MText 551
inline constexpr unsigned kSetSoftwareVersion = 336;  // CTextButton
inline constexpr unsigned kSetSoftwareHint = 337;     // MText 590
inline constexpr unsigned kSetFirmwareLabel = 338;    // MText 591
inline constexpr unsigned kSetFirmwareVersion = 339;  // CTextButton, checks firmware
inline constexpr unsigned kSetFirmwareHint = 340;     // MText 590
inline constexpr unsigned kSetMagnetLabel = 341;      // MText, hidden
inline constexpr unsigned kSetMagnetCombo = 342;      // MComboBox, hidden
inline constexpr unsigned kSetCheckSoftware = 343;    // MButton 1000
inline constexpr unsigned kSetCheckFirmware = 344;    // MButton 1001
inline constexpr unsigned kSetKeyboardPicture = 345;  // MPicture
inline constexpr unsigned kSetWinLockLabel = 346;     // MText 552
inline constexpr unsigned kSetWinLockSwitch = 347;    // CSwitchButton
inline constexpr unsigned kSetWinLockHint = 348;      // MText 553
inline constexpr unsigned kSetAltTabLabel = 349;      // MText 554
inline constexpr unsigned kSetAltTabSwitch = 350;     // CSwitchButton
inline constexpr unsigned kSetAltTabHint = 351;       // MText 555
inline constexpr unsigned kSetAltF4Label = 352;       // MText 556
inline constexpr unsigned kSetAltF4Switch = 353;      // CSwitchButton
inline constexpr unsigned kSetAltF4Hint = 354;        // MText 557
inline constexpr unsigned kSetExportProfiles = 355;   // CIconButton 558
inline constexpr unsigned kSetImportProfiles = 356;   // CIconButton 559
inline constexpr unsigned kSetFactoryReset = 357;     // CIconButton 560
inline constexpr unsigned kSetCopyDebugInfo = 358;    // CIconButton 561
inline constexpr unsigned kSetLanguageLabel = 359;    // MText 562
inline constexpr unsigned kSetLanguageCombo = 360;    // MComboBox, item data = language id
inline constexpr unsigned kSetThemeLabel = 361;       // MText 563, hidden
inline constexpr unsigned kSetThemeCombo = 362;       // MComboBox, hidden
inline constexpr unsigned kSetStartupLabel = 363;     // MText 564
inline constexpr unsigned kSetAutorunCheck = 364;     // CCheckButton 565
inline constexpr unsigned kSetAutorunMinimize = 365;  // CCheckButton 566
inline constexpr unsigned kSetDivider1 = 366;         // CRoundArea
inline constexpr unsigned kSetDivider2 = 367;         // CRoundArea
inline constexpr unsigned kSetExitModeLabel = 368;    // MText 567
inline constexpr unsigned kSetExitToTray = 369;       // CRadioButton 568 ("exit_mode" 1)
inline constexpr unsigned kSetExitProgram = 370;      // CRadioButton 569
inline constexpr unsigned kSetAboutLogo = 371;        // MPicture
inline constexpr unsigned kSetAboutLine = 372;        // CRoundArea
inline constexpr unsigned kSetInfoPicture = 373;      // MPicture
inline constexpr unsigned kSetWebsiteLabel = 374;     // MText 570
inline constexpr unsigned kSetWebsiteLink = 375;      // CTextButton, the seller's page
inline constexpr unsigned kSetAboutLabel = 376;       // MText 592
inline constexpr unsigned kSetPrivacyText = 377;      // MText 571
inline constexpr unsigned kSetTermsText = 378;        // MText 572, hidden
inline constexpr unsigned kSetLicencesText = 379;     // MText 573
inline constexpr unsigned kSetSupportLabel = 380;     // MText 574
inline constexpr unsigned kSetSupportLink = 381;      // CTextButton
inline constexpr unsigned kSetDownloadsLabel = 382;   // MText 575
inline constexpr unsigned kSetDownloadsLink = 383;    // CTextButton
inline constexpr unsigned kSetKeyTestLabel = 384;     // MText 576
inline constexpr unsigned kSetKeyTestButton = 385;    // CTextButton 577, opens the key tester
inline constexpr unsigned kSetFeedbackLabel = 386;    // MText 578
inline constexpr unsigned kSetFeedbackLink = 387;     // CTextButton 579
inline constexpr unsigned kSetUpgradeHint = 388;      // MText 581
inline constexpr unsigned kSetCopyright = 390;        // MText 582
inline constexpr unsigned kSetSellerLink = 391;       // routed only: opens the seller's page
inline constexpr unsigned kSetCaptionText = 394;      // MText, "CAPTION" 2

// Name of the exit-mode radio group.
inline constexpr const wchar_t* kExitModeGroup = L"IDC_SET_STC_EXITMODE";

}  // namespace MainId

// The window's three text colours.
namespace MainColor {
inline constexpr MUI::ARGB kText = 0xFF3E3E3E;
inline constexpr MUI::ARGB kSecondary = 0xFF737373;
inline constexpr MUI::ARGB kList = 0xFF000000;
}  // namespace MainColor

// The tab control's items in tab order: item id (the page), caption text number, icon and the
// container the item shows.
struct MainTab {
    int page;
    int caption;
    const wchar_t* icon;
    unsigned container;
};
inline constexpr MainTab kMainTabs[] = {
    {PAGE_KEYS, 51, L"icon\\tab_customkey.png", MainId::kKeysPage},
    {PAGE_PERFORMANCE, 52, L"icon\\tab_perf.png", MainId::kPerformancePage},
    {PAGE_ADVANCED_KEYS, 53, L"icon\\tab_advkey.png", MainId::kAdvancedKeysPage},
    {PAGE_MACROS, 54, L"icon\\tab_macro.png", MainId::kMacrosPage},
    {PAGE_LIGHTING, 55, L"icon\\tab_light.png", MainId::kLightingPage},
    {PAGE_SETTINGS, 56, L"icon\\tab_config.png", MainId::kSettingsPage},
};

// The web addresses the settings page shows and opens.
namespace MainLink {
inline constexpr const wchar_t* kSellerPage = L"https://www.example.com/tolvenic/";
inline constexpr const wchar_t* kSupportPage = L"https://www.example.com/tolvenic/support/";
inline constexpr const wchar_t* kDownloadsPage = L"https://www.example.com/tolvenic/downloads/";
}  // namespace MainLink

// The window's pointers to the frame, the containers, the no-keyboard panel and the settings
// page. Controls of the other pages are kept by those pages' own state.
struct MainWindowControls {
    // Frame.
    MUI::MPicture* background = nullptr;                // 30
    MUI::CRoundArea* captionBand = nullptr;             // 31
    MUI::MText* captionText = nullptr;                  // 32
    MUI::MPicture* titleLogo = nullptr;                 // 33
    MUI::MPicture* leftLogo = nullptr;                  // 34
    MUI::MComboBox2* modelCombo = nullptr;              // 39
    MUI::MImageButton* closeButton = nullptr;           // 35
    MUI::MImageButton* maximizeButton = nullptr;        // 36
    MUI::MImageButton* minimizeButton = nullptr;        // 37
    MUI::MImageButton* websiteButton = nullptr;         // 42
    MUI::MImageButton* userDocButton = nullptr;         // 43
    MUI::MImageButton* forumButton = nullptr;           // 44
    MUI::CTextButton* softwareUpgradeButton = nullptr;  // 45
    MUI::CTextButton* firmwareUpgradeButton = nullptr;  // 46
    MUI::MPicture* calibrationIcon = nullptr;           // 47
    MUI::MText* calibrationText = nullptr;              // 48
    MUI::CRoundArea* comboDivider = nullptr;            // 49
    MUI::MComboBox2* tickRateCombo = nullptr;           // 50
    MUI::MComboBox2* debounceCombo = nullptr;           // 51
    MUI::MComboBox2* reportRateCombo = nullptr;         // 52
    MUI::MComboBox2* tachyonModeCombo = nullptr;        // 54
    MUI::MText* rateText = nullptr;                     // 53
    MUI::MTabCtrl* tabCtrl = nullptr;                   // 55
    MUI::CRoundArea* tabBand = nullptr;                 // 56

    // Page containers.
    MUI::MTabLayout* keysPage = nullptr;          // 57
    MUI::MTabLayout* advancedKeysPage = nullptr;  // 58
    MUI::MTabLayout* lightingPage = nullptr;      // 59
    MUI::MTabLayout* macrosPage = nullptr;        // 60
    MUI::MTabLayout* performancePage = nullptr;   // 61
    MUI::MTabLayout* settingsPage = nullptr;      // 62
    MUI::MTabLayout* homePage = nullptr;          // 63, the no-keyboard panel

    // No-keyboard panel.
    MUI::CRoundArea* overlay = nullptr;         // 68
    MUI::CRoundArea* homeBackground = nullptr;  // 64
    // The three progress pictures 65, 66, 67 (one shown at a time).
    MUI::MPicture* noConnectPictures[3] = {nullptr, nullptr, nullptr};
    // The connection status text (69): 820 without a keyboard, 821 with one.
    MUI::MText* statusTitle = nullptr;

    // Settings page.
    struct Settings {
        MUI::MText* heading = nullptr;                 // 332
        MUI::MText* deviceName = nullptr;              // 334
        MUI::CTextButton* softwareVersion = nullptr;   // 336
        MUI::CTextButton* firmwareVersion = nullptr;   // 339, the firmware version label
        MUI::MComboBox* magnetCombo = nullptr;         // 342
        MUI::MButton* checkSoftware = nullptr;         // 343
        MUI::MButton* checkFirmware = nullptr;         // 344
        MUI::MPicture* keyboardPicture = nullptr;      // 345
        MUI::CSwitchButton* winLockSwitch = nullptr;   // 347
        MUI::CSwitchButton* altTabSwitch = nullptr;    // 350
        MUI::CSwitchButton* altF4Switch = nullptr;     // 353
        MUI::CIconButton* factoryReset = nullptr;      // 357
        MUI::MComboBox* languageCombo = nullptr;       // 360
        MUI::MComboBox* themeCombo = nullptr;          // 362
        MUI::CCheckButton* autorunCheck = nullptr;     // 364
        MUI::CCheckButton* autorunMinimize = nullptr;  // 365
        MUI::CRadioButton* exitToTray = nullptr;       // 369
        MUI::CRadioButton* exitProgram = nullptr;      // 370
        MUI::MPicture* aboutLogo = nullptr;            // 371
        MUI::CTextButton* websiteLink = nullptr;       // 375
        MUI::CTextButton* keyTestButton = nullptr;     // 385
    } settings;
};
