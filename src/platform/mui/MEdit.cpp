#include "platform/mui/MEdit.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QRegularExpressionValidator>

#include "platform/mui/ControlFactory.h"
#include "platform/mui/Painting.h"

namespace MUI {

namespace {

// The Qt side of the box: reports typing and focus changes to the control.
class EditWidget : public QLineEdit {
public:
    EditWidget(std::shared_ptr<ControlLink> link, QWidget* parent)
        : QLineEdit(parent), link_(std::move(link))
    {
        connect(this, &QLineEdit::textEdited, this, [this](const QString& text) {
            With([&](MEdit& edit) { edit.UserTextChanged(FromQString(text)); });
        });
    }

protected:
    void focusInEvent(QFocusEvent* event) override
    {
        QLineEdit::focusInEvent(event);
        With([](MEdit& edit) { edit.UserEditBegins(); });
    }
    void focusOutEvent(QFocusEvent* event) override
    {
        QLineEdit::focusOutEvent(event);
        if (event->reason() != Qt::PopupFocusReason) With([](MEdit& edit) { edit.UserEditEnds(); });
    }
    void keyPressEvent(QKeyEvent* event) override
    {
        if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
            With([](MEdit& edit) { edit.UserEditEnds(); });
            // The next click into the box begins a new edit.
            clearFocus();
            return;
        }
        QLineEdit::keyPressEvent(event);
    }

private:
    template <class F>
    void With(F&& f)
    {
        ControlLink::Guard control(*link_);
        if (auto* edit = dynamic_cast<MEdit*>(control.get())) f(*edit);
    }

    std::shared_ptr<ControlLink> link_;
};

}  // namespace

MEdit::MEdit() { SetTextColor(0xFF000000); }

void MEdit::SetReadOnly(bool readOnly)
{
    auto lock = Lock();
    readOnly_ = readOnly;
    Invalidate();
}

bool MEdit::IsReadOnly() const
{
    auto lock = Lock();
    return readOnly_;
}

void MEdit::SetMaxLength(int length)
{
    auto lock = Lock();
    maxLength_ = length < 0 ? 0 : length;
    Invalidate();
}

void MEdit::SetNumberOnly(bool numberOnly)
{
    auto lock = Lock();
    numberOnly_ = numberOnly;
    Invalidate();
}

void MEdit::SetBorderColor(ARGB color)
{
    auto lock = Lock();
    border_ = color;
    Invalidate();
}

bool MEdit::IsEditing() const
{
    auto lock = Lock();
    return editing_;
}

void MEdit::UserTextChanged(std::wstring_view text)
{
    MControl::SetTitle(text);
    Notify(kNotifyTextChanged, 0);
}

void MEdit::UserEditBegins()
{
    {
        auto lock = Lock();
        if (editing_) return;
        editing_ = true;
    }
    Notify(kNotifyEditBegin, 0);
}

void MEdit::UserEditEnds()
{
    {
        auto lock = Lock();
        if (!editing_) return;
        editing_ = false;
    }
    Notify(kNotifyEditEnded, 0);
}

QWidget* MEdit::CreateWidget(QWidget* parent) { return new EditWidget(Link(), parent); }

void MEdit::SyncWidget(QWidget* widget)
{
    MControl::SyncWidget(widget);
    auto* edit = static_cast<QLineEdit*>(widget);
    const QString text = ToQString(GetTitle());
    if (edit->text() != text) {
        const int cursor = edit->cursorPosition();
        edit->setText(text);
        edit->setCursorPosition(std::min<int>(cursor, text.size()));
    }
    edit->setReadOnly(readOnly_);
    edit->setMaxLength(maxLength_ > 0 ? maxLength_ : 32767);
    if (numberOnly_ && !edit->validator())
        edit->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]*"), edit));
    else if (!numberOnly_ && edit->validator())
        edit->setValidator(nullptr);
    edit->setFont(MakeFont(GetFont()));
    const int align = GetAlignment();
    edit->setAlignment(Qt::AlignVCenter | (align == kAlignCenter  ? Qt::AlignHCenter
                                           : align == kAlignRight ? Qt::AlignRight
                                                                  : Qt::AlignLeft));
    const QString border = border_ ? QStringLiteral("1px solid %1").arg(ToQColor(border_).name())
                                   : QStringLiteral("none");
    const QString background =
        GetBkColor() ? ToQColor(GetBkColor()).name(QColor::HexArgb) : QStringLiteral("white");
    const QString sheet =
        QStringLiteral(
            "QLineEdit{color:%1;background:%2;border:%3;"
            "border-radius:3px;padding:0 4px;}"
            "QLineEdit:disabled{color:#a0a0a0;background:#f0f0f0;}")
            .arg(ToQColor(GetTextColor()).name(QColor::HexArgb), background, border);
    if (edit->styleSheet() != sheet) edit->setStyleSheet(sheet);
}

MUI_REGISTER_CONTROL(MEdit)

}  // namespace MUI
