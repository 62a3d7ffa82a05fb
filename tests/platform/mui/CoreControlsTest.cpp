// The control base and the simple controls: creation by name, notifications from widget input,
// containers, radio groups, and control operations made from a worker thread.
#include <gtest/gtest.h>

#include <QImage>
#include <atomic>
#include <mutex>
#include <thread>
#include <vector>

#include "ControlHarness.h"
#include "platform/mui/CCheckButton.h"
#include "platform/mui/CRadioButton.h"
#include "platform/mui/CSwitchButton.h"
#include "platform/mui/ControlFactory.h"
#include "platform/mui/MDialog.h"
#include "platform/mui/MTabLayout.h"

namespace probe {

// Records on which threads the library touches its widget.
class ProbeControl : public MUI::MControl {
public:
    static std::mutex mutex;
    static std::vector<std::thread::id> widgetThreads;
    void Fire(int code, LPARAM value) { Notify(code, value); }

protected:
    QWidget* CreateWidget(QWidget* parent) override
    {
        Record();
        return MControl::CreateWidget(parent);
    }
    void SyncWidget(QWidget* widget) override
    {
        Record();
        MControl::SyncWidget(widget);
    }
    void Paint(QPainter& painter) override
    {
        Record();
        MControl::Paint(painter);
    }

private:
    static void Record()
    {
        std::lock_guard lock(mutex);
        widgetThreads.push_back(std::this_thread::get_id());
    }
};
std::mutex ProbeControl::mutex;
std::vector<std::thread::id> ProbeControl::widgetThreads;

}  // namespace probe

MUI_REGISTER_CONTROL_AS(probe::ProbeControl, L"ProbeControl")

namespace {

using muitest::Click;
using muitest::ControlTest;
using muitest::Note;
using muitest::Pump;

using CoreControlsTest = ControlTest;

TEST_F(CoreControlsTest, EveryClassMadeByNameIsCreated)
{
    const wchar_t* names[] = {L"MText",       L"MPicture",      L"CRoundArea",   L"MButton",
                              L"MButton1",    L"MImageButton",  L"CImageButton", L"CTextButton",
                              L"CIconButton", L"CSwitchButton", L"CCheckButton", L"CRadioButton",
                              L"MTabLayout"};
    unsigned id = 1;
    for (const wchar_t* name : names) {
        SCOPED_TRACE(QString::fromWCharArray(name).toStdString());
        MUI::MControl* control = dialog.CreateControl(name, id, RECT{0, 0, 10, 10}, L"text");
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(control->GetClassName(), name);
        EXPECT_EQ(control->GetID(), id);
        EXPECT_EQ(control->GetTitle(), L"text");
        EXPECT_EQ(dialog.GetControl(id), control);
        ++id;
    }
    EXPECT_EQ(dialog.CreateControl(L"NoSuchControl", 99), nullptr);
    EXPECT_EQ(dialog.GetControl(99), nullptr);
}

TEST_F(CoreControlsTest, ClickOnTheWidgetReachesOnMessage)
{
    auto* button = Make<MUI::MControl>(L"MButton", 343, RECT{10, 10, 110, 40});
    ASSERT_NE(button, nullptr);
    ASSERT_NE(button->Widget(), nullptr);
    Click(button->Widget(), QPoint(5, 5));
    EXPECT_EQ(Notes(343), (std::vector<Note>{{343, MUI::kNotifyClick, 0}}));

    // Press inside, release outside: no click.
    muitest::Press(button->Widget(), QPoint(5, 5));
    muitest::Release(button->Widget(), QPoint(500, 5));
    EXPECT_EQ(Notes(343).size(), 1u);

    button->SetEnabled(false);
    Pump();
    Click(button->Widget(), QPoint(5, 5));
    EXPECT_EQ(Notes(343).size(), 1u);
}

TEST_F(CoreControlsTest, AreasLetTheMouseThroughToWhatIsBelow)
{
    auto* button = Make<MUI::MControl>(L"MButton", 1, RECT{10, 10, 110, 40});
    MUI::MControl* picture = dialog.CreateArea(L"MPicture", 2, RECT{10, 10, 110, 40});
    ASSERT_NE(picture, nullptr);
    Pump();
    EXPECT_TRUE(picture->IsArea());
    EXPECT_EQ(dialog.GetWidget()->childAt(50, 20), button->Widget());
}

TEST_F(CoreControlsTest, WindowButtonsMaximiseAndMinimise)
{
    dialog.ShowWindow(SW_SHOW);
    EXPECT_EQ(dialog.MDialog::OnMessage(36, MUI::kNotifyClick, 0), 1);
    EXPECT_TRUE(dialog.IsZoomed());
    EXPECT_EQ(dialog.MDialog::OnMessage(36, MUI::kNotifyClick, 0), 1);
    EXPECT_FALSE(dialog.IsZoomed());
    EXPECT_EQ(dialog.MDialog::OnMessage(37, MUI::kNotifyClick, 0), 1);
    EXPECT_TRUE(dialog.IsIconic());
    EXPECT_EQ(dialog.MDialog::OnMessage(37, 5, 0), 0);
}

TEST_F(CoreControlsTest, ContainerChildrenLiveInTheWindowAndHideWithIt)
{
    auto* page = Make<MUI::MTabLayout>(L"MTabLayout", 57, RECT{0, 120, 795, 600});
    ASSERT_NE(page, nullptr);
    MUI::MControl* label = page->CreateControl(L"MText", 81, RECT{65, 125, 195, 150}, L"Layer");
    ASSERT_NE(label, nullptr);
    Pump();
    EXPECT_EQ(dialog.GetControl(81), label);
    EXPECT_EQ(label->GetParentControl(), page);
    EXPECT_EQ(page->GetChildren(), (std::vector<MUI::MControl*>{label}));
    // Rectangles are in window client coordinates; the widget sits inside the page's.
    EXPECT_EQ(label->Widget()->parentWidget(), page->Widget());
    EXPECT_EQ(label->Widget()->geometry(), QRect(65, 5, 130, 25));

    page->SetVisible(false);
    Pump();
    EXPECT_TRUE(label->IsVisible());
    EXPECT_FALSE(label->IsShown());
    EXPECT_FALSE(label->Widget()->isVisibleTo(dialog.GetWidget()));
    page->SetVisible(true);
    Pump();
    EXPECT_TRUE(label->IsShown());
    EXPECT_TRUE(label->Widget()->isVisibleTo(dialog.GetWidget()));
}

TEST_F(CoreControlsTest, RadioGroupsKeepOneCheckedPerGroupAndWindow)
{
    MUI::MDialog other;
    ASSERT_NE(other.Create(nullptr, L"Other", WS_POPUP, 0, RECT{0, 0, 100, 100}), nullptr);
    auto* foreign = dynamic_cast<MUI::CRadioButton*>(other.CreateControl(L"CRadioButton", 9));
    foreign->SetGroup(L"GROUP_LIGHT_DIRECTION");
    foreign->SetCheck(true);

    std::vector<MUI::CRadioButton*> radios;
    for (unsigned id = 158; id <= 161; ++id) {
        auto* radio = Make<MUI::CRadioButton>(
            L"CRadioButton", id, RECT{10, int(id - 158) * 30, 100, int(id - 157) * 30});
        radio->SetGroup(L"GROUP_LIGHT_DIRECTION");
        radios.push_back(radio);
    }
    auto* exitMode = Make<MUI::CRadioButton>(L"CRadioButton", 369, RECT{200, 0, 300, 30});
    exitMode->SetGroup(L"IDC_SET_STC_EXITMODE");
    exitMode->SetCheck(true);
    radios[0]->SetCheck(true);
    Pump();

    Click(radios[2]->Widget(), QPoint(3, 3));
    EXPECT_EQ(Notes(160), (std::vector<Note>{{160, MUI::kNotifyClick, 0}}));
    const bool expectedAfterClick[] = {false, false, true, false};
    for (size_t i = 0; i < radios.size(); ++i)
        EXPECT_EQ(radios[i]->GetCheck(), expectedAfterClick[i]);
    EXPECT_TRUE(exitMode->GetCheck());
    EXPECT_TRUE(foreign->GetCheck());

    // Clicking the checked one keeps it checked; checking another from code moves the check.
    Click(radios[2]->Widget(), QPoint(3, 3));
    EXPECT_TRUE(radios[2]->GetCheck());
    radios[3]->SetCheck(true);
    EXPECT_FALSE(radios[2]->GetCheck());
    EXPECT_TRUE(radios[3]->GetCheck());
    other.DestroyWindow();
}

TEST_F(CoreControlsTest, CheckAndSwitchButtonsToggleOnClick)
{
    auto* check = Make<MUI::CCheckButton>(L"CCheckButton", 364, RECT{0, 0, 150, 24});
    auto* toggle = Make<MUI::CSwitchButton>(L"CSwitchButton", 347, RECT{0, 40, 60, 70});
    toggle->SetSwitchImages(L"img_switch_on.png", L"img_switch_off.png", 4);
    for (bool expected : {true, false, true}) {
        Click(check->Widget(), QPoint(3, 3));
        Click(toggle->Widget(), QPoint(3, 3));
        EXPECT_EQ(check->GetCheck(), expected);
        EXPECT_EQ(toggle->GetCheck(), expected);
    }
    EXPECT_EQ(Notes(364).size(), 3u);
    EXPECT_EQ(Notes(347).size(), 3u);
}

TEST_F(CoreControlsTest, WorkerChangesStateAndTheUiThreadAloneTouchesWidgets)
{
    {
        std::lock_guard lock(probe::ProbeControl::mutex);
        probe::ProbeControl::widgetThreads.clear();
    }
    MUI::MControl* control = dialog.CreateControl(L"ProbeControl", 5, RECT{0, 0, 10, 10});
    ASSERT_NE(control, nullptr);
    dialog.ShowWindow(SW_SHOW);
    std::thread worker([&] {
        for (int i = 1; i <= 50; ++i) {
            control->SetRect(i, i, i + 100, i + 20);
            control->SetTitle(std::to_wstring(i));
            control->SetVisible(i % 2 == 0);
            control->SetTextColor(0xFF000000u + i);
            // State reads back at once, before any redraw.
            EXPECT_EQ(control->GetTitle(), std::to_wstring(i));
            EXPECT_EQ(control->GetRect(), (RECT{i, i, i + 100, i + 20}));
        }
    });
    worker.join();
    Pump();
    QWidget* widget = control->Widget();
    ASSERT_NE(widget, nullptr);
    EXPECT_EQ(widget->geometry(), QRect(50, 50, 100, 20));
    EXPECT_TRUE(widget->isVisibleTo(dialog.GetWidget()));
    widget->repaint();
    std::lock_guard lock(probe::ProbeControl::mutex);
    ASSERT_FALSE(probe::ProbeControl::widgetThreads.empty());
    for (const auto& id : probe::ProbeControl::widgetThreads)
        EXPECT_EQ(id, std::this_thread::get_id());
}

TEST_F(CoreControlsTest, NotifyFromAWorkerIsDeliveredOnTheUiThread)
{
    auto* control = dynamic_cast<probe::ProbeControl*>(
        dialog.CreateControl(L"ProbeControl", 12, RECT{0, 0, 10, 10}));
    ASSERT_NE(control, nullptr);
    std::thread::id seenOn;
    dialog.onNote = [&](const Note&) { seenOn = std::this_thread::get_id(); };
    std::thread([&] { control->Fire(MUI::kNotifyDragging, 77); }).join();
    EXPECT_TRUE(dialog.notes.empty());
    ASSERT_TRUE(muitest::PumpUntil([&] { return !dialog.notes.empty(); }));
    EXPECT_EQ(dialog.notes[0], (Note{12, MUI::kNotifyDragging, 77}));
    EXPECT_EQ(seenOn, std::this_thread::get_id());
}

}  // namespace
