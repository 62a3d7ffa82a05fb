// The advanced-key editor from its creation to its first paint: a stored DKS key opened as the
// page opens it (a child window of the main window, its value page built and its values
// loaded), then every control painted once. The goal is under 50 ms.
#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>

#include <filesystem>
#include <memory>

#include <unistd.h>

#include "keys/AdvKeyEditorIds.h"
#include "keys/CustomKeyDKSDlg.h"
#include "platform/mui/MDialog.h"
#include "platform/mui/UiThread.h"
#include "storage/KBDataBase.h"

namespace {

constexpr int kProfile = 1;

KBDataBase& db() { return KBDataBase::GetInstance(); }

void EditorOpenToFirstPaint(benchmark::State& state)
{
    MUI::EnsureApplication();
    const auto folder =
        std::filesystem::temp_directory_path() / ("bench-advkeys-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder / "db");
    db().Close();
    if (!db().Open(folder.wstring() + L"/", L"QX71")) {
        state.SkipWithError("no database");
        return;
    }
    MagneticKeyRecord key;
    key.profile = kProfile;
    key.key_value = 0x04;
    key.macro_type = 14;
    key.key1_value = 0x230F;
    key.key2_value = 0x0F23;
    const int id = db().InsertMagneticKey(key);
    for (int usage : {0x05, 0x06, 0x07, 0x08}) {
        KeyItemRecord item;
        item.macro_id = id;
        item.key_value = usage;
        item.key_name = L"K";
        db().InsertKeyItem(item);
    }
    // The main window stands in as a plain window of the same size.
    MUI::MDialog owner;
    owner.Create(nullptr, L"bench", WS_POPUP, 0, RECT{0, 0, 1600, 970});
    const RECT rect{254, 570, 1600, 970};
    QImage canvas(1600, 400, QImage::Format_ARGB32);
    for (auto _ : state) {
        AdvKeyEditorServices services;
        services.text = [](int number) { return std::to_wstring(number); };
        services.messageBox = [](HWND, const std::wstring&, const std::wstring&) {};
        services.macros = [] { return std::vector<PaletteMacro>{}; };
        CustomKeyDKSDlg editor(services);
        editor.SetKeyInfo(AdvKeyEditorId::kTypeDks, kProfile, 0x04, id, 0);
        editor.Create(owner.GetHWND(), rect);
        QPainter painter(&canvas);
        for (MUI::MControl* control : editor.GetControls()) {
            const RECT at = control->GetRect();
            painter.save();
            painter.translate(at.left, at.top);
            control->PaintInto(painter);
            painter.restore();
        }
        painter.end();
        benchmark::DoNotOptimize(canvas.bits());
        editor.DestroyWindow();
    }
    owner.DestroyWindow();
    db().Close();
    std::error_code error;
    std::filesystem::remove_all(folder, error);
}
BENCHMARK(EditorOpenToFirstPaint)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
