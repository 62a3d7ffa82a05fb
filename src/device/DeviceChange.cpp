#include "device/DeviceChange.h"

#include <algorithm>
#include <cwctype>

#include "device/DeviceReport.h"
#include "platform/hid/HidSeam.h"

bool ProbeHidInterface(const std::wstring& interfaceName)
{
    const std::unique_ptr<hid::HidDevice> device =
        hid::Backend().Open(hid::InterfacePath(interfaceName));
    return device != nullptr && device->InputReportLength() == static_cast<int>(REPORT_SIZE) &&
           device->OutputReportLength() == static_cast<int>(REPORT_SIZE);
}

DeviceChangeResult FilterDeviceChange(bool arrived, const std::wstring& interfaceName,
                                      std::span<const DeviceChangeModel> models,
                                      const std::function<bool(const std::wstring&)>& probe)
{
    std::wstring upper = interfaceName;
    std::transform(upper.begin(), upper.end(), upper.begin(),
                   [](wchar_t c) { return static_cast<wchar_t>(std::towupper(c)); });

    for (size_t i = 0; i < models.size(); ++i) {
        const DeviceChangeModel& model = models[i];
        if (upper.find(model.interfacePattern) == std::wstring::npos) continue;
        if (arrived) {
            // Only the first model whose pattern occurs is considered.
            const bool passes = probe && probe(interfaceName);
            return {passes ? DeviceChangeAction::kArrived : DeviceChangeAction::kNone,
                    static_cast<int>(i)};
        }
        if (model.connected) return {DeviceChangeAction::kRemoved, static_cast<int>(i)};
    }
    return {};
}
