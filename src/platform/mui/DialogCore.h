// The control and look state of an MDialog, guarded by the window lock.
#pragma once

#include <QPointer>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/mui/MControl.h"

class QLabel;
class QPainter;
class QRect;
class QTimer;

namespace MUI {

class MWindow;

struct DialogCore {
    std::vector<std::unique_ptr<MControl>> controls;  // creation order
    std::multimap<unsigned, MControl*> byId;

    std::wstring bkImage;
    int backMode = 0;
    int backCorner = 0;
    bool hasBackColor = false;
    ARGB backFill = 0;
    ARGB backBorder = 0;
    bool layered = false;
    bool dragByBody = false;

    std::wstring message;
    unsigned messageGeneration = 0;
    unsigned animationPeriod = 0;

    // UI thread only.
    QPointer<QTimer> animationTimer;
    QPointer<QLabel> messageLabel;
};

// Called by the window widget (UI thread).
void PaintDialogBackground(MWindow* window, QPainter& painter, const QRect& area);
bool IsDialogDraggedByBody(MWindow* window);
// Brings every control of a dialog onto the Qt side, in creation order (UI thread).
void SyncDialogControls(MWindow* window);

}  // namespace MUI
