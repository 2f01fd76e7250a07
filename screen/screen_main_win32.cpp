// cluma-screen.exe: serves the desktop of the session it runs in to the console this PC trusts.
// The launcher service starts it as the logged-on user; its lines go to standard output, which
// the launcher points at the screen server's log.
#include "agent/console_state.h"
#include "agent/service_control_win32.h"
#include "platform/room_password.h"
#include "screen/gdi_desktop_win32.h"
#include "screen/screen_options.h"
#include "screen/screen_server.h"
#include "screen/watch_trust.h"

#include <atomic>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include <windows.h>

int main(int argc, char** argv) {
    std::string error;
    ScreenOptions options =
        ParseScreenOptions(std::vector<std::string>(argv + 1, argv + argc), error);
    if (!error.empty()) {
        std::cerr << "cluma-screen: " << error << "\n\n" << ScreenUsage();
        return 64;
    }
    if (options.help) {
        std::cout << ScreenUsage();
        return 0;
    }
    // Pixels, not scaled points: the capture and the pointer then cover the whole screen.
    ::SetProcessDPIAware();
    std::ostringstream settingsLog;
    ServeSettings agent = ReadSettings(settingsLog);
    std::cout << settingsLog.str();
    WatchTrust trust(agent.pinnedConsole,
                     [] { return ReadConsoleState(DefaultConsoleStatePath()); });

    ScreenServerSettings settings;
    settings.port = options.port;
    settings.desktopName = agent.name;
    settings.password = ScreenPassword(platform::RoomPassword());
    settings.decide = [&trust](std::string_view peer) { return trust.Decide(peer); };
    GdiDesktop desktop;
    ScreenServer server(desktop, settings, std::cout);
    if (!server.Start(error)) {
        std::cout << "cluma-screen: " << error << std::endl;
        return 2;
    }
    std::cout << "cluma-screen: serving the screen as \"" << agent.name << "\" on port "
              << server.Port() << std::endl;
    static std::atomic<bool> stop{false};
    server.Run(stop); // until the process is ended: at log-off, or by the launcher
    return 0;
}
