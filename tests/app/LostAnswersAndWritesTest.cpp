// What the user and the keyboard hold is never overwritten with what the program does not
// know: a load whose answers are lost asks again and leaves a table it could not read whole as
// the keyboard holds it; a database write that fails (the file locked by another process for
// longer than the busy time-out) is told and sends nothing. The real main window against the
// in-process virtual keyboard, driven through the key page's controls, ending on the keyboard's
// key table.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <array>
#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "app/Language.h"
#include "app/MainWindowTestSupport.h"
#include "device/KeyMacroType.h"
#include "platform/mui/KeyFuncControl.h"
#include "platform/mui/KeyboardCtrl.h"
#include "platform/text/Utf8.h"
#include "storage/KBDataBase.h"
#include "virtual-keyboard/Fault.h"

namespace {

using namespace std::chrono_literals;
using Entry = std::array<uint8_t, 3>;

constexpr int kA = 0x04;
constexpr int kB = 0x05;
constexpr int kX = 0x1B;
constexpr int kZ = 0x1D;

// Every message box is answered with its first button, its text printed on standard error.
struct AnsweredMessages {
    AnsweredMessages() { setenv("TOLVENIC_TEST_MESSAGE_ANSWER", "1", 1); }
    ~AnsweredMessages() { unsetenv("TOLVENIC_TEST_MESSAGE_ANSWER"); }
    AnsweredMessages(const AnsweredMessages&) = delete;
    AnsweredMessages& operator=(const AnsweredMessages&) = delete;
};

class LostAnswersAndWritesTest : public apptest::MainWindowTest {
protected:
    AnsweredMessages answered;

    static KBDataBase& db() { return KBDataBase::GetInstance(); }
    size_t IndexOf(int code) const
    {
        return static_cast<size_t>(dlg->keyTables.maps.IndexOf(code));
    }
    std::vector<uint8_t> Layer(int layer) const
    {
        const std::vector<uint8_t> all = keyboard->Memory().keymaps;
        return {all.begin() + layer * 512, all.begin() + (layer + 1) * 512};
    }
    KeyMacroRecord Row(int code, int layer = 0)
    {
        KeyMacroRecord row;
        EXPECT_TRUE(db().GetKeyMacro(dlg->page.currentProfile.load(), layer, code, row));
        return row;
    }
    // The user gives `key` the key function `usage` on the shown layer.
    void Assign(int key, int usage)
    {
        MUI::KeyFuncControl& functions = *dlg->keyPage.keyFunctions;
        const auto items = functions.GetItems();
        int index = -1;
        for (size_t i = 0; i < items.size(); ++i) {
            if (items[i].values[1] == usage) index = static_cast<int>(i);
        }
        ASSERT_GE(index, 0) << usage;
        dlg->keyPage.keyboard->SetCurrentKeyValue(key);
        functions.SetCurItem(index);
        dlg->OnMessage(KeyPageId::kKeyFunctions, MUI::kNotifyClick, 0);
    }
    void Replug()
    {
        Unplug();
        ASSERT_TRUE(WaitFor([&] { return !dlg->worker.queue.Empty(); }));
        ASSERT_TRUE(Drain());
        Plug();
        ASSERT_TRUE(WaitFor([&] { return !dlg->worker.queue.Empty(); }));
        ASSERT_TRUE(Drain());
        Pump();
    }
};

TEST_F(LostAnswersAndWritesTest, ALoadThatLosesAnswersAsksAgainAndNeverSendsWhatItCouldNotRead)
{
    const std::wstring notice = GetLanString(2402);
    // The keyboard's own keys, set elsewhere: A plays B, and on layer 1 X plays Z.
    Plug();
    keyboard->ModifyMemory([](vkb::KeyboardMemory& m) {
        for (size_t i = 0; i < vkb::kKeyCount; ++i) {
            if (vkb::DefaultKeyUsage(i) == kA) m.keymaps[i * 3 + 2] = kB;
            if (vkb::DefaultKeyUsage(i) == kX) {
                m.keymaps[512 + i * 3] = 0x10;
                m.keymaps[512 + i * 3 + 1] = 0;
                m.keymaps[512 + i * 3 + 2] = kZ;
            }
        }
    });
    // Every answer to the first ten reads of the current key table is lost: layer 0 does not
    // arrive at all. Four more are lost in layer 1 and asked for again.
    keyboard->AddFault(*vkb::ParseFault("no-answer=0x08:14"));
    testing::internal::CaptureStderr();
    CreateWindow();
    ASSERT_TRUE(Drain());
    Pump(50ms);
    EXPECT_NE(testing::internal::GetCapturedStderr().find(text::WideToUtf8(notice)),
              std::string::npos)
        << "the user is told";
    EXPECT_EQ(dlg->keyTables.unreadLayers.load(), 1u);
    EXPECT_EQ(Row(kX, 1).macro_value, kZ) << "layer 1 arrived whole";
    EXPECT_EQ(Row(kA).macro_value, kA) << "nothing of layer 0 is stored";

    // An edit of layer 0 is stored but not sent over the keyboard's own keys.
    const std::vector<uint8_t> before = Layer(0);
    Assign(kB, kX);
    EXPECT_EQ(Row(kB).macro_value, kX);
    ASSERT_TRUE(Drain());
    EXPECT_EQ(Layer(0), before);
    EXPECT_EQ(keyboard->KeyEntry(0, IndexOf(kA)), (Entry{0x10, 0, kB}));

    // A replug reads the layer whole, this time with a few answers lost and asked for again:
    // the keyboard's keys come into the database, and edits reach the keyboard again.
    keyboard->ClearFaults();
    keyboard->AddFault(*vkb::ParseFault("no-answer=0x08:3"));
    testing::internal::CaptureStderr();
    Replug();
    EXPECT_EQ(testing::internal::GetCapturedStderr().find(text::WideToUtf8(notice)),
              std::string::npos);
    EXPECT_EQ(dlg->keyTables.unreadLayers.load(), 0u);
    EXPECT_EQ(Row(kA).macro_value, kB);
    EXPECT_EQ(Row(kB).macro_value, kB) << "the edit the keyboard never got is gone";
    Assign(kB, kX);
    ASSERT_TRUE(Drain());
    EXPECT_EQ(keyboard->KeyEntry(0, IndexOf(kB)), (Entry{0x10, 0, kX}));
    EXPECT_EQ(keyboard->KeyEntry(0, IndexOf(kA)), (Entry{0x10, 0, kB}));
    EXPECT_EQ(keyboard->KeyEntry(1, IndexOf(kX)), (Entry{0x10, 0, kZ}));
}

// Holds the database file's write lock from another connection, as another process would.
class FileLock {
public:
    explicit FileLock(const std::string& path)
    {
        sqlite3_open_v2(path.c_str(), &handle_, SQLITE_OPEN_READWRITE, nullptr);
        locked_ = sqlite3_exec(handle_, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr) == SQLITE_OK;
    }
    ~FileLock()
    {
        Release();
        sqlite3_close(handle_);
    }
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;
    bool Locked() const { return locked_; }
    void Release()
    {
        if (locked_) sqlite3_exec(handle_, "ROLLBACK", nullptr, nullptr, nullptr);
        locked_ = false;
    }

private:
    sqlite3* handle_ = nullptr;
    bool locked_ = false;
};

TEST_F(LostAnswersAndWritesTest, AFailedDatabaseWriteIsToldAndSendsNothing)
{
    Plug();
    CreateWindow();
    ASSERT_TRUE(Drain());
    Pump();
    const std::string path = db().GetDbPath();
    const std::string notice = text::WideToUtf8(GetLanString(2401));
    const std::string noticeStart = notice.substr(0, notice.find("%s"));

    // Locked for longer than the busy time-out: the edit is lost, the user told, and the
    // keyboard gets nothing.
    {
        FileLock lock(path);
        ASSERT_TRUE(lock.Locked());
        testing::internal::CaptureStderr();
        Assign(kA, kX);
        EXPECT_TRUE(dlg->worker.queue.Empty()) << "nothing queued from the old row";
        Pump(50ms);
        const std::string told = testing::internal::GetCapturedStderr();
        EXPECT_NE(told.find(noticeStart + path), std::string::npos) << told;
    }
    EXPECT_EQ(Row(kA).macro_value, kA);
    ASSERT_TRUE(Drain());
    EXPECT_EQ(keyboard->KeyEntry(0, IndexOf(kA)), (Entry{0x10, 0, kA}));

    // Locked for a moment shorter than the busy time-out: the write waits for the lock and the
    // edit reaches the keyboard.
    auto lock = std::make_unique<FileLock>(path);
    ASSERT_TRUE(lock->Locked());
    std::thread release([&lock] {
        std::this_thread::sleep_for(30ms);
        lock->Release();
    });
    testing::internal::CaptureStderr();
    Assign(kA, kX);
    release.join();
    EXPECT_EQ(Row(kA).macro_value, kX);
    ASSERT_TRUE(Drain());
    EXPECT_EQ(keyboard->KeyEntry(0, IndexOf(kA)), (Entry{0x10, 0, kX}));
    EXPECT_EQ(testing::internal::GetCapturedStderr().find(noticeStart), std::string::npos);
}

}  // namespace
