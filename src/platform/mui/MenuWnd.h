// MenuWnd: a popup menu window named "Menu Window". Its items have ids and texts; choosing one
// posts the notify message to the owner with the item id in wParam and lParam, and closes the
// menu. Losing activation or Escape closes it without a choice.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/mui/MDialog.h"

namespace MUI {

class MenuWnd : public MDialog {
public:
    MenuWnd();
    MenuWnd(HWND owner, UINT notifyMessage);
    ~MenuWnd() override;

    void SetOwner(HWND owner, UINT notifyMessage);
    void AddItem(unsigned id, std::wstring_view text, std::wstring_view icon = {});
    int GetItemCount() const;
    std::wstring GetItemText(int index) const;
    unsigned GetItemId(int index) const;

    // Shows the menu with its top-left corner at the screen point, each item `itemHeight`
    // pixels high and `width` wide, and runs it modally. Returns the chosen id, 0 for none.
    int Popup(POINT screen, int itemHeight = 30, int width = 150);
    // What clicking an item does: posts the notify message and ends the menu.
    void Choose(unsigned id);

    void InitUI(const RECT& client) override;
    int OnMessage(unsigned id, int code, LPARAM value) override;
    LRESULT OnNcActivate(bool active) override;
    int OnKeyDown(WPARAM key, LPARAM flags) override;

private:
    struct Item {
        unsigned id;
        std::wstring text;
        std::wstring icon;
    };
    HWND owner_ = nullptr;
    UINT notifyMessage_ = 0;
    std::vector<Item> items_;
    int itemHeight_ = 30;
    int width_ = 150;
};

}  // namespace MUI
