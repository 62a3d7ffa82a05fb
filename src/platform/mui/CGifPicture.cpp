#include "platform/mui/CGifPicture.h"

#include <algorithm>

#include <QImageReader>
#include <QPainter>

#include "platform/mui/ControlFactory.h"
#include "platform/mui/DrawPicture.h"
#include "platform/mui/Manager.h"
#include "platform/mui/Painting.h"

namespace MUI {

namespace {
// Frames asking for no delay (or less) are shown this long, as browsers do.
constexpr int kShortestDelayMs = 20;
}  // namespace

void CGifPicture::SetImage(std::wstring_view name, int states)
{
    auto lock = Lock();
    MControl::SetImage(name, states);
    loaded_ = false;
    frames_.clear();
    delays_.clear();
    frame_ = 0;
}

void CGifPicture::SetRunning(bool running)
{
    auto lock = Lock();
    running_ = running;
    due_ = std::chrono::steady_clock::time_point{};
}

bool CGifPicture::IsRunning() const
{
    auto lock = Lock();
    return running_;
}

void CGifPicture::AddAnimationTimer() { SetAnimated(true); }
void CGifPicture::RemoveAnimationTimer() { SetAnimated(false); }

int CGifPicture::GetFrameCount() const
{
    auto lock = Lock();
    LoadFrames();
    return static_cast<int>(frames_.size());
}

int CGifPicture::GetFrame() const
{
    auto lock = Lock();
    return frame_;
}

void CGifPicture::LoadFrames() const
{
    if (loaded_) return;
    loaded_ = true;
    const std::wstring path = Manager::ResolveSkinPath(GetImage());
    if (path.empty()) return;
    QImageReader reader(ToQString(path));
    for (int i = 0; i < 1000; ++i) {
        QImage image = reader.read();
        if (image.isNull()) break;
        frames_.push_back(std::move(image));
        delays_.push_back(std::max(reader.nextImageDelay(), kShortestDelayMs));
        if (!reader.canRead()) break;
    }
}

void CGifPicture::OnAnimationTick()
{
    auto lock = Lock();
    if (!running_) return;
    LoadFrames();
    if (frames_.size() < 2) return;
    const auto now = std::chrono::steady_clock::now();
    if (due_ == std::chrono::steady_clock::time_point{}) {
        due_ = now + std::chrono::milliseconds(delays_[frame_]);
        return;
    }
    if (now < due_) return;
    frame_ = (frame_ + 1) % static_cast<int>(frames_.size());
    due_ = now + std::chrono::milliseconds(delays_[frame_]);
    Invalidate();
}

void CGifPicture::Paint(QPainter& painter)
{
    LoadFrames();
    if (frames_.empty()) return;
    const RECT r = GetRect();
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    DrawPicture(painter, QRect(0, 0, RectWidth(r), RectHeight(r)),
                frames_[std::min<size_t>(frame_, frames_.size() - 1)]);
}

MUI_REGISTER_CONTROL(CGifPicture)

}  // namespace MUI
