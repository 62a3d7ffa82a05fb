#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "platform/mui/ControlHarness.h"
#include "platform/mui/KeyFuncControl.h"
#include "platform/mui/KeyLayerCtrl.h"
#include "platform/mui/KeyTypeTab.h"
#include "platform/mui/KeyValueList2.h"
#include "platform/mui/PaletteDrag.h"

namespace {

using muitest::ControlTest;
using muitest::Note;
using muitest::Posted;

class KeyPaletteControlsTest : public ControlTest {
protected:
    // Centre of a rectangle of the control, as a widget point.
    static QPoint Centre(const RECT& r)
    {
        return QPoint((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    }
};

TEST_F(KeyPaletteControlsTest, LayerSelectorReportsTheClickedLayerOnce)
{
    auto* layers = Make<MUI::KeyLayerCtrl>(L"KeyLayerCtrl", 95, RECT{0, 0, 360, 20});
    ASSERT_NE(layers, nullptr);
    ASSERT_EQ(layers->GetItemCount(), 2);
    EXPECT_EQ(layers->GetItemLayer(1), 1);
    EXPECT_TRUE(layers->SetItemText(1, L"FN"));
    EXPECT_EQ(layers->GetItemText(1), L"FN");

    muitest::Click(layers->Widget(), QPoint(270, 10));  // the right half: layer 1
    muitest::Click(layers->Widget(), QPoint(270, 10));  // already selected: no news
    EXPECT_EQ(Notes(95), (std::vector<Note>{{95, MUI::kNotifyClick, 1}}));
    EXPECT_EQ(layers->GetSelectKeyLayerID(), 1);

    // The keyboard may switch to any FN layer; values beyond them are refused.
    EXPECT_TRUE(layers->SetSelectKeyLayer(5));
    EXPECT_EQ(layers->GetSelectKeyLayerID(), 5);
    EXPECT_FALSE(layers->SetSelectKeyLayer(9));
    EXPECT_FALSE(layers->SetSelectKeyLayer(-1));
    EXPECT_EQ(layers->GetSelectKeyLayerID(), 5);
    EXPECT_EQ(layers->AddItem(1, L"again"), -1);
    EXPECT_EQ(layers->AddItem(3, L"FN3"), 2);
    muitest::Click(layers->Widget(), QPoint(10, 10));  // now a third of the row: layer 0
    EXPECT_EQ(Notes(95).back(), (Note{95, MUI::kNotifyClick, 0}));
}

TEST_F(KeyPaletteControlsTest, TypeTabsRunDownOrAcrossAndReportTheNewTab)
{
    auto* column = Make<MUI::KeyTypeTab>(L"KeyTypeTab", 97, RECT{0, 0, 170, 600});
    auto* row = Make<MUI::KeyTypeTab>(L"KeyTypeTab", 54, RECT{0, 0, 800, 31});
    ASSERT_NE(column, nullptr);
    ASSERT_NE(row, nullptr);
    column->SetItemSize(170, 50);
    row->SetItemSize(96, 31);
    muitest::Pump();
    EXPECT_EQ(column->TabFromPoint(20, 3 * 56 + 10), 3);
    EXPECT_EQ(row->TabFromPoint(2 * 102 + 10, 10), 2);
    EXPECT_EQ(row->TabFromPoint(10, 40), -1);

    muitest::Click(column->Widget(), QPoint(20, 3 * 56 + 10));
    muitest::Click(column->Widget(), QPoint(20, 3 * 56 + 10));
    EXPECT_EQ(Notes(97), (std::vector<Note>{{97, MUI::kNotifyClick, 3}}));
    EXPECT_EQ(column->GetCurTab(), 3);

    EXPECT_TRUE(column->SetTabTitle(5, L"Macros"));
    EXPECT_FALSE(column->SetTabTitle(6, L"none"));
    EXPECT_EQ(column->GetTabTitle(5), L"Macros");
    EXPECT_FALSE(column->SetCurTab(6));
    EXPECT_TRUE(column->SetCurTab(0));
    EXPECT_EQ(Notes(97).size(), 1u);  // set by the program: no notification
}

TEST_F(KeyPaletteControlsTest, ValueTileClickSelectsAndReportsItsValue)
{
    auto* list = Make<MUI::KeyValueList2>(L"KeyValueList2", 99, RECT{0, 0, 700, 300});
    ASSERT_NE(list, nullptr);
    list->AddKeyInfo(0xE9, L"Vol+", L"", RECT{10, 150, 65, 205});
    list->AddKeyInfo(0x223, L"Web\nHome", L"", RECT{98, 150, 153, 205});
    int value = 0;
    std::wstring caption;
    EXPECT_FALSE(list->GetSelectKeyValue(value, caption));

    muitest::Click(list->Widget(), QPoint(120, 170));
    EXPECT_EQ(Notes(99), (std::vector<Note>{{99, MUI::kNotifyClick, 0x223}}));
    ASSERT_TRUE(list->GetSelectKeyValue(value, caption));
    EXPECT_EQ(value, 0x223);
    EXPECT_EQ(caption, L"Web\nHome");

    muitest::Click(list->Widget(), QPoint(80, 170));  // between the tiles
    EXPECT_EQ(Notes(99).size(), 1u);

    list->SetSelectKeyValue(-1);
    EXPECT_FALSE(list->GetSelectKeyValue(value, caption));
    list->SetSelectKeyValue(0xE9);
    ASSERT_TRUE(list->GetSelectKeyValue(value, caption));
    EXPECT_EQ(caption, L"Vol+");
    list->ClearAllItems();
    EXPECT_EQ(list->GetItemCount(), 0);
    EXPECT_FALSE(list->GetSelectKeyValue(value, caption));
}

TEST_F(KeyPaletteControlsTest, KeyFunctionCarriesTheChosenModifier)
{
    auto* funcs = Make<MUI::KeyFuncControl>(L"KeyFuncControl", 98, RECT{0, 0, 1160, 380});
    ASSERT_NE(funcs, nullptr);
    const auto items = funcs->GetItems();
    const auto find = [&](int usage) {
        for (size_t i = 0; i < items.size(); ++i)
            if (items[i].values[1] == usage) return static_cast<int>(i);
        return -1;
    };
    const int keyA = find(0x04);
    const int disable = find(MUI::KeyFuncControl::kDisableUsage);
    ASSERT_GE(keyA, 0);
    ASSERT_GE(disable, 0);
    // No two keys overlap, so every key can be hit.
    for (size_t i = 0; i < items.size(); ++i)
        EXPECT_EQ(funcs->ItemFromPoint(Centre(items[i].rect).x(), Centre(items[i].rect).y()),
                  static_cast<int>(i))
            << items[i].name << " " << i;

    int v1 = -1, v2 = -1, v3 = -1, v4 = -1;
    std::wstring name;
    EXPECT_FALSE(funcs->GetCurItemData(v1, v2, v3, v4, name));

    muitest::Click(funcs->Widget(), Centre(items[keyA].rect));
    EXPECT_EQ(Notes(98), (std::vector<Note>{{98, MUI::kNotifyClick, keyA}}));
    ASSERT_TRUE(funcs->GetCurItemData(v1, v2, v3, v4, name));
    EXPECT_EQ((std::array{v1, v2, v3, v4}), (std::array{0, 0x04, 0, 0}));
    EXPECT_EQ(name, L"A");

    const auto chips = funcs->GetChips();
    ASSERT_FALSE(chips.empty());
    muitest::Click(funcs->Widget(), Centre(chips[0].rect));  // Ctrl on
    EXPECT_EQ(Notes(98).size(), 1u);
    ASSERT_TRUE(funcs->GetCurItemData(v1, v2, v3, v4, name));
    EXPECT_EQ(v3, 0xE0);
    EXPECT_EQ(name, L"Ctrl+A");

    // Disabling a key takes no modifier.
    funcs->SetCurItem(disable);
    ASSERT_TRUE(funcs->GetCurItemData(v1, v2, v3, v4, name));
    EXPECT_EQ((std::array{v2, v3, v4}), (std::array{3, 0, 0}));

    muitest::Click(funcs->Widget(), Centre(chips[0].rect));  // Ctrl off again
    EXPECT_EQ(funcs->GetModifier(), 0);
    EXPECT_FALSE(funcs->SetModifier(0x04));
    EXPECT_FALSE(funcs->SetCurItem(static_cast<int>(items.size())));
}

// Presses an entry, drags it well outside the control and lets go.
void DragOut(QWidget* widget, QPoint from)
{
    muitest::Press(widget, from);
    muitest::Move(widget, from + QPoint(2, 1));  // below the threshold: still a press
    muitest::Move(widget, from + QPoint(0, -60));
    muitest::Move(widget, from + QPoint(10, -120));
    muitest::Release(widget, from + QPoint(10, -120));
}

TEST_F(KeyPaletteControlsTest, DraggingATileSelectsItAndDropsAtTheReleasePoint)
{
    auto* list = Make<MUI::KeyValueList2>(L"KeyValueList2", 99, RECT{100, 300, 800, 600});
    list->AddKeyInfo(0x68, L"F13", L"", RECT{10, 150, 65, 205});
    muitest::Pump();
    DragOut(list->Widget(), QPoint(30, 170));
    ASSERT_TRUE(muitest::PumpUntil([&] { return dialog.posted.size() >= 3; }));
    // Client point of the release: the control's origin plus the widget point.
    const LPARAM drop = MUI::PackClientPoint(POINT{100 + 40, 300 + 50});
    EXPECT_EQ(dialog.posted.front().message, MUI::kDragMoveMessage);
    EXPECT_EQ(dialog.posted.back(), (Posted{MUI::kDropMessage, 0, drop}));
    EXPECT_EQ(MUI::UnpackClientPoint(drop).y, 350);
    int value = 0;
    std::wstring caption;
    ASSERT_TRUE(list->GetSelectKeyValue(value, caption));
    EXPECT_EQ(value, 0x68);
    EXPECT_TRUE(Notes(99).empty());

    // A press and release in place is a pick, not a drop.
    dialog.posted.clear();
    muitest::Click(list->Widget(), QPoint(30, 170));
    muitest::Pump();
    EXPECT_TRUE(dialog.posted.empty());
    EXPECT_EQ(Notes(99).size(), 1u);
}

TEST_F(KeyPaletteControlsTest, DraggingAKeyMakesItCurrentAndDrops)
{
    auto* funcs = Make<MUI::KeyFuncControl>(L"KeyFuncControl", 98, RECT{0, 200, 1160, 580});
    const auto items = funcs->GetItems();
    DragOut(funcs->Widget(), Centre(items[5].rect));
    ASSERT_TRUE(muitest::PumpUntil([&] {
        return !dialog.posted.empty() && dialog.posted.back().message == MUI::kDropMessage;
    }));
    EXPECT_EQ(funcs->GetCurItem(), 5);
    EXPECT_TRUE(Notes(98).empty());
    // Points left of or above the window's origin survive the packing.
    EXPECT_EQ(MUI::UnpackClientPoint(MUI::PackClientPoint(POINT{-12, -300})).x, -12);
    EXPECT_EQ(MUI::UnpackClientPoint(MUI::PackClientPoint(POINT{-12, -300})).y, -300);
}

TEST_F(KeyPaletteControlsTest, TilesMayBeRefilledFromAnotherThreadWhileDrawn)
{
    auto* list = Make<MUI::KeyValueList2>(L"KeyValueList2", 99, RECT{0, 0, 700, 300});
    std::atomic<bool> done{false};
    std::thread worker([&] {
        for (int round = 0; round < 300; ++round) {
            list->ClearAllItems();
            for (int i = 0; i < 10; ++i)
                list->AddKeyInfo(i, L"M", L"", RECT{10 + 88 * i, 150, 65 + 88 * i, 205});
            list->SetSelectKeyValue(round % 10);
        }
        done = true;
    });
    while (!done) {
        list->Widget()->repaint();
        muitest::Pump();
    }
    worker.join();
    int value = -1;
    std::wstring caption;
    ASSERT_TRUE(list->GetSelectKeyValue(value, caption));
    EXPECT_EQ(value, 299 % 10);
    EXPECT_EQ(list->GetItemCount(), 10);
}

}  // namespace
