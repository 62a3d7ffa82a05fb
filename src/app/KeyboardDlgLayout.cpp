// The main window's layout: the frame, the page containers, the no-keyboard panel, the key
// views and the settings page, all at fixed pixel offsets from the client rectangle's edges.
#include "app/KeyboardDlg.h"
#include "app/KeyboardDlgLayoutRows.h"
#include "platform/mui/MPicture.h"

namespace {

using namespace MainId;

// Frame, containers and the four key views (key assignment, advanced keys, lighting,
// performance).
constexpr LayoutRow kFrameRows[] = {
    {kBackground, FromL(0), FromT(0), FromR(0), FromB(0)},
    {kCaptionBand, Px(1), Px(1), FromR(-1), Px(50)},
    {kCloseButton, FromR(-50), Px(10), FromR(-18), Px(40)},
    {kMinimizeButton, FromR(-100), Px(10), FromR(-68), Px(40)},
    // The four setting pills, 100 pixels wide at an even pitch of 103.
    {kTachyonModeCombo, FromR(-270), Px(20), FromR(-170), Px(56)},
    {kReportRateCombo, FromR(-373), Px(20), FromR(-273), Px(56)},
    {kDebounceCombo, FromR(-476), Px(20), FromR(-376), Px(56)},
    {kTickRateCombo, FromR(-579), Px(20), FromR(-479), Px(56)},
    {kTabCtrl, Px(130), Px(48), Px(1390), Px(108)},
    {kKeysPage, Px(0), Px(120), FromR(-5), FromB(0)},
    {kAdvancedKeysPage, Px(0), Px(120), FromR(-5), FromB(0)},
    {kLightingPage, Px(0), Px(120), FromR(-5), FromB(0)},
    {kPerformancePage, Px(0), Px(120), FromR(-5), FromB(0)},
    {kMacrosPage, Px(0), Px(120), FromR(-5), FromB(0)},
    {kSettingsPage, Px(0), Px(120), FromR(-5), FromB(0)},
    {kHomePage, Px(-5), Px(48), FromR(0), FromB(0)},
    {kHomeBackground, Px(-5), Px(48), FromR(0), FromB(0)},
    // The key views of the key-assignment (82), advanced-key (104), lighting (138) and
    // performance (272) pages.
    {82, Px(230), Px(200), FromR(-100), Px(540)},
    {104, Px(230), Px(200), FromR(-100), Px(540)},
    {138, Px(230), Px(200), FromR(-100), Px(540)},
    {272, Px(230), Px(200), FromR(-100), Px(540)},
};

constexpr LayoutRow kSettingsRows[] = {
    {kSetHeadingLine, Px(7), Px(154), Px(244), Px(156)},
    {kSetHeading, Px(65), Px(125), Px(195), Px(150)},
    {kSetDeviceLabel, Px(300), Px(200), Px(400), Px(225)},
    {kSetDeviceName, Px(300), Px(225), Px(650), Px(250)},
    {kSetSoftwareLabel, Px(700), Px(200), Px(800), Px(225)},
    {kSetSoftwareVersion, Px(700), Px(225), Px(1000), Px(250)},
    {kSetSoftwareHint, Px(700), Px(250), Px(1000), Px(270)},
    {kSetFirmwareLabel, Px(1100), Px(200), Px(1200), Px(225)},
    {kSetFirmwareVersion, Px(1100), Px(225), Px(1400), Px(250)},
    {kSetFirmwareHint, Px(1100), Px(250), Px(1400), Px(270)},
    {kSetThemeLabel, Px(690), Px(500), Px(790), Px(530)},
    {kSetFactoryReset, Px(690), Px(500), Px(836), Px(530)},
    {kSetThemeCombo, Px(690), Px(525), Px(890), Px(555)},
    {kSetStartupLabel, Px(300), Px(300), Px(440), Px(336)},
    {kSetAutorunCheck, Px(305), Px(336), Px(665), Px(366)},
    {kSetAutorunMinimize, Px(305), Px(372), Px(665), Px(402)},
    {kSetExitModeLabel, Px(700), Px(300), Px(820), Px(336)},
    {kSetExitToTray, Px(705), Px(336), Px(1065), Px(366)},
    {kSetExitProgram, Px(705), Px(372), Px(1065), Px(402)},
    {kSetAboutLine, Px(300), Px(530), Px(1290), Px(532)},
    {kSetWebsiteLabel, Px(300), Px(470), Px(480), Px(500)},
    {kSetWebsiteLink, Px(300), Px(495), Px(600), Px(525)},
    // The language chooser beside the startup and close choices, the key tester's link below
    // the web site's.
    {kSetLanguageLabel, Px(1100), Px(300), Px(1300), Px(336)},
    {kSetLanguageCombo, Px(1105), Px(336), Px(1305), Px(366)},
    {kSetKeyTestLabel, Px(300), Px(560), Px(480), Px(590)},
    {kSetKeyTestButton, Px(300), Px(585), Px(600), Px(615)},
    // The update checks under the two version texts they check.
    {kSetCheckSoftware, Px(700), Px(272), Px(860), Px(300)},
    {kSetCheckFirmware, Px(1100), Px(272), Px(1260), Px(300)},
    // The keyboard's key locks in a row below the links: name and switch, the hint beneath.
    {kSetWinLockLabel, Px(300), Px(640), Px(560), Px(670)},
    {kSetWinLockSwitch, Px(570), Px(640), Px(640), Px(670)},
    {kSetWinLockHint, Px(300), Px(672), Px(680), Px(697)},
    {kSetAltTabLabel, Px(700), Px(640), Px(960), Px(670)},
    {kSetAltTabSwitch, Px(970), Px(640), Px(1040), Px(670)},
    {kSetAltTabHint, Px(700), Px(672), Px(1080), Px(697)},
    {kSetAltF4Label, Px(1100), Px(640), Px(1360), Px(670)},
    {kSetAltF4Switch, Px(1370), Px(640), Px(1440), Px(670)},
    {kSetAltF4Hint, Px(1100), Px(672), Px(1480), Px(697)},
};

}  // namespace

void KeyboardDlg::UISize(const RECT& client)
{
    // Called by the library on every resize, also before InitUI has built anything.
    if (GetControl(kCloseButton) == nullptr) {
        return;
    }
    PlaceControls(*this, client, kFrameRows);

    // The no-keyboard panel's pictures and text are centred in the client area.
    const int x = (client.right - client.left - 300) / 2;
    const int y = (client.bottom - client.top - 158) / 2;
    for (unsigned id : {kNoConnectPicture, kNoConnectPicture1, kNoConnectPicture2}) {
        if (MUI::MControl* picture = GetControl(id)) {
            picture->SetRect(x, y, x + 278, y + 158);
        }
    }
    if (MUI::MControl* text = GetControl(kStatusText)) {
        text->SetRect(StatusTextRect(client));
    }

    LayoutCustomKeyPage(client);
    LayoutAdvKeyPage(client);
    LayoutMacroPage(client);
    LayoutLightPage(client);
    LayoutMusicControls(client);
    LayoutPerfPage(client);
    LayoutSettingsPage(client);
}

RECT KeyboardDlg::StatusTextRect(const RECT& client) const
{
    // Below the panel's picture, centred; the notice of a keyboard that may not be opened,
    // with its command, is wider and has the room of several lines.
    const bool notice = connection.statusTextId.load() == kStatusNoAccessText;
    const int width = notice ? 1100 : 600;
    const int x = (client.right - client.left - width) / 2;
    const int y = (client.bottom - client.top - 158) / 2 + 160;
    return RECT{x, y, x + width, y + (notice ? 170 : 60)};
}

void KeyboardDlg::LayoutSettingsPage(const RECT& client)
{
    PlaceControls(*this, client, kSettingsRows);
    // The about logo keeps its picture's own size.
    if (auto* logo = GetControlAs<MUI::MPicture>(kSetAboutLogo)) {
        logo->SetRect(1100, 400, 1100 + logo->GetImageWidth(), 400 + logo->GetImageHeight());
    }
}
