// The key palette of the key-assignment page: the key functions on tab 0, the value tiles of
// tabs 1..5.
#include "app/KeyboardDlg.h"
#include "app/Language.h"
#include "keys/KeyPalette.h"
#include "platform/mui/KeyFuncControl.h"
#include "platform/mui/KeyValueList2.h"
#include "platform/mui/MPicture.h"
#include "storage/KBDataBase.h"

void KeyboardDlg::BuildKeyValuePalette(int tab)
{
    KeyPageControls& page = keyPage;
    if (page.keyFunctions == nullptr || page.keyValues == nullptr) return;
    for (MUI::MPicture* picture : page.mousePictures) {
        if (picture != nullptr) picture->SetVisible(false);
    }
    const auto showBackground = [&page](int shown) {
        for (int i = 0; i < 2; ++i) {
            if (page.paletteBackgrounds[i] != nullptr)
                page.paletteBackgrounds[i]->SetVisible(i == shown);
        }
    };
    showBackground(0);
    if (tab == PALETTE_KEYS) {
        page.keyFunctions->SetVisible(true);
        page.keyValues->SetVisible(false);
        return;
    }
    if (tab < 0 || tab >= kPaletteTabCount) return;

    page.keyFunctions->SetVisible(false);
    page.keyValues->SetVisible(true);
    page.keyValues->ClearAllItems();
    showBackground(1);
    const auto macros = [] { return PaletteMacros(KBDataBase::GetInstance()); };
    const auto text = [](int number) { return GetLanString(number); };
    for (const PaletteTile& tile : PaletteTiles(tab, GetLanString(kBaseLayerText), macros, text)) {
        page.keyValues->AddKeyInfo(tile.code, tile.caption, L"", tile.rect);
    }
    page.keyValues->SetSelectKeyValue(-1);
}
