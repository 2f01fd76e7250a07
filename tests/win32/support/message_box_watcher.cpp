#include "support/message_box_watcher.h"

#include <chrono>

namespace {

constexpr auto kWaitForBox = std::chrono::seconds(10);
constexpr DWORD kPollMilliseconds = 20;
constexpr int kMessageTextId = 0xFFFF; // the message box's static text

std::string WindowText(HWND hWnd) {
    char text[512] = {};
    ::GetWindowTextA(hWnd, text, sizeof text);
    return text;
}

BOOL CALLBACK FindIcon(HWND child, LPARAM found) {
    char className[16] = {};
    ::GetClassNameA(child, className, sizeof className);
    if (::lstrcmpiA(className, "Static") == 0 &&
        (::GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
        *reinterpret_cast<HICON*>(found) =
            reinterpret_cast<HICON>(::SendMessageA(child, STM_GETICON, 0, 0));
        return FALSE;
    }
    return TRUE;
}

} // namespace

MessageBoxWatcher::MessageBoxWatcher(std::string caption, int answer,
                                     std::function<void()> beforeAnswer)
    : m_caption(std::move(caption)), m_answer(answer), m_beforeAnswer(std::move(beforeAnswer)),
      m_thread([this] { Watch(); }) {}

MessageBoxWatcher::~MessageBoxWatcher() {
    Join();
}

void MessageBoxWatcher::Join() {
    if (m_thread.joinable()) {
        m_thread.join();
    }
}

void MessageBoxWatcher::Watch() {
    const auto deadline = std::chrono::steady_clock::now() + kWaitForBox;
    HWND box = nullptr;
    while (box == nullptr && std::chrono::steady_clock::now() < deadline) {
        box = ::FindWindowA("#32770", m_caption.c_str());
        if (box == nullptr) {
            ::Sleep(kPollMilliseconds);
        }
    }
    if (box == nullptr) {
        return;
    }
    m_seen = true;
    m_title = WindowText(box);
    m_text = WindowText(::GetDlgItem(box, kMessageTextId));
    m_owner = ::GetWindow(box, GW_OWNER);
    ::EnumChildWindows(box, FindIcon, reinterpret_cast<LPARAM>(&m_icon));
    if (m_beforeAnswer) {
        m_beforeAnswer();
    }
    ::PostMessageA(box, WM_COMMAND, MAKEWPARAM(m_answer, BN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(box, m_answer)));
}
