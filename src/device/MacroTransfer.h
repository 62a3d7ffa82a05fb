// Writes every macro of the database to the keyboard as one macro image. Worker thread.
#pragma once

class DeviceManager;
class KBDataBase;

// One batch with the image's used bytes in chunks of up to 56 (a used length that is a
// multiple of 56 sends no empty chunk). Macros that do not fit the image are not written at
// all: false, and nothing is sent. True only when every exchange passed.
bool WriteMacrosToKeyboard(DeviceManager& device, KBDataBase& db);
