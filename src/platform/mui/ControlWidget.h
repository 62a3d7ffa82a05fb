// ControlWidget: the default Qt widget of a control. It paints through MControl::Paint under the
// window lock and turns mouse input into the control's On* handlers. UI thread only.
#pragma once

#include <QWidget>
#include <memory>

#include "platform/mui/MControl.h"

namespace MUI {

class ControlWidget : public QWidget {
public:
    ControlWidget(std::shared_ptr<ControlLink> link, QWidget* parent);

    // Builds the control's view of a Qt mouse event at a widget-local position.
    static MouseEvent MakeMouseEvent(const QWidget* widget, const QPointF& local,
                                     Qt::MouseButton button, Qt::MouseButtons buttons,
                                     Qt::KeyboardModifiers modifiers, int wheelDelta = 0);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

    std::shared_ptr<ControlLink> link_;
};

}  // namespace MUI
