// The demonstration dialog's procedure.
#include "demo_dialog.h"

namespace pv::win32::demo {

INT_PTR CALLBACK demoDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG: {
      const char* entries[] = {"PRODUCT.DBF", "PRODUCT1.DBF", "Matrix.xls", "Rechnung.xls", "Product.xls",
                               "FEHLER_1.log", "error.log"};
      for (const char* e : entries) SendDlgItemMessageA(dialog, 100, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(e));
      SendDlgItemMessageA(dialog, 100, LB_SETCURSEL, 1, 0);
      SetDlgItemTextA(dialog, 400, "PRODUCT1.DBF");
      SendDlgItemMessageA(dialog, 500, BM_SETCHECK, BST_CHECKED, 0);
      SendDlgItemMessageA(dialog, 502, BM_SETCHECK, BST_CHECKED, 0);
      return TRUE;
    }
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case IDOK:
        case IDCANCEL: EndDialog(dialog, LOWORD(wParam)); return TRUE;
        case 300: MessageBoxA(dialog, "Hello from the Win32 layer.", "Information", MB_ICONINFORMATION); return TRUE;
        case 100:
          if (HIWORD(wParam) == LBN_SELCHANGE) {
            char text[64] = "";
            LRESULT at = SendDlgItemMessageA(dialog, 100, LB_GETCURSEL, 0, 0);
            SendDlgItemMessageA(dialog, 100, LB_GETTEXT, static_cast<WPARAM>(at), reinterpret_cast<LPARAM>(text));
            SetDlgItemTextA(dialog, 400, text);
          }
          return TRUE;
        default: return FALSE;
      }
    default: return FALSE;
  }
}

}  // namespace pv::win32::demo
