#include "foundation/ProgressDlg.h"

#include "mfc/WinApp.h"

#include <algorithm>

CProgressDlg::CProgressDlg(UINT nCaptionID) : CDialog(IDD_PROGRESS_DLG)
{
    if (nCaptionID != 0)
        m_nCaptionID = nCaptionID;
}

CProgressDlg::~CProgressDlg()
{
    if (m_hWnd)
        DestroyWindow();
}

BOOL CProgressDlg::Create(CWnd* pParent)
{
    // The top-level window that owns the parent (the main window without one) is disabled while
    // the dialog is open.
    CWnd* owner = pParent ? pParent->GetTopLevelParent() : AfxGetMainWnd();
    if (owner && ::IsWindow(owner->m_hWnd) && owner->IsWindowEnabled())
    {
        owner->EnableWindow(FALSE);
        m_bParentDisabled = TRUE;
        m_pOwner = owner;
    }
    if (!CDialog::Create(IDD_PROGRESS_DLG, pParent))
    {
        if (m_bParentDisabled && m_pOwner)
            m_pOwner->EnableWindow(TRUE);
        m_bParentDisabled = FALSE;
        m_pOwner = nullptr;
        return FALSE;
    }
    ShowWindow(SW_SHOW);
    return TRUE;
}

BOOL CProgressDlg::DestroyWindow()
{
    if (m_bParentDisabled && m_pOwner && ::IsWindow(m_pOwner->m_hWnd))
        m_pOwner->EnableWindow(TRUE);
    m_bParentDisabled = FALSE;
    m_pOwner = nullptr;
    return CDialog::DestroyWindow();
}

void CProgressDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_PROGRESS_BAR, m_Progress);
}

BOOL CProgressDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_Progress.SetRange32(m_nLower, m_nUpper);
    m_Progress.SetStep(m_nStep);
    m_Progress.SetPos(m_nLower);
    CString caption;
    caption.LoadString(m_nCaptionID);
    SetWindowText(caption);
    return TRUE;
}

void CProgressDlg::OnCancel()
{
    m_bCancel = TRUE;
}

void CProgressDlg::SetRange(int nLower, int nUpper)
{
    m_nLower = nLower;
    m_nUpper = nUpper;
    if (m_hWnd)
        m_Progress.SetRange(short(nLower), short(nUpper));
}

int CProgressDlg::SetStep(int nStep)
{
    m_nStep = nStep;
    return m_hWnd ? m_Progress.SetStep(nStep) : -1;
}

int CProgressDlg::SetPos(int nPos)
{
    if (!m_hWnd)
        return -1;
    PumpMessages();
    const int old = m_Progress.SetPos(nPos);
    UpdatePercent(nPos);
    return old;
}

int CProgressDlg::OffsetPos(int nPos)
{
    if (!m_hWnd)
        return -1;
    PumpMessages();
    const int old = m_Progress.OffsetPos(nPos);
    UpdatePercent(old + nPos);
    return old;
}

int CProgressDlg::StepIt()
{
    if (!m_hWnd)
        return -1;
    PumpMessages();
    const int old = m_Progress.StepIt();
    UpdatePercent(old + m_nStep);
    return old;
}

BOOL CProgressDlg::CheckCancelButton()
{
    if (!m_hWnd)
        return FALSE;
    PumpMessages();
    const BOOL cancel = m_bCancel;
    m_bCancel = FALSE;
    return cancel;
}

void CProgressDlg::UpdateMessage(LPCWSTR lpszMessage)
{
    if (m_hWnd)
        SetDlgItemText(IDC_PROGRESS_MESSAGE, lpszMessage);
}

int CProgressDlg::PercentOf(int nPos, int nLower, int nUpper)
{
    if (nUpper <= nLower)
        return -1;
    const long long percent =
        (static_cast<long long>(nPos) - nLower) * 100 / (static_cast<long long>(nUpper) - nLower);
    return int(std::clamp<long long>(percent, 0, 100));
}

CString CProgressDlg::GetPercentText() const
{
    CString text;
    if (m_hWnd)
        GetDlgItemText(IDC_PROGRESS_PERCENT, text);
    return text;
}

void CProgressDlg::UpdatePercent(int nPos)
{
    const int percent = PercentOf(nPos, m_nLower, m_nUpper);
    if (percent < 0)
        return; // an empty range has no percentage: the label stays
    CString text;
    text.Format(L"%d%c", percent, L'%');
    if (text != GetPercentText())
        SetDlgItemText(IDC_PROGRESS_PERCENT, text);
}

void CProgressDlg::PumpMessages()
{
    AfxPumpMessages();
}
