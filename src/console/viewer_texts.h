// How the console names, starts and finds the remote viewer program beside it.
#pragma once

#include <string>

inline constexpr const char* kViewerFileName = "korvidVi.exe";
// Follows the address on the viewer's command line; begins with one space.
inline constexpr const char* kViewerFixedArguments = " /password fernway_417 /encoding ultra2";
// Every viewer window has this class; compared whole and case-sensitively.
inline constexpr const char* kViewerWindowClass = "VNCMDI_Window";
inline constexpr const char* kMagnifierFileName = "magnify.exe";
// The product's own help page.
inline constexpr const char* kHelpPageAddress =
    "https://www.clumadeck.com/velmora/installAndSet.html";

// The viewer's parameters: the address, then the fixed arguments. Any address text fits.
std::string ViewerParameters(const char* address);

// The title of the viewer window showing a node: its name and exactly one space.
std::string ViewerWindowTitle(const char* nodeName);

// Whether a window class name is the viewer's, compared as whole byte strings.
bool IsViewerWindowClass(const char* className);
