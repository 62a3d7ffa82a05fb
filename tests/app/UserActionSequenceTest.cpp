// Seeded sequences of what a user does across the pages, layers and profiles of the real main
// window, with its worker on its own thread against the in-process virtual keyboard: key
// assignments, resets, macros bound to keys, advanced keys, profiles added, switched, deleted and
// imported, restarts and replugs, writes the keyboard does not take, keyboards pulled out in the
// middle of a write, and exits right after a change. After every step the keyboard holds the
// encoding of the active profile's rows, and a restart changes neither the keyboard nor the
// database. A failure names the seed and the step, and the steps that led there.
#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <optional>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "app/AppMessages.h"
#include "app/MainWindowTestSupport.h"
#include "device/AdvancedKeyTables.h"
#include "device/DeviceKeyPerf.h"
#include "device/DeviceManager.h"
#include "device/KeyMacroType.h"
#include "device/MacroImage.h"
#include "keys/AdvKeyEditorIds.h"
#include "keys/AdvKeyPageControls.h"
#include "keys/CustomKeyDKSDlg.h"
#include "keys/KeyTableTransfer.h"
#include "keys/PerfPageControls.h"
#include "platform/mui/CSwitchButton.h"
#include "platform/mui/ControlClick.h"
#include "platform/mui/KeyDKSCtrlEx.h"
#include "platform/mui/KeyFuncControl.h"
#include "platform/mui/KeyLayerCtrl.h"
#include "platform/mui/KeyTypeTab.h"
#include "platform/mui/KeyValueList2.h"
#include "platform/mui/KeyboardCtrl.h"
#include "platform/mui/MComboBox.h"
#include "platform/mui/MComboBox3.h"
#include "platform/mui/MListBox.h"
#include "platform/mui/MListBoxEx.h"
#include "platform/mui/MTabCtrl.h"
#include "platform/os/FileDialog.h"
#include "platform/text/Utf8.h"
#include "storage/KBDataBase.h"
#include "storage/RecordList.h"
#include "storage/StorageFixture.h"
#include "virtual-keyboard/Fault.h"

namespace {

using namespace std::chrono_literals;

constexpr int kLayers = 8;
constexpr int kMenuAdd = 101;
constexpr int kMenuDelete = 102;
constexpr unsigned kRapidSnapButton = 126;

std::string Hex(const std::vector<uint8_t>& bytes, size_t at, size_t count)
{
    std::ostringstream out;
    for (size_t i = at; i < at + count && i < bytes.size(); ++i) {
        static const char digits[] = "0123456789ABCDEF";
        out << digits[bytes[i] >> 4] << digits[bytes[i] & 15];
    }
    return out.str();
}

// The first difference of two tables, or nothing.
std::optional<std::string> Differ(const char* name, const std::vector<uint8_t>& expected,
                                  const std::vector<uint8_t>& actual)
{
    const size_t count = std::min(expected.size(), actual.size());
    for (size_t i = 0; i < count; ++i) {
        if (expected[i] == actual[i]) continue;
        const size_t from = i - i % 3;
        return std::string(name) + " differs at byte " + std::to_string(i) + ": expected " +
               Hex(expected, from, 6) + ", keyboard " + Hex(actual, from, 6);
    }
    return std::nullopt;
}

class UserActionSequenceTest : public apptest::MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        setenv("TOLVENIC_TEST_MESSAGE_ANSWER", "1", 1);
        folder = storage_test::NewTempFolder();
        os::SetFileDialogHandler([this](const os::FileDialogRequest&) {
            return std::optional<std::wstring>((folder / "exchange.xml").wstring());
        });
        Plug();
        Start();
    }
    void TearDown() override
    {
        os::SetFileDialogHandler({});
        unsetenv("TOLVENIC_TEST_MESSAGE_ANSWER");
        MainWindowTest::TearDown();
        std::filesystem::remove_all(folder);
    }

    static KBDataBase& db() { return KBDataBase::GetInstance(); }

    // The window created with its worker on its own thread, loaded from the keyboard.
    void Start()
    {
        CreateWindow(false);
        ASSERT_TRUE(WaitFor([this] { return TabsShown(); }));
        ASSERT_TRUE(Settle());
        for (const MUI::KeyItem& key : dlg->keyPage.keyboard->GetKeyItems()) {
            if (key.code > 0) keys.push_back(key.code);
        }
    }

    // Until the worker has nothing left to do: the queue empty and a step begun after that.
    bool Settle()
    {
        for (int round = 0; round < 100; ++round) {
            if (!WaitFor([this] { return dlg->worker.queue.Empty(); })) return false;
            const uint64_t seen = dlg->worker.steps.load();
            // A worker at rest (a window out of sight) is woken, as a queued command would.
            dlg->Wake();
            if (!WaitFor([&] {
                    if (dlg->worker.steps.load() >= seen + 2) return true;
                    dlg->Wake();
                    return false;
                }))
                return false;
            if (dlg->worker.queue.Empty()) {
                Pump(5ms);
                if (dlg->worker.queue.Empty()) return true;
            }
        }
        return false;
    }

    int Profile() const { return dlg->page.currentProfile.load(); }
    int Layer() const { return dlg->page.currentFnLayer.load(); }
    int IndexOf(int code) const { return dlg->keyTables.maps.IndexOf(code); }

    // The records a database read fills.
    template <class Record, class Read>
    static std::vector<Record> Stored(Read read)
    {
        std::vector<Record*> stored;
        read(stored);
        return TakeRecords(stored);
    }
    std::vector<uint8_t> Slice(const std::vector<uint8_t>& table, int index, int width) const
    {
        return {table.begin() + index * width, table.begin() + (index + 1) * width};
    }

    // The key layers the profile's rows encode to, with the advanced tables they point into.
    std::optional<std::string> KeyTablesMismatch(int profile, const vkb::KeyboardMemory& memory)
    {
        const auto rows = Stored<KeyMacroRecord>(
            [profile](auto& out) { return db().GetProfileKeyMacros(profile, out); });
        const AdvancedTables advanced = BuildAdvancedTables(
            rows, {[](int id, MagneticKeyRecord& key) { return db().GetMagneticKey(id, key); },
                   [](int id) {
                       return Stored<KeyItemRecord>(
                           [id](auto& out) { return db().GetKeyItems(id, out); });
                   }});
        KeyTableState state;
        state.defaultCache = dlg->keyTables.defaultCache;
        state.defaultCacheComplete = dlg->keyTables.defaultCacheComplete;
        state.maps = dlg->keyTables.maps;
        state.slotMaps = advanced.slotMaps;
        KeyTableTransfer encoder(DeviceManager::GetInstance(), db(), state);
        for (int layer = 0; layer < kLayers; ++layer) {
            // The default table underlies layer 0; the work table has room for every index.
            std::vector<uint8_t> table(866, 0);
            if (layer == 0) std::copy_n(state.defaultCache.begin(), 768, table.begin());
            for (const KeyMacroRecord& row : rows) {
                if (row.fn_layer != layer || row.macro_type == 0) continue;
                encoder.EncodeRow(table, state.maps.IndexOf(row.key_code), row);
            }
            table.resize(512);
            const std::string name = "key layer " + std::to_string(layer);
            if (auto d = Differ(name.c_str(), table, Slice(memory.keymaps, layer, 512))) return d;
        }
        const struct {
            const char* name;
            bool used;
            std::vector<uint8_t> expected;
            const std::vector<uint8_t>& held;
        } tables[] = {
            {"pair table",
             !advanced.slotMaps.pair.empty(),
             {advanced.pair.begin(), advanced.pair.end()},
             memory.pairTable},
            {"toggle table",
             !advanced.slotMaps.toggle.empty(),
             {advanced.toggle.begin(), advanced.toggle.end()},
             memory.toggleTable},
            {"DKS table",
             !advanced.slotMaps.dks.empty(),
             {advanced.dks.begin(), advanced.dks.end()},
             memory.dksTable},
        };
        for (const auto& t : tables) {
            if (!t.used) continue;
            if (auto d = Differ(t.name, t.expected, t.held)) return d;
        }
        return std::nullopt;
    }

    // What the keyboard must hold for the database's active profile; the first difference.
    std::optional<std::string> Mismatch()
    {
        const int profile = db().GetActiveProfile();
        if (profile != Profile()) {
            return "active profile " + std::to_string(profile) + " but the window shows " +
                   std::to_string(Profile());
        }
        const vkb::KeyboardMemory memory = keyboard->Memory();
        if (auto d = KeyTablesMismatch(profile, memory)) return d;
        // The lighting: the active mode, or the off mode while the lighting is switched off.
        std::wstring enabled;
        db().GetConfig(profile, L"enable_light", enabled);
        const int mode = enabled == L"1" ? db().GetActiveLightMode(profile) : 255;
        if (memory.settings[8] != mode) {
            return "light mode " + std::to_string(memory.settings[8]) + " on the keyboard, " +
                   std::to_string(mode) + " in the database";
        }
        for (const KeyPerfRecord& row : Stored<KeyPerfRecord>(
                 [profile](auto& out) { return db().GetKeyPerfs(profile, out); })) {
            const int index = IndexOf(row.key_code);
            if (index < 0 || index >= kKeyPerfKeys) continue;
            std::array<uint8_t, kKeyPerfEntryBytes> entry{};
            EncodeKeyPerf(row, entry);
            const std::string name = "performance of key " + std::to_string(row.key_code);
            if (auto d = Differ(name.c_str(), {entry.begin(), entry.end()},
                                Slice(memory.keyPerf, index, kKeyPerfEntryBytes)))
                return d;
        }
        std::vector<std::vector<MacroStepRecord>> macros;
        for (const MacroRecord& macro :
             Stored<MacroRecord>([](auto& out) { return db().GetMacros(out); })) {
            macros.push_back(Stored<MacroStepRecord>(
                [&macro](auto& out) { return db().GetMacroSteps(macro.macro_id, out); }));
        }
        const MacroImage image = BuildMacroImage(macros);
        if (auto d = Differ("macro memory", {image.bytes.begin(), image.bytes.begin() + image.used},
                            memory.macros))
            return d;
        for (const UserLightRgbRecord& row : Stored<UserLightRgbRecord>(
                 [profile](auto& out) { return db().GetUserLightRgbs(profile, out); })) {
            const int index = IndexOf(row.key_code);
            if (index < 0 || index >= 128) continue;
            const auto rgb = static_cast<uint32_t>(row.key_rgb);
            const std::vector<uint8_t> color = {static_cast<uint8_t>(rgb & 0xFF),
                                                static_cast<uint8_t>(rgb >> 8 & 0xFF),
                                                static_cast<uint8_t>(rgb >> 16 & 0xFF)};
            if (auto d = Differ("user colours", color, Slice(memory.userColors, index, 3)))
                return d;
        }
        return std::nullopt;
    }

    // --- the user's actions ----------------------------------------------------------------

    void Click(unsigned id, LPARAM value = 0) { dlg->OnMessage(id, MUI::kNotifyClick, value); }
    int Pick(int count) { return std::uniform_int_distribution<int>(0, count - 1)(random); }
    int AnyKey() { return keys[static_cast<size_t>(Pick(static_cast<int>(keys.size())))]; }

    void ChooseLayer()
    {
        dlg->keyPage.layers->SetSelectKeyLayer(Pick(kLayers));
        Click(KeyPageId::kLayers);
        note = "layer " + std::to_string(Layer());
    }
    void AssignKeyFunction()
    {
        MUI::KeyFuncControl& functions = *dlg->keyPage.keyFunctions;
        dlg->keyPage.typeTab->SetCurTab(0);
        Click(KeyPageId::kTypeTab, 0);
        const auto items = functions.GetItems();
        const int key = AnyKey();
        const int item = Pick(static_cast<int>(items.size()));
        dlg->keyPage.keyboard->SetCurrentKeyValue(key);
        functions.SetCurItem(item);
        Click(KeyPageId::kKeyFunctions);
        note = "key " + std::to_string(key) + " gets function " + std::to_string(item);
    }
    // A tile of a palette tab: 1 media, 2 mouse, 3 lighting and others, 4 functions, 5 macros;
    // on the key given, or any key.
    void AssignTile(int tab, int key = 0, int value = 0)
    {
        dlg->keyPage.typeTab->SetCurTab(tab);
        Click(KeyPageId::kTypeTab, tab);
        const auto tiles = dlg->keyPage.keyValues->GetItems();
        if (tiles.empty()) return;
        if (key == 0) key = AnyKey();
        if (value == 0) {
            value = tiles[static_cast<size_t>(Pick(static_cast<int>(tiles.size())))].value;
        }
        dlg->keyPage.keyboard->SetCurrentKeyValue(key);
        dlg->keyPage.keyValues->SetSelectKeyValue(value);
        Click(KeyPageId::kKeyValues, value);
        note = "key " + std::to_string(key) + " gets tile " + std::to_string(value) + " of tab " +
               std::to_string(tab);
    }
    void ResetKey(int key = 0)
    {
        if (key == 0) key = AnyKey();
        dlg->keyPage.keyboard->SetCurrentKeyValue(key);
        Click(KeyPageId::kResetKey);
        note = "reset key " + std::to_string(key);
    }
    void ResetLayer()
    {
        Click(KeyPageId::kResetLayer);
        note = "reset layer " + std::to_string(Layer());
    }
    void ChoosePreset()
    {
        static constexpr int presets[] = {202, 203, 205, 206, 207};
        const int preset = presets[Pick(5)];
        dlg->keyPage.presetCombo->SelectData(preset);
        Click(KeyPageId::kPresetCombo);
        note = "preset " + std::to_string(preset);
    }
    void ChooseLightMode()
    {
        MUI::MListBoxEx& modes = *dlg->lightPage.modeList;
        modes.SetCurSel(Pick(modes.GetItemCount()));
        Click(LightPageId::kModeList);
        note = "light mode " + std::to_string(modes.GetItemData(modes.GetCurSel()));
    }
    void SwitchLighting()
    {
        MUI::CSwitchButton& lighting = *dlg->lightPage.enableSwitch;
        lighting.SetCheck(!lighting.GetCheck());
        Click(LightPageId::kEnableSwitch);
        note = lighting.GetCheck() ? "lighting on" : "lighting off";
    }
    void NewMacro()
    {
        Click(MacroPageId::kNewMacro);
        note = "new macro";
    }
    void DeleteMacro()
    {
        MUI::MListBox& list = *dlg->macroPage.list;
        if (list.GetItemCount() == 0) return;
        const int index = Pick(list.GetItemCount());
        list.SetCurSel(index);
        dlg->OnMessage(MacroPageId::kMacroList, MUI::kNotifyClick, index);
        note = "delete macro " + std::to_string(list.GetItemData(index));
        Click(MacroPageId::kDeleteMacro);
    }
    void AddRapidSnap()
    {
        int first = AnyKey(), second = AnyKey();
        if (first == second) second = keys.front() == first ? keys.back() : keys.front();
        AddRapidSnapOn(first, second);
    }
    void AddRapidSnapOn(int first, int second)
    {
        // The advanced-key page is shown, so that its view takes clicks.
        ShowPage(PAGE_ADVANCED_KEYS);
        Click(kRapidSnapButton);
        CustomKeyDKSDlg* editor = dlg->advKeyPage.editor.get();
        if (editor == nullptr) return;
        MUI::KeyboardCtrl& view = *dlg->advKeyPage.keyboard;
        for (const int key : {first, second}) {
            const auto at = MUI::FindControlPoint(
                view, [&](int x, int y) { return view.GetKeyCodeAt(x, y) == key; });
            if (at) MUI::ClickControl(view, *at);
            Pump();
        }
        note = "rapid snap on " + std::to_string(first) + " and " + std::to_string(second) +
               " of layer " + std::to_string(Layer());
        editor->OnMessage(AdvKeyEditorId::kNext, MUI::kNotifyClick, 0);
        Pump();
        if (dlg->advKeyPage.editor && !dlg->advKeyPage.editor->IsNew()) {
            dlg->advKeyPage.editor->OnMessage(AdvKeyEditorId::kSave, MUI::kNotifyClick, 0);
        }
        if (!WaitFor([this] { return dlg->advKeyPage.editor == nullptr; }, 2s)) {
            note += " (not saved)";
            dlg->CloseAllPopups();
            WaitFor([this] { return dlg->advKeyPage.editor == nullptr; });
        }
        ShowPage(PAGE_KEYS);
    }
    void DeleteAdvancedKey()
    {
        const int profile = Profile();
        const auto advanced = Stored<MagneticKeyRecord>(
            [profile](auto& out) { return db().GetMagneticKeys(profile, out); });
        if (advanced.empty()) return;
        DeleteAdvancedKeyFromList(
            advanced[static_cast<size_t>(Pick(static_cast<int>(advanced.size())))].macro_id);
    }
    void DeleteAdvancedKeyFromList(int id)
    {
        ShowPage(PAGE_ADVANCED_KEYS);
        dlg->advKeyPage.list->SetSelectValue(id);
        dlg->OnMessage(AdvKeyPageId::kList, MUI::kNotifyItemDeleted, id);
        note = "delete advanced key " + std::to_string(id);
        ShowPage(PAGE_KEYS);
    }
    // --- FN layers and the keys of advanced keys ---

    // One of the FN layers 1..7.
    void ChooseFnLayer()
    {
        dlg->keyPage.layers->SetSelectKeyLayer(1 + Pick(kLayers - 1));
        Click(KeyPageId::kLayers);
        note = "FN layer " + std::to_string(Layer());
    }
    // A key of the current layer bound to an advanced key (a pair's key when there is one), or
    // any key when none is.
    int AdvancedKeyOrAny()
    {
        const int profile = Profile(), layer = Layer();
        std::vector<int> pairs, others;
        for (const KeyMacroRecord& row : Stored<KeyMacroRecord>(
                 [&](auto& out) { return db().GetLayerKeyMacros(profile, layer, out); })) {
            if (row.macro_type >= KMT_RS && row.macro_type <= KMT_OKS)
                pairs.push_back(row.key_code);
            if (row.macro_type >= KMT_DKS && row.macro_type < KMT_RS)
                others.push_back(row.key_code);
        }
        const std::vector<int>& from = pairs.empty() ? others : pairs;
        if (from.empty()) return AnyKey();
        return from[static_cast<size_t>(Pick(static_cast<int>(from.size())))];
    }
    void ResetAdvancedKey()
    {
        ResetKey(AdvancedKeyOrAny());
        note += " of layer " + std::to_string(Layer());
    }
    void TileOnAdvancedKey()
    {
        AssignTile(1 + Pick(4), AdvancedKeyOrAny());
        note += " of layer " + std::to_string(Layer());
    }
    void KeyFunctionOnAdvancedKey()
    {
        const int key = AdvancedKeyOrAny();
        MUI::KeyFuncControl& functions = *dlg->keyPage.keyFunctions;
        dlg->keyPage.typeTab->SetCurTab(0);
        Click(KeyPageId::kTypeTab, 0);
        const int item = Pick(static_cast<int>(functions.GetItems().size()));
        dlg->keyPage.keyboard->SetCurrentKeyValue(key);
        functions.SetCurItem(item);
        Click(KeyPageId::kKeyFunctions);
        note = "key " + std::to_string(key) + " of layer " + std::to_string(Layer()) +
               " gets function " + std::to_string(item);
    }
    // A profile added and picked again from the combo box after another one was shown.
    void AddAndPickProfile()
    {
        if (dlg->keyPage.profileCombo->GetItemCount() >= 5) return;
        ProfileMenu(kMenuAdd);
        const int added = Profile();
        ASSERT_TRUE(Settle());
        MUI::MComboBox& combo = *dlg->keyPage.profileCombo;
        combo.SetCurSel(0);
        Click(KeyPageId::kProfileCombo);
        ASSERT_TRUE(Settle());
        combo.SelectData(added);
        Click(KeyPageId::kProfileCombo);
        note = "add profile " + std::to_string(added) + ", pick another and it again";
    }

    // --- what must hold after every step ---

    // An advanced-key record no key of its profile points at, or a key pointing at no record.
    std::optional<std::string> AdvancedKeyMismatch()
    {
        for (const ProfileRecord& profile :
             Stored<ProfileRecord>([](auto& out) { return db().GetProfiles(out); })) {
            const int id = profile.profile;
            std::set<int> bound;
            for (const KeyMacroRecord& row : Stored<KeyMacroRecord>(
                     [id](auto& out) { return db().GetProfileKeyMacros(id, out); })) {
                if (row.macro_type < KMT_DKS || row.macro_type > KMT_OKS) continue;
                MagneticKeyRecord key;
                if (!db().GetMagneticKey(row.macro_value, key)) {
                    return "key " + std::to_string(row.key_code) + " of layer " +
                           std::to_string(row.fn_layer) + " of profile " + std::to_string(id) +
                           " points at no advanced key (" + std::to_string(row.macro_value) + ")";
                }
                bound.insert(row.macro_value);
            }
            for (const MagneticKeyRecord& key : Stored<MagneticKeyRecord>(
                     [id](auto& out) { return db().GetMagneticKeys(id, out); })) {
                if (bound.count(key.macro_id) == 0) {
                    return "advanced key " + std::to_string(key.macro_id) + " of profile " +
                           std::to_string(id) + " is bound to no key";
                }
            }
        }
        return std::nullopt;
    }
    // Every key row (its action: a load captions the keys it reads in its own words) and
    // advanced key of the database, one line each.
    static std::vector<std::string> DatabaseRows()
    {
        std::vector<std::string> lines;
        for (const ProfileRecord& profile :
             Stored<ProfileRecord>([](auto& out) { return db().GetProfiles(out); })) {
            const int id = profile.profile;
            for (const KeyMacroRecord& r : Stored<KeyMacroRecord>(
                     [id](auto& out) { return db().GetProfileKeyMacros(id, out); })) {
                // A read also keeps a consumer usage's high byte and a macro's link count in
                // macro_value2, which the key's action does not depend on.
                const bool readBack = r.macro_type == KMT_CONSUMER || r.macro_type == KMT_MACRO;
                std::ostringstream line;
                line << "key row " << r.profile << "/" << r.fn_layer << "/" << r.key_code << ": "
                     << r.macro_type << " " << r.macro_value << " "
                     << (readBack ? 0 : r.macro_value2) << " " << r.macro_value3;
                lines.push_back(line.str());
            }
            for (const MagneticKeyRecord& k : Stored<MagneticKeyRecord>(
                     [id](auto& out) { return db().GetMagneticKeys(id, out); })) {
                std::ostringstream line;
                line << "advanced key " << k.macro_id << ": " << k.macro_type << " " << k.key_value
                     << " " << k.key1_value << " " << k.key2_value << " " << k.reserved;
                lines.push_back(line.str());
            }
        }
        return lines;
    }

    // The page's tab clicked.
    void ShowPage(int pageId)
    {
        const int index = dlg->ui.tabCtrl->FindItem(pageId);
        dlg->ui.tabCtrl->SetCurSel(index);
        dlg->OnMessage(MainId::kTabCtrl, MUI::kNotifyClick, index);
        Pump();
    }
    void ProfileMenu(int item)
    {
        dlg->page.currentPage = PAGE_KEYS;
        dlg->OnWindowMessage(WM_CUSTOMKEY_MENU, static_cast<WPARAM>(item), item);
    }
    void AddProfile()
    {
        if (dlg->keyPage.profileCombo->GetItemCount() >= 5) return;
        ProfileMenu(kMenuAdd);
        note = "add profile " + std::to_string(Profile());
    }
    void DeleteProfile()
    {
        note = "delete profile " + std::to_string(Profile());
        ProfileMenu(kMenuDelete);
    }
    void SwitchProfile()
    {
        MUI::MComboBox& combo = *dlg->keyPage.profileCombo;
        combo.SetCurSel(Pick(combo.GetItemCount()));
        note = "switch to profile " + std::to_string(combo.GetCurData());
        Click(KeyPageId::kProfileCombo);
    }
    void ExportAndImport()
    {
        if (dlg->keyPage.profileCombo->GetItemCount() >= 5) return;
        Click(KeyPageId::kExportProfile);
        Click(KeyPageId::kImportProfile);
        note = "export and import as profile " + std::to_string(Profile());
    }
    void Restart()
    {
        note = "restart";
        ASSERT_TRUE(Settle());
        StartAgain();
    }
    // A new window on the same database and keyboard; a change of the keyboard's tables by
    // its start is kept in restartChange.
    void StartAgain()
    {
        const vkb::KeyboardMemory before = keyboard->Memory();
        const std::vector<std::string> rowsBefore = DatabaseRows();
        dlg.reset();
        keys.clear();
        Start();
        const vkb::KeyboardMemory after = keyboard->Memory();
        const std::vector<std::string> rowsAfter = DatabaseRows();
        for (size_t i = 0; i < std::max(rowsBefore.size(), rowsAfter.size()); ++i) {
            const std::string was = i < rowsBefore.size() ? rowsBefore[i] : "(none)";
            const std::string is = i < rowsAfter.size() ? rowsAfter[i] : "(none)";
            if (was != is) {
                restartChange = "the restart changed the database: " + was + " became " + is;
                return;
            }
        }
        for (const auto& [name, a, b] : {std::tuple{"keymaps", &before.keymaps, &after.keymaps},
                                         {"key perf", &before.keyPerf, &after.keyPerf},
                                         {"macros", &before.macros, &after.macros},
                                         {"user colours", &before.userColors, &after.userColors},
                                         {"pair table", &before.pairTable, &after.pairTable},
                                         {"toggle table", &before.toggleTable, &after.toggleTable},
                                         {"DKS table", &before.dksTable, &after.dksTable}}) {
            if (auto d = Differ(name, *a, *b)) {
                restartChange = "the restart changed the keyboard's " + *d;
                return;
            }
        }
    }
    // A replug whose load loses a few answers of the key, performance and colour tables: they
    // are asked for again, so the tables are known and later edits reach the keyboard.
    void LossyReplug()
    {
        for (const char* fault : {"no-answer=0x08:3", "no-answer=0xA0:2", "no-answer=0x0A:1"}) {
            keyboard->AddFault(*vkb::ParseFault(fault));
        }
        Replug();
        note = "replug, a few answers lost";
        keyboard->ClearFaults();
    }
    void Replug()
    {
        note = "replug";
        Unplug();
        ASSERT_TRUE(WaitFor([this] { return HomePanelShown(); }));
        ASSERT_TRUE(Settle());
        Plug();
        ASSERT_TRUE(WaitFor([this] { return TabsShown(); }));
        ASSERT_TRUE(Settle());
    }

    // --- keyboard writes that fail, are cut off or are cut short by the exit ----------------

    void SwitchRapidTrigger()
    {
        Click(PerfPageId::kSelectAll);
        Click(PerfPageId::kRapidTriggerSwitch);
        note = "rapid trigger switched for every key";
    }
    // One of the actions that write a table: the keys, the performance, the lighting, the
    // macros.
    void WriteAction()
    {
        switch (Pick(5)) {
            case 0:
                AssignKeyFunction();
                break;
            case 1:
                AssignTile(1);
                break;
            case 2:
                SwitchRapidTrigger();
                break;
            case 3:
                ChooseLightMode();
                break;
            default:
                NewMacro();
                break;
        }
    }
    // Until nothing is owed to the keyboard any more.
    bool NothingOwed()
    {
        return WaitFor([this] { return dlg->worker.unsent.Owed() == 0; }) && Settle();
    }
    // A table write the keyboard does not take (the write and its repeat fail); the next idle
    // step writes it again.
    void WriteThatFailsOnce()
    {
        static const char* const faults[] = {"fail-write=0x09:2", "fail-write=0xA1:2",
                                             "fail-write=0x06:2", "fail-write=0x0D:2",
                                             "fail-write=0x0B:2"};
        const char* fault = faults[Pick(5)];
        keyboard->AddFault(*vkb::ParseFault(fault));
        WriteAction();
        note = std::string(fault) + ", " + note;
        ASSERT_TRUE(NothingOwed()) << note;
        keyboard->ClearFaults();
    }
    // The keyboard pulled out in the middle of a write's batch, and plugged back in.
    void UnplugDuringWrite()
    {
        const std::string fault = "unplug-after=" + std::to_string(1 + Pick(12));
        keyboard->AddFault(*vkb::ParseFault(fault));
        WriteAction();
        const std::string action = note;
        ASSERT_TRUE(Settle());
        keyboard->ClearFaults();
        Replug();
        note = fault + ", " + action + ", replug";
        ASSERT_TRUE(NothingOwed()) << note;
    }
    // The program ended right after a write is queued; then started again.
    void ExitRightAfterWrite()
    {
        WriteAction();
        note += ", exit";
        dlg->ExitProcess(0);
        if (auto d = Mismatch()) {
            restartChange = "the exit did not wait for the write: " + *d;
            return;
        }
        StartAgain();
    }

    // One seeded sequence; the actions with their weights.
    void RunSequence(unsigned seed, int steps)
    {
        random.seed(seed);
        const std::vector<std::pair<int, std::function<void()>>> actions = {
            {10, [this] { AssignKeyFunction(); }},
            {4, [this] { AssignTile(1); }},
            {3, [this] { AssignTile(2); }},
            {2, [this] { AssignTile(4); }},
            {6, [this] { ChooseLayer(); }},
            {3, [this] { ResetKey(); }},
            {2, [this] { ResetLayer(); }},
            {2, [this] { ChooseLightMode(); }},
            {1, [this] { SwitchLighting(); }},
            {2, [this] { NewMacro(); }},
            {4, [this] { AssignTile(5); }},
            {1, [this] { DeleteMacro(); }},
            {2, [this] { AddRapidSnap(); }},
            {1, [this] { DeleteAdvancedKey(); }},
            {1, [this] { ChoosePreset(); }},
            {2, [this] { AddProfile(); }},
            {3, [this] { SwitchProfile(); }},
            {1, [this] { DeleteProfile(); }},
            {1, [this] { ExportAndImport(); }},
            {1, [this] { Restart(); }},
            {1, [this] { Replug(); }},
            {1, [this] { LossyReplug(); }},
            {2, [this] { WriteThatFailsOnce(); }},
            {1, [this] { UnplugDuringWrite(); }},
            {1, [this] { ExitRightAfterWrite(); }},
            {3, [this] { ChooseFnLayer(); }},
            {3, [this] { ResetAdvancedKey(); }},
            {3, [this] { TileOnAdvancedKey(); }},
            {2, [this] { KeyFunctionOnAdvancedKey(); }},
            {2, [this] { AddRapidSnap(); }},
            {1, [this] { AddAndPickProfile(); }},
        };
        int total = 0;
        for (const auto& action : actions) total += action.first;
        std::vector<std::string> history;
        for (int step = 0; step < steps; ++step) {
            int roll = Pick(total);
            size_t chosen = 0;
            while (roll >= actions[chosen].first) roll -= actions[chosen++].first;
            note.clear();
            restartChange.clear();
            actions[chosen].second();
            if (HasFatalFailure()) return;
            history.push_back(std::to_string(step) + ": " + note);
            std::string trail;
            for (size_t i = history.size() > 12 ? history.size() - 12 : 0; i < history.size(); ++i)
                trail += "\n  " + history[i];
            ASSERT_TRUE(Settle()) << "seed " << seed << " step " << step << trail;
            ASSERT_TRUE(restartChange.empty())
                << "seed " << seed << " step " << step << ": " << restartChange << trail;
            const std::optional<std::string> mismatch = Mismatch();
            ASSERT_FALSE(mismatch.has_value())
                << "seed " << seed << " step " << step << ": " << *mismatch << trail;
            const std::optional<std::string> unbound = AdvancedKeyMismatch();
            ASSERT_FALSE(unbound.has_value())
                << "seed " << seed << " step " << step << ": " << *unbound << trail;
        }
    }

    std::filesystem::path folder;
    std::vector<int> keys;
    std::mt19937 random;
    std::string note;
    std::string restartChange;
};

class UserActionSeeds : public UserActionSequenceTest,
                        public testing::WithParamInterface<unsigned> {};

TEST_P(UserActionSeeds, TheKeyboardHoldsTheActiveProfileAfterEveryStep)
{
    RunSequence(GetParam(), 150);
}

INSTANTIATE_TEST_SUITE_P(FixedSeeds, UserActionSeeds, testing::Values(1u, 2u, 3u));

// One user's way through FN-layer defaults, advanced keys and new profiles, ending on the
// keyboard's bytes.
class FnLayerDefaultsTest : public UserActionSequenceTest {
protected:
    using Entry = std::array<uint8_t, 3>;
    static constexpr int kE = 0x08, kF = 0x09, kQ = 0x14, kW = 0x1A;
    static constexpr int kF10 = 0x43, kF11 = 0x44, kFn = 0xFF;
    static constexpr int kVolumeUp = 0xE9;

    Entry Bytes(int layer, int code) const
    {
        return keyboard->KeyEntry(static_cast<size_t>(layer), static_cast<size_t>(IndexOf(code)));
    }
    void SelectLayer(int layer)
    {
        dlg->keyPage.layers->SetSelectKeyLayer(layer);
        Click(KeyPageId::kLayers);
    }
    // The keyboard holds the active profile and the database is whole.
    void ExpectSettled()
    {
        ASSERT_TRUE(Settle());
        const std::optional<std::string> mismatch = Mismatch();
        EXPECT_FALSE(mismatch.has_value()) << *mismatch;
        const std::optional<std::string> unbound = AdvancedKeyMismatch();
        EXPECT_FALSE(unbound.has_value()) << *unbound;
    }
    // The advanced keys of the active profile.
    std::vector<MagneticKeyRecord> AdvancedKeys()
    {
        const int profile = Profile();
        return Stored<MagneticKeyRecord>(
            [profile](auto& out) { return db().GetMagneticKeys(profile, out); });
    }
    // The rapid snap on two keys of the current layer, saved and sent.
    void MakeRapidSnap(int first, int second)
    {
        AddRapidSnapOn(first, second);
        ASSERT_TRUE(Settle());
        ASSERT_EQ(AdvancedKeys().size(), 1u) << note;
        ASSERT_EQ(Bytes(Layer(), first)[0], 0x93);
        ASSERT_EQ(Bytes(Layer(), second)[0], 0x93);
    }
    // The key's stored performance: mode, actuation, press and release.
    std::array<int, 4> Perf(int code)
    {
        const int profile = Profile();
        for (const KeyPerfRecord& row : Stored<KeyPerfRecord>(
                 [profile](auto& out) { return db().GetKeyPerfs(profile, out); })) {
            if (row.key_code == code)
                return {row.key_mode, row.key_actuation, row.rt_press, row.rt_release};
        }
        return {-1, -1, -1, -1};
    }
};

TEST_F(FnLayerDefaultsTest, DeletingAnFnLayerRapidSnapGivesBothKeysTheKeyboardsDefault)
{
    SelectLayer(1);
    MakeRapidSnap(kW, kQ);
    const std::array<int, 4> paired = Perf(kW);
    DeleteAdvancedKeyFromList(AdvancedKeys().front().macro_id);
    ExpectSettled();
    EXPECT_TRUE(AdvancedKeys().empty());
    EXPECT_EQ(Bytes(1, kW), (Entry{0, 0, 0}));
    EXPECT_EQ(Bytes(1, kQ), (Entry{0, 0, 0}));
    EXPECT_NE(Perf(kW), paired);
    EXPECT_EQ(Perf(kQ), Perf(kW));
    Restart();
    EXPECT_TRUE(restartChange.empty()) << restartChange;
    EXPECT_EQ(Bytes(1, kW), (Entry{0, 0, 0}));
}

TEST_F(FnLayerDefaultsTest, ResetKeyAndResetLayerOnAnFnLayerGiveTheKeyboardsEmptyEntry)
{
    SelectLayer(1);
    AssignTile(1, kW, kVolumeUp);
    ASSERT_TRUE(Settle());
    ASSERT_EQ(Bytes(1, kW), (Entry{0x30, kVolumeUp, 0}));
    ResetKey(kW);
    ExpectSettled();
    EXPECT_EQ(Bytes(1, kW), (Entry{0, 0, 0}));

    AssignTile(1, kW, kVolumeUp);
    AssignTile(1, kF10, kVolumeUp);
    ASSERT_TRUE(Settle());
    ResetLayer();
    ExpectSettled();
    EXPECT_EQ(Bytes(1, kW), (Entry{0, 0, 0}));
    EXPECT_EQ(Bytes(1, kF10), (Entry{0x30, 0xE2, 0}));  // the keyboard's own mute
}

TEST_F(FnLayerDefaultsTest, AnAddedProfileKeepsTheKeyboardsFnLayersAndFnKey)
{
    const std::vector<uint8_t> factory = keyboard->Memory().keymaps;
    AddProfile();
    ExpectSettled();
    EXPECT_EQ(Profile(), db().GetActiveProfile());
    EXPECT_EQ(Bytes(0, kFn), (Entry{0xF0, 0xFF, 0x01}));
    EXPECT_EQ(Bytes(1, kF10), (Entry{0x30, 0xE2, 0}));
    EXPECT_EQ(Bytes(1, kF11), (Entry{0x30, 0xEA, 0}));
    for (int layer = 1; layer < kLayers; ++layer) {
        EXPECT_EQ(Bytes(layer, kW), (Entry{0, 0, 0})) << layer;
        EXPECT_EQ(Bytes(layer, kFn), (Entry{0xF0, 0xFF, 0x01})) << layer;
    }
    // Every FN layer as the keyboard came.
    const std::vector<uint8_t> now = keyboard->Memory().keymaps;
    EXPECT_TRUE(std::equal(factory.begin() + 512, factory.end(), now.begin() + 512));
}

TEST_F(FnLayerDefaultsTest, ChangingOneKeyOfAPairRemovesThePairAndItsPerformance)
{
    const struct {
        int layer;
        std::function<void()> change;  // on E
        Entry e;
        Entry f;
    } cases[] = {
        {1, [this] { AssignTile(1, kE, kVolumeUp); }, {0x30, kVolumeUp, 0}, {0, 0, 0}},
        {1, [this] { ResetKey(kE); }, {0, 0, 0}, {0, 0, 0}},
        {0, [this] { ResetKey(kE); }, {0x10, 0, kE}, {0x10, 0, kF}},
        {0, [this] { ResetLayer(); }, {0x10, 0, kE}, {0x10, 0, kF}},
    };
    // What a delete from the list leaves: every other way must leave the same.
    SelectLayer(1);
    MakeRapidSnap(kE, kF);
    const std::array<int, 4> paired = Perf(kE);
    DeleteAdvancedKeyFromList(AdvancedKeys().front().macro_id);
    ASSERT_TRUE(Settle());
    const std::array<int, 4> plain = Perf(kE);
    ASSERT_NE(plain, paired);
    for (const auto& c : cases) {
        SelectLayer(c.layer);
        MakeRapidSnap(kE, kF);
        c.change();
        ExpectSettled();
        EXPECT_TRUE(AdvancedKeys().empty()) << note;
        EXPECT_EQ(Bytes(c.layer, kE), c.e) << note;
        EXPECT_EQ(Bytes(c.layer, kF), c.f) << note;
        EXPECT_EQ(Perf(kE), plain) << note;
        EXPECT_EQ(Perf(kF), plain) << note;
        EXPECT_EQ(dlg->advKeyPage.list->GetItemCount(), 0) << note;
    }
}

}  // namespace
