#include "app/KeyboardDlgLayoutRows.h"

int ResolveCoord(const LayoutCoord& coord, const RECT& client)
{
    switch (coord.base) {
        case LayoutCoord::kLeft:
            return client.left + coord.offset;
        case LayoutCoord::kTop:
            return client.top + coord.offset;
        case LayoutCoord::kRight:
            return client.right + coord.offset;
        case LayoutCoord::kBottom:
            return client.bottom + coord.offset;
        case LayoutCoord::kFixed:
            break;
    }
    return coord.offset;
}

RECT ResolveRow(const LayoutRow& row, const RECT& client)
{
    return RECT{ResolveCoord(row.left, client), ResolveCoord(row.top, client),
                ResolveCoord(row.right, client), ResolveCoord(row.bottom, client)};
}

void PlaceControls(MUI::MDialog& window, const RECT& client, std::span<const LayoutRow> rows)
{
    for (const LayoutRow& row : rows) {
        if (MUI::MControl* control = window.GetControl(row.id)) {
            control->SetRect(ResolveRow(row, client));
        }
    }
}
