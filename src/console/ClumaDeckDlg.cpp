#include "console/ClumaDeckDlg.h"

#include "console/console_layout.h"
#include "console/remote_viewer.h"
#include "console/viewer_texts.h"
#include "controls/CSelColorDlg.h"
#include "discovery/CLocalIp.h"
#include "discovery/module_directory.h"
#include "discovery/node_list_refresh.h"
#include "discovery/node_registry.h"

#include <string>

namespace {

constexpr UINT_PTR kListRedrawTimer = 1; // every 100 ms: redraw the transparent list
constexpr COLORREF kNodeTextColour = RGB(240, 240, 240);
constexpr COLORREF kInitialPenColour = 0x00FF0000; // pure blue
constexpr int kInitialPenWidth = 5;
constexpr int kButtonCell = 80;
constexpr UINT kPositionFlagsAdded = SWP_NOMOVE | SWP_NOZORDER | SWP_NOOWNERZORDER; // 0x0206
constexpr UINT kSpareMenuCommand = 32776;
constexpr int kBoardTop = 100; // the console keeps the screen's top 100 pixels
constexpr const char* kBusyMessage = "Network is bussy now ,please try again";

} // namespace

BEGIN_MESSAGE_MAP(ClumaDeckDlg, CDialogEx)
ON_WM_PAINT()
ON_WM_QUERYDRAGICON()
ON_BN_CLICKED(IDC_BUTTON1, &ClumaDeckDlg::OnNoAction)
ON_BN_CLICKED(IDC_BUTTON2, &ClumaDeckDlg::OnNoAction)
ON_NOTIFY(NM_CLICK, IDC_NODE_LIST, &ClumaDeckDlg::OnNotifyNoAction)
ON_NOTIFY(NM_CLICK, IDC_SPARE_LIST, &ClumaDeckDlg::OnNotifyNoAction)
ON_BN_CLICKED(IDC_CUTSCREEN, &ClumaDeckDlg::OnNoAction)
ON_BN_CLICKED(IDC_DRAWIMG_OWNERDRAW, &ClumaDeckDlg::ToggleBoard)
ON_BN_CLICKED(IDC_COLORSEL, &ClumaDeckDlg::SelectPenColour)
ON_WM_WINDOWPOSCHANGED()
ON_WM_TIMER()
ON_NOTIFY(NM_HOVER, IDC_NODE_LIST, &ClumaDeckDlg::OnNotifyNoAction)
ON_WM_CHAR()
ON_WM_COPYDATA()
ON_BN_CLICKED(IDC_PASTE, &ClumaDeckDlg::OnNoAction)
ON_BN_CLICKED(IDC_COPY, &ClumaDeckDlg::OnNoAction)
ON_WM_LBUTTONDOWN()
ON_WM_LBUTTONUP()
ON_WM_LBUTTONDBLCLK()
ON_WM_MOUSEMOVE()
ON_WM_RBUTTONDOWN()
ON_WM_ERASEBKGND()
ON_WM_SETCURSOR()
ON_BN_CLICKED(IDC_DRAWIMG, &ClumaDeckDlg::ToggleBoard)
ON_BN_CLICKED(IDC_ZOOM, &ClumaDeckDlg::StartMagnifier)
ON_BN_CLICKED(IDC_EXIT, &ClumaDeckDlg::ExitConsole)
ON_STN_CLICKED(IDC_CAPTURE_PICTURE, &ClumaDeckDlg::OnNoAction)
ON_NOTIFY(NM_DBLCLK, IDC_NODE_LIST, &ClumaDeckDlg::OnNodeListDoubleClick)
ON_WM_CTLCOLOR()
ON_COMMAND(kSpareMenuCommand, &ClumaDeckDlg::OnNoAction)
ON_MESSAGE(WM_BOARDCLOSE, &ClumaDeckDlg::OnBoardClose)
ON_BN_CLICKED(IDC_SETIP, &ClumaDeckDlg::ShowLocalAddressDialog)
ON_BN_CLICKED(IDC_HELP_BUTTON, &ClumaDeckDlg::OpenHelpPage)
ON_WM_CREATE()
END_MESSAGE_MAP()

ClumaDeckDlg::ClumaDeckDlg() : CDialogEx(IDD_CONSOLE, nullptr) {}

ClumaDeckDlg::~ClumaDeckDlg() {
    // The rescan thread may still hold the lists: from now on they reach no window. Then
    // m_rescan's end stops the rescan and waits for the scan it may be in.
    m_lists->spareList.Detach();
    m_lists->nodeList.Detach();
}

void ClumaDeckDlg::DoDataExchange(CDataExchange* pDX) {
    CDialogEx::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_NODE_LIST, m_nodeList);
    DDX_Control(pDX, IDC_SPARE_LIST, m_spareList);
    DDX_Control(pDX, IDC_CUTSCREEN, m_cutScreen);
    DDX_Control(pDX, IDC_COPY, m_copy);
    DDX_Control(pDX, IDC_PASTE, m_paste);
    DDX_Control(pDX, IDC_DRAWIMG, m_drawImg);
    DDX_Control(pDX, IDC_ZOOM, m_zoom);
    DDX_Control(pDX, IDC_COLORSEL, m_colourSel);
    DDX_Control(pDX, IDC_EXIT, m_exit);
    DDX_Control(pDX, IDC_CAPTURE_PICTURE, m_capturePicture);
    DDX_Control(pDX, IDC_DECK_PICTURE, m_deckPicture);
    DDX_Control(pDX, IDC_SETIP, m_setIp);
    DDX_Control(pDX, IDC_HELP_BUTTON, m_help);
}

int ClumaDeckDlg::OnCreate(LPCREATESTRUCTA lpCreateStruct) {
    if (CDialogEx::OnCreate(lpCreateStruct) == -1) {
        return -1;
    }
    HICON icon = ::LoadIconW(AfxGetResourceHandle(), MAKEINTRESOURCEW(IDI_GLOBE));
    SetIcon(icon, TRUE);
    SetIcon(icon, FALSE);
    m_hIcon = icon; // also what the minimised console draws and the drag query answers
    return 0;
}

// Places a visible image button in its 80 x 80 cell at the top of the screen, then gives it
// its strip from beside the program. A path that does not fit 260 characters gives no image.
void ClumaDeckDlg::PlaceImageButton(PngButton& button, int x, const char* fileName) {
    button.MoveWindow(x, 0, kButtonCell, kButtonCell, TRUE);
    char directory[kPathBufferSize];
    GetModuleDirectory(directory);
    std::string path = std::string(directory) + "\\" + fileName;
    WCHAR widePath[MAX_PATH] = {};
    if (path.size() >= MAX_PATH ||
        ::MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, widePath, MAX_PATH) == 0) {
        widePath[0] = L'\0';
    }
    button.LoadPngImage(widePath);
}

BOOL ClumaDeckDlg::OnInitDialog() {
    CDialogEx::OnInitDialog();
    m_hBackground = ::LoadBitmapA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDB_CONSOLE_BACKGROUND));

    m_nodeImages.Create(32, 32, ILC_COLOR32, 1, 1);
    HICON nodeIcon = static_cast<HICON>(
        ::LoadImageA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDI_MONITOR), IMAGE_ICON, 32, 32, 0));
    m_nodeImages.Add(nodeIcon);

    m_nodeList.SetTextColor(kNodeTextColour);
    m_nodeList.SetTextBkColor(CLR_NONE);
    m_nodeList.SetBkColor(CLR_NONE);
    m_nodeList.SetImageList(&m_nodeImages, LVSIL_NORMAL);
    ConsoleLayout layout =
        LayOutConsole(::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN));
    m_nodeList.MoveWindow(layout.listX, layout.listY, layout.listWidth, layout.listHeight, TRUE);
    m_spareList.SetImageList(&m_nodeImages, LVSIL_NORMAL);

    SetMenu(nullptr);
    m_penColour = kInitialPenColour;
    m_nPenWidth = kInitialPenWidth;

    PlaceImageButton(m_setIp, layout.setIpX, "ipSet.PNG");
    PlaceImageButton(m_help, layout.helpX, "help.png");

    SetParent(GetDesktopWindow());
    ShowWindow(SW_MAXIMIZE);
    SetTimer(kListRedrawTimer, 100);

    m_lists->spareList.Attach(m_spareList.GetSafeHwnd());
    m_lists->nodeList.Attach(m_nodeList.GetSafeHwnd());
    RefreshNodeList(m_lists->spareList, m_lists->nodeList, TheNodeRegistry());
    m_rescan = StartRescanThread(m_lists);
    return TRUE;
}

void ClumaDeckDlg::OnPaint() {
    if (IsIconic()) {
        CPaintDC dc(this);
        SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.GetSafeHdc()), 0);
        CRect client;
        GetClientRect(&client);
        int x = (client.Width() - ::GetSystemMetrics(SM_CXICON) + 1) / 2;
        int y = (client.Height() - ::GetSystemMetrics(SM_CYICON) + 1) / 2;
        dc.DrawIcon(x, y, m_hIcon);
        return;
    }
    CPaintDC dc(this);
    CCompatibleDC memory(&dc);
    HBITMAP previous = memory.SelectObject(m_hBackground);
    CRect window;
    GetWindowRect(&window);
    dc.BitBlt(0, 0, window.Width(), window.Height(), &memory, 0, 0, SRCCOPY);
    memory.SelectObject(previous);
    CDialogEx::OnPaint();
}

HCURSOR ClumaDeckDlg::OnQueryDragIcon() {
    return static_cast<HCURSOR>(m_hIcon);
}

void ClumaDeckDlg::OnNoAction() {}

void ClumaDeckDlg::OnNotifyNoAction(NMHDR*, LRESULT* pResult) {
    *pResult = 0;
}

void ClumaDeckDlg::OnWindowPosChanged(WINDOWPOS* lpwndpos) {
    lpwndpos->flags |= kPositionFlagsAdded;
    CDialogEx::OnWindowPosChanged(lpwndpos);
}

void ClumaDeckDlg::OnTimer(UINT_PTR) {
    m_nodeList.SendMessage(WM_ERASEBKGND, 0, 0);
    m_nodeList.SendMessage(WM_PAINT, 0, 0);
    UpdateWindow();
}

void ClumaDeckDlg::OnChar(UINT nChar, UINT nRepCnt, UINT nFlags) {
    CDialogEx::OnChar(nChar, nRepCnt, nFlags);
}

BOOL ClumaDeckDlg::OnCopyData(CWnd*, COPYDATASTRUCT*) {
    return TRUE;
}

void ClumaDeckDlg::OnLButtonDown(UINT nFlags, CPoint point) {
    CDialogEx::OnLButtonDown(nFlags, point);
}

void ClumaDeckDlg::OnLButtonUp(UINT nFlags, CPoint point) {
    CDialogEx::OnLButtonUp(nFlags, point);
}

void ClumaDeckDlg::OnLButtonDblClk(UINT nFlags, CPoint point) {
    CDialogEx::OnLButtonDblClk(nFlags, point);
}

void ClumaDeckDlg::OnMouseMove(UINT nFlags, CPoint point) {
    CDialogEx::OnMouseMove(nFlags, point);
}

void ClumaDeckDlg::OnRButtonDown(UINT nFlags, CPoint point) {
    CDialogEx::OnRButtonDown(nFlags, point);
}

BOOL ClumaDeckDlg::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message) {
    return CDialogEx::OnSetCursor(pWnd, nHitTest, message);
}

void ClumaDeckDlg::OnNodeListDoubleClick(NMHDR*, LRESULT* pResult) {
    ActivateNode();
    *pResult = 0;
}

void ClumaDeckDlg::ActivateNode() {
    if (!m_activationGuard.Accept(::GetTickCount())) {
        return;
    }
    int item = m_nodeList.GetNextItem(-1, LVNI_SELECTED);
    if (item < 0) {
        return;
    }
    char name[sizeof NodeRecord{}.name] = {};
    m_nodeList.GetItemText(item, 0, name, sizeof name);
    std::string title = ViewerWindowTitle(name);
    if (HWND viewer = ::FindWindowA(nullptr, title.c_str())) {
        if (::IsWindow(viewer)) {
            ::SetForegroundWindow(viewer);
        }
        return;
    }
    if (auto node = TheNodeRegistry().FindByName(name)) {
        LaunchRemoteViewer(node->address);
    } else {
        MessageBox(kBusyMessage, nullptr, MB_OK);
    }
}

void ClumaDeckDlg::StartMagnifier() {
    ::StartMagnifier();
}

void ClumaDeckDlg::ExitConsole() {
    RescanEnabled = false;
    EndDialog(0);
    CloseAllViewers();
}

void ClumaDeckDlg::OpenHelpPage() {
    ::OpenHelpPage();
}

void ClumaDeckDlg::ToggleBoard() {
    if (m_bBoardOpen == 0) {
        m_bBoardOpen = 1;
        CRect console;
        GetWindowRect(&console);
        OpenBoard(console.right, console.bottom);
    } else {
        CloseBoard();
    }
}

void ClumaDeckDlg::OpenBoard(int right, int bottom) {
    auto board = std::make_unique<CPaintBoardWnd>();
    board->m_hOwner = m_hWnd;
    board->m_penColour = m_penColour;
    board->m_nPenWidth = m_nPenWidth;
    if (!board->CreateBoard(RECT{0, kBoardTop, right, bottom})) {
        // No window, no board: the next drawImg command tries again.
        m_bBoardOpen = 0;
        return;
    }
    m_pBoard = std::move(board);
    m_pBoard->ShowWindow(SW_SHOW);
    ::SetCursorPos(::GetSystemMetrics(SM_CXSCREEN) / 2, ::GetSystemMetrics(SM_CYSCREEN) / 2);
}

void ClumaDeckDlg::CloseBoard() {
    if (m_bBoardOpen == 0) {
        return;
    }
    m_bBoardOpen = 0;
    if (m_pBoard) {
        m_pBoard->DestroyWindow();
        m_pBoard.reset();
    }
    RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

// A new colour applies from the next opening of the board: an open board is closed first.
void ClumaDeckDlg::SelectPenColour() {
    CloseBoard();
    CSelColorDlg dialog;
    if (dialog.DoModal() == IDOK) {
        m_penColour = PenColourFrom(dialog.m_byNewRed, dialog.m_byNewGreen, dialog.m_byNewBlue);
    }
}

LRESULT ClumaDeckDlg::OnBoardClose(WPARAM, LPARAM) {
    CloseBoard();
    return 0;
}

void ClumaDeckDlg::ShowLocalAddressDialog() {
    ::ShowLocalAddressDialog();
}
