#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "platform/mui/CRecordList.h"
#include "platform/mui/ControlHarness.h"
#include "platform/mui/MComboBox.h"
#include "platform/mui/MListBox.h"
#include "platform/mui/MSlider.h"

namespace {

using muitest::ControlTest;

class WorkerThreadTest : public ControlTest {};

// The worker refills the lists as a profile load does while the UI thread keeps painting them.
TEST_F(WorkerThreadTest, ListsRefilledFromAWorkerEndInTheLastState)
{
    auto* combo = Make<MUI::MComboBox>(L"MComboBox", 87, RECT{10, 10, 210, 40});
    auto* list = Make<MUI::MListBox>(L"MListBox", 226, RECT{10, 50, 210, 350});
    auto* steps = Make<MUI::CRecordList>(L"CRecordList", 263, RECT{220, 50, 470, 350});
    auto* slider = Make<MUI::MSlider>(L"MSlider", 154, RECT{220, 10, 470, 40});
    std::atomic<bool> done{false};
    std::thread worker([&] {
        for (int round = 0; round < 200; ++round) {
            combo->DelAllItems();
            list->DelAllItems();
            steps->DelAllItems();
            for (int id = 1; id <= 5; ++id) {
                combo->AddItem(L"Profile " + std::to_wstring(id), id);
                list->AddItem(L"M " + std::to_wstring(id), 100 + id);
                steps->AddItem(MUI::RecordItem{L"A", 2, id, round});
            }
            combo->SelectData(1 + round % 5);
            list->SetCurSel(round % 5);
            slider->SetPos(round % 101);
        }
        done = true;
    });
    while (!done) {
        for (QWidget* w : {combo->Widget(), list->Widget(), steps->Widget(), slider->Widget()})
            w->repaint();
        muitest::Pump();
    }
    worker.join();
    muitest::Pump();
    EXPECT_EQ(combo->GetItemCount(), 5);
    EXPECT_EQ(combo->GetCurData(), 1 + 199 % 5);
    EXPECT_EQ(combo->GetTitle(), L"Profile 5");
    EXPECT_EQ(list->GetCurData(), 100 + 199 % 5 + 1);
    EXPECT_EQ(steps->GetItemCount(), 5);
    EXPECT_EQ(steps->GetAllItems().back().delay, 199);
    EXPECT_EQ(slider->GetPos(), 199 % 101);
    EXPECT_TRUE(Notes(87).empty());  // program changes notify nothing
}

}  // namespace
