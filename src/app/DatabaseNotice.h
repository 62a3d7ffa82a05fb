// Telling the user, once per settings file and run, that the model's settings database could not
// be used as it was: moved aside for a new one, or not usable at all (changes are then not kept).
#pragma once

#include <string>

#include "platform/mui/WindowTypes.h"

// The notice for the outcome of the last KBDataBase::Open, or an empty text when there is
// nothing to tell. A file moved aside is named in the text.
std::wstring DatabaseNoticeText(bool opened, const std::string& setAsidePath,
                                const std::string& dbPath);

// Shows the notice for the outcome of the last KBDataBase::Open in the program's message box
// over window, once per database path, after the calling handler has returned (the box runs a
// modal loop of its own): a file set aside, one not usable, or one opened for reading only (its
// writes are then not told again). Nothing when the database opened as it was.
void TellDatabaseProblem(HWND window, bool opened);

// From now on, the first failed database write after one that succeeded shows the notice that
// changes are not kept (the same text as for a file that cannot be written) over window; an
// empty window stops it. Each run of failures is told once.
void TellDatabaseWriteFailures(HWND window);
