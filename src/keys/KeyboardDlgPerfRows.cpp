// The performance rows a new profile starts with, one per key of the layout.
#include <vector>

#include "app/KeyboardDlg.h"
#include "keys/KeyPerfDefaults.h"
#include "platform/mui/KeyboardCtrl.h"
#include "storage/KBDataBase.h"

void KeyboardDlg::CreateDefaultKeyPerfRows(int profile)
{
    KBDataBase& db = KBDataBase::GetInstance();
    // Every key view holds the same key items; the key page's exists from construction on.
    if (keyPage.keyboard == nullptr || db.GetKeyPerfCount(profile) >= 1) return;
    std::vector<int> codes;
    for (const MUI::KeyItem& item : keyPage.keyboard->GetKeyItems()) codes.push_back(item.code);
    db.InsertKeyPerfs(DefaultKeyPerfRows(profile, codes));
}
