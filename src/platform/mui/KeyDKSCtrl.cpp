#include "platform/mui/KeyDKSCtrl.h"

#include <QPainter>
#include <cstdio>

#include "platform/mui/ControlFactory.h"
#include "platform/mui/Painting.h"

namespace MUI {

namespace {

constexpr int kBindingWidth = 100;
constexpr int kRowHeight = 40;
constexpr int kRowPitch = 46;
constexpr int kPointLeft = 120;
constexpr int kPointWidth = 64;
constexpr int kPointPitch = 70;
constexpr int kBoxSize = 20;
constexpr QColor kBoxBorder(0x96, 0x96, 0x96);
constexpr QColor kBoxOn(0x21, 0xA9, 0x39);
constexpr int kDefaultPoints[] = {15, 35, 35, 15};

std::wstring PointCaption(int value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%0.1fmm", value / 10.0);
    return std::wstring(text, text + std::char_traits<char>::length(text));
}

bool Contains(const RECT& r, int x, int y)
{
    return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}

}  // namespace

MUI_REGISTER_CONTROL(KeyDKSCtrl)

KeyDKSCtrl::KeyDKSCtrl()
{
    SetTextSize(12);
    SetCellCount(kFirstPoint + 4);
    for (int k = 0; k < 4; ++k) SetItemValue(kFirstPoint + k, kDefaultPoints[k]);
    current_ = 0;
}

int KeyDKSCtrl::GetItemState(int index) const
{
    auto lock = Lock();
    const int row = (index - kFirstStateIndex) / kStateIndexStep;
    if (index < kFirstStateIndex || (index - kFirstStateIndex) % kStateIndexStep != 0 ||
        row >= kBindingRows)
        return 0;
    return states_[static_cast<size_t>(row)];
}

bool KeyDKSCtrl::SetItemState(int index, int state)
{
    auto lock = Lock();
    const int row = (index - kFirstStateIndex) / kStateIndexStep;
    if (index < kFirstStateIndex || (index - kFirstStateIndex) % kStateIndexStep != 0 ||
        row >= kBindingRows)
        return false;
    states_[static_cast<size_t>(row)] = state;
    Invalidate();
    return true;
}

bool KeyDKSCtrl::SetItemValue(int cell, int value)
{
    auto lock = Lock();
    if (cell < kFirstPoint || cell >= static_cast<int>(cells_.size())) return false;
    KeyCell& point = cells_[static_cast<size_t>(cell)];
    point.value = value;
    point.caption = PointCaption(value);
    Invalidate();
    return true;
}

POINT KeyDKSCtrl::GetItemPoint(int cell) const
{
    auto lock = Lock();
    const RECT rect = GetRect();
    const RECT box = GetCellRect(cell);
    return POINT{rect.left + box.left, rect.top + box.top};
}

RECT KeyDKSCtrl::TriggerRect(int row, int point)
{
    const int left = kPointLeft + point * kPointPitch + (kPointWidth - kBoxSize) / 2;
    const int top = kRowPitch * (row + 1) + (kRowHeight - kBoxSize) / 2;
    return RECT{left, top, left + kBoxSize, top + kBoxSize};
}

std::vector<RECT> KeyDKSCtrl::CellRects() const
{
    std::vector<RECT> rects;
    for (int row = 0; row < kBindingRows; ++row) {
        const int top = kRowPitch * (row + 1);
        rects.push_back(RECT{0, top, kBindingWidth, top + kRowHeight});
    }
    for (int k = 0; k < 4; ++k) {
        const int left = kPointLeft + k * kPointPitch;
        rects.push_back(RECT{left, 0, left + kPointWidth, kRowHeight});
    }
    return rects;
}

int KeyDKSCtrl::ClickValue(int index) const
{
    return index >= kFirstPoint ? kClickPoint : kClickBinding;
}

void KeyDKSCtrl::Paint(QPainter& painter)
{
    KeyCellControl::Paint(painter);
    painter.setRenderHint(QPainter::Antialiasing);
    for (int row = 0; row < kBindingRows; ++row) {
        for (int k = 0; k < 4; ++k) {
            const QRectF box = QRectF(ToQRect(TriggerRect(row, k))).adjusted(0.5, 0.5, -0.5, -0.5);
            painter.setPen(QPen(kBoxBorder, 1.0));
            painter.setBrush(states_[static_cast<size_t>(row)] & (1 << k) ? QBrush(kBoxOn)
                                                                          : QBrush(Qt::white));
            painter.drawRoundedRect(box, 4, 4);
        }
    }
}

void KeyDKSCtrl::OnClick(const MouseEvent& event)
{
    for (int row = 0; row < kBindingRows; ++row) {
        for (int k = 0; k < 4; ++k) {
            if (!Contains(TriggerRect(row, k), event.x, event.y)) continue;
            {
                auto lock = Lock();
                states_[static_cast<size_t>(row)] ^= 1 << k;
                current_ = row;
                Invalidate();
            }
            Notify(kNotifyClick, kClickTrigger);
            return;
        }
    }
    KeyCellControl::OnClick(event);
}

}  // namespace MUI
