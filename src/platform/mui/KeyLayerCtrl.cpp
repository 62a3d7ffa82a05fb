#include "platform/mui/KeyLayerCtrl.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>

#include "platform/mui/ControlFactory.h"
#include "platform/mui/DrawPicture.h"
#include "platform/mui/Painting.h"
#include "platform/mui/SkinImages.h"

namespace MUI {

namespace {

constexpr QColor kTrack(0xEE, 0xEE, 0xEE);
constexpr QColor kSelected(0x21, 0xA9, 0x39);
constexpr ARGB kSelectedText = 0xFFFFFFFF;
constexpr int kGap = 4;

}  // namespace

MUI_REGISTER_CONTROL(KeyLayerCtrl)

KeyLayerCtrl::KeyLayerCtrl()
{
    SetAlignment(kAlignCenter);
    items_ = {Item{0, {}}, Item{1, {}}};
}

int KeyLayerCtrl::AddItem(int layerId, std::wstring_view text)
{
    auto lock = Lock();
    if (layerId < 0 || layerId > kMaxLayer) return -1;
    for (const Item& item : items_)
        if (item.layer == layerId) return -1;
    items_.push_back(Item{layerId, std::wstring(text)});
    Invalidate();
    return static_cast<int>(items_.size()) - 1;
}

int KeyLayerCtrl::GetItemCount() const
{
    auto lock = Lock();
    return static_cast<int>(items_.size());
}

bool KeyLayerCtrl::SetItemText(int index, std::wstring_view text)
{
    auto lock = Lock();
    if (index < 0 || index >= static_cast<int>(items_.size())) return false;
    items_[index].text = std::wstring(text);
    Invalidate();
    return true;
}

std::wstring KeyLayerCtrl::GetItemText(int index) const
{
    auto lock = Lock();
    return index >= 0 && index < static_cast<int>(items_.size()) ? items_[index].text
                                                                 : std::wstring();
}

int KeyLayerCtrl::GetItemLayer(int index) const
{
    auto lock = Lock();
    return index >= 0 && index < static_cast<int>(items_.size()) ? items_[index].layer : -1;
}

int KeyLayerCtrl::GetSelectKeyLayerID() const
{
    auto lock = Lock();
    return selected_;
}

bool KeyLayerCtrl::SetSelectKeyLayer(int layerId)
{
    auto lock = Lock();
    if (layerId < 0 || layerId > kMaxLayer) return false;
    selected_ = layerId;
    Invalidate();
    return true;
}

int KeyLayerCtrl::MarkWidth() const
{
    const QImage mark = LoadSkinImage(GetImage());
    if (mark.isNull()) return 0;
    const RECT r = GetRect();
    const int height = RectHeight(r);
    return mark.height() > 0 ? mark.width() * height / mark.height() + kGap : 0;
}

QRectF KeyLayerCtrl::ItemBox(int index) const
{
    const RECT r = GetRect();
    const int left = MarkWidth();
    const int count = std::max<int>(static_cast<int>(items_.size()), 1);
    const double width = std::max(0, RectWidth(r) - left) / static_cast<double>(count);
    return QRectF(left + index * width, 0, width, RectHeight(r));
}

int KeyLayerCtrl::ItemFromPoint(int x, int y) const
{
    auto lock = Lock();
    for (int i = 0; i < static_cast<int>(items_.size()); ++i)
        if (ItemBox(i).contains(QPointF(x, y))) return i;
    return -1;
}

void KeyLayerCtrl::Paint(QPainter& painter)
{
    painter.setRenderHint(QPainter::Antialiasing);
    const RECT r = GetRect();
    const QImage mark = LoadSkinImage(GetImage());
    if (!mark.isNull()) {
        DrawPicture(painter, QRectF(0, 0, MarkWidth() - kGap, RectHeight(r)), mark);
    }
    if (items_.empty()) return;
    const QRectF first = ItemBox(0);
    const QRectF track(first.left(), 0, RectWidth(r) - first.left(), RectHeight(r));
    const qreal radius = track.height() / 2;
    QPainterPath trackShape;
    trackShape.addRoundedRect(track, radius, radius);
    painter.fillPath(trackShape, kTrack);
    for (int i = 0; i < static_cast<int>(items_.size()); ++i) {
        const QRectF box = ItemBox(i);
        const bool selected = items_[i].layer == selected_;
        if (selected) {
            QPainterPath shape;
            shape.addRoundedRect(box.adjusted(1, 1, -1, -1), radius - 1, radius - 1);
            painter.fillPath(shape, kSelected);
        }
        DrawControlText(painter, box.toRect(), items_[i].text, GetFont(),
                        selected ? kSelectedText : GetTextColor(), kAlignCenter, kVAlignCenter,
                        false);
    }
}

void KeyLayerCtrl::OnClick(const MouseEvent& event)
{
    const int index = ItemFromPoint(event.x, event.y);
    if (index < 0) return;
    int layer = 0;
    {
        auto lock = Lock();
        layer = items_[index].layer;
        if (layer == selected_) return;
        selected_ = layer;
        Invalidate();
    }
    Notify(kNotifyClick, layer);
}

}  // namespace MUI
