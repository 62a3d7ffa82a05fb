// The advanced-key editor: creation, the two steps, message dispatch and the key-function
// picks and drops.
#include "keys/CustomKeyDKSDlg.h"

#include <cstdio>

#include "device/KeyNameTable.h"
#include "keys/AdvKeyEditorIds.h"
#include "keys/CustomKeyDKSTipsDlg.h"
#include "keys/CustomKeyStrokeDlg.h"
#include "keys/KeyPalette.h"
#include "platform/mui/CRoundArea.h"
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
#include "platform/mui/PaletteDrag.h"
#include "platform/mui/WindowServices.h"

namespace {

using namespace AdvKeyEditorId;

// Private messages to the owner (the main window) and from the palette's drag source.
constexpr UINT kSavedMessage = 0x72D;
constexpr UINT kCancelledMessage = 0x7E8;
constexpr UINT kClosedMessage = 0x7E9;

constexpr unsigned kEditorStyle = 0x56000000;
constexpr int kCornerEllipse = 20;
constexpr MUI::ARGB kEditorBackground = 0xFFF7F7F7;
constexpr MUI::ARGB kEditorBorder = 0xFFDCDCDC;
constexpr int kMissingKeysText = 1099;
constexpr int kMissingKeysCaption = 1100;
constexpr int kHoldDefault = 20;

// Kinds of the binding cells.
constexpr int kKindKey = 2;
constexpr int kKindMacro = 3;
constexpr int kKindConsumer = 6;
constexpr int kKindFunction = 12;

int KindOfTab(int tab)
{
    switch (tab) {
        case PALETTE_MEDIA:
            return kKindConsumer;
        case PALETTE_EXTRA_KEYS:
            return kKindKey;
        case PALETTE_FUNCTIONS:
        case PALETTE_LIGHTING:
            return kKindFunction;
        case PALETTE_MACROS:
            return kKindMacro;
        default:
            return 0;
    }
}

std::wstring KeyCaption(int usage) { return KeyNameTable::GetInstance().KeyUsageToName(usage); }

}  // namespace

CustomKeyDKSDlg::CustomKeyDKSDlg(AdvKeyEditorServices services) : services_(std::move(services)) {}

CustomKeyDKSDlg::~CustomKeyDKSDlg() { DestroyWindow(); }

void CustomKeyDKSDlg::SetKeyInfo(int type, int profile, uint32_t keyValue, int macroId, int newFlag)
{
    type_ = type;
    profile_ = profile;
    keyValue_ = keyValue;
    macroId_ = macroId;
    newFlag_ = newFlag;
}

void CustomKeyDKSDlg::SetModelId(int modelId) { modelId_ = modelId; }

HWND CustomKeyDKSDlg::Create(HWND owner, const RECT& rect)
{
    owner_ = owner;
    rect_ = rect;
    const HWND window = MDialog::Create(owner, L"CustomKeyDKSDlg", kEditorStyle, 0, rect);
    if (window == nullptr) return nullptr;
    SetWindowRgn(RECT{2, 2, rect.right - rect.left, rect.bottom - rect.top}, kCornerEllipse,
                 kCornerEllipse);
    ShowWindow(SW_SHOW);
    return window;
}

int CustomKeyDKSDlg::OnInitDialog()
{
    MDialog::OnInitDialog();
    EnableWindowDrag(false);
    // The light panel colour of the window's other popups, under which the editor's grey
    // texts read.
    SetBackColor(kEditorBackground, kEditorBorder);
    LoadValues();
    return 1;
}

void CustomKeyDKSDlg::InitUI(const RECT& client)
{
    if (headerBuilt_ == 0) {
        auto* line = GetControl(kSeparator) != nullptr
                         ? GetControlAs<MUI::CRoundArea>(kSeparator)
                         : dynamic_cast<MUI::CRoundArea*>(CreateArea(
                               L"CRoundArea", kSeparator, RECT{0, 60, client.right - 10, 62}));
        line->SetColor(0xff3e3e3e);
        line->SetVisible(false);
        auto* cancel = dynamic_cast<MUI::MButton*>(CreateControl(
            L"MButton", kCancel,
            RECT{client.left + 40, client.bottom - 40, client.left + 140, client.bottom - 17},
            services_.text(44)));
        cancel->SetImage(L"icon_btn_resetkey.png", 4);
        cancel->SetAlignment(MUI::kAlignCenter);
        cancel->SetTooltip(services_.text(42));
        cancel->SetTextColor(0xff000000);
        cancel->SetFont(L"SourceHanSansCN-Regular", 15, MUI::kFontRegular);
        auto* tips = dynamic_cast<MUI::MButton*>(CreateControl(
            L"MButton", kTips, RECT{client.right - 45, 8, client.right - 15, 38}, L"?"));
        tips->SetImage(L"btn_apply.png", 4);
        tips->SetAlignment(MUI::kAlignCenter);
        tips->SetFont(L"SourceHanSansCN-Bold", 15, MUI::kFontBold);
    }
    if (newFlag_ == 1) {
        CreateHeader(client);
        headerBuilt_ = 1;
        return;
    }
    for (unsigned id = kHeaderTitle; id <= kNext; ++id) {
        if (MUI::MControl* control = GetControl(id)) control->SetVisible(false);
    }
    StepButton(kSave, 39, client);
    switch (type_) {
        case kTypeRs:
            CreateRsPage(client);
            break;
        case kTypeSocd:
            CreateSocdPage(client);
            break;
        case kTypeOks:
            CreateOksPage(client);
            break;
        default:
            CreateDksPage(client);
            break;
    }
    if (type_ >= kTypeRs) ShowKeyPairNames();
    LoadValues();
    for (MUI::MControl* control : GetControls()) control->UpdateControl();
}

void CustomKeyDKSDlg::UISize(const RECT&) {}

void CustomKeyDKSDlg::SetTargetKey(uint32_t value)
{
    keyValue_ = value;
    auto* keys = GetControlAs<MUI::KeySOCDCtrl>(kHeaderKeys);
    if (headerBuilt_ == 0 || keys == nullptr) return;
    const int a = static_cast<int>(value & 0xFFFF);
    const int b = static_cast<int>(value >> 16);
    keys->SetItem(0, a > 0 ? KeyCaption(a) : L"", a, 0);
    // A one-key type shows one cell: the second one is not touched.
    if (type_ >= kTypeRs) keys->SetItem(1, b > 0 ? KeyCaption(b) : L"", b, 0);
}

void CustomKeyDKSDlg::CheckKeys()
{
    const bool valid =
        type_ <= kTypeTgl ? keyValue_ > 0 : (keyValue_ & 0xFFFF) != 0 && (keyValue_ >> 16) != 0;
    if (!valid) {
        services_.messageBox(GetHWND(), services_.text(kMissingKeysText),
                             services_.text(kMissingKeysCaption));
        return;
    }
    newFlag_ = 0;
    InitUI(GetClientRect());
    PostToOwner(kClosedMessage);
}

void CustomKeyDKSDlg::PostToOwner(UINT message, LPARAM lParam)
{
    if (owner_ != nullptr) MUI::PostMessage(owner_, message, 0, lParam);
}

void CustomKeyDKSDlg::Cancel()
{
    if (closing_) return;
    closing_ = true;
    PostToOwner(kCancelledMessage);
    ShowWindow(SW_HIDE);
}

LRESULT CustomKeyDKSDlg::OnWindowMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
        case WM_CLOSE:
            // Closed from outside (the program's popups closing): the owner is told, and it
            // destroys the editor when it handles that.
            Cancel();
            return 0;
        case MUI::kDragMoveMessage:
            DragOver(lParam);
            return 1;
        case MUI::kDropMessage:
            // The cell under the point where the drag was let go takes the key function.
            DragOver(lParam);
            DropKeyFunc();
            return 1;
        default:
            return MDialog::OnWindowMessage(message, wParam, lParam);
    }
}

LRESULT CustomKeyDKSDlg::OnNcActivate(bool active) { return MDialog::OnNcActivate(active); }

int CustomKeyDKSDlg::OnMessage(unsigned id, int code, LPARAM value)
{
    switch (id) {
        case kDks:
            if (code == MUI::kNotifyClick && value == MUI::KeyDKSCtrl::kClickPoint) {
                OpenStrokePicker();
            }
            return 1;
        case kHoldSlider:
            OnMtHoldSlider();
            return 1;
        case kSocdDistance:
        case kSocdActuation:
        case kSocdPress:
        case kSocdRelease:
        case kOksDistance:
        case kOksActuation:
        case kOksPress:
        case kOksRelease:
            UpdateSliderLabel(id, id == kSocdDistance    ? kSocdDistanceLabel
                                  : id == kSocdActuation ? kSocdActuationLabel
                                  : id == kSocdPress     ? kSocdPressLabel
                                  : id == kSocdRelease   ? kSocdReleaseLabel
                                  : id == kOksDistance   ? kOksDistanceLabel
                                  : id == kOksActuation  ? kOksActuationLabel
                                  : id == kOksPress      ? kOksPressLabel
                                                         : kOksReleaseLabel);
            return 1;
        case kRsDistance:
        case kRsActuation:
            if (code == MUI::kNotifyDragging || code == MUI::kNotifyClick) {
                UpdateSliderLabel(id, id == kRsDistance ? kRsDistanceLabel : kRsActuationLabel);
            }
            return 1;
        default:
            break;
    }
    if (code != MUI::kNotifyClick) return 0;
    switch (id) {
        case kNext:
            CheckKeys();
            return 1;
        case kCancel:
            Cancel();
            return 1;
        case kSave:
            SaveAdvKey();
            return 1;
        case kTips:
            ShowTips();
            return 1;
        case kHoldReset:
            SetSlider(kHoldSlider, 0, kHoldDefault);
            OnMtHoldSlider();
            return 1;
        case kTypeTab:
            FillKeyValueList(static_cast<int>(value));
            return 1;
        case kKeyFunctions:
            OnKeyFuncPick();
            return 1;
        case kKeyValues:
            OnKeyValuePick();
            return 1;
        case kSocdSplit:
            OnSocdSplitSwitch();
            return 1;
        default:
            return 1;
    }
}

void CustomKeyDKSDlg::OnKeyFuncPick()
{
    auto* functions = GetControlAs<MUI::KeyFuncControl2>(kKeyFunctions);
    int kind = 0, usage = 0, modifier = 0, extra = 0;
    std::wstring name;
    if (functions == nullptr || !functions->GetCurItemData(kind, usage, modifier, extra, name))
        return;
    if (usage == MUI::KeyFuncControl::kDisableUsage) return;  // no key to send
    if (type_ == kTypeDks) {
        if (auto* dks = GetControlAs<MUI::KeyDKSCtrl>(kDks)) {
            // Only the binding rows take a key; a travel point keeps its distance.
            if (dks->GetCurItem() >= 0 && dks->GetCurItem() < MUI::KeyDKSCtrl::kFirstPoint)
                dks->SetCurValue(name, usage, kKindKey);
        }
    } else if (type_ == kTypeMt || type_ == kTypeTgl) {
        if (auto* mt = GetControlAs<MUI::KeyMTCtrl>(kMt)) mt->SetCurValue(name, usage, kKindKey);
    }
}

void CustomKeyDKSDlg::OnKeyValuePick()
{
    auto* values = GetControlAs<MUI::KeyValueList2>(kKeyValues);
    auto* tabs = GetControlAs<MUI::KeyTypeTab>(kTypeTab);
    if (values == nullptr || tabs == nullptr) return;
    int value = 0;
    std::wstring caption;
    if (!values->GetSelectKeyValue(value, caption)) return;
    const int kind = KindOfTab(tabs->GetCurTab());
    if (kind == 0) {
        value = 0;
        caption.clear();
    }
    if (type_ == kTypeDks) {
        if (auto* dks = GetControlAs<MUI::KeyDKSCtrl>(kDks)) {
            if (dks->GetCurItem() >= 0 && dks->GetCurItem() < MUI::KeyDKSCtrl::kFirstPoint)
                dks->SetCurValue(caption, value, kind);
        }
    } else if (type_ == kTypeMt || type_ == kTypeTgl) {
        if (auto* mt = GetControlAs<MUI::KeyMTCtrl>(kMt)) mt->SetCurValue(caption, value, kind);
    }
}

void CustomKeyDKSDlg::DragOver(LPARAM point)
{
    const POINT at = MUI::UnpackClientPoint(point);
    if (type_ == kTypeDks) {
        if (auto* dks = GetControlAs<MUI::KeyDKSCtrl>(kDks)) dks->DragMove(at.x, at.y);
    } else if (auto* mt = GetControlAs<MUI::KeyMTCtrl>(kMt)) {
        mt->DragMove(at.x, at.y);
    }
}

void CustomKeyDKSDlg::DropKeyFunc()
{
    auto* tabs = GetControlAs<MUI::KeyTypeTab>(kTypeTab);
    if (tabs == nullptr) return;
    if (tabs->GetCurTab() == PALETTE_KEYS) {
        OnKeyFuncPick();
    } else {
        OnKeyValuePick();
    }
}

void CustomKeyDKSDlg::FillKeyValueList(int tab)
{
    auto* functions = GetControlAs<MUI::KeyFuncControl2>(kKeyFunctions);
    auto* values = GetControlAs<MUI::KeyValueList2>(kKeyValues);
    if (functions == nullptr || values == nullptr) return;
    if (tab == PALETTE_KEYS) {
        functions->SetVisible(true);
        values->SetVisible(false);
        return;
    }
    functions->SetVisible(false);
    values->SetVisible(true);
    values->ClearAllItems();
    constexpr int kTile = 55;
    constexpr int kPitch = 80;
    const RECT area = values->GetRect();
    const int columns = std::max(1, (area.right - area.left - 10) / kPitch);
    int index = 0;
    for (const PaletteTile& tile :
         PaletteTiles(tab, services_.text(kBaseLayerText), services_.macros, services_.text)) {
        const int left = 10 + (index % columns) * kPitch;
        const int top = 10 + (index / columns) * kPitch;
        values->AddKeyInfo(tile.code, tile.caption, L"",
                           RECT{left, top, left + kTile, top + kTile});
        ++index;
    }
    values->SetSelectKeyValue(-1);
}

void CustomKeyDKSDlg::OnSocdSplitSwitch()
{
    auto* split = GetControlAs<MUI::CSwitchButton>(kSocdSplit);
    const bool on = split != nullptr && split->GetCheck();
    for (unsigned id : {kSocdDistance, kSocdDistanceLabel}) {
        if (MUI::MControl* control = GetControl(id)) control->SetVisible(!on);
    }
    for (unsigned id : {kSocdPressText, kSocdPress, kSocdPressLabel, kSocdReleaseText, kSocdRelease,
                        kSocdReleaseLabel}) {
        if (MUI::MControl* control = GetControl(id)) control->SetVisible(on);
    }
}

void CustomKeyDKSDlg::OnMtHoldSlider()
{
    auto* label = GetControlAs<MUI::MText>(kHoldLabel);
    if (label == nullptr) return;
    char text[32];
    std::snprintf(text, sizeof text, "%dms", SliderPos(kHoldSlider) * 10);
    label->SetTitle(std::wstring(text, text + std::char_traits<char>::length(text)));
}

void CustomKeyDKSDlg::ShowTips()
{
    CustomKeyDKSTipsDlg tips(type_, services_.text);
    tips.CreatePopup(GetHWND());
    tips.ShowModal(SW_SHOW);
}

void CustomKeyDKSDlg::OpenStrokePicker()
{
    auto* dks = GetControlAs<MUI::KeyDKSCtrl>(kDks);
    if (dks == nullptr) return;
    const int cell = dks->GetCurItem();
    MUI::KeyCell point;
    if (cell < MUI::KeyDKSCtrl::kFirstPoint || !dks->GetItem(cell, point)) return;
    POINT at = dks->GetItemPoint(cell);
    MUI::ClientToScreen(GetHWND(), &at);
    CustomKeyStrokeDlg picker(point.value, services_.text);
    picker.CreatePopup(GetHWND(), RECT{at.x, at.y - 300, at.x + 360, at.y});
    if (picker.ShowModal(SW_SHOW) == 1) dks->SetItemValue(cell, picker.Value());
}
