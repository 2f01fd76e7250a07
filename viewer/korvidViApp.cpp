#include "korvidViApp.h"

#include "CViewerWnd.h"
#include "discovery/subnet_probe.h"
#include "platform/net.h"
#include "platform/room_password.h"
#include "viewer/agent_name_query.h"
#include "viewer/viewer_options.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

korvidViApp theApp;

BEGIN_MESSAGE_MAP(korvidViApp, CWinApp)
END_MESSAGE_MAP()

korvidViApp::korvidViApp() = default;
korvidViApp::~korvidViApp() = default;

BOOL korvidViApp::InitInstance() {
    CWinApp::InitInstance();
    std::vector<std::string> words;
    for (int i = 1; i < __argc; ++i) {
        words.emplace_back(__argv[i]);
    }
    ViewerOptionsReading reading = ReadViewerOptions(words);
    for (const std::string& note : reading.notes) {
        std::fprintf(stderr, "%s\n", note.c_str());
    }
    std::fflush(stderr);
    m_networking = platform::StartNetworking(2, 2);
    std::string name;
    if (m_networking && !reading.options.address.empty()) {
        name = AskAgentName(reading.options.address, kProbePort, kFirstNameWaitMs);
    }
    const std::string password = ViewerPassword(platform::RoomPassword(), reading.options.password);
    m_window = std::make_unique<CViewerWnd>(reading.options, password, name);
    if (!m_window->CreateViewer(m_nCmdShow)) {
        return FALSE;
    }
    m_pMainWnd = m_window.get();
    return TRUE;
}

int korvidViApp::ExitInstance() {
    m_window.reset();
    if (m_networking) {
        platform::StopNetworking();
    }
    return CWinApp::ExitInstance();
}
