// CWnd window classes and subclassing: the widget a window class makes, and a window object taking
// over an existing window and handing it back.
#include "mfc/Wnd.h"

#include "mfc/WndPrivate.h"

QWidget* CWnd::CreateWidget(const CREATESTRUCT& cs, QWidget* pParentWidget)
{
    if (AfxIsControlClass(cs.lpszClass))
        return AfxCreateControlWidget(cs.lpszClass, cs.lpszName, DWORD(cs.style), pParentWidget);
    QWidget* w = new CWndHost<QWidget>(pParentWidget);
    if (!(cs.style & WS_CHILD))
        w->setWindowFlags(pParentWidget ? Qt::Window | Qt::WindowTitleHint | Qt::WindowCloseButtonHint
                                        : Qt::Window);
    return w;
}

BOOL CWnd::Attach(HWND hWndNew)
{
    if (m_hWnd || !hWndNew)
        return FALSE;
    return SubclassWindow(hWndNew);
}

HWND CWnd::Detach()
{
    HWND h = m_hWnd;
    if (!h)
        return nullptr;
    KillAllTimers();
    AfxRebindWindow(h, nullptr);
    m_hWnd = nullptr;
    return h;
}

BOOL CWnd::SubclassWindow(HWND hWnd)
{
    if (m_hWnd || !::IsWindow(hWnd))
        return FALSE;
    CWnd* pOld = FromHandlePermanent(hWnd);
    if (pOld == this)
        return TRUE;
    if (pOld)
    {
        m_dwStyle = pOld->m_dwStyle;
        m_dwExStyle = pOld->m_dwExStyle;
        m_nIDCtrl = pOld->m_nIDCtrl;
        m_bOwnsWidget = pOld->m_bOwnsWidget;
        m_pFont = pOld->m_pFont;
        pOld->KillAllTimers();
        pOld->m_hWnd = nullptr;
    }
    AfxRebindWindow(hWnd, this);
    m_hWnd = hWnd;
    if (pOld && AfxIsControlWrapper(pOld))
        delete pOld;
    PreSubclassWindow();
    return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT nID, CWnd* pParent)
{
    if (!pParent)
        return FALSE;
    CWnd* pItem = pParent->GetDlgItem(int(nID));
    return pItem ? SubclassWindow(pItem->m_hWnd) : FALSE;
}

HWND CWnd::UnsubclassWindow()
{
    HWND h = m_hWnd;
    if (!h)
        return nullptr;
    CWnd* pWrapper = AfxNewControlWrapper();
    KillAllTimers();
    pWrapper->m_hWnd = h;
    pWrapper->m_dwStyle = m_dwStyle;
    pWrapper->m_dwExStyle = m_dwExStyle;
    pWrapper->m_nIDCtrl = m_nIDCtrl;
    pWrapper->m_bOwnsWidget = m_bOwnsWidget;
    pWrapper->m_pFont = m_pFont;
    AfxRebindWindow(h, pWrapper);
    m_hWnd = nullptr;
    return h;
}
