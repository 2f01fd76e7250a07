// The splash: a borderless picture in the middle of the screen that covers the first subnet
// probe, then ends itself and runs the console in its place.
#pragma once

#include "framework/Framework.h"

class CDiagLogo : public CDialogEx {
public:
    CDiagLogo();
    ~CDiagLogo() override;

protected:
    BOOL OnInitDialog() override;
    afx_msg int OnCreate(LPCREATESTRUCTA lpCreateStruct);
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg void OnPaint();

    DECLARE_MESSAGE_MAP()

private:
    void HandOverToConsole();

    HBITMAP m_hSplashPicture = nullptr; // kept to the end of the process, as the timers repaint
};
