// The notification-area icon (QSystemTrayIcon), reporting clicks as the Windows mouse
// messages a tray callback carries.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

class QSystemTrayIcon;

namespace os {

// Whether the desktop shows tray icons now (a window hidden to a tray that is not there could
// not be brought back). The environment variable TOLVENIC_TEST_SYSTEM_TRAY ("1" or "0") answers
// instead when set (tests). UI thread.
bool SystemTrayAvailable();

inline constexpr int kTrayLButtonDown = 0x201;    // WM_LBUTTONDOWN
inline constexpr int kTrayLButtonDblClk = 0x203;  // WM_LBUTTONDBLCLK
inline constexpr int kTrayRButtonUp = 0x205;      // WM_RBUTTONUP
inline constexpr int kTrayMButtonUp = 0x208;      // WM_MBUTTONUP

// Lives on the UI thread; needs a Qt GUI application.
class TrayIcon {
public:
    TrayIcon();
    ~TrayIcon();
    TrayIcon(const TrayIcon&) = delete;
    TrayIcon& operator=(const TrayIcon&) = delete;

    // Adds the icon; a picture that cannot be loaded leaves an entry without picture.
    // false when the desktop offers no tray (the icon is still kept for a later tray).
    bool Show(const std::wstring& iconFile, const std::wstring& tip);
    void SetTip(const std::wstring& tip);
    void Remove();
    bool IsShown() const;
    // Called with one of the kTray* messages on every click.
    void SetHandler(std::function<void(int mouseMessage)> handler);

    // A popup menu at the cursor; the id of the chosen item, 0 when none was chosen.
    static int TrackMenu(const std::vector<std::pair<int, std::wstring>>& items);

private:
    std::unique_ptr<QSystemTrayIcon> icon_;
    std::function<void(int)> handler_;
};

}  // namespace os
