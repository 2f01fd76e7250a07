#include "framework/CEdit.h"

IMPLEMENT_DYNAMIC(CEdit, CWnd)

void CEdit::GetSel(int& nStartChar, int& nEndChar) const {
    DWORD start = 0;
    DWORD end = 0;
    SendMessage(EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    nStartChar = static_cast<int>(start);
    nEndChar = static_cast<int>(end);
}

void CEdit::SetSel(int nStartChar, int nEndChar, BOOL bNoScroll) {
    SendMessage(EM_SETSEL, static_cast<WPARAM>(nStartChar), nEndChar);
    if (!bNoScroll) {
        SendMessage(EM_SCROLLCARET);
    }
}

void CEdit::ReplaceSel(LPCSTR lpszNewText, BOOL bCanUndo) {
    SendMessage(EM_REPLACESEL, bCanUndo, reinterpret_cast<LPARAM>(lpszNewText ? lpszNewText : ""));
}

void CEdit::LimitText(int nChars) {
    SendMessage(EM_LIMITTEXT, static_cast<WPARAM>(nChars));
}
