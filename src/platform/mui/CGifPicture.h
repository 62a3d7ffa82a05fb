// CGifPicture: an animated picture (a GIF of the skin) stretched over the control. While it is
// running and its animation timer is added, each tick of the window's animation timer
// (MDialog::SetMTimer) shows the next frame once the current frame's delay has passed. A missing
// or unreadable picture leaves the area blank.
#pragma once

#include <chrono>
#include <string>
#include <vector>

#include <QImage>

#include "platform/mui/MControl.h"

namespace MUI {

class CGifPicture : public MControl {
public:
    void SetImage(std::wstring_view name, int states = 1) override;
    void SetRunning(bool running);
    bool IsRunning() const;
    // Lets the window's animation timer drive the picture.
    void AddAnimationTimer();
    void RemoveAnimationTimer();

    int GetFrameCount() const;
    int GetFrame() const;

protected:
    void Paint(QPainter& painter) override;
    void OnAnimationTick() override;

private:
    void LoadFrames() const;  // lock held; reads the picture when its name changed

    mutable bool loaded_ = false;
    mutable std::vector<QImage> frames_;
    mutable std::vector<int> delays_;
    int frame_ = 0;
    bool running_ = false;
    std::chrono::steady_clock::time_point due_{};
};

}  // namespace MUI
