// The main window against the local HTTPS update service: the service's address and its test
// CA set for the window's downloads, modal windows answered from timers, and a watchdog that
// ends any modal window a test leaves open.
#pragma once

#include <QTimer>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "HttpsServer.h"
#include "app/MainWindowTestSupport.h"
#include "platform/mui/MWindow.h"

namespace updatetest {

class UpdateFlowFixture : public HttpsServerSuite<apptest::MainWindowTest> {
protected:
    void SetUp() override;
    void TearDown() override;

    // Runs `action` on the UI thread once the window named `name` runs its modal loop, enabled
    // (at most once, and never after the test).
    void WhenModal(const wchar_t* name, std::function<void(MUI::MWindow&)> action);
    // Answers the next message box with its first (1) or second (2) button and keeps its text.
    void AnswerNextBox(int answer) { AnswerBoxes({answer}); }
    // The next message boxes, as they come, answered with these buttons in turn.
    void AnswerBoxes(std::vector<int> answers);
    // Clicks a settings control and runs the queued check; true when the check was queued.
    bool ClickAndCheck(unsigned id, int expectedCode);

    std::unique_ptr<TrustTestCa> trust_;
    std::unique_ptr<QTimer> watchdog_;
    std::vector<std::unique_ptr<QTimer>> polls_;
    std::vector<std::wstring> asked_;
};

}  // namespace updatetest
