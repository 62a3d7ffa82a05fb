// A supported keyboard model, or one USB interface to look for: the same record serves the
// model list and the interface list of the main window.
#pragma once

#include <string>

struct DeviceModel {
    std::wstring name;  // shown in the model combobox; also the model's database name
    int id = 0;
    std::wstring layoutKey;  // base name of the model's layout file
    int connectionKind = 0;
    int vendorId = 0;
    int productId = 0;
    std::wstring bus;
    std::wstring spare;
    std::wstring interfacePattern;  // text an interface path must contain
    std::wstring pictureTextA;
    std::wstring pictureTextB;
    int connected = 0;
    int last = -1;
};
