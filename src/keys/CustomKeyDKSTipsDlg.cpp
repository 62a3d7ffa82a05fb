#include "keys/CustomKeyDKSTipsDlg.h"

#include "keys/AdvKeyEditorIds.h"
#include "platform/mui/CRoundArea.h"
#include "platform/mui/MButton.h"
#include "platform/mui/MText.h"

namespace {

using namespace AdvKeyEditorId;

constexpr unsigned kPopupStyle = 0x96000000;
constexpr int kWidth = 500;
constexpr int kHeight = 400;

// Title and paragraph numbers of DKS, MT and TGL.
constexpr int kTexts[3][4] = {{720, 723, 724, 725}, {721, 726, 727, 728}, {722, 729, 730, 731}};

}  // namespace

CustomKeyDKSTipsDlg::CustomKeyDKSTipsDlg(int type, std::function<std::wstring(int)> text)
    : type_(type), text_(std::move(text))
{
}

HWND CustomKeyDKSTipsDlg::CreatePopup(HWND parent)
{
    const HWND window =
        Create(parent, L"CustomKeyDKSTipsDlg", kPopupStyle, 0, RECT{0, 0, kWidth, kHeight});
    CenterWindow(parent);
    return window;
}

int CustomKeyDKSTipsDlg::OnInitDialog()
{
    MDialog::OnInitDialog();
    EnableWindowDrag(false);
    SetBackColor(0xF7F7F7, 0x646464);
    SetWindowPos(nullptr, 0, 0, 0, 0, 0x43);
    return 1;
}

std::wstring CustomKeyDKSTipsDlg::Title() const
{
    return type_ >= kTypeDks && type_ <= kTypeTgl ? text_(kTexts[type_ - 1][0]) : L"";
}

std::wstring CustomKeyDKSTipsDlg::Body() const
{
    if (type_ < kTypeDks || type_ > kTypeTgl) return L"";
    const int* texts = kTexts[type_ - 1];
    return text_(texts[1]) + L" \n\n " + text_(texts[2]) + L"\n\n " + text_(texts[3]);
}

void CustomKeyDKSTipsDlg::InitUI(const RECT& client)
{
    const int w = client.right;
    const int h = client.bottom;
    auto* title = dynamic_cast<MUI::MText*>(
        CreateArea(L"MText", kPopupTitle, RECT{20, 15, w - 20, 45}, Title()));
    title->SetAlignment(MUI::kAlignCenter);
    title->SetFont(L"SourceHanSansCN-Bold", 18, MUI::kFontBold);
    for (const auto& [id, top] : {std::pair{31u, 60}, std::pair{32u, h - 60}}) {
        auto* line = dynamic_cast<MUI::CRoundArea*>(
            CreateArea(L"CRoundArea", id, RECT{20, top, w - 20, top + 2}));
        line->SetColor(0xff969696);
    }
    auto* body =
        dynamic_cast<MUI::MText*>(CreateArea(L"MText", 33, RECT{20, 80, w - 20, h - 60}, Body()));
    body->SetMultiLine(true);
    body->SetVAlignment(MUI::kVAlignTop);
    body->SetFont(L"SourceHanSansCN-Regular", 14, MUI::kFontRegular);
    body->SetTextColor(0xff585858);
    auto* button = dynamic_cast<MUI::MButton*>(CreateControl(
        L"MButton", kTipsButton, RECT{w / 2 - 50, h - 50, w / 2 + 50, h - 20}, text_(20)));
    button->SetImage(L"btn_apply.png", 4);
    button->SetAlignment(MUI::kAlignCenter);
}

void CustomKeyDKSTipsDlg::UISize(const RECT&) {}

int CustomKeyDKSTipsDlg::OnMessage(unsigned id, int code, LPARAM)
{
    if (id == kTipsButton && code == MUI::kNotifyClick) DoOK();
    return 1;
}
