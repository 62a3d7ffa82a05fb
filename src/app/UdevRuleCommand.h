// The command that installs the udev rule letting the user at the seat open the keyboard, as
// the window shows it when the keyboard is there but may not be opened.
#pragma once

#include <string>

// One shell line, run as root through sudo: copies the rule kept with the program's files
// (<program files>/udev/70-tolvenic.rules) into /etc/udev/rules.d, reloads the rules and
// applies them to the devices already plugged in.
std::wstring UdevRuleCommand(const std::wstring& programFolder);
