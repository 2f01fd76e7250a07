// Starting a program as the user logged on at the console, on that user's desktop: what a
// service (which runs in session 0 and sees no user's desktop) does to put the screen server
// where the screen is.
#pragma once

#include "platform/owned_handle.h"

#include <string>

#include <windows.h>

// The session at the physical console; kNoSession when there is none (between sessions).
inline constexpr DWORD kNoSession = 0xFFFFFFFF;
DWORD ActiveConsoleSession();

// Starts commandLine as the user of session on winsta0\default, in folder, its standard output
// and error going to output (an inheritable handle; nullptr: nowhere). Returns the process, or
// an empty handle with error set (no user is logged on in that session, for example).
OwnedHandle StartInSession(DWORD session, const std::string& commandLine, const std::string& folder,
                           HANDLE output, std::string& error);
