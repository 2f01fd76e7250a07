// AfxMessageBox: the application's message box.
//
// The caption is the application's name (AfxGetAppName: the executable's name without its
// extension). The box is owned by the thread's active window (its last active popup), so it is
// modal over the dialog the user works in; a thread without one shows it unowned. Without an
// icon in nType, an OK or OK/Cancel box gets the exclamation icon and a Yes/No or
// Yes/No/Cancel box the question icon. Answers the button chosen (IDOK, IDYES, ...), 0 when
// the box could not be shown.
#pragma once

#include <windows.h>

int AfxMessageBox(LPCSTR lpszText, UINT nType = MB_OK, UINT nIDHelp = 0);

// The icon AfxMessageBox adds to a box type that names none.
UINT AfxMessageBoxStyle(UINT nType);
