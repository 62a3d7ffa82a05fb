// The macro page in the real main window, driven through its controls' notifications, the
// keyboard hook's synthetic keys and the file dialog, with the worker on its own thread against
// the in-process virtual keyboard: each change ends on the keyboard's macro memory.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "KeyboardMemory.h"
#include "app/Language.h"
#include "app/MainWindowTestSupport.h"
#include "device/KeyMacroType.h"
#include "device/MacroImage.h"
#include "macros/MacroNames.h"
#include "platform/mui/CRadioButton.h"
#include "platform/mui/CRecordList.h"
#include "platform/mui/KeyHook.h"
#include "platform/mui/KeyHookManager.h"
#include "platform/mui/MButton.h"
#include "platform/mui/MComboBox.h"
#include "platform/mui/MEdit.h"
#include "platform/mui/MListBox.h"
#include "platform/os/FileDialog.h"
#include "platform/text/Utf8.h"
#include "storage/KBDataBase.h"
#include "storage/RecordList.h"

namespace {

using namespace MacroPageId;
using namespace std::chrono_literals;

constexpr unsigned kNative = 8;  // desktop key codes are evdev codes plus 8
constexpr int kEvdevA = 30;
constexpr int kEvdevS = 31;

struct Step {
    int type;
    int value;
    int delay;
    std::wstring desc;
    friend bool operator==(const Step&, const Step&) = default;
};

std::ostream& operator<<(std::ostream& out, const Step& s)
{
    return out << "{" << s.type << ", " << s.value << ", " << s.delay << ", "
               << text::WideToUtf8(s.desc) << "}";
}

class MacroPageTest : public apptest::MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        setenv("TOLVENIC_TEST_MESSAGE_ANSWER", "1", 1);
        Plug();
        CreateWindow();
        ASSERT_TRUE(Drain());
        ASSERT_TRUE(WaitFor([this] { return TabsShown(); }));
        dlg->macroPage.clockMs = [this] { return now; };
        dlg->running = 0;
        ASSERT_TRUE(dlg->Start());
    }
    void TearDown() override
    {
        os::SetFileDialogHandler({});
        unsetenv("TOLVENIC_TEST_MESSAGE_ANSWER");
        MainWindowTest::TearDown();
    }

    static KBDataBase& db() { return KBDataBase::GetInstance(); }
    MacroPageControls& page() { return dlg->macroPage; }
    void Notify(unsigned id, int code = MUI::kNotifyClick, LPARAM value = 0)
    {
        dlg->OnMessage(id, code, value);
    }
    void Select(int index)
    {
        page().list->SetCurSel(index);
        Notify(kMacroList, MUI::kNotifyClick, index);
    }
    void Menu(int item) { dlg->OnWindowMessage(WM_MACRO_MENU_COMMAND, item, item); }
    static bool Key(int evdev, bool released, bool repeat = false)
    {
        return MUI::InjectNativeKey(static_cast<unsigned>(evdev) + kNative, released, repeat);
    }
    void Tap(int evdev)
    {
        Key(evdev, false);
        Key(evdev, true);
    }
    // The key box takes the next key typed.
    void CaptureKey(int evdev)
    {
        Notify(kKeyBox, MUI::kNotifyEditBegin);
        Tap(evdev);
        Notify(kKeyBox, MUI::kNotifyEditEnded);
    }
    std::vector<std::wstring> Names()
    {
        std::vector<std::wstring> names;
        for (int i = 0; i < page().list->GetItemCount(); ++i) {
            names.push_back(page().list->GetItemText(i));
        }
        return names;
    }
    int IdAt(int index) { return page().list->GetItemData(index); }
    // Key-down steps of A stored for a macro.
    static void StoreSteps(int macroId, size_t count)
    {
        std::vector<MacroStepRecord> steps(count);
        for (size_t i = 0; i < count; ++i) {
            steps[i].macro_id = macroId;
            steps[i].type = 2;
            steps[i].value = 'A';
            steps[i].record_index = static_cast<int>(i);
        }
        db().InsertMacroSteps(steps);
    }
    static std::vector<Step> Stored(int macroId)
    {
        std::vector<MacroStepRecord*> stored;
        db().GetMacroSteps(macroId, stored);
        std::vector<Step> steps;
        for (const MacroStepRecord& s : TakeRecords(stored)) {
            steps.push_back({s.type, s.value, s.delay_time, s.desc});
        }
        return steps;
    }
    std::vector<Step> Shown()
    {
        std::vector<Step> steps;
        for (const MUI::RecordItem& item : page().steps->GetAllItems()) {
            steps.push_back({item.type, item.value, item.delay, item.name});
        }
        return steps;
    }
    static MacroImage ImageOfDatabase()
    {
        std::vector<MacroRecord*> stored;
        db().GetMacros(stored);
        std::vector<std::vector<MacroStepRecord>> macros;
        for (const MacroRecord& macro : TakeRecords(stored)) {
            std::vector<MacroStepRecord*> steps;
            db().GetMacroSteps(macro.macro_id, steps);
            macros.push_back(TakeRecords(steps));
        }
        return BuildMacroImage(macros);
    }
    std::vector<uint8_t> MemoryPrefix(size_t length) const
    {
        const std::vector<uint8_t> memory = keyboard->Memory().macros;
        return {memory.begin(), memory.begin() + static_cast<std::ptrdiff_t>(length)};
    }
    // The keyboard's macro memory holds what the database does, byte for byte.
    bool MemoryMirrorsDatabase() const
    {
        const MacroImage image = ImageOfDatabase();
        return MemoryPrefix(image.used) ==
               std::vector<uint8_t>(image.bytes.begin(), image.bytes.begin() + image.used);
    }
    void ExpectMemoryMirrorsDatabase()
    {
        EXPECT_TRUE(WaitFor([this] { return MemoryMirrorsDatabase(); }, 10s));
    }
    // The file dialogs answer with `path`.
    void AnswerFiles(const std::filesystem::path& path)
    {
        os::SetFileDialogHandler([path](const os::FileDialogRequest& request) {
            EXPECT_EQ(request.filter, request.save
                                          ? std::wstring(L"Macro (*.xml)\0*.xml\0\0", 21)
                                          : std::wstring(L"Macros (*.xml)\0*.xml\0\0", 22));
            return std::optional<std::wstring>(path.wstring());
        });
    }
    std::filesystem::path TempFile(const char* name) const
    {
        return std::filesystem::path(std::getenv("HOME")) / name;
    }

    int64_t now = 1000;
};

TEST_F(MacroPageTest, AFreshListHoldsNineMacrosTheFirstShown)
{
    EXPECT_EQ(Names(), FirstMacroNames());
    EXPECT_EQ(page().list->GetCurSel(), 0);
    std::vector<MacroRecord*> stored;
    ASSERT_EQ(db().GetMacros(stored), 9);
    for (const MacroRecord& macro : TakeRecords(stored)) {
        EXPECT_EQ(macro.play_times, 1);
        EXPECT_EQ(macro.delay_type, MACRO_DELAY_RECORDED);
    }
    EXPECT_TRUE(page().keyRadio->GetCheck());
    EXPECT_EQ(page().playCount->GetTitle(), L"1");
    EXPECT_TRUE(page().delayRadios[0]->GetCheck());
    EXPECT_FALSE(page().fixedDelay->IsEnabled());
    EXPECT_TRUE(page().steps->IsEnabled());
}

TEST_F(MacroPageTest, InsertedKeysAndButtonsGoWhereTheyAreAskedAndReachTheKeyboard)
{
    const int id = IdAt(0);
    CaptureKey(kEvdevA);
    EXPECT_EQ(page().keyBox->GetTitle(), L"A");
    Notify(kInsertEvent);  // appended: nothing selected
    CaptureKey(kEvdevS);
    page().steps->SetCurSel(0);
    page().insertPosition->SetCurSel(0);
    Notify(kInsertEvent);  // before the first step
    const std::vector<Step> keys = {
        {2, 'S', 10, L"S"}, {3, 'S', 10, L"S"}, {2, 'A', 10, L"A"}, {3, 'A', 10, L"A"}};
    EXPECT_EQ(Stored(id), keys);
    // Macro 1 first in the memory, the eight empty ones after it, the rest unused.
    std::vector<uint8_t> expected(80, 0);
    for (int n = 0; n < 32; ++n) expected[static_cast<size_t>(n) * 2] = n >= 1 && n <= 8 ? 80 : 64;
    const uint8_t steps[] = {10, 0, 0x42, 0x16, 10, 0, 0x02, 0x16,
                             10, 0, 0x42, 0x04, 10, 0, 0x82, 0x04};
    std::copy(std::begin(steps), std::end(steps), expected.begin() + 64);
    EXPECT_TRUE(WaitFor([&] { return MemoryPrefix(80) == expected; }, 10s));
    EXPECT_EQ(MemoryPrefix(80), expected);

    // A mouse button after the last step is appended; after another step it follows that one.
    page().mouseRadio->SetCheck(true);
    Notify(kMouseEventRadio);
    EXPECT_TRUE(page().mouseCombo->IsVisible());
    EXPECT_FALSE(page().keyBox->IsVisible());
    page().mouseCombo->SetCurSel(1);
    page().steps->SetCurSel(3);
    page().insertPosition->SetCurSel(0);
    Notify(kInsertEvent);
    page().steps->SetCurSel(0);
    page().insertPosition->SetCurSel(1);
    page().mouseCombo->SetCurSel(2);
    Notify(kInsertEvent);
    const std::wstring middle = GetLanString(308);
    const std::wstring right = GetLanString(309);
    EXPECT_EQ(Stored(id), (std::vector<Step>{keys[0],
                                             {4, 3, 10, right},
                                             {5, 3, 10, right},
                                             keys[1],
                                             keys[2],
                                             keys[3],
                                             {4, 2, 10, middle},
                                             {5, 2, 10, middle}}));
    ExpectMemoryMirrorsDatabase();
}

TEST_F(MacroPageTest, AKeyEventWithoutACapturedKeyInsertsNothing)
{
    Notify(kInsertEvent);
    EXPECT_TRUE(Stored(IdAt(0)).empty());
    EXPECT_EQ(page().steps->GetItemCount(), 0);
}

TEST_F(MacroPageTest, PlayCountAndFixedDelayAreHeldToWhatTheKeyboardTakes)
{
    struct Case {
        const wchar_t* playCount;
        const wchar_t* fixedDelay;
        int playTimes;
        int delay;
        const wchar_t* shownCount;
        const wchar_t* shownDelay;
    };
    const Case cases[] = {
        {L"0", L"25", 1, 25, L"1", L"25"},
        {L"", L"70000", 1, 65535, L"1", L"65535"},
        {L"150", L"0", 99, 0, L"99", L"0"},
        {L"7", L"10", 7, 10, L"7", L"10"},
    };
    const int id = IdAt(0);
    for (const Case& c : cases) {
        SCOPED_TRACE(text::WideToUtf8(c.playCount));
        page().playCount->SetTitle(c.playCount);
        page().delayRadios[2]->SetCheck(true);
        Notify(kDelayFixed);
        EXPECT_TRUE(page().fixedDelay->IsEnabled());
        page().fixedDelay->SetTitle(c.fixedDelay);
        Notify(kSave);
        MacroRecord macro;
        ASSERT_TRUE(db().GetMacro(id, macro));
        EXPECT_EQ(macro.play_times, c.playTimes);
        EXPECT_EQ(macro.link_count, c.playTimes);
        EXPECT_EQ(macro.delay_type, MACRO_DELAY_FIXED);
        EXPECT_EQ(macro.delay_time, c.delay);
        EXPECT_EQ(page().playCount->GetTitle(), c.shownCount);
        EXPECT_EQ(page().fixedDelay->GetTitle(), c.shownDelay);
    }
    // Shown again as stored.
    Select(1);
    Select(0);
    EXPECT_EQ(page().playCount->GetTitle(), L"7");
    EXPECT_TRUE(page().delayRadios[2]->GetCheck());
    EXPECT_EQ(page().fixedDelay->GetTitle(), L"10");
}

TEST_F(MacroPageTest, StepEditsChangeOnlyTheListUntilSaved)
{
    const int id = IdAt(0);
    for (const int key : {kEvdevA, kEvdevS}) {
        CaptureKey(key);
        page().steps->SetCurSel(-1);
        Notify(kInsertEvent);
    }
    const std::vector<Step> saved = Stored(id);
    ASSERT_EQ(saved.size(), 4u);
    page().steps->SetCurSel(2);
    Notify(kStepUp);
    EXPECT_EQ(page().steps->GetCurSel(), 1);
    EXPECT_EQ(Shown()[1], saved[2]);
    Notify(kStepDown);
    Notify(kStepDown);
    EXPECT_EQ(page().steps->GetCurSel(), 3);
    page().steps->SetCurSel(0);
    Notify(kStepUp);  // the first stays first
    Notify(kDeleteStep);
    EXPECT_EQ(page().steps->GetCurSel(), 0);
    EXPECT_EQ(page().steps->GetItemCount(), 3);
    EXPECT_EQ(Stored(id), saved);
    Notify(kClearSteps);
    EXPECT_EQ(page().steps->GetItemCount(), 0);
    EXPECT_EQ(Stored(id), saved);
    Notify(kSave);
    EXPECT_TRUE(Stored(id).empty());
    ExpectMemoryMirrorsDatabase();
}

TEST_F(MacroPageTest, SavingRelabelsTheKeysBoundToTheMacroOnEveryProfile)
{
    const int id = IdAt(1);
    for (const int profile : {1, 2}) {
        KeyMacroRecord row;
        ASSERT_TRUE(db().GetKeyMacro(profile, 0, 0x04, row));
        row.macro_type = KMT_MACRO;
        row.macro_value = id;
        ASSERT_TRUE(db().UpdateKeyMacro(row));
    }
    Select(1);
    CaptureKey(kEvdevS);
    Notify(kInsertEvent);
    for (const int profile : {1, 2}) {
        KeyMacroRecord row;
        ASSERT_TRUE(db().GetKeyMacro(profile, 0, 0x04, row));
        EXPECT_EQ(row.macro_desc, L"M" + std::to_wstring(id) + L"\n(2)") << profile;
    }
}

TEST_F(MacroPageTest, NewDeleteCopyPasteAndRenameKeepListDatabaseAndKeyboardTogether)
{
    Notify(kNewMacro);
    EXPECT_EQ(Names().back(), GetLanString(331) + L" 10");
    EXPECT_EQ(page().list->GetCurSel(), 9);
    ExpectMemoryMirrorsDatabase();

    // Copy M 1, look at another macro, paste twice.
    Select(0);
    CaptureKey(kEvdevA);
    Notify(kInsertEvent);
    Notify(kCopyMacro);
    Select(2);
    Menu(MACRO_MENU_PASTE);
    Menu(MACRO_MENU_PASTE);
    const std::vector<std::wstring> names = Names();
    ASSERT_EQ(names.size(), 12u);
    EXPECT_EQ(names[10], L"M 1 - 1");
    EXPECT_EQ(names[11], L"M 1 - 2");
    EXPECT_EQ(Stored(IdAt(11)), Stored(IdAt(0)));
    EXPECT_EQ(page().list->GetCurSel(), 2) << "a pasted macro is not selected";
    ExpectMemoryMirrorsDatabase();

    // Rename in the list: stored.
    dlg->ui.tabCtrl->SetCurSel(3);  // the macro page is shown
    Select(3);
    Menu(MACRO_MENU_RENAME);
    QLineEdit* editor = nullptr;
    ASSERT_TRUE(WaitFor([&] {
        QWidget* widget = page().list->Widget();
        editor = widget != nullptr ? widget->findChild<QLineEdit*>() : nullptr;
        return editor != nullptr;
    }));
    // Names are cut to what a profile file holds, so that an export of them reads back.
    editor->setText(QStringLiteral("Sprint") + QString(300, QChar('x')));
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(editor, &enter);
    ASSERT_TRUE(WaitFor([&] { return !page().list->IsEditing(); }));
    MacroRecord renamed;
    ASSERT_TRUE(db().GetMacro(IdAt(3), renamed));
    const std::wstring sprint = L"Sprint" + std::wstring(250, L'x');
    EXPECT_EQ(renamed.name, sprint);
    EXPECT_EQ(Names()[3], sprint);

    // A key bound to M 1 goes back to its default when M 1 is deleted, and the keys of the
    // macros after it follow their macros' new places.
    // That holds on the layers not shown too: S on FN layer 1 plays M 1 - 2, F10 there M 1.
    const int profile = dlg->page.currentProfile.load();
    const auto bind = [&](int layer, int code, int macro) {
        KeyMacroRecord row;
        ASSERT_TRUE(db().GetKeyMacro(profile, layer, code, row));
        row.macro_type = KMT_MACRO;
        row.macro_value = macro;
        ASSERT_TRUE(db().UpdateKeyMacro(row));
    };
    bind(0, 0x16, IdAt(11));
    bind(1, 0x16, IdAt(11));
    bind(1, 0x43, IdAt(0));
    const size_t index = static_cast<size_t>(dlg->keyTables.maps.IndexOf(0x16));
    const int deleted = IdAt(0);
    Select(0);
    Notify(kDeleteMacro);
    EXPECT_EQ(Names().size(), 11u);
    EXPECT_EQ(page().list->GetCurSel(), 0);
    ExpectMemoryMirrorsDatabase();
    // M 1 - 2 is now the eleventh macro (index 10), played once.
    EXPECT_TRUE(WaitFor([&] { return keyboard->KeyEntry(0, index)[1] == 10; }, 10s));
    EXPECT_EQ(keyboard->KeyEntry(0, index)[2], 1);
    EXPECT_TRUE(WaitFor([&] { return keyboard->KeyEntry(1, index)[1] == 10; }, 10s));
    // F10 keeps its row on layer 1, with the keyboard's own default there (mute).
    KeyMacroRecord row;
    ASSERT_TRUE(db().GetKeyMacro(profile, 1, 0x43, row));
    EXPECT_EQ(row.macro_type, KMT_CONSUMER);
    EXPECT_EQ(row.macro_value, 0xE2);
    const size_t f10 = static_cast<size_t>(dlg->keyTables.maps.IndexOf(0x43));
    EXPECT_EQ(keyboard->KeyEntry(1, f10), (std::array<uint8_t, 3>{0x30, 0xE2, 0x00}));
    EXPECT_FALSE(db().GetMacro(deleted, renamed));
}

TEST_F(MacroPageTest, TheKeyboardsLimitsAreKeptWithAMessage)
{
    while (page().list->GetItemCount() < kMacroImageMacros) Notify(kNewMacro);
    testing::internal::CaptureStderr();
    Notify(kNewMacro);
    EXPECT_NE(testing::internal::GetCapturedStderr().find(text::WideToUtf8(GetLanString(2500))),
              std::string::npos);
    EXPECT_EQ(page().list->GetItemCount(), kMacroImageMacros);

    // 880 steps in all: two more are refused and nothing is stored.
    StoreSteps(IdAt(1), kMacroImageMaxSteps);
    CaptureKey(kEvdevS);
    testing::internal::CaptureStderr();
    Notify(kInsertEvent);
    EXPECT_NE(testing::internal::GetCapturedStderr().find(text::WideToUtf8(GetLanString(2501))),
              std::string::npos);
    EXPECT_TRUE(Stored(IdAt(0)).empty());
}

TEST_F(MacroPageTest, RecordingTakesTheKeysTypedIntoTheWindowWithTheirPauses)
{
    const int id = IdAt(0);
    Notify(kStartRecording);
    EXPECT_TRUE(page().stopRecording->IsVisible());
    EXPECT_FALSE(page().list->IsEnabled());
    EXPECT_EQ(page().hookMode, MACRO_HOOK_RECORD);
    Key(kEvdevA, false);  // held: one down ...
    now += 40;
    Key(kEvdevA, false, true);  // ... its repeats dropped ...
    Key(kEvdevA, false, true);
    now += 5;
    Key(kEvdevA, true);  // ... and one up
    now += 40000;        // a long pause counts 31 s
    Tap(71);             // numeric pad 7
    now += 3;
    Tap(42);  // left Shift
    Tap(54);  // right Shift
    Tap(96);  // numeric pad Enter
    Key(kEvdevS, false);
    Key(kEvdevS, false);  // a second down without its up: a repeat step
    Key(kEvdevS, true);
    Notify(kStopRecording);
    EXPECT_EQ(page().hookMode, MACRO_HOOK_OFF);
    EXPECT_EQ(MUI::KeyHookManager::Active(), nullptr);
    EXPECT_TRUE(page().startRecording->IsVisible());
    EXPECT_TRUE(page().list->IsEnabled());
    EXPECT_EQ(Stored(id), (std::vector<Step>{
                              {2, 'A', 45, L"A"},
                              {3, 'A', 31000, L"A"},
                              {2, 103, 0, L"Num 7"},
                              {3, 103, 3, L"Num 7"},
                              {2, 225, 0, L"Shift"},
                              {3, 225, 0, L"Shift"},
                              {2, 229, 0, L"RShift"},
                              {3, 229, 0, L"RShift"},
                              {2, 108, 0, L"Num Enter"},
                              {3, 108, 0, L"Num Enter"},
                              {2, 'S', 0, L"S"},
                              {0, 'S', 0, L"S"},
                              {3, 'S', 0, L"S"},
                          }));
    ExpectMemoryMirrorsDatabase();
    // Keys go on to the window once the recording ended.
    EXPECT_FALSE(Key(kEvdevA, false));
}

TEST_F(MacroPageTest, ClosingThePopupsEndsARecordingWithItsSteps)
{
    Notify(kStartRecording);
    Tap(kEvdevA);
    // The keyboard pulled out: the worker's connection change closes the popups.
    Unplug();
    dlg->QueueCommand(QCMD_DEVICE_REMOVED);
    EXPECT_TRUE(WaitFor([this] { return page().hookMode == MACRO_HOOK_OFF; }));
    EXPECT_EQ(Stored(IdAt(0)).size(), 2u);
    EXPECT_EQ(MUI::KeyHookManager::Active(), nullptr);
}

TEST_F(MacroPageTest, TheStepBudgetWarnsRefusesAndStopsARecording)
{
    // 20 macros and 300 steps leave 10: warned, recording goes on.
    while (page().list->GetItemCount() < 20) Notify(kNewMacro);
    StoreSteps(IdAt(19), 300);
    Select(0);
    testing::internal::CaptureStderr();
    Notify(kStartRecording);
    EXPECT_NE(testing::internal::GetCapturedStderr().find(text::WideToUtf8(GetLanString(362))),
              std::string::npos);
    ASSERT_EQ(page().hookMode, MACRO_HOOK_RECORD);
    EXPECT_EQ(page().stepLimit, 10);
    // The eleventh step ends the recording (after the hook's dispatch) with every step kept.
    testing::internal::CaptureStderr();
    for (int i = 0; i < 6; ++i) Tap(kEvdevA);
    EXPECT_TRUE(WaitFor([this] { return page().hookMode == MACRO_HOOK_OFF; }));
    EXPECT_NE(testing::internal::GetCapturedStderr().find(text::WideToUtf8(GetLanString(362))),
              std::string::npos);
    EXPECT_EQ(Stored(IdAt(0)).size(), 11u);
    ExpectMemoryMirrorsDatabase();

    // One more step stored: 8 left, refused.
    db().DeleteMacroSteps(IdAt(0));
    StoreSteps(IdAt(18), 1);
    testing::internal::CaptureStderr();
    Notify(kStartRecording);
    EXPECT_NE(testing::internal::GetCapturedStderr().find(text::WideToUtf8(GetLanString(361))),
              std::string::npos);
    EXPECT_EQ(page().hookMode, MACRO_HOOK_OFF);
    EXPECT_FALSE(page().stopRecording->IsVisible());
}

TEST_F(MacroPageTest, AnExportedMacroImportsAsTheSameMacro)
{
    const std::filesystem::path file = TempFile("macro.xml");
    AnswerFiles(file);
    page().list->SetCurSel(-1);
    testing::internal::CaptureStderr();
    EXPECT_EQ(dlg->ExportMacro(), 0) << "no macro selected";
    EXPECT_NE(testing::internal::GetCapturedStderr().find(text::WideToUtf8(GetLanString(340))),
              std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(file));

    Select(0);
    CaptureKey(kEvdevA);
    Notify(kInsertEvent);
    page().playCount->SetTitle(L"3");
    page().delayRadios[2]->SetCheck(true);
    page().fixedDelay->SetTitle(L"20");
    Notify(kSave);
    Notify(kExportMacro);
    std::ifstream in(file, std::ios::binary);
    const std::string written((std::istreambuf_iterator<char>(in)), {});
    EXPECT_EQ(written,
              "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
              "<macro>\r\n"
              "<macroinfo name=\"M 1\" times=\"3\" type=\"3\" delaytime=\"20\"/>\r\n"
              "<macroitems>\r\n"
              "<item desc=\"A\" type=\"2\" value=\"65\" delay_time=\"10\"/>\r\n"
              "<item desc=\"A\" type=\"3\" value=\"65\" delay_time=\"10\"/>\r\n"
              "</macroitems>\r\n"
              "</macro>\r\n");

    Notify(kImportMacro);
    Notify(kImportMacro);
    ASSERT_EQ(Names().size(), 11u);
    EXPECT_EQ(Names()[9], L"M 1");
    EXPECT_EQ(Names()[10], L"M 1");
    for (const int index : {9, 10}) {
        EXPECT_EQ(Stored(IdAt(index)), Stored(IdAt(0)));
        MacroRecord imported;
        ASSERT_TRUE(db().GetMacro(IdAt(index), imported));
        EXPECT_EQ(imported.play_times, 3);
        EXPECT_EQ(imported.delay_type, 3);
        EXPECT_EQ(imported.delay_time, 20);
        // The keyboard plays a bound macro as often as its link count says.
        EXPECT_EQ(imported.link_count, 3);
    }
    EXPECT_EQ(page().list->GetCurSel(), 0);
    ExpectMemoryMirrorsDatabase();

    // A key bound to the imported macro plays it three times.
    KeyMacroRecord row;
    ASSERT_TRUE(db().GetKeyMacro(dlg->page.currentProfile.load(), 0, 0x16, row));
    row.macro_type = KMT_MACRO;
    row.macro_value = IdAt(10);
    ASSERT_TRUE(db().UpdateKeyMacro(row));
    dlg->QueueCommand(QCMD_WRITE_KEYMAP);
    const size_t index = static_cast<size_t>(dlg->keyTables.maps.IndexOf(0x16));
    EXPECT_TRUE(WaitFor([&] { return keyboard->KeyEntry(0, index)[0] == 0x70; }, 10s));
    EXPECT_EQ(keyboard->KeyEntry(0, index), (std::array<uint8_t, 3>{0x70, 10, 3}));
}

TEST_F(MacroPageTest, HostileFilesImportNothingAndAreRefusedInTheWindow)
{
    const std::filesystem::path file = TempFile("hostile.xml");
    AnswerFiles(file);
    const std::string good =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<macro>\r\n"
        "<macroinfo name=\"x\" times=\"1\" type=\"1\" delaytime=\"0\"/>\r\n<macroitems>\r\n"
        "<item desc=\"A\" type=\"2\" value=\"65\" delay_time=\"0\"/>\r\n</macroitems>\r\n"
        "</macro>\r\n";
    std::string huge =
        "<macro><macroinfo name=\"x\" times=\"1\" type=\"1\" delaytime=\"0\"/>"
        "<macroitems>";
    for (int i = 0; i < 100000; ++i) huge += "<item desc=\"A\" type=\"2\" value=\"65\"/>";
    huge += "</macroitems></macro>";
    std::string tooMany = "<macro><macroinfo name=\"x\"/><macroitems>";
    for (int i = 0; i < 881; ++i) tooMany += "<item type=\"2\" value=\"65\"/>";
    tooMany += "</macroitems></macro>";
    std::string binary;
    for (int i = 0; i < 4096; ++i) binary += static_cast<char>((i * 37 + 11) % 256);
    constexpr auto kHundredMegabytes = std::uintmax_t{100} << 20;
    const struct {
        const char* name;
        std::string bytes;
        std::uintmax_t size = 0;  // the file is grown to this size (its tail all zero bytes)
    } cases[] = {
        {"empty", ""},
        {"not XML", "not xml at all"},
        {"truncated export", good.substr(0, good.size() / 2)},
        {"truncated tag", "<macro><macroinfo name=\"x\""},
        {"binary", binary},
        {"another root", "<profile><macroinfo name=\"x\"/></profile>"},
        {"no header", "<macro><macroitems/></macro>"},
        {"unknown step type",
         "<macro><macroinfo name=\"x\"/><macroitems><item type=\"9\" value=\"1\"/>"
         "</macroitems></macro>"},
        {"negative value",
         "<macro><macroinfo name=\"x\"/><macroitems><item type=\"2\" value=\"-5\"/>"
         "</macroitems></macro>"},
        {"100,000 steps", huge},
        {"more steps than the keyboard holds", tooMany},
        // Numbers are plain decimal texts, as in a profile file.
        {"letters in the play count",
         "<macro><macroinfo name=\"x\" times=\"abc\"/><macroitems/></macro>"},
        {"letters in the delay",
         "<macro><macroinfo name=\"x\" delaytime=\"2x\"/><macroitems/></macro>"},
        {"letters in a step type",
         "<macro><macroinfo name=\"x\"/><macroitems><item type=\"2x\" value=\"65\"/>"
         "</macroitems></macro>"},
        {"space before a delay",
         "<macro><macroinfo name=\"x\"/><macroitems><item type=\"2\" value=\"65\" "
         "delay_time=\" 5\"/></macroitems></macro>"},
        {"100 MB", good, kHundredMegabytes},
    };
    const std::string refusal = text::WideToUtf8(GetLanString(2301));
    ASSERT_FALSE(refusal.empty());
    std::vector<MacroRecord*> before;
    const int macros = db().GetMacros(before);
    TakeRecords(before);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::ofstream(file, std::ios::binary | std::ios::trunc) << c.bytes;
        if (c.size > 0) std::filesystem::resize_file(file, c.size);
        testing::internal::CaptureStderr();
        const auto started = std::chrono::steady_clock::now();
        Notify(kImportMacro);
        const auto took = std::chrono::steady_clock::now() - started;
        const std::string told = testing::internal::GetCapturedStderr();
        EXPECT_NE(told.find(refusal), std::string::npos) << told;
        EXPECT_NE(told.find(text::WideToUtf8(GetLanString(2300))), std::string::npos);
        EXPECT_LT(took, 3s) << "the window is not held up";
        std::vector<MacroRecord*> after;
        EXPECT_EQ(db().GetMacros(after), macros);
        TakeRecords(after);
        EXPECT_EQ(Names().size(), 9u);
        EXPECT_EQ(db().GetMacroStepTotal(), 0);
    }
    // A missing file is no file: nothing is imported, nothing is said.
    std::filesystem::remove(file);
    testing::internal::CaptureStderr();
    Notify(kImportMacro);
    EXPECT_EQ(testing::internal::GetCapturedStderr().find(refusal), std::string::npos);
    EXPECT_EQ(Names().size(), 9u);
    // The undamaged file imports.
    std::ofstream(file, std::ios::binary | std::ios::trunc) << good;
    Notify(kImportMacro);
    EXPECT_EQ(Names().size(), 10u);
    EXPECT_EQ(db().GetMacroStepTotal(), 1);
}

TEST_F(MacroPageTest, ImportedNumbersAreHeldToTheirRanges)
{
    const std::filesystem::path file = TempFile("wide.xml");
    AnswerFiles(file);
    std::ofstream(file, std::ios::binary)
        << "<macro><macroinfo name=\"Wide" << std::string(300, 'x')
        << "\" times=\"500\" type=\"9\" delaytime=\"99999\"/>"
           "<macroitems><item desc=\"A\" type=\"2\" value=\"65\" delay_time=\"-4\"/>"
           "<item desc=\"A\" type=\"3\" value=\"65\" delay_time=\"70000\"/></macroitems></macro>";
    Notify(kImportMacro);
    ASSERT_EQ(Names().size(), 10u);
    MacroRecord imported;
    ASSERT_TRUE(db().GetMacro(IdAt(9), imported));
    EXPECT_EQ(imported.name, L"Wide" + std::wstring(252, L'x'))
        << "cut to what a profile file holds";
    EXPECT_EQ(imported.play_times, 99);
    EXPECT_EQ(imported.delay_type, 3);
    EXPECT_EQ(imported.delay_time, 65535);
    EXPECT_EQ(Stored(IdAt(9)), (std::vector<Step>{{2, 65, 0, L"A"}, {3, 65, 65535, L"A"}}));
}

}  // namespace
