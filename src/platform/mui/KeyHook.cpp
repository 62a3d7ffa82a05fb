#include "platform/mui/KeyHook.h"

#include <QCoreApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QObject>
#include <QPointer>
#include <algorithm>
#include <chrono>
#include <set>
#include <vector>

#include "platform/mui/NativeKeyTable.h"
#include "platform/mui/WindowMessages.h"

namespace MUI {
namespace {

// VK_LMENU and VK_RMENU.
constexpr int kLeftAlt = 0xA4;
constexpr int kRightAlt = 0xA5;
constexpr int kF10 = 0x79;

struct Hook {
    int kind;
    HOOKPROC proc;
};

// The installed hooks, the newest last. Each handle is its own record's address.
std::vector<Hook*>& Hooks()
{
    static std::vector<Hook*> hooks;
    return hooks;
}

// Keys held now (by evdev code) and those whose press a hook swallowed: their repeats are
// swallowed with them.
struct KeyState {
    std::set<int> altHeld;
    std::set<int> swallowed;
};
KeyState& Keys()
{
    static KeyState state;
    return state;
}

uint32_t Now()
{
    using namespace std::chrono;
    return static_cast<uint32_t>(
        duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

// Runs the hooks of a kind from the newest.
LRESULT RunHooks(int kind, WPARAM wParam, LPARAM lParam)
{
    const std::vector<Hook*>& hooks = Hooks();
    for (auto it = hooks.rbegin(); it != hooks.rend(); ++it) {
        if ((*it)->kind == kind) return (*it)->proc(HC_ACTION, wParam, lParam);
    }
    return 0;
}

bool DeliverNativeKey(unsigned nativeScanCode, bool released, bool autoRepeat)
{
    const NativeKey* key = FindNativeKeyOfScanCode(nativeScanCode);
    if (key == nullptr) return false;
    KeyState& state = Keys();
    if (autoRepeat) {
        // The hooks never see a repeat; a swallowed key stays swallowed while it repeats.
        return !released && state.swallowed.count(key->evdev) != 0;
    }
    const bool isAlt = key->vk == kLeftAlt || key->vk == kRightAlt;
    if (isAlt && !released) state.altHeld.insert(key->evdev);
    const bool altDown = !state.altHeld.empty();
    if (isAlt && released) state.altHeld.erase(key->evdev);

    KBDLLHOOKSTRUCT info;
    info.vkCode = static_cast<uint32_t>(key->vk);
    info.scanCode = static_cast<uint32_t>(key->scan);
    info.flags = (key->extended ? LLKHF_EXTENDED : 0) | (released ? LLKHF_UP : 0) |
                 (altDown && !(isAlt && released) ? LLKHF_ALTDOWN : 0);
    info.time = Now();
    // As on Windows: keys typed with Alt held (and F10) are system keys; the release of Alt
    // itself is an ordinary key-up.
    const bool system = (altDown && !(isAlt && released)) || key->vk == kF10;
    const UINT message =
        released ? (system ? WM_SYSKEYUP : WM_KEYUP) : (system ? WM_SYSKEYDOWN : WM_KEYDOWN);
    const bool swallowed = InjectKeyEvent(message, info);
    if (released) {
        state.swallowed.erase(key->evdev);
    } else if (swallowed) {
        state.swallowed.insert(key->evdev);
    } else {
        state.swallowed.erase(key->evdev);
    }
    return swallowed;
}

UINT ButtonMessage(QEvent::Type type, Qt::MouseButton button)
{
    const bool down = type == QEvent::MouseButtonPress;
    switch (button) {
        case Qt::LeftButton:
            return down ? WM_LBUTTONDOWN : WM_LBUTTONUP;
        case Qt::RightButton:
            return down ? WM_RBUTTONDOWN : WM_RBUTTONUP;
        case Qt::MiddleButton:
            return down ? WM_MBUTTONDOWN : WM_MBUTTONUP;
        default:
            return 0;
    }
}

// Sees every key and mouse-button event as it reaches one of the program's windows, before the
// window hands it to a control.
class HookFilter : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (!watched->isWindowType() || Hooks().empty()) return false;
        switch (event->type()) {
            case QEvent::KeyPress:
            case QEvent::KeyRelease: {
                const auto* key = static_cast<QKeyEvent*>(event);
                return DeliverNativeKey(key->nativeScanCode(), event->type() == QEvent::KeyRelease,
                                        key->isAutoRepeat());
            }
            case QEvent::MouseButtonPress:
            case QEvent::MouseButtonRelease: {
                const auto* mouse = static_cast<QMouseEvent*>(event);
                const UINT message = ButtonMessage(event->type(), mouse->button());
                if (message == 0) return false;
                const QPointF at = mouse->globalPosition();
                return InjectMouseButton(message,
                                         POINT{static_cast<int>(at.x()), static_cast<int>(at.y())});
            }
            default:
                return false;
        }
    }
};

// The filter goes on the application once, with the first hook, and stays.
void EnsureFilter()
{
    static QPointer<HookFilter> filter;
    QCoreApplication* application = QCoreApplication::instance();
    if (filter || application == nullptr) return;
    filter = new HookFilter;
    filter->setParent(application);
    application->installEventFilter(filter);
}

}  // namespace

HHOOK SetWindowsHookEx(int kind, HOOKPROC proc)
{
    if ((kind != WH_KEYBOARD_LL && kind != WH_MOUSE_LL) || proc == nullptr) return nullptr;
    EnsureFilter();
    auto* hook = new Hook{kind, proc};
    Hooks().push_back(hook);
    return reinterpret_cast<HHOOK>(hook);
}

bool UnhookWindowsHookEx(HHOOK handle)
{
    std::vector<Hook*>& hooks = Hooks();
    const auto it = std::find(hooks.begin(), hooks.end(), reinterpret_cast<Hook*>(handle));
    if (it == hooks.end()) return false;
    delete *it;
    hooks.erase(it);
    return true;
}

LRESULT CallNextHookEx(HHOOK handle, int code, WPARAM wParam, LPARAM lParam)
{
    const std::vector<Hook*>& hooks = Hooks();
    const auto self = std::find(hooks.begin(), hooks.end(), reinterpret_cast<Hook*>(handle));
    if (self == hooks.end()) return 0;
    const int kind = (*self)->kind;
    for (auto it = std::make_reverse_iterator(self); it != hooks.rend(); ++it) {
        if ((*it)->kind == kind) return (*it)->proc(code, wParam, lParam);
    }
    return 0;
}

bool InjectKeyEvent(UINT message, const KBDLLHOOKSTRUCT& key)
{
    KBDLLHOOKSTRUCT copy = key;
    return RunHooks(WH_KEYBOARD_LL, message, reinterpret_cast<LPARAM>(&copy)) != 0;
}

bool InjectNativeKey(unsigned nativeScanCode, bool released, bool autoRepeat)
{
    return DeliverNativeKey(nativeScanCode, released, autoRepeat);
}

bool InjectMouseButton(UINT message, POINT screen)
{
    MSLLHOOKSTRUCT info;
    info.pt = screen;
    info.time = Now();
    return RunHooks(WH_MOUSE_LL, message, reinterpret_cast<LPARAM>(&info)) != 0;
}

}  // namespace MUI
