// Starting and finding the programs the console works with: the remote viewer, the
// magnifier and the help page. Windows only; nothing here reports a failure of its own.
#pragma once

// How long the exit waits for one viewer window to handle WM_CLOSE before going on: a hung
// viewer must not keep the presenter's console from closing.
inline constexpr unsigned kViewerCloseWaitMs = 3000;

// Starts "korvidVi.exe" beside the program on the address, shown normally, without waiting
// for it. Callable from any thread.
void LaunchRemoteViewer(const char* address);

// Starts "magnify.exe" beside the program.
void StartMagnifier();

// Opens the product's help page in the default web browser.
void OpenHelpPage();

// Sends WM_CLOSE to every top-level window of the viewer's class, waiting for each at most
// kViewerCloseWaitMs.
void CloseAllViewers();
