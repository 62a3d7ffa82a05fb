// The profile file in the real main window, against the in-process virtual keyboard: a profile
// with a row of every kind exported by the page's export button and imported by its import
// button comes back whole as a new profile and reaches the keyboard; files that are not what
// this program writes, or that hold more or other than the keyboard can take, are refused with
// the import message and change nothing in the database.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTimer>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "ProfileRowsSupport.h"
#include "app/AppMessages.h"
#include "app/CUIMessageBox.h"
#include "app/Language.h"
#include "app/MainWindowTestSupport.h"
#include "device/KeyMacroType.h"
#include "macros/ProfileFile.h"
#include "macros/ProfileFileRows.h"
#include "macros/ProfileXml.h"
#include "platform/mui/KeyboardCtrl.h"
#include "platform/mui/MComboBox.h"
#include "platform/mui/MWindow.h"
#include "platform/mui/WindowServices.h"
#include "platform/os/FileDialog.h"
#include "platform/text/ColorText.h"
#include "platform/text/Utf8.h"
#include "storage/KBDataBase.h"
#include "storage/RecordList.h"
#include "storage/StorageFixture.h"

namespace {

namespace fs = std::filesystem;
using profiletest::FillProfile;
using profiletest::ProfileRows;

constexpr int kSource = 2;
constexpr unsigned kKeyImport = 93;
constexpr unsigned kKeyExport = 94;
constexpr unsigned kPerfImport = 282;
constexpr unsigned kPerfExport = 283;
constexpr int kLightOff = 255;

std::string ReadBytes(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void WriteBytes(const fs::path& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

std::wstring Replace(std::wstring text, const std::wstring& from, const std::wstring& to)
{
    const size_t at = text.find(from);
    EXPECT_NE(at, std::wstring::npos) << text::WideToUtf8(from);
    if (at != std::wstring::npos) text.replace(at, from.size(), to);
    return text;
}

// The element `name` of the text with everything it holds, and the text without it.
std::wstring Section(const std::wstring& text, const std::wstring& name)
{
    const size_t start = text.find(L"<" + name + L">");
    const std::wstring end = L"</" + name + L">\r\n";
    const size_t stop = text.find(end, start);
    if (start == std::wstring::npos || stop == std::wstring::npos) return {};
    return text.substr(start, stop + end.size() - start);
}

std::wstring Without(const std::wstring& text, const std::wstring& part)
{
    return Replace(text, part, L"");
}

// `count` copies of the item, put into the section in place of its first item.
std::wstring WithItems(const std::wstring& text, const std::wstring& section,
                       const std::wstring& item, size_t count)
{
    std::wstring many;
    many.reserve(item.size() * count);
    for (size_t i = 0; i < count; ++i) many += item;
    return Replace(text, L"<" + section + L">\r\n", L"<" + section + L">\r\n" + many);
}

std::string Utf16(const std::wstring& text, bool bigEndian)
{
    std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    const auto put = [&bytes, bigEndian](uint32_t unit) {
        const char high = static_cast<char>(unit >> 8), low = static_cast<char>(unit & 0xFF);
        bytes += bigEndian ? std::string{high, low} : std::string{low, high};
    };
    for (const wchar_t c : text) {
        const auto point = static_cast<uint32_t>(c);
        if (point < 0x10000) {
            put(point);
        } else {
            put(0xD800 + ((point - 0x10000) >> 10));
            put(0xDC00 + ((point - 0x10000) & 0x3FF));
        }
    }
    return bytes;
}

class ProfileFileTest : public apptest::MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        Plug();
        CreateWindow();
        ASSERT_TRUE(Drain());  // the first connection loads three profiles
        ASSERT_TRUE(WaitFor([this] { return TabsShown(); }));
        folder = storage_test::NewTempFolder();
        os::SetFileDialogHandler([this](const os::FileDialogRequest& request) {
            requests.push_back(request);
            return answer;
        });
        for (const MUI::KeyItem& key : dlg->keyPage.keyboard->GetKeyItems()) {
            codes.push_back(key.code);
        }
    }

    void TearDown() override
    {
        os::SetFileDialogHandler({});
        MainWindowTest::TearDown();
        fs::remove_all(folder);
    }

    static KBDataBase& db() { return KBDataBase::GetInstance(); }
    MUI::MComboBox& Combo(unsigned id) { return *dlg->GetControlAs<MUI::MComboBox>(id); }

    // The source profile filled and selected on the pages, as the user sees it before export.
    profiletest::FilledProfile Fill(int activeLight)
    {
        const profiletest::FilledProfile filled = FillProfile(db(), kSource, codes, activeLight);
        db().SetActiveProfile(kSource);
        dlg->page.currentProfile = kSource;
        for (MUI::MComboBox* combo : dlg->ProfileCombos()) combo->SelectData(kSource);
        return filled;
    }

    void Click(unsigned id) { dlg->OnMessage(id, MUI::kNotifyClick, 0); }

    // Export through the page's button with the save dialog answered by `path`.
    std::wstring Export(unsigned button, const fs::path& path)
    {
        answer = path.wstring();
        Click(button);
        return text::Utf8ToWide(ReadBytes(path));
    }

    // Import through the page's button; the worker runs on its own thread for the wait
    // dialog, and the message box the import may show is answered and recorded.
    void Import(unsigned button, const fs::path& path)
    {
        answer = path.wstring();
        if (!workerStarted) {
            dlg->running = 0;
            ASSERT_TRUE(dlg->Start());
            workerStarted = true;
        }
        AnsweringMessages([this, button] { Click(button); });
    }

    // Runs the action; every message box it shows is recorded and answered with its button.
    void AnsweringMessages(const std::function<void()>& action)
    {
        QTimer poll;
        const CUIMessageBox* answered = nullptr;
        QObject::connect(&poll, &QTimer::timeout, [this, &answered] {
            auto* box = dynamic_cast<CUIMessageBox*>(
                MUI::MWindow::FromHandle(MUI::FindWindow(L"", L"MessageBox")));
            if (box == nullptr || !box->IsModalRunning() || box == answered) return;
            answered = box;
            messages.push_back(box->Caption() + L"|" + box->Message());
            box->OnMessage(kMessageBoxFirstButtonId, MUI::kNotifyClick, 0);
        });
        poll.start(5);
        action();
    }

    // Every row of every table of the database file (auto-increment counters included).
    std::vector<std::string> Database()
    {
        std::vector<std::string> rows;
        for (const char* table :
             {"t_config_data", "t_profile_data", "t_musiclayer_data", "t_key_macro_data",
              "t_key_perf_data", "t_magnetic_key_data", "t_key_item_data", "t_light_data",
              "t_userlightrgb_data", "t_macro_data", "t_macrorecord", "sqlite_sequence"}) {
            for (const auto& row : storage_test::Query(
                     db().GetDbPath(), std::string("SELECT * FROM ") + table + " ORDER BY 1")) {
                std::string line = table;
                for (const std::string& column : row) line += "|" + column;
                rows.push_back(line);
            }
        }
        return rows;
    }

    int NewestProfile()
    {
        std::vector<ProfileRecord*> stored;
        db().GetProfiles(stored);
        const std::vector<ProfileRecord> list = TakeRecords(stored);
        return list.empty() ? 0 : list.back().profile;
    }

    std::wstring ImportMessage() const { return GetLanString(2300) + L"|" + GetLanString(2301); }

    fs::path folder;
    std::vector<int> codes;
    std::optional<std::wstring> answer;
    std::vector<os::FileDialogRequest> requests;
    std::vector<std::wstring> messages;
    bool workerStarted = false;
};

TEST_F(ProfileFileTest, ExportedProfileComesBackWholeAsANewProfileOnTheKeyboard)
{
    for (const int activeLight : {kLightOff, 7}) {
        SCOPED_TRACE(activeLight);
        const profiletest::FilledProfile filled = Fill(activeLight);
        const std::wstring macroBefore = profiletest::MacroText(db(), filled.macro);
        std::vector<MacroRecord*> macros;
        const int macroCount = db().GetMacros(macros);
        TakeRecords(macros);

        const fs::path file = folder / ("profile" + std::to_string(activeLight) + ".xml");
        const std::wstring text = Export(kKeyExport, file);
        ASSERT_FALSE(text.empty());
        ASSERT_EQ(requests.size(), 1u);
        EXPECT_TRUE(requests[0].save);
        EXPECT_EQ(requests[0].filter, std::wstring(L"Profile (*.xml)\0*.xml\0\0", 24));
        // The dialog suggests the profile's name in the user's own folder.
        EXPECT_EQ(fs::path(requests[0].initialPath),
                  fs::path(os::DefaultFileFolder()) / "Profile 2.xml");
        EXPECT_TRUE(
            text.starts_with(L"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<profile>\r\n"
                             L"<info name=\"Profile 2\">\r\n<adv_keys>\r\n"));
        EXPECT_NE(text.find(L"key_rgb=\"#4080FF\""), std::wstring::npos);
        EXPECT_EQ(text.find(L"mode=\"255\"") != std::wstring::npos, activeLight == kLightOff)
            << "the switched-off mode is written only when it is the active one";
        EXPECT_EQ(text.find(L"Unused"), std::wstring::npos) << "only the macros the keys play";

        requests.clear();
        Import(kPerfImport, file);
        EXPECT_TRUE(messages.empty());
        ASSERT_EQ(requests.size(), 1u);
        EXPECT_FALSE(requests[0].save);
        EXPECT_EQ(requests[0].filter, std::wstring(L"Keyboard Key (*.xml)\0*.xml\0\0", 29));
        requests.clear();

        const int imported = NewestProfile();
        ASSERT_GT(imported, kSource);
        EXPECT_EQ(ProfileRows(db(), imported), ProfileRows(db(), kSource));
        EXPECT_EQ(db().GetActiveProfile(), imported);
        EXPECT_EQ(db().GetActiveLightMode(imported), activeLight);
        for (unsigned combo : {87u, 277u}) {
            EXPECT_EQ(Combo(combo).GetCurData(), imported) << combo;
            EXPECT_EQ(Combo(combo).GetItemText(Combo(combo).GetCurSel()), L"Profile 2");
        }
        EXPECT_EQ(dlg->page.currentProfile.load(), imported);

        // The global macro kept its id and content; the new profile plays a new copy.
        EXPECT_EQ(profiletest::MacroText(db(), filled.macro), macroBefore);
        KeyMacroRecord bound;
        ASSERT_TRUE(db().GetKeyMacro(imported, 0, filled.codes[5], bound));
        EXPECT_NE(bound.macro_value, filled.macro);
        EXPECT_EQ(profiletest::MacroText(db(), bound.macro_value), macroBefore);
        macros.clear();
        EXPECT_EQ(db().GetMacros(macros), macroCount + 1);
        TakeRecords(macros);

        // The worker wrote the new profile to the keyboard.
        const auto index = [this](int code) {
            return static_cast<size_t>(dlg->keyTables.maps.IndexOf(code));
        };
        EXPECT_EQ(keyboard->KeyEntry(0, index(filled.codes[0])),
                  (std::array<uint8_t, 3>{0x10, 0x02, 0x04}));
        EXPECT_EQ(keyboard->KeyEntry(3, index(filled.codes[2])),
                  (std::array<uint8_t, 3>{0x30, 0x83, 0x01}));
        EXPECT_EQ(keyboard->KeyPerf(index(filled.codes[9])),
                  (std::array<uint8_t, 8>{0xA5, 0x11, 0x77, 0x00, 0x1D, 0x06, 0x27, 0x04}));
        const std::vector<uint8_t> colors = keyboard->Memory().userColors;
        const size_t at = index(filled.codes[0]) * 3;
        EXPECT_EQ((std::vector<uint8_t>(colors.begin() + at, colors.begin() + at + 3)),
                  (std::vector<uint8_t>{0x40, 0x80, 0xFF}));
    }
}

TEST_F(ProfileFileTest, VariedButSoundFilesImportTheSameRows)
{
    Fill(5);
    const fs::path original = folder / "original.xml";
    const std::wstring text = Export(kPerfExport, original);
    ASSERT_FALSE(text.empty());
    const std::wstring info = L"<info name=\"Profile 2\">\r\n";
    const std::wstring body = text.substr(text.find(info) + info.size());
    std::wstring reversed;
    for (const wchar_t* name : {L"config_info", L"music_layer", L"key_light", L"light_mode",
                                L"perf_info", L"key_info", L"macro_info", L"adv_keys"}) {
        reversed += Section(body, name);
    }
    const std::wstring reordered = Replace(text, body, reversed + L"</info>\r\n</profile>\r\n");
    const std::wstring unknown =
        Replace(Replace(text, L"<key_info>\r\n", L"<key_info>\r\n<later kind=\"x\"/>\r\n"),
                L"<perf_info>", L"<extra><item key_code=\"-9\"/></extra>\r\n<perf_info>");
    const std::wstring withAttribute =
        Replace(text, L"<item fn_layer=", L"<item new=\"9\" fn_layer=");
    const std::string utf8 = text::WideToUtf8(text);
    const struct {
        const char* name;
        std::string bytes;
    } cases[] = {
        {"sections in reverse order", text::WideToUtf8(reordered)},
        {"unknown elements", text::WideToUtf8(unknown)},
        {"unknown attribute", text::WideToUtf8(withAttribute)},
        {"UTF-8 with a byte-order mark", "\xEF\xBB\xBF" + utf8},
        {"UTF-16LE", Utf16(text, false)},
        {"UTF-16BE", Utf16(text, true)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const fs::path file = folder / "varied.xml";
        WriteBytes(file, c.bytes);
        const int before = NewestProfile();
        Import(kKeyImport, file);
        EXPECT_TRUE(messages.empty());
        const int imported = NewestProfile();
        ASSERT_GT(imported, before);
        EXPECT_EQ(ProfileRows(db(), imported), ProfileRows(db(), kSource));
    }

    // A file without its performance, lighting and colour sections gives those the defaults
    // of a new profile and takes the rest.
    std::wstring partial = text;
    for (const wchar_t* name : {L"perf_info", L"light_mode", L"key_light"}) {
        partial = Without(partial, Section(partial, name));
    }
    WriteBytes(folder / "partial.xml", text::WideToUtf8(partial));
    Import(kKeyImport, folder / "partial.xml");
    EXPECT_TRUE(messages.empty());
    const int imported = NewestProfile();
    std::vector<UserLightRgbRecord*> colors;
    EXPECT_EQ(db().GetUserLightRgbs(imported, colors), 0);
    TakeRecords(colors);
    std::vector<KeyPerfRecord*> perfs;
    db().GetKeyPerfs(imported, perfs);
    for (const KeyPerfRecord& p : TakeRecords(perfs)) {
        EXPECT_EQ(p.key_actuation, 75) << p.key_code;
    }
    KeyMacroRecord key;
    ASSERT_TRUE(db().GetKeyMacro(imported, 0, codes[0], key));
    EXPECT_EQ(key.macro_value2, 0xE1);
}

TEST_F(ProfileFileTest, HostileFilesAreRefusedAndChangeNothing)
{
    Fill(3);
    const std::wstring text = Export(kKeyExport, folder / "good.xml");
    ASSERT_FALSE(text.empty());
    const std::wstring keyItem =
        L"<item fn_layer=\"0\" key_code=\"4\" layout_desc=\"4\" macro_type=\"2\" "
        L"macro_value=\"4\" macro_value2=\"0\" macro_value3=\"0\" macro_desc=\"A\"/>\r\n";
    const std::wstring macroItem =
        L"<macro_item macro_id=\"900\" name=\"m\" times=\"1\" type=\"1\" delaytime=\"0\"/>\r\n";
    const std::wstring dksItem =
        L"<adv_item macro_id=\"7\" profile=\"2\" fn_layer=\"0\" macro_type=\"14\" "
        L"key1_value=\"0\" key2_value=\"0\" key1_name=\"\" key2_name=\"\" reserved=\"0\"/>\r\n";
    const std::wstring perf = Section(text, L"perf_info");
    const std::wstring firstPerf =
        perf.substr(perf.find(L"<item"), perf.find(L"/>") + 4 - perf.find(L"<item"));
    const struct {
        const char* name;
        std::string bytes;
    } cases[] = {
        {"empty file", ""},
        {"not XML", "profile, but not as XML"},
        {"ill-formed", text::WideToUtf8(text.substr(0, text.size() / 2))},
        {"another root", "<?xml version=\"1.0\"?>\r\n<macro><info name=\"x\"/></macro>\r\n"},
        {"no info", "<profile><key_info/></profile>"},
        {"negative key code", text::WideToUtf8(Replace(text, L"key_code=\"", L"key_code=\"-"))},
        {"huge actuation",
         text::WideToUtf8(Replace(text, L"key_actuation=\"", L"key_actuation=\"99999999999"))},
        {"number with letters",
         text::WideToUtf8(Replace(text, L"macro_type=\"2\"", L"macro_type=\"2x\""))},
        {"unknown key type",
         text::WideToUtf8(Replace(text, L"macro_type=\"2\"", L"macro_type=\"4\""))},
        {"speed beyond the keyboard's", text::WideToUtf8(Replace(text, L"speed=\"", L"speed=\"9"))},
        {"colour beyond 24 bits",
         text::WideToUtf8(Replace(text, L"color_value=\"", L"color_value=\"1677721"))},
        {"100,000 key items", text::WideToUtf8(WithItems(text, L"key_info", keyItem, 100000))},
        {"more performance rows than keys",
         text::WideToUtf8(WithItems(text, L"perf_info", firstPerf, 145))},
        {"33 macros", text::WideToUtf8(WithItems(text, L"macro_info", macroItem, 33))},
        {"33 DKS keys", text::WideToUtf8(WithItems(text, L"adv_keys", dksItem, 33))},
        {"two advanced keys with one id",
         text::WideToUtf8(WithItems(text, L"adv_keys", dksItem, 2))},
        {"play count 0", text::WideToUtf8(Replace(text, L"times=\"3\"", L"times=\"0\""))},
        {"bytes that are no text",
         "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<profile>"
         "\xFF\xFE\x00<info name=\"\xC3\x28\"/></profile>"},
        {"larger than a profile file", std::string(kProfileFileMaxBytes + 1, ' ')},
    };
    const std::vector<std::string> before = Database();
    const int listed = Combo(87).GetItemCount();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        WriteBytes(folder / "hostile.xml", c.bytes);
        messages.clear();
        Import(kPerfImport, folder / "hostile.xml");
        EXPECT_EQ(messages, std::vector<std::wstring>{ImportMessage()});
        EXPECT_EQ(Database(), before);
        EXPECT_EQ(Combo(87).GetItemCount(), listed);
    }

    // A cancelled dialog and a file that is not there show nothing.
    messages.clear();
    answer.reset();
    Click(kKeyImport);
    answer = (folder / "missing.xml").wstring();
    Click(kKeyImport);
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(Database(), before);
}

TEST_F(ProfileFileTest, ImportThatTheKeyboardsMacroMemoryCannotHoldChangesNothing)
{
    Fill(3);
    const std::wstring text = Export(kKeyExport, folder / "good.xml");
    // The database already holds as many macros as the keyboard can.
    std::vector<MacroRecord*> stored;
    for (int n = db().GetMacros(stored); n < 32; ++n) db().InsertNewMacro(L"M");
    TakeRecords(stored);
    const std::vector<std::string> before = Database();
    Import(kKeyImport, folder / "good.xml");
    EXPECT_EQ(messages, std::vector<std::wstring>{ImportMessage()});
    EXPECT_EQ(Database(), before);
}

TEST_F(ProfileFileTest, ALongRenamedProfileAndAFileWithoutAnActiveLightModeImport)
{
    Fill(7);
    // The user renames the profile with a name longer than a file holds.
    dlg->page.currentPage = PAGE_KEYS;
    constexpr int kMenuRename = 103;
    dlg->OnWindowMessage(WM_CUSTOMKEY_MENU, kMenuRename, kMenuRename);
    QLineEdit* editor = nullptr;
    ASSERT_TRUE(WaitFor([&] {
        editor = Combo(87).Widget()->findChild<QLineEdit*>();
        return editor != nullptr;
    }));
    editor->setText(QString(300, QChar('n')));
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(editor, &enter);
    ASSERT_TRUE(WaitFor([&] { return !Combo(87).IsEditing(); }));
    const std::wstring name(256, L'n');

    const std::wstring text = Export(kKeyExport, folder / "long.xml");
    ASSERT_NE(text.find(L"<info name=\"" + name + L"\">"), std::wstring::npos);
    Import(kKeyImport, folder / "long.xml");
    EXPECT_TRUE(messages.empty()) << "the program reads what it writes";
    const int imported = NewestProfile();
    ASSERT_GT(imported, kSource);
    std::wstring stored;
    ASSERT_TRUE(db().GetProfileName(imported, stored));
    EXPECT_EQ(stored, name);

    // A file whose lighting rows name no active mode: the lighting is off, with one active row.
    std::wstring noneActive = text;
    for (size_t at; (at = noneActive.find(L"status=\"1\"")) != std::wstring::npos;) {
        noneActive.replace(at, 10, L"status=\"0\"");
    }
    WriteBytes(folder / "dark.xml", text::WideToUtf8(noneActive));
    Import(kKeyImport, folder / "dark.xml");
    EXPECT_TRUE(messages.empty());
    const int dark = NewestProfile();
    ASSERT_GT(dark, imported);
    EXPECT_EQ(db().GetActiveLightMode(dark), kLightOff);
    std::vector<LightRecord*> lights;
    db().GetLights(dark, lights);
    int active = 0;
    for (const LightRecord& l : TakeRecords(lights)) active += l.status == 1 ? 1 : 0;
    EXPECT_EQ(active, 1);
    // The keyboard got the switched-off mode.
    EXPECT_TRUE(WaitFor([this] { return keyboard->Settings()[8] == kLightOff; }));
}

TEST_F(ProfileFileTest, TextsLongerThanAFileHoldsAreCutOnExportAndImportAlike)
{
    const profiletest::FilledProfile filled = Fill(3);
    const std::string path = db().GetDbPath();
    // Texts from an older database, longer than a file holds; each is written and read back
    // cut to its first 256 characters.
    const struct {
        const char* what;
        wchar_t letter;
        std::string lengthen;  // makes the stored text 300 letters long
        std::string read;      // the text of the imported profile (%d its id)
    } cases[] = {
        {"profile name", L'n', "", "SELECT name FROM t_profile_data WHERE profile = %d"},
        {"key label", L'k',
         "UPDATE t_key_macro_data SET macro_desc = '$' WHERE profile = " + std::to_string(kSource) +
             " AND fn_layer = 0 AND key_code = " + std::to_string(codes.front()),
         "SELECT macro_desc FROM t_key_macro_data WHERE profile = %d AND fn_layer = 0 AND "
         "key_code = " +
             std::to_string(codes.front())},
        {"macro step name", L'd',
         "UPDATE t_macrorecord SET \"desc\" = '$' WHERE macro_id = " +
             std::to_string(filled.macro) + " AND record_index = 0",
         // the profile's keys play a copy of their macro, the newest one
         "SELECT \"desc\" FROM t_macrorecord WHERE record_index = 0 AND macro_id = "
         "(SELECT MAX(macro_id) FROM t_macro_data) AND %d > 0"},
    };
    ASSERT_TRUE(db().RenameProfile(kSource, std::wstring(300, L'n')));
    for (const auto& c : cases) {
        if (c.lengthen.empty()) continue;
        std::string sql = c.lengthen;
        sql.replace(sql.find('$'), 1, std::string(300, static_cast<char>(c.letter)));
        storage_test::Exec(path, sql);
    }
    // The lists show the stored name, as after a start with that database.
    for (MUI::MComboBox* combo : dlg->ProfileCombos()) {
        combo->SetItemText(combo->SelectData(kSource), std::wstring(300, L'n'));
    }

    const std::wstring text = Export(kKeyExport, folder / "long.xml");
    Import(kKeyImport, folder / "long.xml");
    EXPECT_TRUE(messages.empty()) << "the program reads what it writes";
    const int imported = NewestProfile();
    ASSERT_GT(imported, kSource);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const std::wstring cut(256, c.letter);
        EXPECT_NE(text.find(L"\"" + cut + L"\""), std::wstring::npos) << "cut in the file";
        EXPECT_EQ(text.find(cut + c.letter), std::wstring::npos);
        std::string sql = c.read;
        sql.replace(sql.find("%d"), 2, std::to_string(imported));
        const storage_test::Rows rows = storage_test::Query(path, sql);
        ASSERT_EQ(rows.size(), 1u);
        EXPECT_EQ(rows[0][0], text::WideToUtf8(cut)) << "cut when read";
    }
    // The imported profile is listed under the name the file holds.
    EXPECT_EQ(Combo(87).GetItemText(Combo(87).GetCurSel()), std::wstring(256, L'n'));
}

TEST_F(ProfileFileTest, FailedExportSaysSoAndLeavesNoFile)
{
    const fs::path path = folder / "no such folder" / "profile.xml";
    answer = path.wstring();
    AnsweringMessages([this] { Click(kKeyExport); });
    EXPECT_EQ(messages, std::vector<std::wstring>{GetLanString(2303) + L"|" + GetLanString(2302)});
    EXPECT_FALSE(fs::exists(path));

    // A cancelled save writes nothing and says nothing.
    messages.clear();
    answer.reset();
    Click(kKeyExport);
    EXPECT_TRUE(messages.empty());
}

}  // namespace
