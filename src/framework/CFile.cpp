#include "framework/CFile.h"

CFile::~CFile() {
    Close();
}

BOOL CFile::Open(LPCSTR lpszFileName, UINT nOpenFlags) {
    Close();
    if (lpszFileName == nullptr) {
        return FALSE;
    }
    DWORD access = 0;
    switch (nOpenFlags & 3) {
    case modeRead:
        access = GENERIC_READ;
        break;
    case modeWrite:
        access = GENERIC_WRITE;
        break;
    case modeReadWrite:
        access = GENERIC_READ | GENERIC_WRITE;
        break;
    default:
        return FALSE;
    }
    DWORD share = 0;
    switch (nOpenFlags & 0x70) {
    case shareDenyWrite:
        share = FILE_SHARE_READ;
        break;
    case shareDenyRead:
        share = FILE_SHARE_WRITE;
        break;
    case shareDenyNone:
        share = FILE_SHARE_READ | FILE_SHARE_WRITE;
        break;
    default: // shareCompat, shareExclusive
        share = 0;
        break;
    }
    DWORD disposition = OPEN_EXISTING;
    if ((nOpenFlags & modeCreate) != 0) {
        disposition = (nOpenFlags & modeNoTruncate) != 0 ? OPEN_ALWAYS : CREATE_ALWAYS;
    }
    SECURITY_ATTRIBUTES security{sizeof(SECURITY_ATTRIBUTES), nullptr,
                                 (nOpenFlags & modeNoInherit) == 0 ? TRUE : FALSE};
    m_hFile = ::CreateFileA(lpszFileName, access, share, &security, disposition,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
    return IsOpen();
}

UINT CFile::Read(void* lpBuf, UINT nCount) {
    DWORD read = 0;
    if (!IsOpen() || lpBuf == nullptr || nCount == 0 ||
        !::ReadFile(m_hFile, lpBuf, nCount, &read, nullptr)) {
        return 0;
    }
    return read;
}

BOOL CFile::Write(const void* lpBuf, UINT nCount) {
    if (!IsOpen() || (lpBuf == nullptr && nCount != 0)) {
        return FALSE;
    }
    DWORD written = 0;
    return nCount == 0 ||
           (::WriteFile(m_hFile, lpBuf, nCount, &written, nullptr) && written == nCount);
}

BOOL CFile::SetLength(ULONGLONG dwNewLen) {
    if (!IsOpen()) {
        return FALSE;
    }
    LARGE_INTEGER position;
    position.QuadPart = static_cast<LONGLONG>(dwNewLen);
    return ::SetFilePointerEx(m_hFile, position, nullptr, FILE_BEGIN) && ::SetEndOfFile(m_hFile);
}

ULONGLONG CFile::GetLength() const {
    LARGE_INTEGER size{};
    if (!IsOpen() || !::GetFileSizeEx(m_hFile, &size)) {
        return 0;
    }
    return static_cast<ULONGLONG>(size.QuadPart);
}

void CFile::Close() {
    if (IsOpen()) {
        ::CloseHandle(m_hFile);
        m_hFile = INVALID_HANDLE_VALUE;
    }
}
