// CIPAddressCtrl: the four-field IPv4 address control (SysIPAddress32). Its window text is the
// dotted address ("192.168.1.10"), which SetWindowText also accepts.
//
// Wine's address control keeps a text it is given without filling its fields. While the
// control is subclassed by this class, a text set from outside that holds a whole dotted
// address (surrounding white space allowed) ends up in the fields and an empty one blanks
// them, as the system's own control does it; the control's own handling runs first, so where
// it already did so nothing more happens. Other texts, and the texts the control sets on
// itself while it updates its fields, are left to the control.
#pragma once

#include <string_view>

#include "framework/CWnd.h"

// Four decimal numbers 0 to 255 separated by dots, with white space allowed around them; the
// first number goes into the highest byte. False for anything else.
bool ParseDottedAddress(std::string_view text, DWORD& address);

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

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    afx_msg LRESULT OnSetText(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

private:
    // How many messages of this control are being handled: the control sets its own text
    // from inside its other messages, and only a text set from outside is a new address.
    int m_nDepth = 0;
};
