// The program's own start-up when Windows Sockets cannot start: ClumaDeckApp::InitInstance says
// so in a message box that carries the application's name, and ends the program. The test
// program's import of WSAStartup is pointed at one that refuses, so the program's own path runs.
#include <gtest/gtest.h>

#include <windows.h> // and with it winsock.h, for WSAStartup's declaration

#include <cstring>

#include "app/ClumaDeckApp.h"
#include "support/message_box_watcher.h"

namespace {

// This test program is cluma_startup_failure_tests.exe: its application name drops the extension.
constexpr char kAppName[] = "cluma_startup_failure_tests";

int PASCAL RefusingWsaStartup(WORD, LPWSADATA) {
    return WSASYSNOTREADY;
}

// Points this program's import of `name` from `dll` at `replacement`; false when there is no
// such import.
bool ReplaceImport(const char* dll, const char* name, void* replacement) {
    auto* base = reinterpret_cast<BYTE*>(::GetModuleHandleA(nullptr));
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& imports =
        nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    for (auto* d = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress);
         d->Name != 0; ++d) {
        if (::lstrcmpiA(reinterpret_cast<const char*>(base + d->Name), dll) != 0) {
            continue;
        }
        const auto* names = reinterpret_cast<const IMAGE_THUNK_DATA*>(base + d->OriginalFirstThunk);
        auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + d->FirstThunk);
        for (; names->u1.AddressOfData != 0; ++names, ++slots) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) {
                continue;
            }
            const auto* byName =
                reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
            if (std::strcmp(reinterpret_cast<const char*>(byName->Name), name) != 0) {
                continue;
            }
            DWORD protection = 0;
            ::VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, PAGE_READWRITE,
                             &protection);
            slots->u1.Function = reinterpret_cast<ULONG_PTR>(replacement);
            ::VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, protection,
                             &protection);
            return true;
        }
    }
    return false;
}

TEST(StartUp, WithoutSocketsTheProgramSaysSoAndEnds) {
    ASSERT_TRUE(
        ReplaceImport("ws2_32.dll", "WSAStartup", reinterpret_cast<void*>(&RefusingWsaStartup)));
    MessageBoxWatcher watcher(kAppName, IDOK);
    const BOOL goOn = theApp.InitInstance();
    watcher.Join();
    EXPECT_FALSE(goOn) << "the program ends";
    ASSERT_TRUE(watcher.Seen()) << "no box titled " << kAppName;
    EXPECT_EQ(watcher.Text(), "Sockets Could Not Be Initialized");
    EXPECT_EQ(watcher.Icon(), ::LoadIconA(nullptr, IDI_EXCLAMATION)) << "an OK box's icon";
}

} // namespace
