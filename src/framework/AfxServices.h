// Platform services that start-up turns on.
//
// AfxSocketInit starts Windows Sockets at version 1.1 and answers FALSE when that version is
// not available. It starts them once per process; later calls answer the first result. The
// sockets are not shut down again: threads that are never joined use them to the end.
//
// AfxEnableControlContainer allows dialogs to contain embedded controls. The application's
// dialogs hold only the system's common controls, so it only records the request.
#pragma once

#include <windows.h>

// WSADATA of <winsock2.h>, left incomplete here so that this header can follow <windows.h>.
struct WSAData;

BOOL AfxSocketInit(WSAData* lpwsaData = nullptr);

void AfxEnableControlContainer();
BOOL AfxControlContainerEnabled();
