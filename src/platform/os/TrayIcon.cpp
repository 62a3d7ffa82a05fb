#include "platform/os/TrayIcon.h"

#include <QCursor>
#include <QGuiApplication>
#include <QIcon>
#include <QMenu>
#include <QSystemTrayIcon>
#include <cstdlib>
#include <string_view>

namespace os {

bool SystemTrayAvailable()
{
    if (const char* forced = std::getenv("TOLVENIC_TEST_SYSTEM_TRAY")) {
        return std::string_view(forced) == "1";
    }
    return QGuiApplication::instance() != nullptr && QSystemTrayIcon::isSystemTrayAvailable();
}

TrayIcon::TrayIcon() = default;

TrayIcon::~TrayIcon() { Remove(); }

bool TrayIcon::Show(const std::wstring& iconFile, const std::wstring& tip)
{
    if (!icon_) {
        icon_ = std::make_unique<QSystemTrayIcon>();
        QObject::connect(icon_.get(), &QSystemTrayIcon::activated, icon_.get(),
                         [this](QSystemTrayIcon::ActivationReason reason) {
                             if (!handler_) {
                                 return;
                             }
                             switch (reason) {
                                 case QSystemTrayIcon::Trigger:
                                     handler_(kTrayLButtonDown);
                                     break;
                                 case QSystemTrayIcon::DoubleClick:
                                     handler_(kTrayLButtonDblClk);
                                     break;
                                 case QSystemTrayIcon::Context:
                                     handler_(kTrayRButtonUp);
                                     break;
                                 case QSystemTrayIcon::MiddleClick:
                                     handler_(kTrayMButtonUp);
                                     break;
                                 default:
                                     break;
                             }
                         });
    }
    icon_->setIcon(QIcon(QString::fromStdWString(iconFile)));
    icon_->setToolTip(QString::fromStdWString(tip));
    icon_->show();
    return QSystemTrayIcon::isSystemTrayAvailable();
}

void TrayIcon::SetTip(const std::wstring& tip)
{
    if (icon_) {
        icon_->setToolTip(QString::fromStdWString(tip));
    }
}

void TrayIcon::Remove()
{
    if (icon_) {
        icon_->hide();
        icon_.reset();
    }
}

bool TrayIcon::IsShown() const { return icon_ && icon_->isVisible(); }

void TrayIcon::SetHandler(std::function<void(int mouseMessage)> handler)
{
    handler_ = std::move(handler);
}

int TrayIcon::TrackMenu(const std::vector<std::pair<int, std::wstring>>& items)
{
    QMenu menu;
    for (const auto& [id, text] : items) {
        menu.addAction(QString::fromStdWString(text))->setData(id);
    }
    const QAction* chosen = menu.exec(QCursor::pos());
    return chosen ? chosen->data().toInt() : 0;
}

}  // namespace os
