#include "app/UdevRuleCommand.h"

std::wstring UdevRuleCommand(const std::wstring& programFolder)
{
    std::wstring folder = programFolder;
    if (!folder.empty() && folder.back() != L'/') folder += L'/';
    return L"sudo sh -c 'install -m 644 \"" + folder +
           L"udev/70-tolvenic.rules\" /etc/udev/rules.d/ && udevadm control --reload-rules && "
           L"udevadm trigger --subsystem-match=hidraw --subsystem-match=usb'";
}
