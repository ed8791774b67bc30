// "Screen Setting": the script procedures a screen runs when it opens, on a timer while it shows,
// and when it closes, with the timer's period.
#pragma once

#include "figkit/FOImageButton.h"
#include "mfc/Dialog.h"
#include "mfc/SpinButtonCtrl.h"

#define IDD_SCREEN_SET 105
#define IDC_SCREEN_START_SCRIPT 1109
#define IDC_SCREEN_START_BUTTON 1010
#define IDC_SCREEN_START_METHOD 1075
#define IDC_SCREEN_TIMER_SCRIPT 1063
#define IDC_SCREEN_TIMER_BUTTON 1064
#define IDC_SCREEN_TIMER_METHOD 1125
#define IDC_SCREEN_PERIOD 1069
#define IDC_SCREEN_PERIOD_SPIN 1070
#define IDC_SCREEN_CLOSE_SCRIPT 1115
#define IDC_SCREEN_CLOSE_BUTTON 1116
#define IDC_SCREEN_CLOSE_METHOD 1126
#define IDB_SCREEN_SCRIPT 166
#define IDC_HAND_CURSOR 28354

class CScreenSetDlg : public CDialog
{
public:
    explicit CScreenSetDlg(CWnd* pParent = nullptr);

    CString m_strStartScript; // 15001
    CString m_strCloseScript; // 15002
    CString m_strTimerScript; // 15003
    int m_nPeriod = 1000;     // 15004, milliseconds
    CString m_strStartMethod; // 15005
    CString m_strCloseMethod; // 15006
    CString m_strTimerMethod; // 15007

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    afx_msg void OnStartScript();
    afx_msg void OnTimerScript();
    afx_msg void OnCloseScript();
    // A script of the project and, for a script, one of its procedures, for one group.
    void ChooseScript(CString& strScript, CString& strMethod, int nScriptEdit, int nMethodLabel);

    CFOImageButton m_start;
    CFOImageButton m_timer;
    CFOImageButton m_close;
    CSpinButtonCtrl m_spin;

    DECLARE_MESSAGE_MAP()
};
