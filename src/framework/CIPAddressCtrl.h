// CIPAddressCtrl: the four-field IPv4 address control (SysIPAddress32). Its window text is the
// dotted address ("192.168.1.10"), which SetWindowText also accepts.
#pragma once

#include "framework/CWnd.h"

class CIPAddressCtrl : public CWnd {
    DECLARE_DYNAMIC(CIPAddressCtrl)
public:
    // The address with the first number in the highest byte, blank fields as 0; answers the
    // number of fields that are not blank.
    int GetAddress(DWORD& dwAddress) const;
    int GetAddress(BYTE& nField0, BYTE& nField1, BYTE& nField2, BYTE& nField3) const;
    void SetAddress(DWORD dwAddress);
    void ClearAddress();
    BOOL IsBlank() const;
};
