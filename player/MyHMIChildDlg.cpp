#include "player/MyHMIChildDlg.h"

#include "figkit/FOGlobalData.h"
#include "figkit/FrameWnds.h"
#include "player/ExtDataModel.h"
#include "player/RunCanvas.h"
#include "player/XDVView.h"

#ifndef WM_NCACTIVATE
#define WM_NCACTIVATE 0x0086
#endif

namespace
{
const UINT kViewArea = 1000;
const UINT kViewId = 59649;
} // namespace

BEGIN_MESSAGE_MAP(CMyHMIChildDlg, CDialog)
ON_WM_DESTROY()
ON_WM_SIZE()
ON_MESSAGE(WM_NCACTIVATE, &CMyHMIChildDlg::OnNcActivate)
END_MESSAGE_MAP()

CMyHMIChildDlg::CMyHMIChildDlg() : CDialog(IDD, nullptr) {}

BOOL CMyHMIChildDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    CRect area;
    if (CWnd* placeholder = GetDlgItem(kViewArea))
    {
        placeholder->GetWindowRect(&area);
        ScreenToClient(&area);
    }
    else
        GetClientRect(&area);

    m_pFrame = dynamic_cast<CFOPFrameWnd*>(RUNTIME_CLASS(CFOPFrameWnd)->CreateObject());
    if (!m_pFrame || !m_pFrame->Create(nullptr, nullptr, WS_CHILD, area, this))
    {
        // A window that failed to create leaves its object to the creator.
        delete m_pFrame;
        m_pFrame = nullptr;
        return TRUE;
    }
    m_pFrame->ShowWindow(SW_SHOW);

    m_pView = dynamic_cast<XDVView*>(RUNTIME_CLASS(XDVView)->CreateObject());
    if (!m_pView ||
        !m_pView->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE | WS_BORDER, area, m_pFrame, kViewId))
    {
        delete m_pView;
        m_pView = nullptr;
        return TRUE;
    }
    m_pView->ShowWindow(SW_SHOW);
    if (m_pView->GetCanvas())
        m_pView->GetCanvas()->SetCurrentModel(m_pModel);
    m_pView->OnInitialUpdate();

    const int width = m_rcWindow.Width();
    const int height = m_rcWindow.Height();
    m_pFrame->MoveWindow(0, 0, width, height);
    m_pView->MoveWindow(-1, -1, width, height);

    if (m_pModel)
        m_pModel->SetDesignMode(FALSE);
    SetWindowText(m_strTitle);
    MoveWindow(&m_rcWindow, TRUE);
    m_pView->Invalidate();
    return TRUE;
}

void CMyHMIChildDlg::OnDestroy()
{
    CDialog::OnDestroy();
    // Frame and view go with the window.
    m_pView = nullptr;
    m_pFrame = nullptr;
    FO_GLOBAL::FreeObjectCache();
}

void CMyHMIChildDlg::OnSize(UINT nType, int cx, int cy)
{
    CDialog::OnSize(nType, cx, cy);
    if (m_pView && m_pView->GetSafeHwnd())
    {
        CRect client;
        GetClientRect(&client);
        m_pView->MoveWindow(&client);
    }
}

LRESULT CMyHMIChildDlg::OnNcActivate(WPARAM, LPARAM)
{
    if (FODiscardNcActivate())
        return TRUE;
    return Default();
}
