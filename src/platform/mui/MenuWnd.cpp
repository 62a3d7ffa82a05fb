#include "platform/mui/MenuWnd.h"

#include "platform/mui/MButton1.h"
#include "platform/mui/WindowServices.h"

namespace MUI {

namespace {

constexpr int kEscapeKey = 0x1B;

}  // namespace

MenuWnd::MenuWnd() = default;

MenuWnd::MenuWnd(HWND owner, UINT notifyMessage) : owner_(owner), notifyMessage_(notifyMessage) {}

MenuWnd::~MenuWnd() = default;

void MenuWnd::SetOwner(HWND owner, UINT notifyMessage)
{
    std::lock_guard lock(Mutex());
    owner_ = owner;
    notifyMessage_ = notifyMessage;
}

void MenuWnd::AddItem(unsigned id, std::wstring_view text, std::wstring_view icon)
{
    std::lock_guard lock(Mutex());
    items_.push_back(Item{id, std::wstring(text), std::wstring(icon)});
}

int MenuWnd::GetItemCount() const
{
    std::lock_guard lock(Mutex());
    return static_cast<int>(items_.size());
}

std::wstring MenuWnd::GetItemText(int index) const
{
    std::lock_guard lock(Mutex());
    return index >= 0 && index < static_cast<int>(items_.size()) ? items_[index].text
                                                                 : std::wstring();
}

unsigned MenuWnd::GetItemId(int index) const
{
    std::lock_guard lock(Mutex());
    return index >= 0 && index < static_cast<int>(items_.size()) ? items_[index].id : 0;
}

int MenuWnd::Popup(POINT screen, int itemHeight, int width)
{
    int count;
    HWND owner;
    {
        std::lock_guard lock(Mutex());
        itemHeight_ = itemHeight > 0 ? itemHeight : 30;
        width_ = width > 0 ? width : 150;
        count = static_cast<int>(items_.size());
        owner = owner_;
    }
    const RECT rect{screen.x, screen.y, screen.x + width_, screen.y + itemHeight_ * count + 8};
    if (!Create(owner, L"Menu Window", WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN,
                WS_EX_TOOLWINDOW | WS_EX_TOPMOST, rect))
        return 0;
    return ShowModal(SW_SHOW);
}

void MenuWnd::Choose(unsigned id)
{
    HWND owner;
    UINT message;
    {
        std::lock_guard lock(Mutex());
        owner = owner_;
        message = notifyMessage_;
    }
    if (owner && message) ::MUI::PostMessage(owner, message, id, static_cast<LPARAM>(id));
    EndModal(static_cast<int>(id));
}

void MenuWnd::InitUI(const RECT& client)
{
    SetBackColor(0xFFFFFFFF, 0xFFD0D0D0);
    std::vector<Item> items;
    int itemHeight;
    {
        std::lock_guard lock(Mutex());
        items = items_;
        itemHeight = itemHeight_;
    }
    int top = 4;
    for (const Item& item : items) {
        MControl* control = CreateControl(
            L"MButton1", item.id, RECT{4, top, client.right - 4, top + itemHeight}, item.text);
        if (control) {
            control->SetBkColor(0xFFFFFFFF);
            control->SetTextColor(0xFF3E3E3E);
            control->SetTextSize(14);
        }
        top += itemHeight;
    }
}

int MenuWnd::OnMessage(unsigned id, int code, LPARAM)
{
    if (code != kNotifyClick) return 0;
    Choose(id);
    return 1;
}

LRESULT MenuWnd::OnNcActivate(bool active)
{
    if (!active && IsModalRunning()) EndModal(0);
    return 1;
}

int MenuWnd::OnKeyDown(WPARAM key, LPARAM)
{
    if (key == kEscapeKey) EndModal(0);
    return 0;
}

}  // namespace MUI
