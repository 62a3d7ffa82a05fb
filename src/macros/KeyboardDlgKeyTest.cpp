// The settings page's key tester.
#include "app/KeyboardDlg.h"
#include "app/Language.h"
#include "macros/KeyTestDlg.h"

int KeyboardDlg::ShowKeyTestDlg()
{
    KeyTestDlg tester({GetLanString(800), GetLanString(37), GetLanString(41)}, WM_HOOK_KEY_EVENT);
    tester.ShowTestDlg(GetHWND());
    return 1;
}
