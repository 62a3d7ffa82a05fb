// The advanced-key editor's controls: the key-selection step and the value page of each type.
#include <cstdio>

#include "device/KeyNameTable.h"
#include "keys/AdvKeyEditorIds.h"
#include "keys/CustomKeyDKSDlg.h"
#include "keys/KeyPalette.h"
#include "platform/mui/CImageButton.h"
#include "platform/mui/CRadioButton.h"
#include "platform/mui/CSwitchButton.h"
#include "platform/mui/KeyDKSCtrl.h"
#include "platform/mui/KeyFuncControl2.h"
#include "platform/mui/KeyMTCtrl.h"
#include "platform/mui/KeySOCDCtrl.h"
#include "platform/mui/KeyTypeTab.h"
#include "platform/mui/KeyValueList2.h"
#include "platform/mui/MButton.h"
#include "platform/mui/MSlider.h"
#include "platform/mui/MText.h"
#include "platform/text/Parenthesized.h"

namespace {

using namespace AdvKeyEditorId;

constexpr MUI::ARGB kInk = 0xff585858;
constexpr MUI::ARGB kBarColor = 0xff727272;
constexpr const wchar_t* kRegular = L"SourceHanSansCN-Regular";
constexpr const wchar_t* kBold = L"SourceHanSansCN-Bold";
constexpr int kHoldDefault = 20;
constexpr int kHoldMinimum = 1;
constexpr int kHoldMaximum = 100;
// Explanations on the MT and TGL pages.
constexpr int kHelpSize = 12;

std::wstring Widen(const char* text)
{
    return std::wstring(text, text + std::char_traits<char>::length(text));
}

std::wstring KeyCaption(int usage) { return KeyNameTable::GetInstance().KeyUsageToName(usage); }

}  // namespace

MUI::MText* CustomKeyDKSDlg::Text(unsigned id, int textNo, const RECT& rect, int size, bool bold)
{
    auto* text = dynamic_cast<MUI::MText*>(
        CreateArea(L"MText", id, rect, textNo > 0 ? services_.text(textNo) : L""));
    text->SetFont(bold ? kBold : kRegular, size, bold ? MUI::kFontBold : MUI::kFontRegular);
    text->SetTextColor(kInk);
    return text;
}

MUI::MSlider* CustomKeyDKSDlg::Slider(unsigned id, unsigned labelId, const RECT& rect, int minimum,
                                      int maximum, int position, bool distance)
{
    auto* slider = dynamic_cast<MUI::MSlider*>(CreateControl(L"MSlider", id, rect));
    slider->SetImage(L"slider.png");
    slider->SetBarColor(kBarColor);
    slider->SetRange(minimum, maximum);
    if (distance) slider->SetPrecision(services_.precision);
    const RECT labelRect{rect.right + 10, rect.top - 3, rect.right + 90, rect.bottom + 3};
    Text(labelId, 0, labelRect, 14);
    SetSlider(id, labelId, position);
    return slider;
}

void CustomKeyDKSDlg::CreateHeader(const RECT& client)
{
    if (headerBuilt_ != 0) return;
    Text(kHeaderTitle, 2000 + type_ - 1, RECT{10, 5, 290, 35}, 20);
    auto* text = Text(kHeaderText, 2050 + type_ - 1, RECT{10, 40, 790, 120}, 16);
    text->SetAlignment(MUI::kAlignLeft);
    text->SetMultiLine(true);
    const bool pair = type_ >= kTypeRs;
    if (!pair) {
        Text(kHeaderKeyLabel, 738, RECT{470, 140, 540, 170}, 14, true)
            ->SetAlignment(MUI::kAlignCenter);
    } else {
        Text(kHeaderKeyA, 741, RECT{465, 140, 545, 170}, 15, true)->SetAlignment(MUI::kAlignCenter);
        Text(kHeaderKeyB, 742, RECT{545, 140, 625, 170}, 15, true)->SetAlignment(MUI::kAlignCenter);
    }
    auto* keys = dynamic_cast<MUI::KeySOCDCtrl*>(
        CreateControl(L"KeySOCDCtrl", kHeaderKeys, RECT{470, 170, 670, 280}));
    keys->SetControlType(8);
    keys->SetFont(kBold, 12, MUI::kFontBold);
    keys->SetCellCount(pair ? 2 : 1);
    keys->SetCurItem(0);
    SetTargetKey(keyValue_);
    StepButton(kNext, 45, client)->SetTooltip(services_.text(43));
}

MUI::MButton* CustomKeyDKSDlg::StepButton(unsigned id, int textNo, const RECT& client)
{
    auto* button = dynamic_cast<MUI::MButton*>(CreateControl(
        L"MButton", id,
        RECT{client.left + 160, client.bottom - 40, client.left + 260, client.bottom - 17},
        services_.text(textNo)));
    button->SetImage(L"btn_macro_insert.png");
    button->SetAlignment(MUI::kAlignCenter);
    button->SetTextColor(0xff000000);
    button->SetFont(kRegular, 15, MUI::kFontRegular);
    return button;
}

void CustomKeyDKSDlg::CreateDksPage(const RECT& client)
{
    auto* tabs = dynamic_cast<MUI::KeyTypeTab*>(
        CreateControl(L"KeyTypeTab", kTypeTab, RECT{390, 5, 1230, 36}));
    tabs->SetItemSize(96, 31);
    tabs->SetFont(kBold, 12, MUI::kFontBold);
    tabs->SetTextColor(0xff727272);
    tabs->SetAlignment(MUI::kAlignCenter);
    tabs->SetImage(L"img_keytypetab_bg1.png");
    for (int i = 0; i < MUI::KeyTypeTab::kTabCount; ++i) {
        tabs->SetTabTitle(i, services_.text(120 + i));
        // The advanced tables carry a keyboard usage per binding: media keys, functions and
        // macros cannot be bound.
        tabs->SetTabEnabled(i, i == PALETTE_KEYS || i == PALETTE_EXTRA_KEYS);
    }
    const int right = std::min(1330, static_cast<int>(client.right) - 10);
    auto* functions = dynamic_cast<MUI::KeyFuncControl2*>(
        CreateControl(L"KeyFuncControl2", kKeyFunctions, RECT{370, 60, right, 300}));
    functions->SetFont(kRegular, 10, MUI::kFontRegular);
    functions->SetTextColor(kInk);
    auto* values = dynamic_cast<MUI::KeyValueList2*>(
        CreateControl(L"KeyValueList2", kKeyValues, RECT{370, 60, right, 300}));
    values->SetFont(kRegular, 12, MUI::kFontRegular);
    values->SetTextColor(kInk);
    values->SetVisible(false);
    const int title = type_ == kTypeDks ? 701 : type_ == kTypeMt ? 702 : 710;
    Text(kPageTitle, title, RECT{5, 5, 275, 35}, 20, true);

    if (type_ == kTypeDks) {
        auto* dks = dynamic_cast<MUI::KeyDKSCtrl*>(
            CreateControl(L"KeyDKSCtrl", kDks, RECT{30, 50, 430, 280}));
        dks->SetFont(kBold, 12, MUI::kFontBold);
        dks->SetTextColor(kInk);
        // The grid is wider than the space left of the palette: the palette moves right.
        functions->SetRect(440, 60, right, 300);
        values->SetRect(440, 60, right, 300);
        return;
    }
    if (type_ == kTypeMt) {
        // The explanations at a size that reads (the smallest text of the window's pages).
        Text(kMtText1, 703, RECT{10, 38, 365, 78}, kHelpSize)->SetMultiLine(true);
        // Each binding cell under its own explanation (tap, then hold).
        Text(kMtText2, 705, RECT{10, 80, 135, 142}, kHelpSize)->SetMultiLine(true);
        Text(kMtText3, 704, RECT{140, 80, 365, 142}, kHelpSize)->SetMultiLine(true);
        auto* mt = dynamic_cast<MUI::KeyMTCtrl*>(
            CreateControl(L"KeyMTCtrl", kMt, RECT{10, 144, 370, 195}));
        mt->SetControlType(MUI::KeyMTCtrl::kTypeModTap);
        mt->SetCellCount(2);
        mt->SetFont(kBold, 12, MUI::kFontBold);
        mt->SetCurItem(0);
        Text(kHoldText, 706, RECT{5, 198, 105, 218}, 12, true);
        auto* reset = dynamic_cast<MUI::CImageButton*>(
            CreateControl(L"CImageButton", kHoldReset, RECT{110, 198, 130, 218}));
        reset->SetImage(L"img_btn_reset.png", 4);
        reset->SetTooltip(services_.text(707));
        Slider(kHoldSlider, kHoldLabel, RECT{5, 225, 180, 245}, kHoldMinimum, kHoldMaximum,
               kHoldDefault, false);
        OnMtHoldSlider();
        Text(kHoldText2, 708, RECT{5, 252, 365, 284}, kHelpSize)->SetMultiLine(true);
        Text(kHoldText3, 709, RECT{5, 284, 365, 316}, kHelpSize)->SetMultiLine(true);
        return;
    }
    Text(kMtText1, 711, RECT{10, 50, 262, 120}, kHelpSize, true)->SetMultiLine(true);
    auto* tgl =
        dynamic_cast<MUI::KeyMTCtrl*>(CreateControl(L"KeyMTCtrl", kMt, RECT{20, 130, 280, 185}));
    tgl->SetControlType(MUI::KeyMTCtrl::kTypeToggle);
    tgl->SetCellCount(1);
    tgl->SetFont(kBold, 12, MUI::kFontBold);
    tgl->SetCurItem(0);
}

void CustomKeyDKSDlg::CreateRsPage(const RECT&)
{
    Text(85, 736, RECT{10, 5, 290, 35}, 20, true);
    Text(86, 737, RECT{10, 40, 790, 75}, 14)->SetMultiLine(true);
    Text(87, 741, RECT{25, 90, 105, 115}, 14, true)->SetAlignment(MUI::kAlignCenter);
    Text(88, 742, RECT{105, 90, 185, 115}, 14, true)->SetAlignment(MUI::kAlignCenter);
    auto* pair = dynamic_cast<MUI::KeySOCDCtrl*>(
        CreateControl(L"KeySOCDCtrl", kPair, RECT{30, 115, 230, 175}));
    pair->SetControlType(8);
    pair->SetFont(kBold, 12, MUI::kFontBold);
    Text(94, 745, RECT{300, 90, 560, 115}, 14, true);
    Slider(kRsActuation, kRsActuationLabel, RECT{300, 125, 560, 145}, ActuationMinimum(),
           ActuationMaximum(), ActuationDefault(), true);
    Text(95, 746, RECT{300, 155, 660, 200}, 12)->SetMultiLine(true);
    Text(91, 743, RECT{720, 90, 980, 115}, 14, true);
    Text(92, 744, RECT{720, 120, 980, 145}, 12);
    Slider(kRsDistance, kRsDistanceLabel, RECT{720, 150, 980, 170}, services_.precision.Minimum(),
           services_.precision.Maximum(), DistanceDefault(), true);
}

void CustomKeyDKSDlg::CreateSocdPage(const RECT&)
{
    Text(57, 760, RECT{10, 5, 290, 35}, 20, true);
    Text(58, 761, RECT{10, 40, 790, 75}, 14)->SetMultiLine(true);
    Text(59, 762, RECT{25, 90, 105, 115}, 14, true)->SetAlignment(MUI::kAlignCenter);
    Text(60, 763, RECT{105, 90, 185, 115}, 14, true)->SetAlignment(MUI::kAlignCenter);
    auto* pair = dynamic_cast<MUI::KeySOCDCtrl*>(
        CreateControl(L"KeySOCDCtrl", kPair, RECT{30, 115, 230, 175}));
    pair->SetControlType(6);
    pair->SetFont(kBold, 12, MUI::kFontBold);
    // The rapid-trigger column: one distance, or (switch 66 on) separate press and release
    // distances, then the actuation point.
    Text(62, 764, RECT{300, 90, 560, 115}, 14, true);
    Text(72, 774, RECT{300, 118, 520, 140}, 12, true);
    auto* split = dynamic_cast<MUI::CSwitchButton*>(
        CreateControl(L"CSwitchButton", kSocdSplit, RECT{530, 117, 580, 141}));
    split->SetSwitchImages(L"img_switch_on.png", L"img_switch_off.png", 4);
    Text(73, 775, RECT{300, 140, 660, 160}, 11);
    Text(63, 744, RECT{300, 165, 560, 185}, 12);
    Slider(kSocdDistance, kSocdDistanceLabel, RECT{300, 190, 560, 210},
           services_.precision.Minimum(), services_.precision.Maximum(), DistanceDefault(), true);
    Text(kSocdPressText, 758, RECT{300, 165, 560, 185}, 12);
    Slider(kSocdPress, kSocdPressLabel, RECT{300, 190, 560, 210}, services_.precision.Minimum(),
           services_.precision.Maximum(), DistanceDefault(), true);
    Text(kSocdReleaseText, 759, RECT{300, 215, 560, 235}, 12);
    Slider(kSocdRelease, kSocdReleaseLabel, RECT{300, 240, 560, 260}, services_.precision.Minimum(),
           services_.precision.Maximum(), DistanceDefault(), true)
        ->SetImage(L"lift_slider.png");
    Text(67, 745, RECT{300, 270, 560, 295}, 14, true);
    Slider(kSocdActuation, kSocdActuationLabel, RECT{300, 300, 560, 320}, ActuationMinimum(),
           ActuationMaximum(), ActuationDefault(), true);
    Text(64, 765, RECT{720, 90, 1000, 115}, 14, true);
    Text(65, 769, RECT{720, 118, 1200, 140}, 12);
    const int modeTexts[] = {770, 771, 772, 773};
    for (unsigned id = kSocdModeFirst; id <= kSocdModeLast; ++id) {
        const int row = static_cast<int>(id - kSocdModeFirst);
        auto* radio = dynamic_cast<MUI::CRadioButton*>(
            CreateControl(L"CRadioButton", id, RECT{720, 145 + row * 30, 1060, 170 + row * 30},
                          services_.text(modeTexts[row])));
        radio->SetGroup(L"SOCD_START");
        radio->SetTextColor(kInk);
        radio->SetFont(kRegular, 13, MUI::kFontRegular);
        radio->SetCheck(id == kSocdModeFirst);
    }
    // A second switch whose state nothing reads: kept, but not shown.
    auto* extra = dynamic_cast<MUI::CSwitchButton*>(
        CreateControl(L"CSwitchButton", 74, RECT{1080, 220, 1130, 244}));
    extra->SetSwitchImages(L"img_switch_on.png", L"img_switch_off.png", 4);
    extra->SetVisible(false);
    OnSocdSplitSwitch();
}

void CustomKeyDKSDlg::CreateOksPage(const RECT&)
{
    Text(100, 2005, RECT{10, 5, 290, 35}, 20, true);
    Text(101, 2055, RECT{10, 40, 790, 75}, 14)->SetMultiLine(true);
    Text(102, 762, RECT{25, 90, 105, 115}, 14, true)->SetAlignment(MUI::kAlignCenter);
    Text(103, 763, RECT{105, 90, 185, 115}, 14, true)->SetAlignment(MUI::kAlignCenter);
    auto* pair = dynamic_cast<MUI::KeySOCDCtrl*>(
        CreateControl(L"KeySOCDCtrl", kOksPair, RECT{30, 115, 230, 175}));
    pair->SetControlType(10);
    pair->SetFont(kBold, 12, MUI::kFontBold);
    Text(105, 764, RECT{300, 90, 560, 115}, 14, true);
    Text(106, 744, RECT{300, 120, 560, 145}, 12);
    Slider(kOksDistance, kOksDistanceLabel, RECT{300, 150, 560, 170}, services_.precision.Minimum(),
           services_.precision.Maximum(), DistanceDefault(), true);
    Text(110, 745, RECT{300, 185, 560, 210}, 14, true);
    Slider(kOksActuation, kOksActuationLabel, RECT{300, 215, 560, 235}, ActuationMinimum(),
           ActuationMaximum(), ActuationDefault(), true);
    Text(107, 765, RECT{720, 90, 1000, 115}, 14, true);
    Text(108, 769, RECT{720, 118, 1200, 140}, 12);
    const int modeTexts[] = {781, 782, 782};
    for (unsigned id = kOksModeFirst; id <= kOksModeLast; ++id) {
        const int row = static_cast<int>(id - kOksModeFirst);
        auto* radio = dynamic_cast<MUI::CRadioButton*>(
            CreateControl(L"CRadioButton", id, RECT{720, 145 + row * 30, 1060, 170 + row * 30},
                          services_.text(modeTexts[row])));
        radio->SetGroup(L"OKS_START");
        radio->SetTextColor(kInk);
        radio->SetFont(kRegular, 13, MUI::kFontRegular);
        radio->SetCheck(id == kOksModeFirst);
    }
    // Separate press and release distances: kept hidden, not saved.
    Text(kOksPressText, 758, RECT{300, 245, 460, 265}, 12)->SetVisible(false);
    Slider(kOksPress, kOksPressLabel, RECT{300, 270, 560, 290}, services_.precision.Minimum(),
           services_.precision.Maximum(), DistanceDefault(), true)
        ->SetVisible(false);
    Text(kOksReleaseText, 759, RECT{300, 295, 460, 315}, 12)->SetVisible(false);
    Slider(kOksRelease, kOksReleaseLabel, RECT{300, 320, 560, 340}, services_.precision.Minimum(),
           services_.precision.Maximum(), DistanceDefault(), true)
        ->SetVisible(false);
    for (unsigned id : {kOksPressLabel, kOksReleaseLabel}) GetControl(id)->SetVisible(false);
}

void CustomKeyDKSDlg::ShowKeyPairNames()
{
    auto* pair = GetControlAs<MUI::KeySOCDCtrl>(type_ == kTypeOks ? kOksPair : kPair);
    if (pair == nullptr) return;
    const int a = static_cast<int>(keyValue_ & 0xFFFF);
    const int b = static_cast<int>(keyValue_ >> 16);
    const std::wstring nameA = KeyCaption(a);
    const std::wstring nameB = KeyCaption(b);
    pair->SetItem(0, nameA, a, 0);
    pair->SetItem(1, nameB, b, 0);
    const auto titled = [&](unsigned id, int textNo, const std::wstring& name) {
        if (MUI::MControl* radio = GetControl(id)) {
            radio->SetTitle(Parenthesized(services_.text(textNo), name));
        }
    };
    if (type_ == kTypeSocd) {
        titled(kSocdModeFirst + 1, 771, nameA);
        titled(kSocdModeFirst + 2, 771, nameB);
    } else if (type_ == kTypeOks) {
        titled(kOksModeFirst + 1, 782, nameA);
        titled(kOksModeFirst + 2, 782, nameB);
    }
}

std::wstring CustomKeyDKSDlg::DistanceText(int position) const
{
    char text[32];
    std::snprintf(text, sizeof text, "%0.2fmm", position * services_.precision.Step() / 100.0);
    return Widen(text);
}

void CustomKeyDKSDlg::UpdateSliderLabel(unsigned sliderId, unsigned labelId)
{
    if (auto* label = GetControlAs<MUI::MText>(labelId)) {
        label->SetTitle(DistanceText(SliderPos(sliderId)));
    }
}

void CustomKeyDKSDlg::SetSlider(unsigned sliderId, unsigned labelId, int position)
{
    if (auto* slider = GetControlAs<MUI::MSlider>(sliderId)) slider->SetPos(position);
    if (labelId != 0 && sliderId != kHoldSlider) UpdateSliderLabel(sliderId, labelId);
}

int CustomKeyDKSDlg::SliderPos(unsigned sliderId) const
{
    const auto* slider = GetControlAs<MUI::MSlider>(sliderId);
    return slider != nullptr ? slider->GetPos() : 0;
}

// Sliders in the model's precision: with the usual 0.02 mm step, distances 1..110 (0.40 mm
// at first) and actuation 5..200 (1.50 mm at first).
int CustomKeyDKSDlg::DistanceDefault() const { return 40 / services_.precision.Step(); }
int CustomKeyDKSDlg::ActuationMinimum() const { return 10 / services_.precision.Step(); }
int CustomKeyDKSDlg::ActuationMaximum() const { return 400 / services_.precision.Step(); }
int CustomKeyDKSDlg::ActuationDefault() const { return 150 / services_.precision.Step(); }
