#include "app/CDiagLogo.h"

#include "app/console_launch.h"
#include "app/first_scan.h"
#include "app/splash_geometry.h"
#include "discovery/subnet_probe.h"
#include "resource.h"

namespace {

constexpr UINT_PTR kRepaintTimer = 1;  // every 500 ms
constexpr UINT_PTR kHandOverTimer = 2; // every 2 s: start the worker, then test for the scan

DWORD WINAPI FirstScanWorker(LPVOID) {
    ScanSubnet();
    TheFirstScanHandOver().MarkDone();
    return 1;
}

} // namespace

BEGIN_MESSAGE_MAP(CDiagLogo, CDialogEx)
ON_WM_CREATE()
ON_WM_TIMER()
ON_WM_PAINT()
END_MESSAGE_MAP()

CDiagLogo::CDiagLogo() : CDialogEx(IDD_SPLASH, nullptr) {}

// The picture stays loaded to the end of the process; the splash object ends before it.
CDiagLogo::~CDiagLogo() = default;

int CDiagLogo::OnCreate(LPCREATESTRUCTA lpCreateStruct) {
    return CDialogEx::OnCreate(lpCreateStruct) == -1 ? -1 : 0;
}

BOOL CDiagLogo::OnInitDialog() {
    CDialogEx::OnInitDialog();
    m_hSplashPicture = ::LoadBitmapA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDB_SPLASH));
    SetTimer(kHandOverTimer, 2000);
    SetTimer(kRepaintTimer, 500);
    SplashPlacement place =
        PlaceSplash(::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN));
    MoveWindow(place.x, place.y, place.width, place.height, TRUE);
    return TRUE;
}

void CDiagLogo::OnPaint() {
    CPaintDC dc(this);
    CCompatibleDC memory(&dc);
    CRect window;
    GetWindowRect(&window);
    HBITMAP previous = memory.SelectObject(m_hSplashPicture);
    dc.BitBlt(0, 0, window.Width(), window.Height(), &memory, 0, 0, SRCCOPY);
    memory.SelectObject(previous);
}

void CDiagLogo::OnTimer(UINT_PTR nIDEvent) {
    if (nIDEvent == kRepaintTimer) {
        UpdateWindow();
        return;
    }
    if (nIDEvent != kHandOverTimer) {
        return;
    }
    TheFirstScanHandOver().StartOnce([] {
        // A worker that cannot be started leaves the splash open; nothing is reported.
        if (HANDLE worker = ::CreateThread(nullptr, 0, FirstScanWorker, nullptr, 0, nullptr)) {
            ::CloseHandle(worker);
        }
    });
    bool handedOver = TheFirstScanHandOver().HandOverIfDone([this] {
        EndDialog(1);
        KillTimer(kHandOverTimer);
        KillTimer(kRepaintTimer);
    });
    if (handedOver) {
        HandOverToConsole();
    }
}

void CDiagLogo::HandOverToConsole() {
    // The splash's own modal loop, and with it start-up, resumes only after the console
    // has closed.
    RunConsole();
}
