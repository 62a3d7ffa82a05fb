#include "platform/mui/MDialog.h"

#include <QLabel>
#include <QPainter>
#include <QTimer>
#include <QWidget>

#include "platform/mui/ControlFactory.h"
#include "platform/mui/DialogCore.h"
#include "platform/mui/DrawPicture.h"
#include "platform/mui/Painting.h"
#include "platform/mui/SkinImages.h"
#include "platform/mui/UiThread.h"
#include "platform/mui/WindowCore.h"
#include "platform/mui/WindowWidget.h"

namespace MUI {

namespace {

// Repaints the window and re-applies the look after a change from any thread.
void PostRepaint(const std::shared_ptr<WindowCore>& core, bool layeredChanged)
{
    PostToUiThread([weak = std::weak_ptr<WindowCore>(core), layeredChanged] {
        auto c = weak.lock();
        if (!c || !c->widget) return;
        if (layeredChanged) {
            auto* dialog = dynamic_cast<MDialog*>(c->window);
            if (!dialog) return;
            c->widget->setAttribute(Qt::WA_TranslucentBackground, dialog->IsLayered());
        }
        c->widget->update();
    });
}

}  // namespace

MDialog::MDialog() : dialog_(std::make_unique<DialogCore>()) {}

MDialog::~MDialog()
{
    MDialog::DestroyWindow();
    std::vector<std::unique_ptr<MControl>> controls;
    {
        std::lock_guard lock(Mutex());
        controls.swap(dialog_->controls);
        dialog_->byId.clear();
    }
    // Destroyed without the window lock: a paint in progress holds a control's link first.
    controls.clear();
}

MControl* MDialog::CreateControl(std::wstring_view className, unsigned id, const RECT& rect,
                                 std::wstring_view text, int, int)
{
    return CreateChild(nullptr, className, id, rect, text, false);
}

MControl* MDialog::CreateArea(std::wstring_view className, unsigned id, const RECT& rect,
                              std::wstring_view text, int, int)
{
    return CreateChild(nullptr, className, id, rect, text, true);
}

MControl* MDialog::CreateChild(MControl* parent, std::wstring_view className, unsigned id,
                               const RECT& rect, std::wstring_view text, bool area)
{
    std::unique_ptr<MControl> control = ControlFactory::Create(className);
    if (!control) return nullptr;
    MControl* raw = control.get();
    raw->Attach(this, parent, id, std::wstring(className), area);
    {
        std::lock_guard lock(Mutex());
        if (parent) parent->hasChildren_ = true;
        dialog_->controls.push_back(std::move(control));
        dialog_->byId.emplace(id, raw);
    }
    raw->SetRect(rect);
    if (!text.empty()) raw->SetTitle(text);
    if (IsUiThread()) {
        raw->OnCreated();
    } else {
        PostToUiThread([link = raw->Link()] {
            ControlLink::Guard guard(*link);
            if (guard) guard->OnCreated();
        });
    }
    raw->Invalidate();
    return raw;
}

MControl* MDialog::GetControl(unsigned id) const
{
    std::lock_guard lock(Mutex());
    auto it = dialog_->byId.lower_bound(id);
    return it != dialog_->byId.end() && it->first == id ? it->second : nullptr;
}

std::vector<MControl*> MDialog::GetControls() const
{
    std::lock_guard lock(Mutex());
    std::vector<MControl*> list;
    list.reserve(dialog_->controls.size());
    for (const auto& control : dialog_->controls) list.push_back(control.get());
    return list;
}

void MDialog::DoOK() { EndModal(IDOK); }
void MDialog::DoCancel() { EndModal(IDCANCEL); }

void MDialog::SetMTimer(unsigned periodMs)
{
    {
        std::lock_guard lock(Mutex());
        dialog_->animationPeriod = periodMs;
    }
    OnControlAnimationChanged();
}

bool MDialog::AnyControlAnimated() const
{
    for (MControl* control : GetControls()) {
        if (control->IsAnimated()) return true;
    }
    return false;
}

void MDialog::OnControlAnimationChanged()
{
    PostToUiThread([weak = std::weak_ptr<WindowCore>(Core().shared_from_this())] {
        auto core = weak.lock();
        if (!core || !core->widget) return;
        auto* dialog = dynamic_cast<MDialog*>(core->window);
        if (!dialog) return;
        DialogCore& d = *dialog->dialog_;
        unsigned period;
        {
            std::lock_guard lock(core->mutex);
            period = d.animationPeriod;
        }
        if (period == 0 || !dialog->AnyControlAnimated()) {
            if (d.animationTimer) d.animationTimer->stop();
            return;
        }
        if (!d.animationTimer) {
            d.animationTimer = new QTimer(core->widget);
            QObject::connect(d.animationTimer, &QTimer::timeout, core->widget, [weak] {
                auto c = weak.lock();
                if (!c) return;
                MDialog* owner;
                {
                    std::lock_guard lock(c->mutex);
                    owner = c->hwnd ? dynamic_cast<MDialog*>(c->window) : nullptr;
                }
                if (!owner) return;
                bool ticked = false;
                for (MControl* control : owner->GetControls()) {
                    if (control->IsAnimated()) {
                        control->OnAnimationTick();
                        ticked = true;
                    }
                }
                if (!ticked && owner->dialog_->animationTimer) {
                    owner->dialog_->animationTimer->stop();
                }
            });
        }
        if (!d.animationTimer->isActive() ||
            d.animationTimer->interval() != static_cast<int>(period)) {
            d.animationTimer->start(static_cast<int>(period));
        }
    });
}

void MDialog::LoadBKImage(std::wstring_view name)
{
    {
        std::lock_guard lock(Mutex());
        dialog_->bkImage = name;
    }
    PostRepaint(Core().shared_from_this(), false);
}

std::wstring MDialog::GetBKImage() const
{
    std::lock_guard lock(Mutex());
    return dialog_->bkImage;
}

void MDialog::SetBackMode(int mode, int corner)
{
    {
        std::lock_guard lock(Mutex());
        dialog_->backMode = mode;
        dialog_->backCorner = corner;
    }
    PostRepaint(Core().shared_from_this(), false);
}

void MDialog::SetBackColor(ARGB fill, ARGB border)
{
    {
        std::lock_guard lock(Mutex());
        dialog_->hasBackColor = true;
        dialog_->backFill = fill;
        dialog_->backBorder = border;
    }
    PostRepaint(Core().shared_from_this(), false);
}

void MDialog::SetLayered(bool layered)
{
    {
        std::lock_guard lock(Mutex());
        dialog_->layered = layered;
    }
    PostRepaint(Core().shared_from_this(), true);
}

bool MDialog::IsLayered() const
{
    std::lock_guard lock(Mutex());
    return dialog_->layered;
}

void MDialog::EnableWindowDrag(bool enable)
{
    std::lock_guard lock(Mutex());
    dialog_->dragByBody = enable;
}

bool MDialog::IsWindowDragEnabled() const
{
    std::lock_guard lock(Mutex());
    return dialog_->dragByBody;
}

void MDialog::SetMessage(std::wstring_view text, int durationMs)
{
    unsigned generation;
    {
        std::lock_guard lock(Mutex());
        dialog_->message = text;
        generation = ++dialog_->messageGeneration;
    }
    PostToUiThread(
        [weak = std::weak_ptr<WindowCore>(Core().shared_from_this()), generation, durationMs] {
            auto core = weak.lock();
            if (!core || !core->widget) return;
            auto* dialog = dynamic_cast<MDialog*>(core->window);
            if (!dialog) return;
            DialogCore& d = *dialog->dialog_;
            const QString text = ToQString(dialog->GetMessageText());
            if (!d.messageLabel) {
                d.messageLabel = new QLabel(core->widget);
                d.messageLabel->setAlignment(Qt::AlignCenter);
                d.messageLabel->setAttribute(Qt::WA_TransparentForMouseEvents);
                d.messageLabel->setStyleSheet(
                    "background-color: rgba(40, 40, 40, 220); color: white; border-radius: 6px;"
                    "padding: 8px 16px;");
            }
            QLabel* label = d.messageLabel;
            if (text.isEmpty()) {
                label->hide();
                return;
            }
            label->setText(text);
            label->adjustSize();
            const QSize area = core->widget->size();
            label->move((area.width() - label->width()) / 2, area.height() - label->height() - 60);
            label->raise();
            label->show();
            QTimer::singleShot(std::max(1, durationMs), label, [weak, generation] {
                auto c = weak.lock();
                if (!c) return;
                auto* dlg = dynamic_cast<MDialog*>(c->window);
                if (!dlg) return;
                {
                    std::lock_guard lock(c->mutex);
                    if (dlg->dialog_->messageGeneration != generation) return;
                    dlg->dialog_->message.clear();
                }
                if (dlg->dialog_->messageLabel) dlg->dialog_->messageLabel->hide();
            });
        });
}

std::wstring MDialog::GetMessageText() const
{
    std::lock_guard lock(Mutex());
    return dialog_->message;
}

void MDialog::SetFocusControl(MControl* control)
{
    if (!control) return;
    PostToUiThread([link = control->Link()] {
        ControlLink::Guard guard(*link);
        if (!guard) return;
        if (QWidget* widget = guard->Widget()) widget->setFocus(Qt::OtherFocusReason);
    });
}

int MDialog::OnMessage(unsigned id, int code, LPARAM)
{
    if (code != kNotifyClick) return 0;
    if (id == 36) {
        OnMaximize();
        return 1;
    }
    if (id == 37) {
        OnMinimize();
        return 1;
    }
    return 0;
}

bool MDialog::DestroyWindow()
{
    if (!GetHWND()) return false;
    if (!IsUiThread()) {
        bool done = false;
        RunOnUiThread([&] { done = MDialog::DestroyWindow(); });
        return done;
    }
    for (MControl* control : GetControls()) control->DetachWidget();
    delete dialog_->messageLabel.data();
    delete dialog_->animationTimer.data();
    return MWindow::DestroyWindow();
}

void PaintDialogBackground(MWindow* window, QPainter& painter, const QRect& area)
{
    auto* dialog = dynamic_cast<MDialog*>(window);
    if (!dialog) return;
    std::lock_guard lock(dialog->Mutex());
    const DialogCore& d = dialog->Dialog();
    if (d.hasBackColor) {
        painter.fillRect(area, ToOpaqueQColor(d.backFill));
    } else if (!d.layered) {
        painter.fillRect(area, QColor(0xF7, 0xF7, 0xF7));
    }
    if (!d.bkImage.empty()) {
        const QImage image = LoadSkinImage(d.bkImage);
        if (d.backMode == 1)
            DrawNineGrid(painter, area, image, d.backCorner);
        else if (!image.isNull())
            DrawPicture(painter, area, image);
    }
    if (d.hasBackColor && d.backBorder != d.backFill) {
        painter.setPen(ToOpaqueQColor(d.backBorder));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(area.adjusted(0, 0, -1, -1));
    }
}

bool IsDialogDraggedByBody(MWindow* window)
{
    auto* dialog = dynamic_cast<MDialog*>(window);
    return dialog && dialog->IsWindowDragEnabled();
}

void SyncDialogControls(MWindow* window)
{
    auto* dialog = dynamic_cast<MDialog*>(window);
    if (!dialog) return;
    QWidget* windowWidget = dialog->GetWidget();
    if (!windowWidget) return;
    std::vector<MControl*> created;
    for (MControl* control : dialog->GetControls()) {
        if (control->widget_) continue;
        MControl* parent = control->parent_;
        QWidget* parentWidget = parent ? parent->widget_.data() : windowWidget;
        if (!parentWidget) continue;
        QWidget* widget = control->CreateWidget(parentWidget);
        if (!widget) continue;
        control->widget_ = widget;
        created.push_back(control);
    }
    for (MControl* control : created) {
        control->syncPending_.store(false);
        auto lock = control->Lock();
        control->SyncWidget(control->widget_);
    }
}

}  // namespace MUI
