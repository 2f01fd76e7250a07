#include "framework/CPaintDC.h"

#include "framework/CWnd.h"

CPaintDC::CPaintDC(CWnd* pWnd) : m_hWnd(pWnd != nullptr ? pWnd->m_hWnd : nullptr) {
    if (m_hWnd != nullptr) {
        m_hDC = ::BeginPaint(m_hWnd, &m_ps);
        SaveInitialState();
    }
}

CPaintDC::~CPaintDC() {
    if (m_hWnd != nullptr) {
        RestoreInitialState();
        ::EndPaint(m_hWnd, &m_ps);
    }
}
