// WindowWidget: the Qt widget of a window. It paints the dialog background and turns Qt input,
// resizing, activation and closing into the window's messages. UI thread only.
#pragma once

#include <QPoint>
#include <QWidget>
#include <memory>

#include "platform/mui/WindowTypes.h"

namespace MUI {

struct WindowCore;

class WindowWidget : public QWidget {
public:
    WindowWidget(std::shared_ptr<WindowCore> core, QWidget* parent, Qt::WindowFlags flags);

    // Starts moving the window with the mouse while the left button is held.
    void BeginMove();
    // Set while the widget geometry is being brought in line with the window state, so that
    // the resulting Qt events do not write the old geometry back.
    bool applying = false;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void StoreGeometry();
    LRESULT Send(UINT message, WPARAM wParam, LPARAM lParam);

    std::shared_ptr<WindowCore> core_;
    bool moving_ = false;
    bool leftDown_ = false;
    QPoint lastPressGlobal_;
    QPoint moveStartCursor_;
    QPoint moveStartPos_;
};

// The Windows virtual-key code of a Qt key, 0 when there is none.
int QtKeyToVirtualKey(int qtKey);

}  // namespace MUI
