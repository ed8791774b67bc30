#include "mfc/Controls.h"

#include "mfc/ControlsPrivate.h"
#include "mfc/FrameWnd.h"

#include <QLabel>
#include <QMainWindow>
#include <QStatusBar>

using ControlPriv::ToQt;

// --- Control bars ----------------------------------------------------------------------------------

IMPLEMENT_DYNAMIC(CControlBar, CWnd)

BEGIN_MESSAGE_MAP(CControlBar, CWnd)
ON_MESSAGE(WM_IDLEUPDATECMDUI, &CControlBar::OnIdleUpdateCmdUI)
END_MESSAGE_MAP()

LRESULT CControlBar::OnIdleUpdateCmdUI(WPARAM wParam, LPARAM)
{
    if (!IsWindowVisible())
        return 0;
    CWnd* pOwner = GetParent();
    CFrameWnd* pTarget = (pOwner && pOwner->IsKindOf(RUNTIME_CLASS(CFrameWnd)))
                             ? static_cast<CFrameWnd*>(pOwner)
                             : GetParentFrame();
    if (pTarget)
        OnUpdateCmdUI(pTarget, BOOL(wParam));
    return 0;
}

void CControlBar::PostNcDestroy()
{
    if (m_bAutoDelete)
        delete this;
}

namespace
{
// The update of one status-bar pane.
class CStatusCmdUI : public CCmdUI
{
public:
    CStatusBar* m_pBar = nullptr;
    void Enable(BOOL bOn) override
    {
        m_bEnableChanged = TRUE;
        const UINT style = m_pBar->GetPaneStyle(int(m_nIndex));
        m_pBar->SetPaneStyle(int(m_nIndex), bOn ? (style & ~UINT(SBPS_DISABLED)) : (style | SBPS_DISABLED));
    }
    void SetCheck(int nCheck) override
    {
        const UINT style = m_pBar->GetPaneStyle(int(m_nIndex));
        m_pBar->SetPaneStyle(int(m_nIndex), nCheck ? (style | SBPS_POPOUT) : (style & ~UINT(SBPS_POPOUT)));
    }
    void SetRadio(BOOL bOn) override { SetCheck(bOn); }
    void SetText(LPCWSTR lpszText) override { m_pBar->SetPaneText(int(m_nIndex), lpszText); }
};
} // namespace

IMPLEMENT_DYNAMIC(CStatusBar, CControlBar)

CStatusBar::~CStatusBar() = default;

QWidget* CStatusBar::CreateWidget(const CREATESTRUCT& cs, QWidget* pParentWidget)
{
    CWnd* pParent = CWnd::FromHandle(cs.hwndParent);
    if (auto* main = pParent ? qobject_cast<QMainWindow*>(pParent->GetWidget()) : nullptr)
    {
        auto* bar = new QStatusBar(main);
        main->setStatusBar(bar);
        return bar;
    }
    return new QStatusBar(pParentWidget);
}

BOOL CStatusBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID)
{
    return CreateEx(pParentWnd, 0, dwStyle, nID);
}

BOOL CStatusBar::CreateEx(CWnd* pParentWnd, DWORD, DWORD dwStyle, UINT nID)
{
    if (!pParentWnd)
        return FALSE;
    CRect rect;
    pParentWnd->GetClientRect(&rect);
    if (!CWnd::CreateEx(0, L"QyrStatusBar", nullptr, dwStyle | WS_CHILD, 0, rect.Height() - 20, rect.Width(),
                        20, pParentWnd->m_hWnd, reinterpret_cast<HMENU>(UINT_PTR(nID))))
        return FALSE;
    if (dwStyle & WS_VISIBLE)
        ShowWindow(SW_SHOW);
    RebuildPanes();
    return TRUE;
}

BOOL CStatusBar::SetIndicators(const UINT* lpIDArray, int nIDCount)
{
    if (nIDCount < 0 || nIDCount > 256 || (nIDCount > 0 && !lpIDArray))
        return FALSE;
    m_panes.clear();
    BOOL bResult = TRUE;
    for (int i = 0; i < nIDCount; ++i)
    {
        CPane pane = {lpIDArray[i], SBPS_NORMAL, 0, CString(), nullptr};
        if (pane.nID != ID_SEPARATOR)
        {
            if (!pane.strText.LoadString(pane.nID))
                bResult = FALSE;
        }
        else if (i == 0)
            pane.nStyle = SBPS_NOBORDERS | SBPS_STRETCH;
        m_panes.push_back(pane);
    }
    RebuildPanes();
    return bResult;
}

void CStatusBar::RebuildPanes()
{
    auto* bar = qobject_cast<QStatusBar*>(GetWidget());
    if (!bar)
        return;
    for (QLabel* old : bar->findChildren<QLabel*>())
    {
        if (old->property("qyr.pane").isValid())
            delete old;
    }
    for (size_t i = 0; i < m_panes.size(); ++i)
    {
        CPane& pane = m_panes[i];
        pane.pLabel = new QLabel(bar);
        pane.pLabel->setProperty("qyr.pane", int(i));
        pane.pLabel->setTextFormat(Qt::PlainText);
        if (pane.nStyle & SBPS_STRETCH)
            bar->addWidget(pane.pLabel, 1);
        else
        {
            pane.pLabel->setFrameStyle((pane.nStyle & SBPS_NOBORDERS) ? QFrame::NoFrame
                                                                      : QFrame::Panel | QFrame::Sunken);
            bar->addPermanentWidget(pane.pLabel);
        }
        ShowPane(i);
    }
}

void CStatusBar::ShowPane(size_t nIndex)
{
    if (nIndex >= m_panes.size() || !GetWidget())
        return;
    CPane& pane = m_panes[nIndex];
    if (!pane.pLabel)
        return;
    const bool bDisabled = pane.nStyle & SBPS_DISABLED;
    pane.pLabel->setText(bDisabled ? QString() : ToQt(pane.strText));
    if (pane.cxWidth > 0)
        pane.pLabel->setMinimumWidth(pane.cxWidth);
}

int CStatusBar::CommandToIndex(UINT nIDFind) const
{
    for (size_t i = 0; i < m_panes.size(); ++i)
    {
        if (m_panes[i].nID == nIDFind)
            return int(i);
    }
    return -1;
}

UINT CStatusBar::GetItemID(int nIndex) const
{
    return (nIndex >= 0 && size_t(nIndex) < m_panes.size()) ? m_panes[size_t(nIndex)].nID : 0;
}

void CStatusBar::GetItemRect(int nIndex, LPRECT lpRect) const
{
    if (!lpRect)
        return;
    *lpRect = RECT{0, 0, 0, 0};
    if (nIndex < 0 || size_t(nIndex) >= m_panes.size() || !GetWidget() || !m_panes[size_t(nIndex)].pLabel)
        return;
    const QRect r = m_panes[size_t(nIndex)].pLabel->geometry();
    *lpRect = RECT{r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}

CString CStatusBar::GetPaneText(int nIndex) const
{
    return (nIndex >= 0 && size_t(nIndex) < m_panes.size()) ? m_panes[size_t(nIndex)].strText : CString();
}

BOOL CStatusBar::SetPaneText(int nIndex, LPCWSTR lpszNewText, BOOL)
{
    if (nIndex < 0 || size_t(nIndex) >= m_panes.size())
        return FALSE;
    m_panes[size_t(nIndex)].strText = lpszNewText ? lpszNewText : L"";
    ShowPane(size_t(nIndex));
    return TRUE;
}

void CStatusBar::GetPaneInfo(int nIndex, UINT& nID, UINT& nStyle, int& cxWidth) const
{
    if (nIndex < 0 || size_t(nIndex) >= m_panes.size())
    {
        nID = 0;
        nStyle = 0;
        cxWidth = 0;
        return;
    }
    const CPane& pane = m_panes[size_t(nIndex)];
    nID = pane.nID;
    nStyle = pane.nStyle;
    cxWidth = pane.cxWidth;
}

void CStatusBar::SetPaneInfo(int nIndex, UINT nID, UINT nStyle, int cxWidth)
{
    if (nIndex < 0 || size_t(nIndex) >= m_panes.size())
        return;
    CPane& pane = m_panes[size_t(nIndex)];
    const bool bRebuild = (pane.nStyle & SBPS_STRETCH) != (nStyle & SBPS_STRETCH);
    pane.nID = nID;
    pane.nStyle = nStyle;
    pane.cxWidth = cxWidth;
    if (bRebuild)
        RebuildPanes();
    else
        ShowPane(size_t(nIndex));
}

UINT CStatusBar::GetPaneStyle(int nIndex) const
{
    return (nIndex >= 0 && size_t(nIndex) < m_panes.size()) ? m_panes[size_t(nIndex)].nStyle : 0;
}

void CStatusBar::SetPaneStyle(int nIndex, UINT nStyle)
{
    if (nIndex < 0 || size_t(nIndex) >= m_panes.size() || m_panes[size_t(nIndex)].nStyle == nStyle)
        return;
    SetPaneInfo(nIndex, m_panes[size_t(nIndex)].nID, nStyle, m_panes[size_t(nIndex)].cxWidth);
}

void CStatusBar::OnUpdateCmdUI(CFrameWnd* pTarget, BOOL)
{
    CStatusCmdUI state;
    state.m_pBar = this;
    state.m_pOther = this;
    state.m_nIndexMax = UINT(m_panes.size());
    for (size_t i = 0; i < m_panes.size() && m_hWnd; ++i)
    {
        state.m_nIndex = UINT(i);
        state.m_nID = m_panes[i].nID;
        // Status panes are never disabled for want of a handler.
        state.DoUpdate(pTarget, FALSE);
    }
}
