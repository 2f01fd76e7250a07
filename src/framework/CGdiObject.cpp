#include "framework/CGdiObject.h"

#include <utility>

CGdiObject::~CGdiObject() {
    DeleteObject();
}

CGdiObject::CGdiObject(CGdiObject&& other) noexcept
    : m_hObject(std::exchange(other.m_hObject, nullptr)) {}

CGdiObject& CGdiObject::operator=(CGdiObject&& other) noexcept {
    if (this != &other) {
        DeleteObject();
        m_hObject = std::exchange(other.m_hObject, nullptr);
    }
    return *this;
}

BOOL CGdiObject::Attach(HGDIOBJ hObject) {
    if (hObject == nullptr) {
        return FALSE;
    }
    if (hObject != m_hObject) {
        DeleteObject();
        m_hObject = hObject;
    }
    return TRUE;
}

HGDIOBJ CGdiObject::Detach() {
    return std::exchange(m_hObject, nullptr);
}

BOOL CGdiObject::DeleteObject() {
    if (m_hObject == nullptr) {
        return FALSE;
    }
    return ::DeleteObject(std::exchange(m_hObject, nullptr));
}

int CGdiObject::GetObject(int nCount, LPVOID lpObject) const {
    return m_hObject != nullptr ? ::GetObjectA(m_hObject, nCount, lpObject) : 0;
}
