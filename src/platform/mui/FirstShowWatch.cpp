#include "platform/mui/FirstShowWatch.h"

#include <QEvent>
#include <QObject>
#include <QWidget>
#include <utility>

#include "platform/mui/MWindow.h"

namespace MUI {

namespace {

class ShowFilter : public QObject {
public:
    explicit ShowFilter(std::function<void()> onFirstShow) : onFirstShow_(std::move(onFirstShow)) {}

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show && !reported_) {
            reported_ = true;
            if (onFirstShow_) onFirstShow_();
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> onFirstShow_;
    bool reported_ = false;
};

}  // namespace

FirstShowWatch::FirstShowWatch(const MWindow& window, std::function<void()> onFirstShow)
{
    QWidget* widget = window.GetWidget();
    if (widget == nullptr) {
        return;
    }
    filter_ = std::make_unique<ShowFilter>(std::move(onFirstShow));
    widget->installEventFilter(filter_.get());
}

FirstShowWatch::~FirstShowWatch() = default;

}  // namespace MUI
