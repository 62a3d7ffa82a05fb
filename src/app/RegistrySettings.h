// The program's per-user values under the key "SOFTWARE\<device name>" (os/Registry.h): the
// language id "LCID", "autorun_minimize", "exit_mode" and "DeviceType", all decimal texts.
// Readers of the language and of whole numbers create the key when it is missing; writers never
// create it. Safe from any thread.
#pragma once

#include <string>
#include <string_view>

#include "platform/text/DecimalText.h"

// "SOFTWARE\" + the device name.
std::wstring DeviceRegistryKey();

// "LCID" as a number: 0 when the value is missing or not a number, or when the key was missing
// (it is created then); 1033 when the key neither opens nor can be created.
int GetLanguageId();
// Writes "LCID" as "%d" when the key exists.
void SetLanguageId(int languageId);

// The named value as a number; 0 when missing, not a number, or the key was missing (it is
// created then) or cannot be made.
int GetRegInt(const std::wstring& valueName);
// Writes the text when the key exists.
void SetRegString(const std::wstring& valueName, const std::wstring& text);

// "DeviceType", the id of the last keyboard model chosen; 0 when the key or the value is
// missing (the key is not created here).
int ReadDeviceType();
// Writes "DeviceType" as "%d" when the key exists.
void WriteDeviceType(int deviceType);

