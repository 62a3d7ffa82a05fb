#include "platform/mui/MComboBox.h"

#include <algorithm>

#include <QKeyEvent>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>

#include "platform/mui/ControlFactory.h"
#include "platform/mui/Painting.h"
#include "platform/mui/SkinImages.h"

namespace MUI {

namespace {

// The drop-down list: a popup that reports the row chosen with a click or Enter, and closes
// without a choice on Escape or on a click anywhere outside it.
class ComboList : public QListWidget {
public:
    ComboList(std::shared_ptr<ControlLink> link) : QListWidget(nullptr), link_(std::move(link))
    {
        setWindowFlags(Qt::Popup | Qt::FramelessWindowHint);
        setAttribute(Qt::WA_DeleteOnClose);
        setObjectName(QStringLiteral("ComboWnd"));
        connect(this, &QListWidget::itemClicked, this,
                [this](QListWidgetItem* item) { Choose(row(item)); });
    }

protected:
    void keyPressEvent(QKeyEvent* event) override
    {
        if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
            Choose(currentRow());
            return;
        }
        if (event->key() == Qt::Key_Escape) {
            close();
            return;
        }
        QListWidget::keyPressEvent(event);
    }

    // While the popup is open every press reaches it, also one outside it, which comes to the
    // list's frame: the scroll area there lets mouse events pass unhandled, so the popup would
    // stay open.
    bool event(QEvent* event) override
    {
        if (event->type() == QEvent::MouseButtonPress ||
            event->type() == QEvent::MouseButtonDblClick) {
            if (!rect().contains(static_cast<QMouseEvent*>(event)->position().toPoint())) {
                close();
                return true;
            }
        }
        return QListWidget::event(event);
    }

private:
    void Choose(int index)
    {
        close();
        ControlLink::Guard control(*link_);
        if (auto* box = dynamic_cast<MComboBox*>(control.get())) box->PickItem(index);
    }

    std::shared_ptr<ControlLink> link_;
};

// Below the box, or above it when the screen ends first; where neither side has room for the
// whole list, on the roomier side, cut to it (the list scrolls).
QRect ListPlace(const QWidget* box, int height)
{
    const QPoint top = box->mapToGlobal(QPoint(0, 0));
    const QPoint bottom = box->mapToGlobal(QPoint(0, box->height()));
    const QScreen* screen = box->screen();
    if (screen == nullptr) return QRect(bottom, QSize(box->width(), height));
    const QRect area = screen->availableGeometry();
    const int below = area.y() + area.height() - bottom.y();
    const int above = top.y() - area.y();
    if (height <= below || below >= above) {
        return QRect(bottom, QSize(box->width(), std::min(height, std::max(below, 0))));
    }
    const int shown = std::min(height, above);
    return QRect(QPoint(top.x(), top.y() - shown), QSize(box->width(), shown));
}

}  // namespace

MComboBox::MComboBox() { SetTextColor(0xFF000000); }

int MComboBox::AddItem(std::wstring_view text, int data)
{
    auto lock = Lock();
    const int index = items_.Add(std::wstring(text), data);
    Invalidate();
    return index;
}

int MComboBox::InsertItem(int index, std::wstring_view text, int data)
{
    auto lock = Lock();
    index = items_.Insert(index, std::wstring(text), data);
    Invalidate();
    return index;
}

bool MComboBox::DeleteItem(int index)
{
    auto lock = Lock();
    const bool wasSelected = index == items_.CurSel();
    if (!items_.Remove(index)) return false;
    if (wasSelected) ShowSelectedText();
    Invalidate();
    return true;
}

void MComboBox::DelAllItems()
{
    auto lock = Lock();
    items_.Clear();
    ShowSelectedText();
}

int MComboBox::GetItemCount() const
{
    auto lock = Lock();
    return items_.Count();
}

std::wstring MComboBox::GetItemText(int index) const
{
    auto lock = Lock();
    return items_.Text(index);
}

bool MComboBox::SetItemText(int index, std::wstring_view text)
{
    auto lock = Lock();
    if (!items_.SetText(index, std::wstring(text))) return false;
    if (index == items_.CurSel()) ShowSelectedText();
    Invalidate();
    return true;
}

int MComboBox::GetItemData(int index) const
{
    auto lock = Lock();
    return items_.Data(index);
}

bool MComboBox::SetItemData(int index, int data)
{
    auto lock = Lock();
    return items_.SetData(index, data);
}

int MComboBox::SetCurSel(int index)
{
    auto lock = Lock();
    items_.SetCurSel(index);
    ShowSelectedText();
    return items_.CurSel();
}

int MComboBox::GetCurSel() const
{
    auto lock = Lock();
    return items_.CurSel();
}

int MComboBox::SelectData(int data)
{
    auto lock = Lock();
    const int index = items_.SelectData(data);
    if (index >= 0) ShowSelectedText();
    return index;
}

int MComboBox::GetCurData() const
{
    auto lock = Lock();
    return items_.CurData();
}

void MComboBox::SetListItemHeight(int height, int visibleItems)
{
    auto lock = Lock();
    listItemHeight_ = std::max(height, 8);
    listVisibleItems_ = std::max(visibleItems, 1);
}

void MComboBox::SetListColors(ARGB background, ARGB selected)
{
    auto lock = Lock();
    listBackground_ = background;
    listSelected_ = selected;
}

void MComboBox::ShowEdit()
{
    auto lock = Lock();
    editing_ = true;
    titleEx_ = GetTitle();
    Invalidate();
}

bool MComboBox::IsEditing() const
{
    auto lock = Lock();
    return editing_;
}

std::wstring MComboBox::GetTitleEx() const
{
    auto lock = Lock();
    return titleEx_;
}

void MComboBox::EndEdit(const std::wstring& text)
{
    {
        auto lock = Lock();
        if (!editing_) return;
        editing_ = false;
        titleEx_ = text;
        Invalidate();
    }
    Notify(kNotifyEditEnded, GetCurSel());
}

void MComboBox::PickItem(int index)
{
    bool changed = false;
    {
        auto lock = Lock();
        if (!items_.IsValid(index)) return;
        changed = items_.SetCurSel(index);
        ShowSelectedText();
    }
    if (changed || NotifiesEveryPick()) Notify(kNotifyClick, index);
}

void MComboBox::OpenList()
{
    QWidget* widget = Widget();
    // A list closed a moment ago may still wait for its deletion: it does not count as open.
    if (!widget || IsListOpen()) return;
    auto* list = new ComboList(Link());
    int rows = 0;
    int rowHeight = 30;
    {
        auto lock = Lock();
        const QColor text = ToQColor(GetTextColor());
        for (const auto& item : items_.Items()) {
            auto* row = new QListWidgetItem(ToQString(item.text), list);
            row->setForeground(text);
            row->setSizeHint(QSize(0, listItemHeight_));
        }
        list->setCurrentRow(items_.CurSel());
        list->setFont(MakeFont(GetFont()));
        // The chosen and the pointed-at rows keep the list's own text colour, so they read as
        // well as the others; no focus frame is drawn around a row.
        const QString ink = ToQColor(GetTextColor()).name(QColor::HexArgb);
        list->setStyleSheet(
            QStringLiteral("QListWidget{background:%1;border:1px solid #d0d0d0;outline:0;}"
                           "QListWidget::item{color:%3;padding-left:8px;}"
                           "QListWidget::item:selected{background:%2;color:%3;}"
                           "QListWidget::item:hover{background:%4;color:%3;}")
                .arg(ToQColor(listBackground_).name(QColor::HexArgb),
                     ToQColor(listSelected_).name(QColor::HexArgb), ink,
                     QColor(0xF2, 0xF2, 0xF2).name()));
        rows = std::clamp(items_.Count(), 1, listVisibleItems_);
        rowHeight = listItemHeight_;
    }
    list->setGeometry(ListPlace(widget, rows * rowHeight + 2));
    list_ = list;
    list->show();
}

bool MComboBox::IsListOpen() const { return !list_.isNull() && list_->isVisible(); }

void MComboBox::ShowSelectedText() { MControl::SetTitle(items_.CurText()); }

void MComboBox::SyncWidget(QWidget* widget)
{
    MControl::SyncWidget(widget);
    // The list goes with the box when the box is hidden or disabled.
    if (list_ && (!IsShown() || !IsEnabled())) list_->close();
    const RECT r = GetRect();
    InPlaceEdit::Sync(editor_, editing_, widget, QRect(0, 0, RectWidth(r), RectHeight(r)),
                      GetTitle(), GetFont(), Link(),
                      [](MControl& control, const std::wstring& text) {
                          static_cast<MComboBox&>(control).EndEdit(text);
                      });
}

void MComboBox::Paint(QPainter& painter)
{
    const RECT r = GetRect();
    const QRect area(0, 0, RectWidth(r), RectHeight(r));
    painter.setRenderHint(QPainter::Antialiasing);
    const QImage image = LoadSkinImage(GetImage());
    if (!image.isNull()) {
        DrawStateImage(painter, area, image, GetImageStates(), ButtonState());
    } else if (DrawsField()) {
        QPainterPath field;
        field.addRoundedRect(QRectF(area).adjusted(0.5, 0.5, -0.5, -0.5), 4, 4);
        painter.fillPath(field, IsEnabled() ? QColor(255, 255, 255) : QColor(240, 240, 240));
        painter.setPen(QColor(IsHovered() ? 0xA0A0A0 : 0xD0D0D0));
        painter.drawPath(field);
    }
    const int arrow = std::min(area.height(), 24);
    if (image.isNull()) {
        // A small chevron stands in for the picture's arrow.
        const QPointF c(area.right() - arrow / 2.0 - 4, area.center().y() + 1);
        painter.setPen(QPen(ToQColor(GetTextColor()), 1.5));
        painter.drawPolyline(QPolygonF{c + QPointF(-4, -2), c + QPointF(0, 2), c + QPointF(4, -2)});
    }
    if (editing_) return;
    DrawControlText(painter, area.adjusted(10, 0, -(arrow + 6), 0), GetTitle(), GetFont(),
                    IsEnabled() ? GetTextColor() : 0xFFA0A0A0, GetAlignment(), kVAlignCenter, false,
                    GetStyle());
}

void MComboBox::OnClick(const MouseEvent&)
{
    if (IsEditing()) return;
    OpenList();
}

void MComboBox::OnMouseEnter() { Invalidate(); }
void MComboBox::OnMouseLeave() { Invalidate(); }

MUI_REGISTER_CONTROL(MComboBox)

}  // namespace MUI
