#include "platform/mui/InPlaceEdit.h"

#include <QApplication>
#include <QKeyEvent>
#include <QTimer>

#include "platform/mui/Painting.h"

namespace MUI {

InPlaceEdit::InPlaceEdit(QWidget* host, std::shared_ptr<ControlLink> link, const QString& text,
                         Finished finished)
    : QLineEdit(text, host), link_(std::move(link)), original_(text), finished_(std::move(finished))
{
    setFrame(true);
    selectAll();
}

void InPlaceEdit::Finish(bool keep)
{
    if (done_) return;
    done_ = true;
    const std::wstring text = FromQString(keep ? this->text() : original_);
    // Kept (hidden) until the control's editing flag drops, so that no second editor opens
    // before the control has heard of the end.
    hide();
    // Reported from the event loop: the control's handler may open a modal window, and the edit
    // may have ended inside a repaint that holds the window lock.
    QTimer::singleShot(0, QCoreApplication::instance(), [link = link_, finished = finished_, text] {
        ControlLink::Guard control(*link);
        if (control) finished(*control.get(), text);
    });
}

void InPlaceEdit::Discard()
{
    done_ = true;
    hide();
    deleteLater();
}

void InPlaceEdit::Sync(QPointer<InPlaceEdit>& editor, bool editing, QWidget* host,
                       const QRect& rect, const std::wstring& text, const FontSpec& font,
                       std::shared_ptr<ControlLink> link, Finished finished)
{
    if (!editing) {
        if (editor) editor->Discard();
        editor = nullptr;
        return;
    }
    if (editor && editor->done_) {
        // A new edit right after the last one ended: start afresh.
        editor->Discard();
        editor = nullptr;
    }
    if (!editor && host) {
        editor = new InPlaceEdit(host, std::move(link), ToQString(text), std::move(finished));
        editor->setFont(MakeFont(font));
        editor->setGeometry(rect);
        editor->show();
        editor->setFocus(Qt::OtherFocusReason);
        return;
    }
    if (editor && editor->geometry() != rect) editor->setGeometry(rect);
}

void InPlaceEdit::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            Finish(true);
            return;
        case Qt::Key_Escape:
            Finish(false);
            return;
        default:
            QLineEdit::keyPressEvent(event);
    }
}

void InPlaceEdit::focusOutEvent(QFocusEvent* event)
{
    QLineEdit::focusOutEvent(event);
    // A popup (the editor's own context menu) takes the focus only for a while.
    if (event->reason() == Qt::PopupFocusReason || done_) return;
    // Focus given to the control itself (the program focuses the control it opened the editor
    // on) belongs to the editor.
    if (QApplication::focusWidget() == parentWidget()) {
        QTimer::singleShot(0, this, [this] {
            if (!done_) setFocus(Qt::OtherFocusReason);
        });
        return;
    }
    Finish(true);
}

}  // namespace MUI
