// The macro page's controls: construction inside the page's container, their rectangles, their
// language texts, and the routing of their notifications.
#include <string>

#include "app/KeyboardDlg.h"
#include "app/KeyboardDlgBuilder.h"
#include "app/KeyboardDlgLayoutRows.h"
#include "app/Language.h"
#include "macros/MacroNames.h"
#include "platform/mui/CImageButton.h"
#include "platform/mui/CRadioButton.h"
#include "platform/mui/CRecordList.h"
#include "platform/mui/CRoundArea.h"
#include "platform/mui/MButton.h"
#include "platform/mui/MComboBox.h"
#include "platform/mui/MEdit.h"
#include "platform/mui/MImageButton.h"
#include "platform/mui/MListBox.h"
#include "platform/mui/MPicture.h"
#include "platform/mui/MText.h"

namespace {

using namespace MacroPageId;

constexpr MUI::ARGB kHeadingColor = 0xFF404040;
constexpr MUI::ARGB kPanelColor = 0xFFF5F5F5;
constexpr MUI::ARGB kBandColor = 0xFFE8E8E8;
constexpr MUI::ARGB kLineColor = 0xFFD0D0D0;

constexpr unsigned kPanel = 214;
constexpr unsigned kHeadingLine = 216;
constexpr unsigned kHeading = 217;
constexpr unsigned kKeyboardPicture = 218;
constexpr unsigned kKeyPicture = 224;
constexpr unsigned kRecordDivider = 252;
constexpr unsigned kStepListArea = 253;
constexpr unsigned kStepListBand = 259;
constexpr unsigned kSpareAreas[] = {215, 265};
constexpr unsigned kTexts[] = {kHeading, kProfileLabel, 225, 227, 242, 244,
                               249,      254,           260, 261, 262};

// Captions and tooltips (0: none).
constexpr struct {
    unsigned id;
    int caption;
    int tooltip;
} kPageTexts[] = {
    {kHeading, 54, 0},
    {kProfileLabel, 100, 0},
    {kProfileMenu, 0, 38},
    {225, 300, 0},
    {227, 301, 0},
    {kKeyEventRadio, 304, 0},
    {kMouseEventRadio, 305, 0},
    {kTextEventRadio, 306, 0},
    {kInsertEvent, 310, 344},
    {kNewMacro, 311, 0},
    {kDeleteMacro, 312, 0},
    {kCopyMacro, 31, 0},
    {kImportMacro, 26, 0},
    {kExportMacro, 27, 0},
    {kRenameMacro, 33, 0},
    {242, 342, 0},
    {244, 316, 0},
    {kDelayRecorded, 317, 0},
    {kDelayNone, 318, 0},
    {kDelayFixed, 319, 0},
    {249, 320, 0},
    {kStartRecording, 321, 343},
    {kStopRecording, 322, 345},
    {254, 323, 0},
    {kStepUp, 0, 326},
    {kStepDown, 0, 327},
    {kDeleteStep, 0, 312},
    {kClearSteps, 0, 324},
    {kSave, 329, 0},
    {260, 335, 0},
    {261, 336, 0},
    {262, 337, 0},
    {kExportProfile, 0, 106},
    {kImportProfile, 0, 107},
};
constexpr int kInsertPositionTexts[] = {302, 303};
constexpr int kMouseButtonTexts[] = {307, 308, 309};
// The macro list's context menu: item and text.
constexpr struct {
    int item;
    int text;
} kListMenu[] = {{MACRO_MENU_NEW, 311},    {MACRO_MENU_DELETE, 312}, {MACRO_MENU_COPY, 31},
                 {MACRO_MENU_PASTE, 2502}, {MACRO_MENU_IMPORT, 26},  {MACRO_MENU_EXPORT, 27},
                 {MACRO_MENU_RENAME, 33}};
constexpr int kDefaultMacroWord = 331;

constexpr LayoutRow kMacroPageRows[] = {
    {kKeyboardPicture, Px(330), Px(200), FromR(-100), Px(560)},
    {kPanel, Px(350), FromB(-400), Px(1390), FromB(-80)},
    {kHeadingLine, Px(7), Px(154), Px(244), Px(156)},
    {kHeading, Px(65), Px(125), Px(195), Px(150)},
    {kExportProfile, FromL(185), Px(610), FromL(215), Px(640)},
    {kImportProfile, FromL(218), Px(610), FromL(248), Px(640)},
    {kMacroList, Px(33), Px(205), Px(203), FromB(-410)},
    {227, Px(380), Px(585), Px(651), Px(615)},
    {kInsertPosition, Px(380), Px(615), Px(670), Px(641)},
    {kKeyEventRadio, Px(380), Px(655), Px(560), Px(685)},
    {kMouseEventRadio, Px(380), Px(690), Px(560), Px(720)},
    {kKeyBox, Px(380), Px(735), Px(631), Px(758)},
    {kTextBox, Px(380), Px(735), Px(631), Px(758)},
    {kMouseButtonCombo, Px(380), Px(735), Px(631), Px(758)},
    {kInsertEvent, Px(380), Px(785), Px(445), Px(808)},
    {244, Px(700), Px(585), Px(860), Px(615)},
    {kPlayCount, Px(700), Px(615), Px(890), Px(638)},
    {kDelayRecorded, Px(700), Px(661), Px(951), Px(691)},
    {kDelayNone, Px(700), Px(696), Px(1000), Px(726)},
    {kDelayFixed, Px(700), Px(731), Px(860), Px(761)},
    {kFixedDelay, Px(700), Px(781), Px(890), Px(804)},
    {249, Px(895), Px(779), Px(970), Px(809)},
    {kStartRecording, FromR(-400), FromB(-260), FromR(-286), FromB(-237)},
    {kStopRecording, FromR(-400), FromB(-260), FromR(-286), FromB(-237)},
    {kRecordDivider, FromR(-440), FromB(-310), FromR(-438), FromB(-165)},
    {254, Px(0), Px(570), Px(160), Px(600)},
    {kStepListArea, Px(5), Px(650), Px(250), FromB(-80)},
    {kStepListBand, Px(7), Px(651), Px(248), Px(680)},
    {260, Px(-30), Px(650), Px(130), Px(680)},
    {261, Px(70), Px(650), Px(170), Px(680)},
    {262, Px(150), Px(650), Px(270), Px(680)},
    {kStepList, Px(0), Px(680), Px(253), FromB(-80)},
    {kSave, Px(760), FromB(-155), Px(840), FromB(-132)},
    {kStepDown, Px(5), Px(610), Px(35), Px(640)},
    {kStepUp, Px(38), Px(610), Px(68), Px(640)},
    {kDeleteStep, Px(71), Px(610), Px(101), Px(640)},
    {kClearSteps, Px(104), Px(610), Px(134), Px(640)},
    // The rows the design leaves unplaced: the play count's unit beside its box, and the profile
    // chooser and the macro buttons on the bottom row, as on the other pages.
    {242, Px(895), Px(613), Px(970), Px(643)},
    {kProfileLabel, Px(390), FromB(-50), Px(470), FromB(-27)},
    {kProfileCombo, Px(470), FromB(-50), Px(670), FromB(-27)},
    {kProfileMenu, Px(676), FromB(-50), Px(699), FromB(-27)},
    {kNewMacro, FromR(-722), FromB(-50), FromR(-657), FromB(-27)},
    {kDeleteMacro, FromR(-632), FromB(-50), FromR(-567), FromB(-27)},
    {kCopyMacro, FromR(-542), FromB(-50), FromR(-477), FromB(-27)},
    {kImportMacro, FromR(-452), FromB(-50), FromR(-387), FromB(-27)},
    {kExportMacro, FromR(-362), FromB(-50), FromR(-297), FromB(-27)},
    {kRenameMacro, FromR(-272), FromB(-50), FromR(-207), FromB(-27)},
};

// A button with an icon beside its title, or (without one) on the light face of four states.
MUI::MButton* Button(const ControlBuilder& build, unsigned id, const wchar_t* icon = nullptr)
{
    auto* button = build.Control<MUI::MButton>(L"MButton", id);
    if (icon != nullptr) {
        button->SetImage(icon);
    } else {
        button->SetImage(L"btn_apply.png", 4);
    }
    return button;
}

MUI::CRadioButton* Radio(const ControlBuilder& build, unsigned id, const wchar_t* group)
{
    auto* radio = build.Control<MUI::CRadioButton>(L"CRadioButton", id);
    radio->SetGroup(group);
    radio->SetTextColor(MainColor::kText);
    return radio;
}

MUI::MComboBox* Combo(const ControlBuilder& build, unsigned id)
{
    auto* combo = build.Control<MUI::MComboBox>(L"MComboBox", id);
    combo->SetImage(L"img_combobox.png", 4);
    combo->SetTextColor(MainColor::kList);
    return combo;
}

}  // namespace

void KeyboardDlg::BuildMacroPage()
{
    const ControlBuilder build(*this, ui.macrosPage);
    MacroPageControls& page = macroPage;
    for (const unsigned id : {kPanel, kHeadingLine, kRecordDivider, kStepListArea, kStepListBand,
                              kSpareAreas[0], kSpareAreas[1]}) {
        auto* area = build.Area<MUI::CRoundArea>(L"CRoundArea", id);
        area->SetColor(id == kHeadingLine     ? kHeadingColor
                       : id == kStepListBand  ? kBandColor
                       : id == kRecordDivider ? kLineColor
                                              : kPanelColor);
    }
    build.Area<MUI::MPicture>(L"MPicture", kKeyboardPicture)
        ->SetImage(L"keyboard\\keyboardctrl_bg.png");
    build.Area<MUI::MPicture>(L"MPicture", kKeyPicture)->SetImage(L"icon\\macro_bg_key.png");
    for (const unsigned id : kTexts) {
        build.Area<MUI::MText>(L"MText", id)->SetTextColor(MainColor::kText);
    }
    // The step list's column heads sit over their columns; the first starts left of the page.
    for (const unsigned id : {254u, 260u, 261u, 262u}) {
        GetControlAs<MUI::MText>(id)->SetAlignment(MUI::kAlignCenter);
    }
    if (auto* heading = GetControlAs<MUI::MText>(kHeading)) {
        heading->SetTextColor(kHeadingColor);
        heading->SetFont(L"AlibabaPuHuiTi-Medium", 25, MUI::kFontRegular);
    }

    Combo(build, kProfileCombo);
    build.Control<MUI::MImageButton>(L"MImageButton", kProfileMenu)
        ->SetImage(L"icon_btn_moreprofile.png");
    build.Control<MUI::CImageButton>(L"CImageButton", kImportProfile)
        ->SetImage(L"icon_macro_import.png");
    build.Control<MUI::CImageButton>(L"CImageButton", kExportProfile)
        ->SetImage(L"icon_macro_export.png");

    page.list = build.Control<MUI::MListBox>(L"MListBox", kMacroList);
    page.list->SetTextColor(MainColor::kList);
    page.insertPosition = Combo(build, kInsertPosition);
    for (const int text : kInsertPositionTexts) page.insertPosition->AddItem(GetLanString(text));
    page.insertPosition->SetCurSel(0);
    page.keyRadio = Radio(build, kKeyEventRadio, kEventGroup);
    page.mouseRadio = Radio(build, kMouseEventRadio, kEventGroup);
    page.textRadio = Radio(build, kTextEventRadio, kEventGroup);
    page.keyRadio->SetCheck(true);
    page.keyBox = build.Control<MUI::MEdit>(L"MEdit", kKeyBox);
    page.keyBox->SetReadOnly(true);
    page.textBox = build.Control<MUI::MEdit>(L"MEdit", kTextBox);
    page.textBox->SetVisible(false);
    page.mouseCombo = Combo(build, kMouseButtonCombo);
    for (int i = 0; i < 3; ++i) page.mouseCombo->AddItem(GetLanString(kMouseButtonTexts[i]), i + 1);
    page.mouseCombo->SetCurSel(0);
    page.mouseCombo->SetVisible(false);
    Button(build, kInsertEvent, L"btn_macro_insert.png");
    for (const unsigned id :
         {kNewMacro, kDeleteMacro, kCopyMacro, kImportMacro, kExportMacro, kRenameMacro}) {
        Button(build, id);
    }
    page.playCount = build.Control<MUI::MEdit>(L"MEdit", kPlayCount);
    page.playCount->SetNumberOnly(true);
    page.playCount->SetMaxLength(2);
    page.playCount->SetTitle(L"1");
    page.delayRadios[0] = Radio(build, kDelayRecorded, kDelayGroup);
    page.delayRadios[1] = Radio(build, kDelayNone, kDelayGroup);
    page.delayRadios[2] = Radio(build, kDelayFixed, kDelayGroup);
    page.delayRadios[0]->SetCheck(true);
    page.fixedDelay = build.Control<MUI::MEdit>(L"MEdit", kFixedDelay);
    page.fixedDelay->SetNumberOnly(true);
    page.fixedDelay->SetMaxLength(5);
    page.fixedDelay->SetTitle(std::to_wstring(kMacroDefaultDelay));
    page.fixedDelay->SetEnabled(false);
    page.startRecording = Button(build, kStartRecording, L"macro_btn_start_rec.png");
    page.stopRecording = Button(build, kStopRecording, L"macro_btn_stop_rec.png");
    page.stopRecording->SetVisible(false);
    const struct {
        unsigned id;
        const wchar_t* image;
    } stepButtons[] = {{kStepUp, L"btn_record_up.png"},
                       {kStepDown, L"btn_record_down.png"},
                       {kDeleteStep, L"btn_record_del.png"},
                       {kClearSteps, L"btn_record_clear.png"}};
    for (const auto& button : stepButtons) {
        build.Control<MUI::CImageButton>(L"CImageButton", button.id)->SetImage(button.image);
    }
    page.steps = build.Control<MUI::CRecordList>(L"CRecordList", kStepList);
    page.steps->SetTextColor(MainColor::kList);
    Button(build, kSave);

    ApplyMacroPageTexts();
    EnableMacroControls(false);
}

void KeyboardDlg::LayoutMacroPage(const RECT& client)
{
    PlaceControls(*this, client, kMacroPageRows);
}

void KeyboardDlg::ApplyMacroPageTexts()
{
    for (const auto& row : kPageTexts) {
        MUI::MControl* control = GetControl(row.id);
        if (control == nullptr) continue;
        if (row.caption != 0) control->SetTitle(GetLanString(row.caption));
        if (row.tooltip != 0) control->SetTooltip(GetLanString(row.tooltip));
    }
    MacroPageControls& page = macroPage;
    for (int i = 0; i < 2 && page.insertPosition != nullptr; ++i) {
        page.insertPosition->SetItemText(i, GetLanString(kInsertPositionTexts[i]));
    }
    for (int i = 0; i < 3 && page.mouseCombo != nullptr; ++i) {
        page.mouseCombo->SetItemText(i, GetLanString(kMouseButtonTexts[i]));
    }
    if (page.list != nullptr) {
        std::vector<MUI::MListBox::MenuItem> menu;
        for (const auto& item : kListMenu) {
            menu.push_back({static_cast<unsigned>(item.item), GetLanString(item.text)});
        }
        page.list->SetMenuItems(std::move(menu));
    }
}

void KeyboardDlg::RelabelMacroNames()
{
    if (macroPage.list == nullptr) return;
    const std::wstring word = GetNameWord(kDefaultMacroWord);
    for (int i = 0; i < macroPage.list->GetItemCount(); ++i) {
        macroPage.list->ModifyItemString(i, RelabelMacroName(macroPage.list->GetItemText(i), word));
    }
}

int KeyboardDlg::OnMacroPageMessage(unsigned id, int code, LPARAM)
{
    switch (id) {
        case kMacroList:
            OnMacroListNotify(code);
            return 1;
        case kKeyBox:
            OnKeyCaptureNotify(code);
            return 1;
        case kStepList:
            OnStepListNotify(code);
            return 1;
        default:
            break;
    }
    if (code != MUI::kNotifyClick) return 0;
    switch (id) {
        case kProfileCombo:
            OnProfileComboChanged(kProfileCombo);
            return 1;
        case kProfileMenu:
            ShowProfileMenu(kProfileMenu, WM_CUSTOMKEY_MENU);
            return 1;
        case kImportProfile:
        case kExportProfile:
            return 0;
        case kKeyEventRadio:
            OnKeyEventRadio();
            return 1;
        case kMouseEventRadio:
            OnMouseEventRadio();
            return 1;
        case kTextEventRadio:
            OnEditEventRadio();
            return 1;
        case kInsertEvent:
            InsertMacroEvent();
            return 1;
        case kNewMacro:
            NewMacro();
            return 1;
        case kDeleteMacro:
            DeleteSelectedMacro();
            return 1;
        case kCopyMacro:
            CopyMacro();
            return 1;
        case kImportMacro:
            ImportMacro();
            return 1;
        case kExportMacro:
            ExportMacro();
            return 1;
        case kRenameMacro:
            OnMacroMenuCommand(MACRO_MENU_RENAME);
            return 1;
        case kDelayRecorded:
        case kDelayNone:
        case kDelayFixed:
            if (macroPage.fixedDelay != nullptr)
                macroPage.fixedDelay->SetEnabled(id == kDelayFixed);
            return 1;
        case kStartRecording:
            StartMacroRecording();
            return 1;
        case kStopRecording:
            StopMacroRecording();
            return 1;
        case kStepUp:
            MoveStepUp();
            return 1;
        case kStepDown:
            MoveStepDown();
            return 1;
        case kDeleteStep:
            DeleteStep();
            return 1;
        case kClearSteps:
            ClearSteps();
            return 1;
        case kSave:
            SaveMacroSteps();
            return 1;
        default:
            return 0;
    }
}
