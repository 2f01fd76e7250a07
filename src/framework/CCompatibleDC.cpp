#include "framework/CCompatibleDC.h"

CCompatibleDC::CCompatibleDC(CDC* pDC) {
    m_hDC = ::CreateCompatibleDC(pDC != nullptr ? pDC->m_hDC : nullptr);
    SaveInitialState();
}

CCompatibleDC::~CCompatibleDC() {
    if (m_hDC != nullptr) {
        RestoreInitialState();
        ::DeleteDC(m_hDC);
    }
}
