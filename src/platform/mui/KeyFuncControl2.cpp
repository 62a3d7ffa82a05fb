#include "platform/mui/KeyFuncControl2.h"

#include <climits>

#include "platform/mui/ControlFactory.h"

namespace MUI {

namespace {

constexpr int kScaleNumerator = 2;
constexpr int kScaleDenominator = 3;

int Scaled(int value) { return value * kScaleNumerator / kScaleDenominator; }

}  // namespace

MUI_REGISTER_CONTROL(KeyFuncControl2)

KeyFuncControl2::KeyFuncControl2()
{
    RemoveChips();
    // The keys start below the chips' row; without the chips they move up to the top.
    const std::vector<Item> items = GetItems();
    int top = INT_MAX;
    for (const Item& item : items) top = std::min(top, item.rect.top);
    ClearItems();
    for (const Item& item : items) {
        if (item.values[1] == kDisableUsage) continue;
        const RECT& r = item.rect;
        AddItem(item.values, item.name,
                RECT{Scaled(r.left), Scaled(r.top - top), Scaled(r.right), Scaled(r.bottom - top)});
    }
    SetTextSize(10);
}

}  // namespace MUI
