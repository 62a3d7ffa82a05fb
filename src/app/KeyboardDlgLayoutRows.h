// Layout rows of the main window: each control's rectangle as four coordinates, each a fixed
// number of pixels or an offset from one edge of the client rectangle, so a table of rows
// recomputes every rectangle for any client size.
#pragma once

#include <span>

#include "platform/mui/MDialog.h"

struct LayoutCoord {
    enum Base { kFixed, kLeft, kTop, kRight, kBottom };
    Base base = kFixed;
    int offset = 0;
};

constexpr LayoutCoord Px(int value) { return {LayoutCoord::kFixed, value}; }
constexpr LayoutCoord FromL(int offset) { return {LayoutCoord::kLeft, offset}; }
constexpr LayoutCoord FromT(int offset) { return {LayoutCoord::kTop, offset}; }
constexpr LayoutCoord FromR(int offset) { return {LayoutCoord::kRight, offset}; }
constexpr LayoutCoord FromB(int offset) { return {LayoutCoord::kBottom, offset}; }

struct LayoutRow {
    unsigned id;
    LayoutCoord left, top, right, bottom;
};

// The coordinate's value in the client rectangle.
int ResolveCoord(const LayoutCoord& coord, const RECT& client);
// The row's rectangle in the client rectangle.
RECT ResolveRow(const LayoutRow& row, const RECT& client);
// Gives each control of the rows its rectangle; rows whose control the window lacks are
// skipped.
void PlaceControls(MUI::MDialog& window, const RECT& client, std::span<const LayoutRow> rows);
