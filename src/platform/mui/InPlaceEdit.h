// InPlaceEdit: a one-line editor laid over part of a control's widget, used by the controls that
// rename an item where it is shown (combo boxes, list boxes, the step list). Enter or losing the
// focus ends it with the typed text, Escape with the text it started with. UI thread only.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include <QLineEdit>
#include <QPointer>

#include "platform/mui/MControl.h"

namespace MUI {

class InPlaceEdit : public QLineEdit {
public:
    // Called once, later on the UI thread (never inside the event that ended the edit), with
    // the control if it still exists and the final text.
    using Finished = std::function<void(MControl& control, const std::wstring& text)>;

    InPlaceEdit(QWidget* host, std::shared_ptr<ControlLink> link, const QString& text,
                Finished finished);

    // Ends the edit: `keep` takes the typed text, otherwise the starting text. Idempotent.
    void Finish(bool keep);
    // Removes the editor without reporting anything (deleted later).
    void Discard();

    // Keeps `editor` in step with a control's editing flag; call from SyncWidget. Opens the
    // editor over `rect` of `host` with `text` when editing starts, drops it when editing was
    // ended from outside, and keeps it placed over `rect` meanwhile.
    static void Sync(QPointer<InPlaceEdit>& editor, bool editing, QWidget* host, const QRect& rect,
                     const std::wstring& text, const FontSpec& font,
                     std::shared_ptr<ControlLink> link, Finished finished);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    std::shared_ptr<ControlLink> link_;
    QString original_;
    Finished finished_;
    bool done_ = false;
};

}  // namespace MUI
