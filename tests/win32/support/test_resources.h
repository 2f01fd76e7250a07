// Resource ids of the framework tests' own resource script.
#pragma once

#define IDD_EDITS 101
#define IDD_CONTROLS 102
#define IDD_OWN_CLASS 103
#define IDD_UNREGISTERED_CLASS 104
#define IDD_MISSING 199

#define IDB_TEST_PICTURE 301

#define IDC_FIRST_EDIT 1001
#define IDC_SECOND_EDIT 1002
#define IDC_GO_BUTTON 1003
#define IDC_NODE_LIST 1010
#define IDC_SPARE_LIST 1011
#define IDC_ADDRESS 1012
#define IDC_DRAWN_BUTTON 1013
#define IDC_PICTURE 1014
#define IDC_PLAIN_TEXT 1015

#define TEST_DIALOG_CLASS "ClumaTestDlgClass"
#define NEVER_REGISTERED_CLASS "ClumaNeverRegistered"
