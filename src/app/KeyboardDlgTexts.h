// The language-dependent texts of the main window's frame, tabs and settings page. Each
// operation sets the texts of the current language file on the controls the window has (found
// by id; missing controls are skipped). The window's construction uses them to give the
// controls their first texts, and KeyboardDlg::ApplyLanguageTexts to re-label them.
#pragma once

#include "platform/mui/MDialog.h"
#include "platform/mui/MTabCtrl.h"

// Tooltips of the window and link buttons, the upgrade buttons' captions, the title band, the
// keyboard-setting comboboxes' items and the no-keyboard text.
void ApplyFrameTexts(MUI::MDialog& window);
// Each tab's caption by its item id; items of other ids keep theirs. Redraws the tab control.
void ApplyTabTexts(MUI::MTabCtrl& tabs);
// Every text of the settings page.
void ApplySettingsPageTexts(MUI::MDialog& window);
