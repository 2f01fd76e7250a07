// Identifiers of ClumaDeck's resources and of the controls in its dialog templates.
// Shared by ClumaDeck.rc and the C++ sources; plain #defines only, so the resource
// compiler's preprocessor reads it too.
#pragma once

// Dialog templates.
#define IDD_CONSOLE 102       // the full-screen console (ClumaDeckDlg)
#define IDD_COLOUR_DIALOG 129 // "Select Colour" (CSelColorDlg)
#define IDD_SPLASH 182        // the borderless splash (CDiagLogo)
#define IDD_SET_IP 198        // "set ip" (CLocalIp)

// Menus. The console's template carries IDR_CONSOLE_MENU and drops it during start-up;
// IDR_SPARE_MENU is loaded by nothing.
#define IDR_CONSOLE_MENU 139
#define IDR_SPARE_MENU 193
#define ID_SPARE_COMMAND 32776 // the one item of IDR_SPARE_MENU; the console ignores it

// Bitmaps (24 bits per pixel).
#define IDB_SPLASH 186             // 500 x 400; the splash shows its top 376 rows
#define IDB_CAPTURE_PICTURE 188    // 80 x 63, shown by IDC_CAPTURE_PICTURE
#define IDB_DECK_PICTURE 190       // 70 x 55, shown by IDC_DECK_PICTURE
#define IDB_CONSOLE_BACKGROUND 195 // 1280 x 800, painted at the console's client origin

// Icons (48 x 48, 32-bit colour with alpha).
#define IDI_GLOBE 21    // the console's window icon
#define IDI_MONITOR 192 // a node in the node list, loaded at 32 x 32

// Cursors.
#define IDC_COLOUR_DRAG_CURSOR 132 // the colour dialog while a colour is dragged
#define IDC_PEN_CURSOR 150         // the annotation board; hot spot (1, 1) at the pen's tip

#ifndef IDC_STATIC
#define IDC_STATIC (-1) // labels that nothing addresses
#endif

// Controls of IDD_CONSOLE. Only the node list and the SetIP and help buttons are visible.
#define IDC_BUTTON1 1000
#define IDC_STATIC_TEXT 1001
#define IDC_BUTTON2 1002
#define IDC_NODE_LIST 1003
#define IDC_SPARE_LIST 1004
#define IDC_CUTSCREEN 1005
#define IDC_DRAWIMG_OWNERDRAW 1006 // the owner-drawn one of the two drawImg buttons
#define IDC_BUTTON3 1009
#define IDC_COLORSEL 1010
#define IDC_PASTE 1011
#define IDC_COPY 1012
#define IDC_DRAWIMG 1013
#define IDC_ZOOM 1014
#define IDC_EXIT 1015
#define IDC_CAPTURE_PICTURE 1016 // static picture IDB_CAPTURE_PICTURE; notifies clicks
#define IDC_DECK_PICTURE 1017    // static picture IDB_DECK_PICTURE
#define IDC_SETIP 1025
#define IDC_HELP_BUTTON 1026 // (IDC_HELP is one of the system's cursors)

// Controls of IDD_SET_IP (besides IDOK and IDCANCEL).
#define IDC_IP_ADDRESS 1024

// Controls of IDD_COLOUR_DIALOG (besides IDOK and IDCANCEL).
#define IDC_ADD_CUSTOM_COLOUR 3
#define IDC_HUE_EDIT 1103
#define IDC_SAT_EDIT 1104
#define IDC_LUM_EDIT 1105
#define IDC_RED_EDIT 1106
#define IDC_GREEN_EDIT 1107
#define IDC_BLUE_EDIT 1108
#define IDC_REF_EDIT 1112
