#include "storage/UniqueProfileName.h"

std::wstring MakeUniqueProfileName(const std::wstring& base, const std::vector<std::wstring>& names)
{
    std::wstring candidate;
    for (int n = 1; n <= 1000; ++n) {
        candidate = base + L" " + std::to_wstring(n);
        bool taken = false;
        for (const auto& name : names) {
            if (name == candidate) {
                taken = true;
                break;
            }
        }
        if (!taken) {
            return candidate;
        }
    }
    return candidate;
}
