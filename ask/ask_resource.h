// Identifiers of ClumaAsk.exe's resources and of the controls in its dialog template. Plain
// #defines only, so the resource compiler's preprocessor reads it too.
#pragma once

#define IDI_ASK 1   // the program's icon: the lowest icon id, so Explorer shows it too
#define IDD_ASK 100 // the student's window (CAskDlg)

// Controls of IDD_ASK besides IDOK (Send) and IDCANCEL (Cancel, Close once Send is pressed).
#define IDC_ASK_ICON 1000
#define IDC_ASK_WHAT 1001
#define IDC_ASK_REASON 1002
#define IDC_ASK_STATUS 1003

#ifndef IDC_STATIC
#define IDC_STATIC (-1) // labels that nothing addresses
#endif
