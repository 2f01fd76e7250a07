// The push request listener's thread, as start-up starts it, once, after the single-instance
// check and before the splash:
//
//     _beginthread(PushListenerThread, 0, nullptr);
//
// LogDirectory must hold the day log's directory before then.
#pragma once

// Starts the viewer on a node's address when the presenter answers Yes.
using PushViewerLauncher = void (*)(const char* address);

// Sets what Yes calls; until something is set, Yes starts nothing. Start-up sets the remote
// viewer control's LaunchRemoteViewer here before it starts the thread.
void SetPushViewerLauncher(PushViewerLauncher launch);

// The thread entry: Winsock 2.2, the day log entry in LogDirectory, then the listener on all
// local addresses, port 12341, asking in a message box. The argument is ignored. Ends only
// when its socket fails; nobody waits for it.
void PushListenerThread(void* ignored);
