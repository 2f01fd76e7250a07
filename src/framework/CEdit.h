// CEdit: a single- or multi-line edit control.
#pragma once

#include "framework/CWnd.h"

class CEdit : public CWnd {
    DECLARE_DYNAMIC(CEdit)
public:
    void GetSel(int& nStartChar, int& nEndChar) const;
    // Selects the characters; unless bNoScroll, scrolls the caret into view.
    void SetSel(int nStartChar, int nEndChar, BOOL bNoScroll = FALSE);
    void ReplaceSel(LPCSTR lpszNewText, BOOL bCanUndo = FALSE);
    void LimitText(int nChars = 0);
};
