// Checking that texts fit the boxes the controls draw them in. A control is painted offscreen
// while a recorder notes every text DrawControlText draws, with its font and box, so the check
// follows exactly what the control draws and needs no list of its own.
#pragma once

#include <QRect>
#include <QSizeF>
#include <string>
#include <vector>

#include "platform/mui/MControl.h"

namespace MUI {

struct DrawnText {
    std::wstring text;
    FontSpec font;
    QRect box;  // painter coordinates at the time of drawing
    bool multiLine = false;
    int align = kAlignLeft;
    int valign = kVAlignCenter;
};

// Called by DrawControlText: notes the text while a recording runs on this thread.
void NoteDrawnText(const DrawnText& text);

// Paints the control (its own rectangle, offscreen) and returns every text it drew. A control
// with an empty rectangle draws nothing.
std::vector<DrawnText> RecordDrawnTexts(MControl& control);

// True when the text set in its font fits its box: one line no wider than the box with its
// glyphs inside the box's height, or, for multi-line text, every wrapped line no wider than
// the box and all lines within its height.
bool TextFits(const DrawnText& text);
// The room the text takes: the width and height of its wrapped lines, or of one line's advance
// and glyphs.
QSizeF NeededSize(const DrawnText& text);

}  // namespace MUI
