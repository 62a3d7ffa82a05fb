// The profile list in the real main window: the first load on a fresh database, the names it
// shows, delete, rename and the language change, driven by the menu command and the combobox
// edit as the user's clicks deliver them, with the worker run step by step against the
// in-process virtual keyboard.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTimer>
#include <QWidget>
#include <string>
#include <vector>

#include "KeyboardMemory.h"
#include "app/CUIMessageBox.h"
#include "app/Language.h"
#include "app/MainWindowTestSupport.h"
#include "app/WaitDlg.h"
#include "platform/mui/KeyLayerCtrl.h"
#include "platform/mui/KeyboardCtrl.h"
#include "platform/mui/MComboBox.h"
#include "platform/mui/MWindow.h"
#include "platform/mui/WindowServices.h"
#include "storage/KBDataBase.h"
#include "storage/RecordList.h"

namespace {

using namespace std::chrono_literals;

constexpr int kMenuDelete = 102;
constexpr int kMenuRename = 103;

class ProfileListTest : public apptest::MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        Plug();
        CreateWindow();
        ASSERT_TRUE(Drain());  // first connection, then the load from the keyboard
        ASSERT_TRUE(WaitFor([this] { return TabsShown(); }));
    }

    void TearDown() override
    {
        CurrentLanguageId = 1033;
        MainWindowTest::TearDown();
    }

    static KBDataBase& db() { return KBDataBase::GetInstance(); }
    MUI::MComboBox& Combo(unsigned id) { return *dlg->GetControlAs<MUI::MComboBox>(id); }

    // Every item of a combobox as "id:text".
    std::vector<std::wstring> Items(unsigned id)
    {
        std::vector<std::wstring> items;
        MUI::MComboBox& combo = Combo(id);
        for (int i = 0; i < combo.GetItemCount(); ++i) {
            items.push_back(std::to_wstring(combo.GetItemData(i)) + L":" + combo.GetItemText(i));
        }
        return items;
    }

    // A second page's profile combobox, as the later pages create theirs.
    void AddSecondCombo()
    {
        dlg->ui.keysPage->CreateControl(L"MComboBox", 107);
        dlg->QueueCommand(QCMD_LOAD_FROM_DEVICE);
        ASSERT_TRUE(Drain());
    }

    // Replaces the profile list with profiles of these names, the one at `active` active, and
    // loads it again as a connection does.
    std::vector<int> StoreProfiles(const std::vector<std::wstring>& names, size_t active = 0)
    {
        std::vector<ProfileRecord*> old;
        db().GetProfiles(old);
        for (const ProfileRecord& p : TakeRecords(old)) db().DeleteProfile(p.profile);
        std::vector<int> ids;
        for (const std::wstring& name : names) {
            ProfileRecord record;
            record.type = 1;
            record.name = name;
            ids.push_back(db().InsertProfile(record));
            dlg->CreateDefaultKeyRows(ids.back());
        }
        db().SetActiveProfile(ids[active]);
        dlg->QueueCommand(QCMD_LOAD_FROM_DEVICE);
        EXPECT_TRUE(Drain());
        return ids;
    }

    // A menu choice as the profile menu posts it, answered by the worker as it comes.
    void MenuCommand(int item)
    {
        dlg->OnWindowMessage(WM_CUSTOMKEY_MENU, static_cast<WPARAM>(item), item);
    }

    // Runs the worker on its own thread for the wait dialog a handler shows.
    void StartWorker()
    {
        dlg->running = 0;
        ASSERT_TRUE(dlg->Start());
    }

    // Types into the in-place editor of the combobox and ends the edit with Enter.
    void TypeIntoEditor(unsigned id, const QString& text)
    {
        QLineEdit* editor = nullptr;
        ASSERT_TRUE(WaitFor([&] {
            editor = Combo(id).Widget()->findChild<QLineEdit*>();
            return editor != nullptr;
        }));
        editor->setText(text);
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QApplication::sendEvent(editor, &press);
        ASSERT_TRUE(WaitFor([&] { return !Combo(id).IsEditing(); }));
        Pump();
    }
};

TEST_F(ProfileListTest, FirstLoadCreatesThreeCompleteProfilesTheFirstActive)
{
    EXPECT_EQ(Items(87),
              (std::vector<std::wstring>{L"1:Profile 1", L"2:Profile 2", L"3:Profile 3"}));
    EXPECT_EQ(Combo(87).GetCurSel(), 0);
    EXPECT_EQ(db().GetActiveProfile(), 1);
    EXPECT_EQ(dlg->page.currentProfile.load(), 1);
    EXPECT_EQ(dlg->profiles.lightingProfile.load(), 1);
    const int keys = dlg->keyPage.keyboard->GetKeyItemCount();
    ASSERT_GT(keys, 60);
    for (int id = 1; id <= 3; ++id) {
        SCOPED_TRACE(id);
        std::wstring name;
        ASSERT_TRUE(db().GetProfileName(id, name));
        EXPECT_EQ(name, L"Profile " + std::to_wstring(id));
        int rows = 0;
        for (int layer = 0; layer <= 8; ++layer) {
            std::vector<KeyMacroRecord*> layerRows;
            rows += db().GetLayerKeyMacros(id, layer, layerRows);
            TakeRecords(layerRows);
        }
        EXPECT_EQ(rows, keys * 9) << "every key on the base layer and the eight FN layers";
        EXPECT_EQ(db().GetKeyPerfCount(id), keys);
        EXPECT_EQ(db().GetLightCount(id), 23);
        EXPECT_EQ(db().GetActiveLightMode(id), 1);
        EXPECT_EQ(db().GetMusicLayerCount(id), 1);
        std::wstring value;
        EXPECT_TRUE(db().GetConfig(id, L"switch_type", value));
    }

    // A second load changes nothing but the selection, and puts the layer back to the base.
    dlg->keyPage.layers->SetSelectKeyLayer(1);
    dlg->page.currentFnLayer = 1;
    AddSecondCombo();
    EXPECT_EQ(Items(107), Items(87));
    EXPECT_EQ(Combo(107).GetCurSel(), 0);
    EXPECT_EQ(dlg->page.currentFnLayer.load(), 0);
    EXPECT_EQ(dlg->keyPage.layers->GetSelectKeyLayerID(), 0);
    EXPECT_EQ(db().GetKeyPerfCount(1), keys) << "no second set of rows";
}

TEST_F(ProfileListTest, StoredNamesAreShownWithTheCurrentLanguagesWord)
{
    const struct {
        const wchar_t* stored;
        const wchar_t* english;  // shown with language 1033
        const wchar_t* chinese;  // after a change to language 2052
    } cases[] = {
        {L"Profile 7", L"Profile 7", L"配置方案 7"},
        {L"配置方案 2", L"Profile 2", L"配置方案 2"},
        {L"Profiles", L"Profiles", L"配置方案s"},
        {L"配置方案Profile", L"ProfileProfile", L"配置方案Profile"},
        {L"Mine", L"Mine", L"Mine"},
        {L"tab\there\nnext", L"tab here next", L"tab here next"},
        {L"\"quoted\" 'name'", L"\"quoted\" 'name'", L"\"quoted\" 'name'"},
    };
    std::vector<std::wstring> names;
    for (const auto& c : cases) names.push_back(c.stored);
    AddSecondCombo();
    const std::vector<int> ids = StoreProfiles(names);
    for (size_t i = 0; i < std::size(cases); ++i) {
        EXPECT_EQ(Combo(87).GetItemText(static_cast<int>(i)), cases[i].english) << i;
        std::wstring stored;
        ASSERT_TRUE(db().GetProfileName(ids[i], stored));
        EXPECT_EQ(stored, cases[i].stored) << "the stored name is not changed";
    }

    // A language change relabels the default names only, in every list.
    CurrentLanguageId = 2052;
    dlg->RelabelProfileNames();
    for (size_t i = 0; i < std::size(cases); ++i) {
        EXPECT_EQ(Combo(87).GetItemText(static_cast<int>(i)), cases[i].chinese) << i;
    }
    EXPECT_EQ(Items(107), Items(87));
}

class ProfileDeleteTest : public ProfileListTest,
                          public ::testing::WithParamInterface<std::pair<int, int>> {};

TEST_P(ProfileDeleteTest, SelectsTheOneBeforeOrTheNewFirstAndAppliesIt)
{
    const auto [deleted, selected] = GetParam();
    const std::vector<int> ids = StoreProfiles({L"A", L"B", L"C", L"D"}, deleted);
    AddSecondCombo();
    ASSERT_EQ(Combo(87).GetCurSel(), deleted);
    StartWorker();
    MenuCommand(kMenuDelete);  // returns once the worker ended the wait dialog

    std::vector<std::wstring> left = {L"A", L"B", L"C", L"D"};
    left.erase(left.begin() + deleted);
    std::vector<int> leftIds = ids;
    leftIds.erase(leftIds.begin() + deleted);
    for (unsigned combo : {87u, 107u}) {
        ASSERT_EQ(Combo(combo).GetItemCount(), 3) << combo;
        EXPECT_EQ(Combo(combo).GetCurSel(), selected) << combo;
        for (int i = 0; i < 3; ++i) EXPECT_EQ(Combo(combo).GetItemText(i), left[i]);
    }
    const int active = leftIds[selected];
    EXPECT_EQ(db().GetActiveProfile(), active);
    EXPECT_EQ(dlg->page.currentProfile.load(), active);
    std::wstring name;
    EXPECT_FALSE(db().GetProfileName(ids[deleted], name));
    EXPECT_GT(db().GetKeyMacroCount(ids[deleted]), 0) << "the other rows stay";
    EXPECT_FALSE(dlg->GetWaitDlg()->IsModalRunning());
}

INSTANTIATE_TEST_SUITE_P(FirstMiddleLast, ProfileDeleteTest,
                         ::testing::Values(std::pair{0, 0}, std::pair{2, 1}, std::pair{3, 2}));

TEST_F(ProfileListTest, TheOnlyProfileIsKeptWithMessage220)
{
    const std::vector<int> ids = StoreProfiles({L"Only"});
    std::wstring message, caption;
    int style = -1;
    bool shown = false;
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [&, poll] {
        auto* box = dynamic_cast<CUIMessageBox*>(
            MUI::MWindow::FromHandle(MUI::FindWindow(L"", L"MessageBox")));
        if (box == nullptr || !box->IsModalRunning()) return;
        poll->stop();
        poll->deleteLater();
        shown = true;
        message = box->Message();
        caption = box->Caption();
        style = box->Style();
        box->OnMessage(kMessageBoxFirstButtonId, 2, 0);
    });
    poll->start(5);
    MenuCommand(kMenuDelete);
    EXPECT_TRUE(shown);
    EXPECT_EQ(message, GetLanString(220));
    EXPECT_EQ(caption, GetLanString(221));
    EXPECT_EQ(style, kMessageBoxOneButton);
    std::wstring name;
    EXPECT_TRUE(db().GetProfileName(ids[0], name));
    EXPECT_EQ(Combo(87).GetItemCount(), 1);
    EXPECT_TRUE(TakeQueue().empty());
}

TEST_F(ProfileListTest, RenameStoresTheTypedNameOrRestoresTheStoredOne)
{
    AddSecondCombo();
    dlg->page.currentPage = PAGE_KEYS;
    const struct {
        QString typed;
        std::wstring stored;
        std::wstring shown;
    } cases[] = {
        {"Work", L"Work", L"Work"},
        // An empty name keeps the stored one, shown as a load shows it.
        {"", L"Work", L"Work"},
        {QString(250, QChar('x')) + "\"'\t;--", std::wstring(250, L'x') + L"\"'\t;--",
         std::wstring(250, L'x') + L"\"' ;--"},
        // Cut to what a profile file holds, so that the profile's export reads back.
        {QString(1000, QChar('y')), std::wstring(256, L'y'), std::wstring(256, L'y')},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed.size());
        MenuCommand(kMenuRename);
        ASSERT_TRUE(Combo(87).IsEditing());
        TypeIntoEditor(87, c.typed);
        std::wstring stored;
        ASSERT_TRUE(db().GetProfileName(1, stored));
        EXPECT_EQ(stored, c.stored);
        for (unsigned combo : {87u, 107u}) {
            EXPECT_EQ(Combo(combo).GetItemText(0), c.shown) << combo;
            EXPECT_EQ(Combo(combo).GetItemCount(), 3) << combo;
        }
        EXPECT_EQ(Combo(87).GetItemText(1), L"Profile 2");
    }
    EXPECT_TRUE(TakeQueue().empty()) << "a rename sends nothing";
}

TEST_F(ProfileListTest, ThePerformancePagesMenuActsOnTheOneList)
{
    const std::vector<int> ids = StoreProfiles({L"A", L"B"}, 1);
    ASSERT_EQ(Items(277), Items(87));
    StartWorker();
    dlg->OnWindowMessage(WM_PERF_MENU, kMenuDelete, kMenuDelete);
    std::wstring name;
    EXPECT_FALSE(db().GetProfileName(ids[1], name));
    for (unsigned combo : {87u, 277u}) {
        ASSERT_EQ(Combo(combo).GetItemCount(), 1) << combo;
        EXPECT_EQ(Combo(combo).GetItemText(0), L"A") << combo;
    }
    EXPECT_EQ(db().GetActiveProfile(), ids[0]);
    EXPECT_FALSE(dlg->GetWaitDlg()->IsModalRunning());
}

}  // namespace
