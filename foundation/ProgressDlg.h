// CProgressDlg: a modeless dialog with a progress bar, a percentage label and a message label. Its
// owner is disabled for exactly as long as the dialog window exists. The position, step and
// cancel calls pump the thread's pending messages first, so the dialog stays live during a loop.
#pragma once

#include "mfc/Dialog.h"
#include "mfc/ProgressCtrl.h"

#define IDD_PROGRESS_DLG 15185
#define IDC_PROGRESS_BAR 10102
#define IDC_PROGRESS_PERCENT 10103
#define IDC_PROGRESS_MESSAGE 10104
#define IDS_PROGRESS_CAPTION 10105

class CProgressDlg : public CDialog
{
public:
    explicit CProgressDlg(UINT nCaptionID = 0);
    ~CProgressDlg() override;

    using CDialog::Create;
    BOOL Create(CWnd* pParent = nullptr);
    BOOL DestroyWindow() override;

    void SetRange(int nLower, int nUpper);
    int SetStep(int nStep);
    int SetPos(int nPos);
    int OffsetPos(int nPos);
    int StepIt();
    BOOL CheckCancelButton();
    void UpdateMessage(LPCWSTR lpszMessage);

    // The percentage of a position in a range, clamped to 0..100; -1 for an empty range.
    static int PercentOf(int nPos, int nLower, int nUpper);
    CString GetPercentText() const;

    BOOL OnInitDialog() override;
    void OnCancel() override;
    void OnOK() override {}
    void DoDataExchange(CDataExchange* pDX) override;

    CProgressCtrl m_Progress;

private:
    void UpdatePercent(int nPos);
    void PumpMessages();

    UINT m_nCaptionID = IDS_PROGRESS_CAPTION;
    int m_nLower = 0;
    int m_nUpper = 100;
    int m_nStep = 10;
    BOOL m_bCancel = FALSE;
    BOOL m_bParentDisabled = FALSE;
    CWnd* m_pOwner = nullptr;
};
