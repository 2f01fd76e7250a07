#include "framework/CIPAddressCtrl.h"

#include <commctrl.h>

IMPLEMENT_DYNAMIC(CIPAddressCtrl, CWnd)

BEGIN_MESSAGE_MAP(CIPAddressCtrl, CWnd)
ON_MESSAGE(WM_SETTEXT, &CIPAddressCtrl::OnSetText)
END_MESSAGE_MAP()

namespace {

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

} // namespace

bool ParseDottedAddress(std::string_view text, DWORD& address) {
    size_t at = 0;
    while (at < text.size() && IsSpace(text[at])) {
        ++at;
    }
    DWORD value = 0;
    for (int field = 0; field < 4; ++field) {
        if (field > 0) {
            if (at >= text.size() || text[at] != '.') {
                return false;
            }
            ++at;
        }
        unsigned number = 0;
        size_t digits = 0;
        while (at < text.size() && text[at] >= '0' && text[at] <= '9' && digits < 4) {
            number = number * 10 + static_cast<unsigned>(text[at] - '0');
            ++at;
            ++digits;
        }
        if (digits == 0 || digits > 3 || number > 255) {
            return false;
        }
        value = (value << 8) | number;
    }
    while (at < text.size() && IsSpace(text[at])) {
        ++at;
    }
    if (at != text.size()) {
        return false;
    }
    address = value;
    return true;
}

LRESULT CIPAddressCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    struct Depth {
        explicit Depth(int& depth) : m_depth(++depth) {}
        ~Depth() { --m_depth; }
        int& m_depth;
    } depth(m_nDepth);
    return CWnd::WindowProc(message, wParam, lParam);
}

LRESULT CIPAddressCtrl::OnSetText(WPARAM, LPARAM lParam) {
    const LRESULT result = Default();
    if (m_nDepth > 1) {
        return result;
    }
    const std::string_view text =
        lParam != 0 ? std::string_view(reinterpret_cast<const char*>(lParam)) : std::string_view();
    DWORD wanted = 0;
    if (ParseDottedAddress(text, wanted)) {
        DWORD shown = 0;
        if (GetAddress(shown) != 4 || shown != wanted) {
            SetAddress(wanted);
        }
    } else if (text.find_first_not_of(" \t\r\n") == std::string_view::npos && !IsBlank()) {
        ClearAddress();
    }
    return result;
}

int CIPAddressCtrl::GetAddress(DWORD& dwAddress) const {
    dwAddress = 0;
    return static_cast<int>(SendMessage(IPM_GETADDRESS, 0, reinterpret_cast<LPARAM>(&dwAddress)));
}

int CIPAddressCtrl::GetAddress(BYTE& nField0, BYTE& nField1, BYTE& nField2, BYTE& nField3) const {
    DWORD address = 0;
    const int fields = GetAddress(address);
    nField0 = static_cast<BYTE>(FIRST_IPADDRESS(address));
    nField1 = static_cast<BYTE>(SECOND_IPADDRESS(address));
    nField2 = static_cast<BYTE>(THIRD_IPADDRESS(address));
    nField3 = static_cast<BYTE>(FOURTH_IPADDRESS(address));
    return fields;
}

void CIPAddressCtrl::SetAddress(DWORD dwAddress) {
    SendMessage(IPM_SETADDRESS, 0, static_cast<LPARAM>(dwAddress));
}

void CIPAddressCtrl::ClearAddress() {
    SendMessage(IPM_CLEARADDRESS);
}

BOOL CIPAddressCtrl::IsBlank() const {
    return static_cast<BOOL>(SendMessage(IPM_ISBLANK));
}
