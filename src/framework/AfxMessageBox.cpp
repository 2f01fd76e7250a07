#include "framework/AfxMessageBox.h"

#include "framework/CDialog.h"
#include "framework/CWinApp.h"

UINT AfxMessageBoxStyle(UINT nType) {
    if ((nType & MB_ICONMASK) != 0) {
        return nType;
    }
    switch (nType & MB_TYPEMASK) {
    case MB_OK:
    case MB_OKCANCEL:
        return nType | MB_ICONEXCLAMATION;
    case MB_YESNO:
    case MB_YESNOCANCEL:
        return nType | MB_ICONQUESTION;
    default:
        return nType;
    }
}

int AfxMessageBox(LPCSTR lpszText, UINT nType, UINT) {
    return ::MessageBoxA(CDialog::GetSafeOwner(nullptr), lpszText != nullptr ? lpszText : "",
                         AfxGetAppName(), AfxMessageBoxStyle(nType));
}
