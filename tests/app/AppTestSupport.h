// Helpers shared by the start-up tests: a fresh device name per test and small files.
#pragma once

#include <filesystem>
#include <string>

#include "platform/mui/Manager.h"
#include "platform/os/XdgPaths.h"

namespace apptest {

// Sets a device name nobody used before in this process, so each test has its own registry
// key and data folder.
inline std::wstring FreshDeviceName()
{
    static int counter = 0;
    const std::wstring name = L"AppTest" + std::to_wstring(++counter);
    MUI::Manager::SetDeviceName(name);
    return name;
}

// The registry file of the current device name.
inline std::filesystem::path RegistryFile()
{
    return std::filesystem::path(os::ConfigHome()) /
           os::SafeFileName(MUI::Manager::GetDeviceName()) / "registry.ini";
}

// A fresh, empty folder under the test home.
inline std::filesystem::path FreshFolder(const std::string& name)
{
    const std::filesystem::path folder = std::filesystem::path(os::DataHome()) / "t" / name;
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    return folder;
}

void WriteText(const std::filesystem::path& path, const std::string& bytes);

}  // namespace apptest
