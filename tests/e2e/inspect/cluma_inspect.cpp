// cluma-inspect: looks at the windows of a Wine desktop the way a user sees them and sends
// them commands, for the end-to-end tests. It runs once per test run and answers commands
// read line by line from standard input; each answer ends with a line holding only ".".
//
//   windows                    top-level windows: hwnd pid visible class title rect
//   children HWND              child windows: hwnd id visible class text rect
//   text HWND                  the window's text
//   listitems HWND             a list view's items: index selected text rect
//   select HWND INDEX          selects one list-view item (and no other)
//   insertitem HWND INDEX TEXT inserts an item with image 0 (TEXT: the rest of the line)
//   command HWND ID            posts WM_COMMAND (BN_CLICKED) for control ID to HWND
//   post HWND MSG WPARAM LPARAM   posts a message
//   send HWND MSG WPARAM LPARAM   sends a message and prints the result
//   close HWND                 posts WM_CLOSE
//   move HWND X Y W H          moves and sizes a top-level window on the screen
//   kill PID                   ends a Windows process
//   copydata HWND TEXT         sends WM_COPYDATA carrying the text and prints the answer
//   ipaddress HWND             an address control's four fields (blank ones as 0)
//   foreground                 the foreground window
//   at X Y                     the top-level window a click at the screen point would reach
//   client HWND                the client area's rectangle on the screen
//   style HWND                 the window's style and extended style, in hexadecimal
//   state HWND                 whether it takes input: enabled visible foreground painted,
//                              1 or 0 each (foreground: its top-level window is the foreground
//                              window; painted: neither it nor its top-level window waits to
//                              be painted)
//   at X Y                     the window under a screen point and its top-level window
//   processes NAME             the ids of the running processes whose program is NAME
//   quit
//
// Texts are printed as their bytes with \\, \t, \r, \n and other control bytes escaped.
#include <windows.h>

#include <commctrl.h>
#include <tlhelp32.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::string Escape(const std::string& text) {
    std::string out;
    for (unsigned char c : text) {
        if (c == '\\') {
            out += "\\\\";
        } else if (c < 0x20 || c == 0x7F) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", c);
            out += hex;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

std::string WindowText(HWND window) {
    char text[1024] = {};
    DWORD_PTR length = 0;
    // A hung window must not hang the inspector.
    if (!::SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text),
                               SMTO_ABORTIFHUNG, 2000, &length)) {
        return std::string();
    }
    return std::string(text, std::strlen(text));
}

std::string ClassOf(HWND window) {
    char name[256] = {};
    ::GetClassNameA(window, name, sizeof name);
    return name;
}

std::string RectText(const RECT& r) {
    std::ostringstream out;
    out << r.left << "," << r.top << "," << r.right << "," << r.bottom;
    return out.str();
}

std::string HandleText(HWND window) {
    std::ostringstream out;
    out << reinterpret_cast<std::uintptr_t>(window);
    return out.str();
}

HWND ParseHandle(const std::string& text) {
    return reinterpret_cast<HWND>(
        static_cast<std::uintptr_t>(std::strtoull(text.c_str(), nullptr, 10)));
}

BOOL CALLBACK PrintTopLevel(HWND window, LPARAM) {
    DWORD pid = 0;
    ::GetWindowThreadProcessId(window, &pid);
    RECT rect{};
    ::GetWindowRect(window, &rect);
    std::cout << HandleText(window) << "\t" << pid << "\t" << (::IsWindowVisible(window) ? 1 : 0)
              << "\t" << Escape(ClassOf(window)) << "\t" << Escape(WindowText(window)) << "\t"
              << RectText(rect) << "\n";
    return TRUE;
}

BOOL CALLBACK PrintChild(HWND window, LPARAM) {
    RECT rect{};
    ::GetWindowRect(window, &rect);
    std::cout << HandleText(window) << "\t" << ::GetDlgCtrlID(window) << "\t"
              << (::IsWindowVisible(window) ? 1 : 0) << "\t" << Escape(ClassOf(window)) << "\t"
              << Escape(WindowText(window)) << "\t" << RectText(rect) << "\n";
    return TRUE;
}

// List-view texts live in the owner's process: the request and its buffer are placed there.
class RemoteBuffer {
public:
    RemoteBuffer(HWND window, SIZE_T size) {
        DWORD pid = 0;
        ::GetWindowThreadProcessId(window, &pid);
        process_ =
            ::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
        if (process_ != nullptr) {
            address_ = ::VirtualAllocEx(process_, nullptr, size, MEM_COMMIT, PAGE_READWRITE);
        }
    }
    ~RemoteBuffer() {
        if (address_ != nullptr) {
            ::VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
        }
        if (process_ != nullptr) {
            ::CloseHandle(process_);
        }
    }
    RemoteBuffer(const RemoteBuffer&) = delete;
    RemoteBuffer& operator=(const RemoteBuffer&) = delete;
    bool Ok() const { return address_ != nullptr; }
    char* At(SIZE_T offset) const { return static_cast<char*>(address_) + offset; }
    bool Write(SIZE_T offset, const void* data, SIZE_T size) const {
        return ::WriteProcessMemory(process_, At(offset), data, size, nullptr) != 0;
    }
    bool Read(SIZE_T offset, void* data, SIZE_T size) const {
        return ::ReadProcessMemory(process_, At(offset), data, size, nullptr) != 0;
    }

private:
    HANDLE process_ = nullptr;
    void* address_ = nullptr;
};

void PrintListItems(HWND list) {
    int count = static_cast<int>(::SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    const SIZE_T textOffset = 512;
    const SIZE_T textSize = 512;
    RemoteBuffer remote(list, textOffset + textSize);
    if (!remote.Ok()) {
        std::cout << "error cannot reach the list's process\n";
        return;
    }
    for (int i = 0; i < count; ++i) {
        LVITEMA item{};
        item.mask = LVIF_TEXT;
        item.iSubItem = 0;
        item.pszText = remote.At(textOffset);
        item.cchTextMax = static_cast<int>(textSize);
        remote.Write(0, &item, sizeof item);
        ::SendMessageA(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(i),
                       reinterpret_cast<LPARAM>(remote.At(0)));
        char text[512] = {};
        remote.Read(textOffset, text, sizeof text - 1);
        RECT rect{};
        rect.left = LVIR_BOUNDS;
        remote.Write(0, &rect, sizeof rect);
        ::SendMessageA(list, LVM_GETITEMRECT, static_cast<WPARAM>(i),
                       reinterpret_cast<LPARAM>(remote.At(0)));
        remote.Read(0, &rect, sizeof rect);
        UINT state = static_cast<UINT>(
            ::SendMessageA(list, LVM_GETITEMSTATE, static_cast<WPARAM>(i), LVIS_SELECTED));
        // Item rectangles are in the list's client coordinates; print them on the screen.
        POINT topLeft{rect.left, rect.top}, bottomRight{rect.right, rect.bottom};
        ::ClientToScreen(list, &topLeft);
        ::ClientToScreen(list, &bottomRight);
        RECT screen{topLeft.x, topLeft.y, bottomRight.x, bottomRight.y};
        std::cout << i << "\t" << ((state & LVIS_SELECTED) ? 1 : 0) << "\t" << Escape(text) << "\t"
                  << RectText(screen) << "\n";
    }
}

void SelectListItem(HWND list, int index) {
    RemoteBuffer remote(list, sizeof(LVITEMA));
    if (!remote.Ok()) {
        std::cout << "error cannot reach the list's process\n";
        return;
    }
    LVITEMA item{};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = 0;
    remote.Write(0, &item, sizeof item);
    ::SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1),
                   reinterpret_cast<LPARAM>(remote.At(0)));
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    remote.Write(0, &item, sizeof item);
    ::SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(index),
                   reinterpret_cast<LPARAM>(remote.At(0)));
}

void InsertListItem(HWND list, int index, const std::string& text) {
    RemoteBuffer remote(list, 1024);
    if (!remote.Ok()) {
        std::cout << "error cannot reach the list's process\n";
        return;
    }
    const SIZE_T textOffset = 256;
    LVITEMA item{};
    item.mask = LVIF_TEXT | LVIF_IMAGE;
    item.iItem = index;
    item.pszText = remote.At(textOffset);
    remote.Write(textOffset, text.c_str(), text.size() + 1);
    remote.Write(0, &item, sizeof item);
    std::cout << ::SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(remote.At(0)))
              << "\n";
}

void Run(const std::string& line) {
    std::istringstream words(line);
    std::string verb;
    words >> verb;
    if (verb == "windows") {
        ::EnumWindows(PrintTopLevel, 0);
    } else if (verb == "children") {
        std::string handle;
        words >> handle;
        ::EnumChildWindows(ParseHandle(handle), PrintChild, 0);
    } else if (verb == "text") {
        std::string handle;
        words >> handle;
        std::cout << Escape(WindowText(ParseHandle(handle))) << "\n";
    } else if (verb == "listitems") {
        std::string handle;
        words >> handle;
        PrintListItems(ParseHandle(handle));
    } else if (verb == "select") {
        std::string handle;
        int index = 0;
        words >> handle >> index;
        SelectListItem(ParseHandle(handle), index);
    } else if (verb == "insertitem") {
        std::string handle;
        int index = 0;
        words >> handle >> index;
        std::string text;
        std::getline(words, text);
        if (!text.empty() && text[0] == ' ') {
            text.erase(0, 1);
        }
        InsertListItem(ParseHandle(handle), index, text);
    } else if (verb == "command") {
        std::string handle;
        int id = 0;
        words >> handle >> id;
        HWND window = ParseHandle(handle);
        ::PostMessageA(window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                       reinterpret_cast<LPARAM>(::GetDlgItem(window, id)));
    } else if (verb == "post" || verb == "send") {
        std::string handle;
        unsigned long long message = 0, wParam = 0, lParam = 0;
        words >> handle >> message >> wParam >> lParam;
        HWND window = ParseHandle(handle);
        if (verb == "post") {
            ::PostMessageA(window, static_cast<UINT>(message), static_cast<WPARAM>(wParam),
                           static_cast<LPARAM>(lParam));
        } else {
            DWORD_PTR result = 0;
            ::SendMessageTimeoutA(window, static_cast<UINT>(message), static_cast<WPARAM>(wParam),
                                  static_cast<LPARAM>(lParam), SMTO_ABORTIFHUNG, 5000, &result);
            std::cout << result << "\n";
        }
    } else if (verb == "ipaddress") {
        std::string handle;
        words >> handle;
        HWND control = ParseHandle(handle);
        RemoteBuffer remote(control, sizeof(DWORD));
        DWORD address = 0;
        if (remote.Ok()) {
            ::SendMessageA(control, IPM_GETADDRESS, 0, reinterpret_cast<LPARAM>(remote.At(0)));
            remote.Read(0, &address, sizeof address);
        }
        std::cout << FIRST_IPADDRESS(address) << "." << SECOND_IPADDRESS(address) << "."
                  << THIRD_IPADDRESS(address) << "." << FOURTH_IPADDRESS(address) << "\n";
    } else if (verb == "copydata") {
        std::string handle;
        words >> handle;
        std::string text;
        std::getline(words, text);
        COPYDATASTRUCT data{};
        data.dwData = 7;
        data.cbData = static_cast<DWORD>(text.size());
        data.lpData = text.data();
        DWORD_PTR result = 0;
        ::SendMessageTimeoutA(ParseHandle(handle), WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data),
                              SMTO_ABORTIFHUNG, 5000, &result);
        std::cout << result << "\n";
    } else if (verb == "kill") {
        unsigned long pid = 0;
        words >> pid;
        if (HANDLE process = ::OpenProcess(PROCESS_TERMINATE, FALSE, pid)) {
            ::TerminateProcess(process, 1);
            ::CloseHandle(process);
        }
    } else if (verb == "close") {
        std::string handle;
        words >> handle;
        ::PostMessageA(ParseHandle(handle), WM_CLOSE, 0, 0);
    } else if (verb == "move") {
        std::string handle;
        int x = 0, y = 0, width = 0, height = 0;
        words >> handle >> x >> y >> width >> height;
        ::SetWindowPos(ParseHandle(handle), nullptr, x, y, width, height,
                       SWP_NOZORDER | SWP_NOACTIVATE);
    } else if (verb == "client") {
        std::string handle;
        words >> handle;
        HWND window = ParseHandle(handle);
        RECT client{};
        ::GetClientRect(window, &client);
        POINT origin{0, 0};
        ::ClientToScreen(window, &origin);
        RECT screen{origin.x, origin.y, origin.x + client.right, origin.y + client.bottom};
        std::cout << RectText(screen) << "\n";
    } else if (verb == "style") {
        std::string handle;
        words >> handle;
        HWND window = ParseHandle(handle);
        std::cout << std::hex << ::GetWindowLongA(window, GWL_STYLE) << "\t"
                  << ::GetWindowLongA(window, GWL_EXSTYLE) << std::dec << "\n";
    } else if (verb == "state") {
        std::string handle;
        words >> handle;
        HWND window = ParseHandle(handle);
        HWND root = ::GetAncestor(window, GA_ROOT);
        bool painted = !::GetUpdateRect(window, nullptr, FALSE) &&
                       (root == nullptr || !::GetUpdateRect(root, nullptr, FALSE));
        std::cout << (::IsWindowEnabled(window) ? 1 : 0) << "\t"
                  << (::IsWindowVisible(window) ? 1 : 0) << "\t"
                  << (root != nullptr && root == ::GetForegroundWindow() ? 1 : 0) << "\t"
                  << (painted ? 1 : 0) << "\n";
    } else if (verb == "at") {
        POINT point{};
        words >> point.x >> point.y;
        HWND window = ::WindowFromPoint(point);
        std::cout << HandleText(window) << "\t" << HandleText(::GetAncestor(window, GA_ROOT))
                  << "\n";
    } else if (verb == "processes") {
        std::string name;
        words >> name;
        HANDLE snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
        PROCESSENTRY32 entry{};
        entry.dwSize = sizeof entry;
        for (BOOL more = ::Process32First(snapshot, &entry); more;
             more = ::Process32Next(snapshot, &entry)) {
            if (::lstrcmpiA(entry.szExeFile, name.c_str()) == 0) {
                std::cout << entry.th32ProcessID << "\n";
            }
        }
        ::CloseHandle(snapshot);
    } else if (verb == "foreground") {
        HWND window = ::GetForegroundWindow();
        std::cout << HandleText(window) << "\t" << Escape(ClassOf(window)) << "\t"
                  << Escape(WindowText(window)) << "\n";
    } else if (!verb.empty()) {
        std::cout << "error unknown command " << verb << "\n";
    }
}

} // namespace

int main() {
    std::ios::sync_with_stdio(false);
    std::string line;
    std::cout << "ready\n.\n" << std::flush;
    while (std::getline(std::cin, line)) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (line == "quit") {
            break;
        }
        Run(line);
        std::cout << ".\n" << std::flush;
    }
    return 0;
}
