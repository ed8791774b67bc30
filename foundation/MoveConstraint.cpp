#include "foundation/MoveConstraint.h"

#include "mfc/Messages.h"
#include "mfc/Notify.h"
#include "mfc/ResourceModule.h"
#include "mfc/WinApp.h"
#include "mfc/Wnd.h"

#include <QApplication>
#include <QDialog>
#include <QStyle>

#include <algorithm>
#include <cwchar>
#include <memory>

namespace kesdlg
{
namespace
{
using Chain = std::vector<SubclassRec>; // oldest first
using ChainMap = std::map<HWND, Chain>;

// Created on first use, deleted when it empties.
thread_local std::unique_ptr<ChainMap> t_chains;

Chain* FindChain(HWND hWnd)
{
    if (!t_chains)
        return nullptr;
    auto it = t_chains->find(hWnd);
    return it == t_chains->end() ? nullptr : &it->second;
}
} // namespace

BOOL Subclass(SUBCLASSPROC proc, HWND hWnd, void* object, const DWORD_PTR* data1, const DWORD_PTR* data2)
{
    if (!proc || !hWnd)
        return FALSE;
    if (!t_chains)
        t_chains = std::make_unique<ChainMap>();
    Chain& chain = (*t_chains)[hWnd];
    for (const SubclassRec& r : chain)
        if (r.proc == proc)
            return FALSE;
    SubclassRec rec;
    rec.proc = proc;
    rec.object = object;
    rec.prev = chain.empty() ? nullptr : chain.back().proc;
    if (data1)
        std::copy(data1, data1 + 3, rec.data1);
    if (data2)
        std::copy(data2, data2 + 3, rec.data2);
    chain.push_back(rec);
    return TRUE;
}

BOOL Unsubclass(SUBCLASSPROC proc, HWND hWnd)
{
    Chain* chain = FindChain(hWnd);
    if (!chain)
        return FALSE;
    auto it =
        std::find_if(chain->begin(), chain->end(), [&](const SubclassRec& r) { return r.proc == proc; });
    if (it == chain->end())
        return FALSE;
    // The record installed after this one now calls on to this one's predecessor.
    if (it + 1 != chain->end())
        (it + 1)->prev = it->prev;
    chain->erase(it);
    if (chain->empty())
    {
        t_chains->erase(hWnd);
        if (t_chains->empty())
            t_chains.reset();
    }
    return TRUE;
}

namespace
{
BOOL Run(HWND hWnd, SUBCLASSPROC proc, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    const Chain* chain = FindChain(hWnd);
    if (!chain || !proc)
        return FALSE;
    for (const SubclassRec& r : *chain)
        if (r.proc == proc)
            return r.proc(r.object, hWnd, msg, wParam, lParam, pResult);
    return FALSE;
}
} // namespace

BOOL CallChain(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    const Chain* chain = FindChain(hWnd);
    return chain && Run(hWnd, chain->back().proc, msg, wParam, lParam, pResult);
}

BOOL CallNext(SUBCLASSPROC proc, HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    const Chain* chain = FindChain(hWnd);
    if (!chain)
        return FALSE;
    for (const SubclassRec& r : *chain)
        if (r.proc == proc)
            return Run(hWnd, r.prev, msg, wParam, lParam, pResult);
    return FALSE;
}

int ChainLength(HWND hWnd)
{
    const Chain* chain = FindChain(hWnd);
    return chain ? int(chain->size()) : 0;
}

CMoveConstraint::CMoveConstraint()
{
    Reset();
}

CMoveConstraint::~CMoveConstraint()
{
    UnSubclassWnd();
}

void CMoveConstraint::Reset()
{
    UnSubclassWnd();
    m_pDlg = nullptr;
    m_rcInit = CRect();
    m_nMinX = m_nMinY = m_nMaxX = m_nMaxY = 0;
    m_nGripper = 1;
    m_bInitialized = FALSE;
    m_nDelayed = 0;
    m_bPropertyPage = FALSE;
    m_bRefreshOnActivate = FALSE;
    m_constraints.clear();
    m_tips.clear();
    m_sSection = L"LastWindowPos";
    m_sKey = L"UnnamedWindow";
    m_bPersist = FALSE;
}

void CMoveConstraint::InitializeCurrentSize(CWnd* pDlg)
{
    m_pDlg = pDlg;
    if (!pDlg || !pDlg->GetSafeHwnd())
        return;
    pDlg->GetClientRect(&m_rcInit);
    CRect rcWindow;
    pDlg->GetWindowRect(&rcWindow);
    m_nMinX = rcWindow.Width();
    m_nMinY = rcWindow.Height();
    m_bInitialized = TRUE;
    UpdateGrip();
}

void CMoveConstraint::SetGripMode(int mode)
{
    m_nGripper = mode;
    UpdateGrip();
}

void CMoveConstraint::UpdateGrip()
{
    if (!m_pDlg || !m_pDlg->GetSafeHwnd())
        return;
    if (auto* dialog = qobject_cast<QDialog*>(m_pDlg->GetWidget()))
        dialog->setSizeGripEnabled(m_nGripper == 1 && IsGripShowing());
}

void CMoveConstraint::AddTip(UINT nID, UINT nResId)
{
    m_tips[nID] = Tip{nResId, CString()};
}

void CMoveConstraint::AddTip(UINT nID, LPCWSTR szText)
{
    m_tips[nID] = Tip{0, CString(szText ? szText : L"")};
}

BOOL CMoveConstraint::OnNotify(NMHDR* pHdr, LRESULT* pResult)
{
    if (pHdr->code == PSN_SETACTIVE)
    {
        if (m_bPropertyPage && m_pDlg && m_pDlg->GetParent())
            m_pDlg->GetParent()->SendMessage(WM_NOTIFY, pHdr->idFrom, reinterpret_cast<LPARAM>(pHdr));
        OnPageActivated();
        return FALSE;
    }
    if (pHdr->code != TTN_NEEDTEXTW)
        return FALSE;
    auto* ttt = reinterpret_cast<TOOLTIPTEXTW*>(pHdr);
    UINT nID = UINT(pHdr->idFrom);
    if (ttt->uFlags & TTF_IDISHWND)
    {
        CWnd* tool = CWnd::FromHandle(reinterpret_cast<HWND>(pHdr->idFrom));
        nID = tool ? UINT(tool->GetDlgCtrlID()) : 0;
    }
    auto it = m_tips.find(nID);
    if (it == m_tips.end())
        return FALSE;
    if (it->second.nResId)
    {
        ttt->lpszText = MAKEINTRESOURCE(it->second.nResId);
        ttt->hinst = AfxGetResourceHandle();
    }
    else
    {
        ttt->lpszText = const_cast<LPWSTR>(it->second.text.GetString());
        ttt->hinst = nullptr;
    }
    if (pResult)
        *pResult = 0;
    return TRUE;
}

void CMoveConstraint::SetMinTrackSize(int cx, int cy)
{
    m_nMinX = cx;
    m_nMinY = cy;
}

void CMoveConstraint::SetMaxTrackSize(int cx, int cy)
{
    m_nMaxX = cx;
    m_nMaxY = cy;
}

BOOL CMoveConstraint::Complete(Constraint& c)
{
    CWnd* pCtrl = c.pParent ? c.pParent->GetDlgItem(int(c.nID)) : nullptr;
    if (!pCtrl)
        return FALSE;
    c.hCtrl = pCtrl->GetSafeHwnd();
    pCtrl->GetWindowRect(&c.rcInit);
    c.pParent->ScreenToClient(&c.rcInit);
    c.bDeferred = FALSE;
    return TRUE;
}

BOOL CMoveConstraint::AddConstraint(UINT nID, double fXMove, double fXSize, double fYMove, double fYSize)
{
    if (!m_pDlg)
        return FALSE;
    Constraint c;
    c.fXMove = fXMove;
    c.fXSize = fXSize;
    c.fYMove = fYMove;
    c.fYSize = fYSize;
    c.nID = nID;
    c.pParent = m_pDlg;
    if (!Complete(c))
    {
        c.bDeferred = TRUE;
        ++m_nDelayed;
    }
    m_constraints.push_back(c);
    return TRUE;
}

void CMoveConstraint::OnPageActivated()
{
    for (Constraint& c : m_constraints)
        if (c.bDeferred && Complete(c))
            --m_nDelayed;
    if (m_bRefreshOnActivate)
        Relayout();
}

BOOL CMoveConstraint::Proc(void* pObject, HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    auto* self = static_cast<CMoveConstraint*>(pObject);
    if (self->OnWndMsg(msg, wParam, lParam, pResult))
        return TRUE;
    return CallNext(&CMoveConstraint::Proc, hWnd, msg, wParam, lParam, pResult);
}

BOOL CMoveConstraint::SubclassWnd()
{
    if (m_bSubclassed || !m_pDlg || !m_pDlg->GetSafeHwnd())
        return FALSE;
    m_bSubclassed = Subclass(&CMoveConstraint::Proc, m_pDlg->GetSafeHwnd(), this);
    return m_bSubclassed;
}

BOOL CMoveConstraint::UnSubclassWnd()
{
    if (!m_bSubclassed)
        return FALSE;
    m_bSubclassed = FALSE;
    return Unsubclass(&CMoveConstraint::Proc, m_pDlg ? m_pDlg->GetSafeHwnd() : nullptr);
}

void CMoveConstraint::Relayout()
{
    if (!m_bInitialized || !m_pDlg || m_pDlg->IsIconic())
        return;
    CRect rc;
    m_pDlg->GetClientRect(&rc);
    const int dx = rc.Width() - m_rcInit.Width();
    const int dy = rc.Height() - m_rcInit.Height();
    for (const Constraint& c : m_constraints)
    {
        CWnd* pCtrl = c.bDeferred ? nullptr : CWnd::FromHandle(c.hCtrl);
        if (!pCtrl)
            continue;
        const int left = c.rcInit.left + int(dx * c.fXMove);
        const int right = c.rcInit.right + int(dx * (c.fXMove + c.fXSize));
        const int top = c.rcInit.top + int(dy * c.fYMove);
        const int bottom = c.rcInit.bottom + int(dy * (c.fYMove + c.fYSize));
        pCtrl->SetWindowPos(nullptr, left, top, right - left, bottom - top, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    m_pDlg->Invalidate();
    m_pDlg->UpdateWindow();
}

void CMoveConstraint::OnGetMinMaxInfo(MINMAXINFO* pMMI) const
{
    if (!pMMI)
        return;
    if (m_nMinX)
        pMMI->ptMinTrackSize.x = m_nMinX;
    if (m_nMinY)
        pMMI->ptMinTrackSize.y = m_nMinY;
    if (m_nMaxX)
        pMMI->ptMaxTrackSize.x = m_nMaxX;
    if (m_nMaxY)
        pMMI->ptMaxTrackSize.y = m_nMaxY;
}

BOOL CMoveConstraint::IsGripShowing() const
{
    auto plain = [](CWnd* w) { return w && !w->IsZoomed() && !w->IsIconic(); };
    if (m_nGripper == 1)
        return plain(m_pDlg);
    if (m_nGripper == 2)
        return m_pDlg && plain(m_pDlg->GetParent());
    return FALSE;
}

UINT CMoveConstraint::HitTest(CPoint ptWindow, UINT defaultHit) const
{
    if (!m_pDlg || m_pDlg->IsIconic() || m_pDlg->IsZoomed())
        return defaultHit;
    if (m_nMinY && m_nMinY == m_nMaxY)
    {
        if (defaultHit == HT_TOP || defaultHit == HT_BOTTOM)
            return HT_BORDER;
        if (defaultHit == HT_TOPLEFT || defaultHit == HT_BOTTOMLEFT)
            return HT_LEFT;
        if (defaultHit == HT_TOPRIGHT || defaultHit == HT_BOTTOMRIGHT)
            return HT_RIGHT;
        return defaultHit;
    }
    if (m_nMinX && m_nMinX == m_nMaxX)
    {
        if (defaultHit == HT_LEFT || defaultHit == HT_RIGHT)
            return HT_BORDER;
        if (defaultHit == HT_TOPLEFT || defaultHit == HT_TOPRIGHT)
            return HT_TOP;
        if (defaultHit == HT_BOTTOMLEFT || defaultHit == HT_BOTTOMRIGHT)
            return HT_BOTTOM;
        return defaultHit;
    }
    if (!IsGripShowing())
        return defaultHit;
    CRect rc;
    m_pDlg->GetClientRect(&rc);
    // One scroll bar's width and height.
    const int cx = QApplication::style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    const int cy = cx;
    // The grip's triangle: below the diagonal of the bottom-right box.
    const int x = ptWindow.x - (rc.right - cx);
    const int y = ptWindow.y - (rc.bottom - cy);
    if (x > 0 && y > 0 && x <= cx && y <= cy && cx < 2 * y)
        return HT_BOTTOMRIGHT;
    return defaultHit;
}

BOOL CMoveConstraint::OnWndMsg(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    switch (msg)
    {
    case WM_SIZE:
        if (wParam != SIZE_MINIMIZED)
            Relayout();
        UpdateGrip();
        return FALSE;
    case WM_NCHITTEST:
    {
        if (!m_pDlg || !m_pDlg->GetSafeHwnd())
            return FALSE;
        // The answer of the procedures before this one, refined for the fixed sides and the grip.
        LRESULT def = HT_CLIENT;
        if (!CallNext(&CMoveConstraint::Proc, m_pDlg->GetSafeHwnd(), msg, wParam, lParam, &def) || def == 0)
            def = HT_CLIENT;
        CPoint pt(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        m_pDlg->ScreenToClient(&pt);
        if (pResult)
            *pResult = HitTest(pt, UINT(def));
        return TRUE;
    }
    case WM_NOTIFY:
        return lParam ? OnNotify(reinterpret_cast<NMHDR*>(lParam), pResult) : FALSE;
    case WM_GETMINMAXINFO:
        OnGetMinMaxInfo(reinterpret_cast<MINMAXINFO*>(lParam));
        if (pResult)
            *pResult = 0;
        return TRUE;
    case WM_DESTROY:
        if (m_bPersist)
            SavePosition();
        Reset();
        return FALSE;
    default:
        return FALSE;
    }
}

void CMoveConstraint::Persist(LPCWSTR szSection, LPCWSTR szKey)
{
    m_bPersist = TRUE;
    if (szSection)
        m_sSection = szSection;
    if (szKey)
        m_sKey = szKey;
}

BOOL CMoveConstraint::SavePosition(LPCWSTR szSection, LPCWSTR szKey)
{
    CWinApp* app = AfxGetApp();
    if (!app || !m_pDlg || !m_pDlg->GetSafeHwnd())
        return FALSE;
    CRect rc;
    m_pDlg->GetWindowRect(&rc);
    CString value;
    value.Format(L"%d,%d,%d,%d", rc.left, rc.top, rc.right, rc.bottom);
    return app->WriteProfileString(szSection ? szSection : m_sSection.GetString(),
                                   szKey ? szKey : m_sKey.GetString(), value);
}

BOOL CMoveConstraint::LoadPosition(LPCWSTR szSection, LPCWSTR szKey, BOOL bPosition)
{
    CWinApp* app = AfxGetApp();
    if (!app || !m_pDlg || !m_pDlg->GetSafeHwnd())
        return FALSE;
    Persist(szSection, szKey);
    const CString value = app->GetProfileString(m_sSection, m_sKey, L"");
    CRect rc;
    if (std::swscanf(value, L"%d,%d,%d,%d", &rc.left, &rc.top, &rc.right, &rc.bottom) != 4)
        return FALSE;
    UINT flags = SWP_NOZORDER | SWP_NOACTIVATE;
    if (!bPosition)
        flags |= SWP_NOMOVE;
    m_pDlg->SetWindowPos(nullptr, rc.left, rc.top, rc.Width(), rc.Height(), flags);
    return TRUE;
}
} // namespace kesdlg
