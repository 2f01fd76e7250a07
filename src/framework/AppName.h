// The application's name as the framework derives it: the executable's file name without its
// extension ("C:\Program Files\ClumaDeck\ClumaDeck.exe" gives "ClumaDeck").
#pragma once

#include <string>
#include <string_view>

// The file name after the last backslash or slash, cut before its last dot (if any).
std::string AppNameFromModulePath(std::string_view modulePath);

// The full path of the running executable ("A" variant, any length).
std::string RunningModulePath();
