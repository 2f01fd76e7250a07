// The viewer's command line: ADDRESS /password P /encoding W, options in any order.
//
// The console starts the viewer as "korvidVi.exe ADDRESS /password fernway_417 /encoding ultra2".
// Option names are matched without regard to case and may start with '/' or '-'. A word that is
// no option is the address (the first such word; later ones are noted and ignored). Unknown
// options and options without their value are noted, one line each for standard error, and
// otherwise ignored: a viewer started by a newer console must still show the screen.
#pragma once

#include <string>
#include <vector>

struct ViewerOptions {
    std::string address; // empty when the command line names no PC
    std::string password;
    std::string encoding;
};

struct ViewerOptionsReading {
    ViewerOptions options;
    std::vector<std::string> notes; // lines for standard error, without the line end
};

ViewerOptionsReading ReadViewerOptions(const std::vector<std::string>& words);

// The password the viewer gives the server: the room password set at install when there is
// one (it replaces the fixed password that every console passes), else the command line's.
inline std::string ViewerPassword(const std::string& roomPassword,
                                  const std::string& commandLinePassword) {
    return roomPassword.empty() ? commandLinePassword : roomPassword;
}
