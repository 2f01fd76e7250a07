#include "framework/CClientDC.h"

#include "framework/CWnd.h"

CClientDC::CClientDC(CWnd* pWnd) : m_hWnd(pWnd != nullptr ? pWnd->m_hWnd : nullptr) {
    m_hDC = ::GetDC(m_hWnd);
    SaveInitialState();
}

CClientDC::~CClientDC() {
    if (m_hDC != nullptr) {
        RestoreInitialState();
        ::ReleaseDC(m_hWnd, m_hDC);
    }
}
