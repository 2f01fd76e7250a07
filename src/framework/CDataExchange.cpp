#include "framework/CDataExchange.h"

#include <cstring>
#include <vector>

#include "framework/CWnd.h"

CDataExchange::CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate)
    : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd) {}

HWND CDataExchange::PrepareCtrl(int nIDC) {
    HWND hWndCtrl = m_pDlgWnd != nullptr ? ::GetDlgItem(m_pDlgWnd->m_hWnd, nIDC) : nullptr;
    m_idLastControl = static_cast<UINT>(nIDC);
    m_bEditLastControl = FALSE;
    if (hWndCtrl == nullptr) {
        m_bFailed = TRUE;
    }
    return hWndCtrl;
}

HWND CDataExchange::PrepareEditCtrl(int nIDC) {
    HWND hWndCtrl = PrepareCtrl(nIDC);
    m_bEditLastControl = TRUE;
    return hWndCtrl;
}

void CDataExchange::Fail() {
    m_bFailed = TRUE;
    if (m_pDlgWnd == nullptr || m_idLastControl == 0) {
        return;
    }
    HWND hWndCtrl = ::GetDlgItem(m_pDlgWnd->m_hWnd, static_cast<int>(m_idLastControl));
    if (hWndCtrl == nullptr) {
        return;
    }
    ::SetFocus(hWndCtrl);
    if (m_bEditLastControl) {
        ::SendMessageA(hWndCtrl, EM_SETSEL, 0, -1);
    }
}

void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl) {
    if (rControl.m_hWnd != nullptr) {
        return;
    }
    HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
    if (hWndCtrl == nullptr || !rControl.SubclassWindow(hWndCtrl)) {
        pDX->Fail();
    }
}

namespace {

std::string ReadWindowText(HWND hWnd) {
    const int length = ::GetWindowTextLengthA(hWnd);
    std::vector<char> buffer(static_cast<size_t>(length > 0 ? length : 0) + 1, '\0');
    const int copied = ::GetWindowTextA(hWnd, buffer.data(), static_cast<int>(buffer.size()));
    return std::string(buffer.data(), copied > 0 ? static_cast<size_t>(copied) : 0);
}

} // namespace

void AfxSetWindowText(HWND hWnd, LPCSTR lpszNew) {
    const char* text = lpszNew != nullptr ? lpszNew : "";
    if (ReadWindowText(hWnd) != text) {
        ::SetWindowTextA(hWnd, text);
    }
}

void DDX_Text(CDataExchange* pDX, int nIDC, std::string& value) {
    HWND hWndCtrl = pDX->PrepareEditCtrl(nIDC);
    if (hWndCtrl == nullptr) {
        return;
    }
    if (pDX->m_bSaveAndValidate) {
        value = ReadWindowText(hWndCtrl);
    } else {
        AfxSetWindowText(hWndCtrl, value.c_str());
    }
}
