#include "foundation/ResizableDialog.h"

#include "mfc/ButtonCtl.h"
#include "mfc/ListBoxCtl.h"
#include "mfc/WinApp.h"

#include <QDialog>

#include <cstdio>

#ifndef SIZE_MAXSHOW
#define SIZE_MAXSHOW 3
#define SIZE_MAXHIDE 4
#endif

IMPLEMENT_DYNAMIC(CResizableDialog, CDialog)

CResizableDialog::CResizableDialog() = default;

CResizableDialog::CResizableDialog(UINT nIDTemplate, CWnd* pParentWnd) : CDialog(nIDTemplate, pParentWnd) {}

CResizableDialog::~CResizableDialog() = default;

CPoint CResizableDialog::Reference(int nType, int cx, int cy)
{
    const int col = (nType - 1) % 3; // 0 left, 1 centre, 2 right
    const int row = (nType - 1) / 3; // 0 top, 1 middle, 2 bottom
    return CPoint(col == 0 ? 0 : col == 1 ? cx / 2 : cx, row == 0 ? 0 : row == 1 ? cy / 2 : cy);
}

BOOL CResizableDialog::AddAnchor(UINT nID, int nTopLeft, int nBottomRight)
{
    return AddAnchor(GetDlgItem(int(nID)), nTopLeft, nBottomRight);
}

BOOL CResizableDialog::AddAnchor(CWnd* pWnd, int nTopLeft, int nBottomRight)
{
    if (!pWnd || !pWnd->m_hWnd || nTopLeft < TOP_LEFT || nTopLeft > BOTTOM_RIGHT || nBottomRight < NOANCHOR ||
        nBottomRight > BOTTOM_RIGHT)
        return FALSE;
    CRect client;
    GetClientRect(&client);
    CRect rc;
    pWnd->GetWindowRect(&rc);
    ScreenToClient(&rc);
    auto offset = [&](int nType, CPoint corner)
    {
        const CPoint ref = Reference(nType, client.Width(), client.Height());
        const int col = (nType - 1) % 3;
        const int row = (nType - 1) / 3;
        return CSize(col == 2 ? ref.x - corner.x : corner.x - ref.x,
                     row == 2 ? ref.y - corner.y : corner.y - ref.y);
    };
    // Group boxes, check boxes and radio buttons overlap their neighbours: they keep out of them.
    if (dynamic_cast<CButton*>(pWnd) && (pWnd->GetStyle() & 0x7))
        pWnd->ModifyStyle(0, WS_CLIPSIBLINGS);
    CAnchor a;
    a.hWnd = pWnd->m_hWnd;
    a.bListBox = dynamic_cast<CListBox*>(pWnd) != nullptr;
    a.nTopLeft = nTopLeft;
    a.offTopLeft = offset(nTopLeft, rc.TopLeft());
    a.nBottomRight = nBottomRight;
    if (nBottomRight != NOANCHOR)
        a.offBottomRight = offset(nBottomRight, rc.BottomRight());
    m_anchors.push_back(a);
    return TRUE;
}

void CResizableDialog::ArrangeLayout()
{
    CRect client;
    GetClientRect(&client);
    const int cx = client.Width();
    const int cy = client.Height();
    auto place = [&](int nType, CSize off)
    {
        const CPoint ref = Reference(nType, cx, cy);
        const int col = (nType - 1) % 3;
        const int row = (nType - 1) / 3;
        return CPoint(col == 2 ? ref.x - off.cx : ref.x + off.cx, row == 2 ? ref.y - off.cy : ref.y + off.cy);
    };
    for (const CAnchor& a : m_anchors)
    {
        CWnd* pWnd = CWnd::FromHandle(a.hWnd);
        if (!pWnd || !::IsWindow(a.hWnd))
            continue;
        CRect old;
        pWnd->GetWindowRect(&old);
        ScreenToClient(&old);
        const CPoint tl = place(a.nTopLeft, a.offTopLeft);
        const CPoint br = a.nBottomRight == NOANCHOR ? CPoint(tl.x + old.Width(), tl.y + old.Height())
                                                     : place(a.nBottomRight, a.offBottomRight);
        const CRect now(tl, br);
        if (now != old)
            pWnd->MoveWindow(&now, TRUE);
    }
}

BOOL CResizableDialog::OnInitDialog()
{
    const BOOL result = CDialog::OnInitDialog();
    ShowSizeGrip(m_bShowGrip);
    CRect rc;
    GetWindowRect(&rc);
    m_szMinTrack = CSize(rc.Width(), rc.Height());
    m_bInitDone = TRUE;
    return result;
}

void CResizableDialog::ShowSizeGrip(BOOL bShow)
{
    m_bShowGrip = bShow;
    if (auto* dlg = qobject_cast<QDialog*>(GetWidget()))
        dlg->setSizeGripEnabled(bShow != FALSE);
}

void CResizableDialog::SetMinTrackSize(const CSize& size)
{
    m_szMinTrack = size;
    m_bUseMinTrack = TRUE;
}

void CResizableDialog::SetMaxTrackSize(const CSize& size)
{
    m_szMaxTrack = size;
    m_bUseMaxTrack = TRUE;
}

void CResizableDialog::SetMaximizedRect(const CRect& rc)
{
    m_rcMaximized = rc;
    m_bUseMaxRect = TRUE;
}

void CResizableDialog::OnSize(UINT nType, int cx, int cy)
{
    CDialog::OnSize(nType, cx, cy);
    if (nType == SIZE_MAXSHOW || nType == SIZE_MAXHIDE)
        return;
    ArrangeLayout();
}

void CResizableDialog::OnGetMinMaxInfo(MINMAXINFO* lpMMI)
{
    if (!m_bInitDone || !lpMMI)
        return;
    if (m_bUseMinTrack)
        lpMMI->ptMinTrackSize = {m_szMinTrack.cx, m_szMinTrack.cy};
    if (m_bUseMaxTrack)
        lpMMI->ptMaxTrackSize = {m_szMaxTrack.cx, m_szMaxTrack.cy};
    if (m_bUseMaxRect)
    {
        lpMMI->ptMaxPosition = {m_rcMaximized.left, m_rcMaximized.top};
        lpMMI->ptMaxSize = {m_rcMaximized.Width(), m_rcMaximized.Height()};
    }
}

void CResizableDialog::EnableSaveRestore(LPCWSTR lpszSection, LPCWSTR lpszEntry)
{
    m_strSection = lpszSection ? lpszSection : L"";
    m_strEntry = lpszEntry ? lpszEntry : L"";
    m_bEnableSaveRestore = TRUE;
    RestorePlacement();
}

void CResizableDialog::SavePlacement()
{
    CWinApp* pApp = AfxGetApp();
    if (!pApp || !m_hWnd)
        return;
    CRect rc;
    GetWindowRect(&rc);
    CString value;
    value.Format(L"%d,%d,%d,%d,%d,%d", rc.left, rc.top, rc.right, rc.bottom, IsZoomed() ? 3 : 1, 0);
    pApp->WriteProfileString(m_strSection, m_strEntry, value);
}

void CResizableDialog::RestorePlacement()
{
    CWinApp* pApp = AfxGetApp();
    if (!pApp || !m_hWnd)
        return;
    const CString value = pApp->GetProfileString(m_strSection, m_strEntry);
    int l = 0, t = 0, r = 0, b = 0, show = 0, flags = 0;
    if (value.IsEmpty() ||
        std::swscanf(value.GetString(), L"%d,%d,%d,%d,%d,%d", &l, &t, &r, &b, &show, &flags) != 6 || r <= l ||
        b <= t)
        return;
    MoveWindow(l, t, r - l, b - t);
    if (show == 3)
        ShowWindow(SW_SHOWMAXIMIZED);
}

void CResizableDialog::OnDestroy()
{
    m_anchors.clear();
    // The placement is read while the window still has it.
    if (m_bEnableSaveRestore)
        SavePlacement();
    CDialog::OnDestroy();
}
