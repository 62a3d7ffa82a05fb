// The reference of the whole-program figures: a minimal Qt window (one empty top-level widget)
// that reports when it is first shown, as the program does with TV_STARTUP_REPORT set
// ("shown <milliseconds since the epoch>"), and then idles in its event loop.
#include <QApplication>
#include <QShowEvent>
#include <QWidget>
#include <chrono>
#include <cstdio>

namespace {

class BareWindow : public QWidget {
protected:
    void showEvent(QShowEvent* event) override
    {
        QWidget::showEvent(event);
        if (reported_) return;
        reported_ = true;
        using namespace std::chrono;
        const long long ms =
            duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
        std::printf("shown %lld\n", ms);
        std::fflush(stdout);
    }

private:
    bool reported_ = false;
};

}  // namespace

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    BareWindow window;
    window.resize(1600, 970);
    window.show();
    return QApplication::exec();
}
