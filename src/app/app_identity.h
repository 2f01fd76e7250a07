// Names the application is known by on the system.
#pragma once

// Without a global-namespace prefix: one instance per logged-on user's desktop.
inline constexpr const char* kSingleInstanceMutexName =
    "QuorvaneC4E81A37-92B5-4d0e-A6F3-58B27D9E0C41";
inline constexpr const char* kConsoleWindowClass = "CLumaDeckDlg";
inline constexpr const char* kRegistryKey = "Local AppWizard-Generated Applications";
inline constexpr const char* kSocketsFailedMessage = "Sockets Could Not Be Initialized";
