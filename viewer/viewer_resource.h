// Ids of korvidVi.exe: the window menu's commands (multiples of 16 below 0xF000, as the system
// menu requires) and the window's controls.
#pragma once

#define IDM_TRY_AGAIN 0x0010
#define IDM_ACTUAL_SIZE 0x0020
#define IDM_VIEW_ONLY 0x0030
#define IDM_CTRL_ALT_DEL 0x0040

#define IDC_STATUS_TEXT 1001
#define IDC_TRY_AGAIN 1002
