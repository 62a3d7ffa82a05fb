#include "UpdateFlowFixture.h"

#include <stdlib.h>

#include <chrono>
#include <map>
#include <memory>
#include <string>

#include "app/CUIMessageBox.h"
#include "platform/mui/MDialog.h"
#include "platform/mui/WindowServices.h"
#include "platform/text/Utf8.h"

namespace updatetest {

using namespace std::chrono_literals;

void UpdateFlowFixture::SetUp()
{
    MainWindowTest::SetUp();
    ASSERT_TRUE(server_->Started()) << "the local HTTPS server did not start";
    trust_ = std::make_unique<TrustTestCa>(*server_);
    setenv("TOLVENIC_UPDATE_BASE_URL", text::WideToUtf8(server_->Url("files/")).c_str(), 1);
    // No modal window may hold a test for ever: one still up after the limit is ended. The
    // limit counts from when that window was first seen modal (a long test under load opens
    // many windows, each shortly).
    watchdog_ = std::make_unique<QTimer>();
    struct Seen {
        MUI::MDialog* window = nullptr;
        std::chrono::steady_clock::time_point since;
    };
    auto seen = std::make_shared<std::map<std::wstring, Seen>>();
    QObject::connect(watchdog_.get(), &QTimer::timeout, [seen] {
        const auto now = std::chrono::steady_clock::now();
        for (const wchar_t* name : {L"MessageBox", L"UpdateTipDlg"}) {
            auto* window =
                dynamic_cast<MUI::MDialog*>(MUI::MWindow::FromHandle(MUI::FindWindow(L"", name)));
            Seen& last = (*seen)[name];
            if (window == nullptr || !window->IsModalRunning()) {
                last = Seen{};
                continue;
            }
            if (last.window != window) {
                last = Seen{window, now};
            }
            if (now - last.since >= 60s) {
                ADD_FAILURE() << "a modal window was left open";
                window->DoCancel();
            }
        }
    });
    watchdog_->start(100);
}

void UpdateFlowFixture::TearDown()
{
    watchdog_.reset();
    polls_.clear();
    unsetenv("TOLVENIC_UPDATE_BASE_URL");
    trust_.reset();
    MainWindowTest::TearDown();
}

void UpdateFlowFixture::WhenModal(const wchar_t* name, std::function<void(MUI::MWindow&)> action)
{
    QTimer* poll = polls_.emplace_back(std::make_unique<QTimer>()).get();
    QObject::connect(poll, &QTimer::timeout, [poll, name, action] {
        MUI::MWindow* window = MUI::MWindow::FromHandle(MUI::FindWindow(L"", name));
        // A window already answered is disabled while its end is on its way.
        if (window == nullptr || !window->IsModalRunning() || !window->IsWindowEnabled()) {
            return;
        }
        poll->stop();
        action(*window);
    });
    poll->start(5);
}

void UpdateFlowFixture::AnswerBoxes(std::vector<int> answers)
{
    if (answers.empty()) {
        return;
    }
    const int answer = answers.front();
    answers.erase(answers.begin());
    WhenModal(L"MessageBox", [this, answer, answers](MUI::MWindow& window) {
        auto& box = dynamic_cast<CUIMessageBox&>(window);
        asked_.push_back(box.Message());
        // The next answer waits for the next box: this one is passed over while it ends.
        box.EnableWindow(false);
        AnswerBoxes(answers);
        box.OnMessage(answer == 1 ? kMessageBoxFirstButtonId : kMessageBoxSecondButtonId,
                      MUI::kNotifyClick, 0);
    });
}

bool UpdateFlowFixture::ClickAndCheck(unsigned id, int expectedCode)
{
    TakeQueue();  // the window's own first connection
    EXPECT_EQ(dlg->OnMessage(id, MUI::kNotifyClick, 0), 1);
    EXPECT_TRUE(dlg->GetControl(id)->IsEnabled());
    if (TakeQueue() != std::vector<int>{expectedCode}) {
        return false;
    }
    dlg->QueueCommand(expectedCode);
    dlg->Run();
    return true;
}

}  // namespace updatetest
