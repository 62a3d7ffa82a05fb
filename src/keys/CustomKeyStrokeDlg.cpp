#include "keys/CustomKeyStrokeDlg.h"

#include "keys/AdvKeyEditorIds.h"
#include "platform/mui/KeyStrokeCtrl.h"
#include "platform/mui/MButton.h"
#include "platform/mui/MText.h"

namespace {

using namespace AdvKeyEditorId;

constexpr unsigned kPopupStyle = 0x96000000;
constexpr int kDefaultStroke = 36;  // 3.6 mm
// The stroke control's positions are 0.01 mm; the value is 0.1 mm.
constexpr int kPositionsPerValue = 10;

}  // namespace

CustomKeyStrokeDlg::CustomKeyStrokeDlg(int value, std::function<std::wstring(int)> text)
    : value_(value), text_(std::move(text))
{
}

HWND CustomKeyStrokeDlg::CreatePopup(HWND parent, const RECT& rect)
{
    return Create(parent, L"CustomKeyStrokeDlg", kPopupStyle, 0, rect);
}

int CustomKeyStrokeDlg::OnInitDialog()
{
    MDialog::OnInitDialog();
    EnableWindowDrag(false);
    SetBackColor(0xF7F7F7, 0x646464);
    SetWindowPos(nullptr, 0, 0, 0, 0, 0x43);
    return 1;
}

void CustomKeyStrokeDlg::InitUI(const RECT& client)
{
    const int w = client.right;
    const int h = client.bottom;
    auto* title = dynamic_cast<MUI::MText*>(
        CreateArea(L"MText", kPopupTitle, RECT{20, 10, w - 20, 40}, text_(735)));
    title->SetAlignment(MUI::kAlignCenter);
    title->SetFont(L"SourceHanSansCN-Bold", 15, MUI::kFontBold);
    auto* stroke = dynamic_cast<MUI::KeyStrokeCtrl*>(
        CreateControl(L"KeyStrokeCtrl", kStroke, RECT{20, 50, w - 20, 270}));
    stroke->SetImage(L"icon\\key_switch_thumb.png");
    MUI::PRECISION tenths;
    tenths.value[1] = kPositionsPerValue;
    tenths.value[4] = 1;
    tenths.value[5] = 40;
    stroke->SetPrecision(tenths);
    stroke->SetCurKeyActuation(value_);
    auto* apply = dynamic_cast<MUI::MButton*>(
        CreateControl(L"MButton", kStrokeApply, RECT{w - 120, h - 40, w - 20, h - 10}, text_(22)));
    apply->SetImage(L"btn_apply.png", 4);
    apply->SetAlignment(MUI::kAlignCenter);
    auto* reset = dynamic_cast<MUI::MButton*>(CreateControl(
        L"MButton", kStrokeDefault, RECT{w - 240, h - 40, w - 140, h - 10}, text_(37)));
    reset->SetImage(L"btn_apply.png", 4);
    reset->SetAlignment(MUI::kAlignCenter);
}

void CustomKeyStrokeDlg::UISize(const RECT&) {}

int CustomKeyStrokeDlg::OnMessage(unsigned id, int code, LPARAM)
{
    auto* stroke = GetControlAs<MUI::KeyStrokeCtrl>(kStroke);
    if (id == kStroke && (code == MUI::kNotifyDragging || code == MUI::kNotifyClick)) {
        if (stroke != nullptr) value_ = stroke->GetCurKeyActuation();
        return 1;
    }
    if (code != MUI::kNotifyClick) return 1;
    if (id == kStrokeDefault) {
        if (stroke != nullptr) stroke->SetCurKeyActuation(kDefaultStroke);
        value_ = kDefaultStroke;
    } else if (id == kStrokeApply) {
        DoOK();
    }
    return 1;
}

LRESULT CustomKeyStrokeDlg::OnNcActivate(bool active)
{
    // A click outside closes the picker at once: hidden and cancelled without waiting for an
    // animation on the UI thread.
    if (!active && IsModalRunning()) {
        ShowWindow(SW_HIDE);
        DoCancel();
    }
    return MDialog::OnNcActivate(active);
}
