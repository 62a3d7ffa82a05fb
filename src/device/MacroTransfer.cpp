#include "device/MacroTransfer.h"

#include <span>
#include <vector>

#include "device/DeviceManager.h"
#include "device/MacroImage.h"
#include "storage/KBDataBase.h"
#include "storage/RecordList.h"

bool WriteMacrosToKeyboard(DeviceManager& device, KBDataBase& db)
{
    std::vector<MacroRecord*> stored;
    db.GetMacros(stored);
    std::vector<std::vector<MacroStepRecord>> macros;
    for (const MacroRecord& macro : TakeRecords(stored)) {
        std::vector<MacroStepRecord*> steps;
        db.GetMacroSteps(macro.macro_id, steps);
        macros.push_back(TakeRecords(steps));
    }
    const MacroImage image = BuildMacroImage(macros);
    if (!image.fits) return false;
    return device.WriteTableBatch(CMD_WRITE_MACROS, 0,
                                  std::span<const uint8_t>(image.bytes.data(), image.used));
}
