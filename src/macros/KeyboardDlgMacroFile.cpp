// Macro files: the selected macro exported to a file, and a file imported as a new macro.
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "app/KeyboardDlg.h"
#include "app/Language.h"
#include "macros/MacroXml.h"
#include "platform/mui/MListBox.h"
#include "platform/os/FileDialog.h"
#include "platform/os/SystemMessageBox.h"
#include "platform/text/Utf8.h"
#include "storage/KBDataBase.h"
#include "storage/RecordList.h"

namespace {

using namespace std::string_literals;

constexpr int kNoSelectionText = 340;
constexpr int kNoSelectionCaption = 341;

// Each filter list holds one pair and ends with an empty string.
const std::wstring kOpenFilter = L"Macros (*.xml)\0*.xml\0\0"s;
const std::wstring kSaveFilter = L"Macro (*.xml)\0*.xml\0\0"s;

// Asks for a file to read, or to write; a file to write is suggested under the macro's name.
std::optional<std::wstring> AskForFile(bool save, const std::wstring& name = L"")
{
    os::FileDialogRequest request;
    request.save = save;
    request.filter = save ? kSaveFilter : kOpenFilter;
    if (save) request.initialPath = os::SuggestedFilePath(name, L"xml");
    return os::ShowFileDialog(request);
}

}  // namespace

int KeyboardDlg::ExportMacro()
{
    const int id = SelectedMacroId();
    if (id <= 0) {
        os::SystemMessageBox(GetLanString(kNoSelectionText), GetLanString(kNoSelectionCaption),
                             os::kMbOk);
        return 0;
    }
    // The stored macro: edits not saved yet are not part of the file.
    KBDataBase& db = KBDataBase::GetInstance();
    MacroRecord macro;
    if (!db.GetMacro(id, macro)) return 1;
    const std::optional<std::wstring> path = AskForFile(true, macro.name);
    if (!path) return 1;
    std::vector<MacroStepRecord*> stored;
    db.GetMacroSteps(id, stored);
    SaveMacroXml(*path, macro, TakeRecords(stored));
    return 1;
}

void KeyboardDlg::ImportMacro()
{
    if (macroPage.list == nullptr) return;
    const std::optional<std::wstring> path = AskForFile(false);
    std::error_code error;
    if (!path || !std::filesystem::is_regular_file(text::WideToUtf8(*path), error)) return;
    // An unreadable, foreign or hostile file imports nothing, and the user is told.
    const std::optional<MacroFile> file = LoadMacroXml(*path);
    if (!file) {
        ShowImportRefusal();
        return;
    }

    KBDataBase& db = KBDataBase::GetInstance();
    if (!RoomForMacro() || !RoomForMacroSteps(static_cast<int>(file->steps.size()))) return;
    int id = 0;
    const bool kept = db.WriteTogether([&] {
        id = db.InsertMacro(file->header);
        if (id <= 0) return false;
        for (MacroStepRecord step : file->steps) {
            step.macro_id = id;
            if (db.InsertMacroStep(step) <= 0) return false;
        }
        return true;
    });
    if (!kept || id <= 0) {
        ShowImportRefusal();
        return;
    }
    macroPage.list->AddItem(file->header.name, id);
    // The keyboard's macro memory mirrors the list.
    QueueCommand(QCMD_WRITE_MACROS);
}
