// CFile: an owned file handle with the framework's open flags ("A" paths: code-page bytes).
//
//   CFile file;
//   if (file.Open(path, CFile::modeRead)) { UINT n = file.Read(buffer, 32); file.Close(); }
//
// Open answers FALSE instead of throwing. Without modeCreate only an existing file opens;
// modeCreate alone empties or creates it, with modeNoTruncate it keeps an existing content.
// Without a share flag the file is opened exclusively (shareExclusive). Write answers whether
// every byte was written. The file is closed when the object ends.
#pragma once

#include <windows.h>

class CFile {
public:
    enum OpenFlags : UINT {
        modeRead = 0x0000,
        modeWrite = 0x0001,
        modeReadWrite = 0x0002,
        shareCompat = 0x0000,
        shareExclusive = 0x0010,
        shareDenyWrite = 0x0020,
        shareDenyRead = 0x0030,
        shareDenyNone = 0x0040,
        modeNoInherit = 0x0080,
        modeCreate = 0x1000,
        modeNoTruncate = 0x2000,
        typeText = 0x4000,
        typeBinary = 0x8000,
    };

    CFile() = default;
    ~CFile();
    CFile(const CFile&) = delete;
    CFile& operator=(const CFile&) = delete;

    BOOL Open(LPCSTR lpszFileName, UINT nOpenFlags);
    // Reads up to nCount bytes; answers how many were read (0 at the end or on an error).
    UINT Read(void* lpBuf, UINT nCount);
    BOOL Write(const void* lpBuf, UINT nCount);
    // Cuts or extends the file to the length.
    BOOL SetLength(ULONGLONG dwNewLen);
    ULONGLONG GetLength() const;
    void Close();
    BOOL IsOpen() const { return m_hFile != INVALID_HANDLE_VALUE; }

    HANDLE m_hFile = INVALID_HANDLE_VALUE;
};
