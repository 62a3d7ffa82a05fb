#include "platform/mui/KeyboardCtrl.h"

#include <algorithm>

#include <QPainter>
#include <QPainterPath>

#include "platform/mui/ControlFactory.h"
#include "platform/mui/DrawPicture.h"
#include "platform/mui/Painting.h"
#include "platform/mui/SkinImages.h"

namespace MUI {

namespace {

constexpr int kNoticeSize = 16;
constexpr int kMinCaptionSize = 9;
constexpr ARGB kNoticeColor = 0xFF737373;
// Edge of the key pictures kept unscaled when they are stretched over a key.
constexpr int kKeyPictureCorner = 6;

bool IsLight(COLORREF c)
{
    return ColorRefRed(c) * 299 + ColorRefGreen(c) * 587 + ColorRefBlue(c) * 114 > 150000;
}

QColor Mix(const QColor& a, const QColor& b, double t)
{
    return QColor::fromRgbF(static_cast<float>(a.redF() + (b.redF() - a.redF()) * t),
                            static_cast<float>(a.greenF() + (b.greenF() - a.greenF()) * t),
                            static_cast<float>(a.blueF() + (b.blueF() - a.blueF()) * t));
}

}  // namespace

KeyboardCtrl::KeyboardCtrl()
    : imageNormal_(L"img_key_normal.png"),
      imageHover_(L"img_key_hover.png"),
      imageChecked_(L"icon/img_key3.png")
{
    SetTextSize(12);
}

KeyboardCtrl::ViewGuard KeyboardCtrl::Guard() const
{
    ViewGuard guard{std::unique_lock(viewMutex_), {}};
    guard.window = Lock();
    return guard;
}

void KeyboardCtrl::EnterCriSec() { viewMutex_.lock(); }
void KeyboardCtrl::LeaveCriSec() { viewMutex_.unlock(); }

int KeyboardCtrl::AddKeyItem(std::wstring_view name, std::wstring_view desc, int code, int left,
                             int top, int right, int bottom, std::wstring_view icon, COLORREF color)
{
    auto guard = Guard();
    KeyItem key;
    key.name = std::wstring(name);
    key.desc = std::wstring(desc);
    key.code = code;
    key.rect = RECT{left, top, right, bottom};
    key.icon = std::wstring(icon);
    key.color = color & 0xFFFFFF;
    key.caption = key.name;
    keys_.push_back(std::move(key));
    Invalidate();
    return static_cast<int>(keys_.size()) - 1;
}

void KeyboardCtrl::ClearKeyItems()
{
    auto guard = Guard();
    keys_.clear();
    current_ = -1;
    hot_ = -1;
    painting_ = false;
    Invalidate();
}

int KeyboardCtrl::GetKeyItemCount() const
{
    auto guard = Guard();
    return static_cast<int>(keys_.size());
}

std::vector<KeyItem> KeyboardCtrl::GetKeyItems() const
{
    auto guard = Guard();
    return keys_;
}

bool KeyboardCtrl::GetKeyItem(int code, KeyItem* item) const
{
    auto guard = Guard();
    const int index = IndexOfCode(code);
    if (index < 0) return false;
    if (item) *item = keys_[index];
    return true;
}

void KeyboardCtrl::SetKeyboardColor(COLORREF color)
{
    auto guard = Guard();
    keyboardColor_ = color & 0xFFFFFF;
    keyboardColorSet_ = true;
    Invalidate();
}

COLORREF KeyboardCtrl::GetKeyboardColor() const
{
    auto guard = Guard();
    return keyboardColor_;
}

void KeyboardCtrl::SetKeyboardSize(int width, int height)
{
    auto guard = Guard();
    keyboardWidth_ = std::max(width, 0);
    keyboardHeight_ = std::max(height, 0);
    Invalidate();
}

SIZE KeyboardCtrl::GetKeyboardSize() const
{
    auto guard = Guard();
    return SIZE{keyboardWidth_, keyboardHeight_};
}

void KeyboardCtrl::SetBoardArea(const RECT& area)
{
    auto guard = Guard();
    boardArea_ = area;
    Invalidate();
}

RECT KeyboardCtrl::GetBoardArea() const
{
    auto guard = Guard();
    return boardArea_;
}

void KeyboardCtrl::SetModelId(int modelId)
{
    auto guard = Guard();
    modelId_ = modelId;
}

int KeyboardCtrl::GetModelId() const
{
    auto guard = Guard();
    return modelId_;
}

void KeyboardCtrl::SetKeyImages(std::wstring_view normal, std::wstring_view hover,
                                std::wstring_view checked)
{
    auto guard = Guard();
    imageNormal_ = std::wstring(normal);
    imageHover_ = std::wstring(hover);
    imageChecked_ = std::wstring(checked);
    Invalidate();
}

bool KeyboardCtrl::SetKeyColor(int code, COLORREF color)
{
    auto guard = Guard();
    const int index = IndexOfCode(code);
    if (index < 0) return false;
    // The live preview sets the same colours a hundred times a second: no redraw for those.
    if (keys_[index].color == (color & 0xFFFFFF)) return true;
    keys_[index].color = color & 0xFFFFFF;
    Invalidate();
    return true;
}

COLORREF KeyboardCtrl::GetKeyColor(int code) const
{
    auto guard = Guard();
    const int index = IndexOfCode(code);
    return index < 0 ? 0 : keys_[index].color;
}

void KeyboardCtrl::ResetAllItemsColor(COLORREF color)
{
    auto guard = Guard();
    for (auto& key : keys_) key.color = color & 0xFFFFFF;
    Invalidate();
}

void KeyboardCtrl::SetAllSelectColor(COLORREF color)
{
    auto guard = Guard();
    for (auto& key : keys_)
        if (key.checked) key.color = color & 0xFFFFFF;
    Invalidate();
}

bool KeyboardCtrl::SetKeyItemInfo(int code, std::wstring_view caption, int type,
                                  std::wstring_view tip)
{
    auto guard = Guard();
    const int index = IndexOfCode(code);
    if (index < 0) return false;
    keys_[index].caption = std::wstring(caption);
    keys_[index].type = type;
    keys_[index].tip = std::wstring(tip);
    Invalidate();
    return true;
}

void KeyboardCtrl::ResetTipKey()
{
    auto guard = Guard();
    for (auto& key : keys_) {
        key.caption = key.name;
        key.type = 0;
        key.tip.clear();
    }
    Invalidate();
}

int KeyboardCtrl::GetCurrentKeyValue() const
{
    auto guard = Guard();
    if (IsPickingPair()) return pickB_ << 16 | pickA_;
    return current_;
}

void KeyboardCtrl::SetCurrentKeyValue(int code)
{
    auto guard = Guard();
    current_ = code < 0 ? -1 : code;
    Invalidate();
}

int KeyboardCtrl::GetSelectKey() const { return GetCurrentKeyValue(); }

bool KeyboardCtrl::SetKeyCheck(int code, bool checked)
{
    auto guard = Guard();
    const int index = IndexOfCode(code);
    if (index < 0) return false;
    keys_[index].checked = checked;
    Invalidate();
    return true;
}

bool KeyboardCtrl::IsKeyChecked(int code) const
{
    auto guard = Guard();
    const int index = IndexOfCode(code);
    return index >= 0 && keys_[index].checked;
}

int KeyboardCtrl::GetCheckItemCount() const
{
    auto guard = Guard();
    return static_cast<int>(
        std::count_if(keys_.begin(), keys_.end(), [](const KeyItem& k) { return k.checked; }));
}

std::vector<int> KeyboardCtrl::GetCheckedKeys() const
{
    auto guard = Guard();
    std::vector<int> codes;
    for (const auto& key : keys_)
        if (key.checked) codes.push_back(key.code);
    return codes;
}

void KeyboardCtrl::ResetAllItemCheck(bool checked)
{
    auto guard = Guard();
    for (auto& key : keys_) key.checked = checked;
    pickA_ = 0;
    pickB_ = 0;
    Invalidate();
}

void KeyboardCtrl::InvertSelectItem()
{
    auto guard = Guard();
    for (auto& key : keys_) key.checked = !key.checked;
    Invalidate();
}

void KeyboardCtrl::SetSelectMode(int mode)
{
    auto guard = Guard();
    selectMode_ = std::clamp(mode, kSelectNone, kSelectMultiple);
    painting_ = false;
}

int KeyboardCtrl::GetSelectMode() const
{
    auto guard = Guard();
    return selectMode_;
}

int KeyboardCtrl::GetKeyCodeByPoint(int x, int y) const
{
    auto guard = Guard();
    const RECT r = GetRect();
    const int index = IndexAt(x - r.left, y - r.top);
    return index < 0 ? 0 : keys_[index].code;
}

int KeyboardCtrl::GetKeyCodeAt(int x, int y) const
{
    auto guard = Guard();
    const int index = IndexAt(x, y);
    return index < 0 ? 0 : keys_[index].code;
}

int KeyboardCtrl::IndexOfCode(int code) const
{
    for (size_t i = 0; i < keys_.size(); ++i)
        if (keys_[i].code == code) return static_cast<int>(i);
    return -1;
}

KeyboardCtrl::Placement KeyboardCtrl::Place() const
{
    int width = keyboardWidth_;
    int height = keyboardHeight_;
    if (width <= 0 || height <= 0) {
        // Without a size the keys' own extent is the keyboard.
        width = height = 0;
        for (const auto& key : keys_) {
            width = std::max(width, key.rect.right);
            height = std::max(height, key.rect.bottom);
        }
    }
    const RECT r = GetRect();
    // The board's picture, in the view, where it lies inside the view.
    const RECT board{std::max(boardArea_.left, r.left) - r.left,
                     std::max(boardArea_.top, r.top) - r.top,
                     std::min(boardArea_.right, r.right) - r.left,
                     std::min(boardArea_.bottom, r.bottom) - r.top};
    if (board.right > board.left && board.bottom > board.top) {
        const double w = RectWidth(board);
        const double h = RectHeight(board);
        double scale = 1.0;
        if (width > 0 && height > 0) scale = std::min({1.0, w / width, h / height});
        // Centred across the picture and hung from its top, as from the view's own.
        return Placement{scale, board.left + (w - width * scale) / 2.0,
                         static_cast<double>(board.top)};
    }
    const double w = RectWidth(r);
    const double h = RectHeight(r);
    double scale = 1.0;
    if (width > 0 && height > 0) scale = std::min({1.0, w / width, h / height});
    // Centred across, hung from the top edge: the pages place controls right below the board.
    return Placement{scale, (w - width * scale) / 2.0, 0.0};
}

int KeyboardCtrl::IndexAt(int x, int y) const
{
    const Placement p = Place();
    if (p.scale <= 0) return -1;
    const double kx = (x - p.left) / p.scale;
    const double ky = (y - p.top) / p.scale;
    // The last key drawn is on top.
    for (int i = static_cast<int>(keys_.size()) - 1; i >= 0; --i) {
        const RECT& k = keys_[i].rect;
        if (kx >= k.left && kx < k.right && ky >= k.top && ky < k.bottom) return i;
    }
    return -1;
}

void KeyboardCtrl::Paint(QPainter& painter)
{
    const RECT r = GetRect();
    const QRect area(0, 0, RectWidth(r), RectHeight(r));
    FontSpec noticeFont = GetFont();
    noticeFont.size = kNoticeSize;
    const std::wstring notice = GetTitle();
    if (keys_.empty()) {
        // Nothing to draw: the view says why on one line, when it was told.
        DrawControlText(painter, area, notice, noticeFont, kNoticeColor, kAlignCenter,
                        kVAlignCenter, false);
        return;
    }
    const Placement p = Place();
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(p.left, p.top);
    painter.scale(p.scale, p.scale);
    if (keyboardColorSet_ && keyboardWidth_ > 0 && keyboardHeight_ > 0) {
        QPainterPath body;
        body.addRoundedRect(QRectF(0, 0, keyboardWidth_, keyboardHeight_), 10, 10);
        painter.fillPath(body, ColorRefToQColor(keyboardColor_));
    }
    for (size_t i = 0; i < keys_.size(); ++i) {
        PaintKey(painter, keys_[i], static_cast<int>(i));
        PaintKeyTravel(painter, keys_[i]);
    }
    painter.restore();
    if (!notice.empty()) {
        // Below the keys: a picture that is missing, for example.
        const int top = static_cast<int>(p.top + KeysHeight() * p.scale) + 4;
        DrawControlText(painter, QRect(0, std::min(top, area.height() - 24), area.width(), 24),
                        notice, noticeFont, kNoticeColor, kAlignCenter, kVAlignCenter, false);
    }
}

int KeyboardCtrl::KeysHeight() const
{
    int height = keyboardHeight_;
    for (const auto& key : keys_) height = std::max(height, static_cast<int>(key.rect.bottom));
    return height;
}

void KeyboardCtrl::PaintKey(QPainter& painter, const KeyItem& key, int index)
{
    const QRectF box(key.rect.left, key.rect.top, RectWidth(key.rect), RectHeight(key.rect));
    if (box.width() <= 0 || box.height() <= 0) return;
    const bool hot = index == hot_;

    // The cap: a skirt and a slightly raised top in the key's colour. A cap in the board's own
    // dark colour is lifted so that every key stands out, also one with nothing assigned.
    const QColor base = ColorRefToQColor(key.color);
    const bool light = IsLight(key.color);
    const QColor skirt = light ? base.darker(112) : Mix(base, Qt::white, 0.14);
    const QColor top = light ? base : Mix(base, Qt::white, 0.22);
    QPainterPath shape;
    shape.addRoundedRect(box.adjusted(1.5, 1.5, -1.5, -1.5), 5, 5);
    painter.fillPath(shape, skirt);
    QPainterPath face;
    face.addRoundedRect(box.adjusted(4, 3, -4, -6), 4, 4);
    painter.fillPath(face, top);
    painter.setPen(QPen(light ? QColor(0, 0, 0, 60) : QColor(255, 255, 255, 55), 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(shape);

    // The skin's look of the key's state over the drawn cap.
    const std::wstring& imageName = key.checked && !imageChecked_.empty() ? imageChecked_
                                    : hot && !imageHover_.empty()         ? imageHover_
                                                                          : imageNormal_;
    DrawNineGrid(painter, box.toRect(), LoadSkinImage(imageName), kKeyPictureCorner);

    QColor outline;
    double width = 0;
    if (key.checked) {
        outline = QColor(0x21, 0xA9, 0x39);
        width = 2.5;
    } else if (key.code == current_) {
        outline = QColor(0x2F, 0x7D, 0xE1);
        width = 2;
    } else if (hot) {
        outline = QColor(0xB4, 0xB4, 0xB4);
        width = 1.5;
    }
    if (width > 0) {
        painter.setPen(QPen(outline, width));
        painter.drawPath(shape);
    }

    const QImage icon = key.caption == key.name ? LoadSkinImage(key.icon) : QImage();
    if (!icon.isNull()) {
        const double side = std::min(box.width(), box.height()) * 0.6;
        DrawPicture(painter,
                    QRectF(box.center().x() - side / 2, box.center().y() - side / 2, side, side),
                    icon);
        return;
    }
    const ARGB text = light ? 0xFF202020 : 0xFFF0F0F0;
    // Long captions wrap between words inside the cap's top, and take a smaller size when a
    // word is still too wide.
    const QRect textBox = box.adjusted(4, 3, -4, -6).toRect();
    DrawControlText(painter, textBox, key.caption,
                    FitFont(key.caption, GetFont(), textBox, true, kMinCaptionSize), text,
                    kAlignCenter, kVAlignCenter, true);
}

void KeyboardCtrl::OnMouseDown(const MouseEvent& event)
{
    if (event.button != MouseEvent::kLeft || !IsEnabled()) return;
    auto guard = Guard();
    const int index = IndexAt(event.x, event.y);
    keyPressed_ = index >= 0;
    if (index < 0) return;
    KeyItem& key = keys_[index];
    current_ = key.code;
    if (IsPickingPair()) {
        PickPairKey(key.code);
    } else if (selectMode_ == kSelectSingle) {
        for (auto& other : keys_) other.checked = false;
        key.checked = true;
    } else if (selectMode_ == kSelectMultiple) {
        key.checked = !key.checked;
        paintState_ = key.checked;
        painting_ = true;
    }
    Invalidate();
}

void KeyboardCtrl::OnMouseMove(const MouseEvent& event)
{
    auto guard = Guard();
    const int index = IndexAt(event.x, event.y);
    if (index != hot_) {
        hot_ = index;
        Invalidate();
    }
    if (painting_ && index >= 0 && keys_[index].checked != paintState_) {
        keys_[index].checked = paintState_;
        Invalidate();
    }
}

void KeyboardCtrl::OnMouseUp(const MouseEvent& event)
{
    if (event.button != MouseEvent::kLeft) return;
    int code = -1;
    {
        auto guard = Guard();
        painting_ = false;
        if (!keyPressed_) return;
        keyPressed_ = false;
        code = current_;
    }
    Notify(kNotifyClick, code);
}

void KeyboardCtrl::OnMouseLeave()
{
    auto guard = Guard();
    hot_ = -1;
    Invalidate();
}

void KeyboardCtrl::OnClick(const MouseEvent&)
{
    // The release already reported the key.
}

MUI_REGISTER_CONTROL(KeyboardCtrl)

}  // namespace MUI
