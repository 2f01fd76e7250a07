#include "ask/ClumaAskApp.h"

#include "ask/CAskDlg.h"
#include "ask/ask_options.h"
#include "platform/net.h"

#include <cstdlib>
#include <string>
#include <vector>

ClumaAskApp theApp;

BEGIN_MESSAGE_MAP(ClumaAskApp, CWinApp)
END_MESSAGE_MAP()

BOOL ClumaAskApp::InitInstance() {
    CWinApp::InitInstance();
    std::vector<std::string> words;
    for (int i = 1; i < __argc; ++i) {
        words.emplace_back(__argv[i]);
    }
    std::string error;
    std::optional<AskOptions> options = ParseAskOptions(words, error);
    if (!options) {
        AfxMessageBox((error + ".\n\n" + AskUsage()).c_str(), MB_OK | MB_ICONWARNING);
        return FALSE;
    }
    if (!platform::StartNetworking(2, 2)) {
        AfxMessageBox("The network could not be started on this computer, so the presenter "
                      "cannot be asked from here.",
                      MB_OK | MB_ICONWARNING);
        return FALSE;
    }
    {
        CAskDlg dialog(*options);
        dialog.DoModal();
    }
    platform::StopNetworking();
    return FALSE;
}
