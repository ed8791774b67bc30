#include "mfc/Wnd.h"

#include "mfc/Controls.h"
#include "mfc/Exceptions.h"
#include "mfc/FrameWnd.h"
#include "mfc/Dc.h"
#include "mfc/Gdi.h"
#include "mfc/Menu.h"
#include "mfc/ModalHook.h"
#include "mfc/Notify.h"
#include "mfc/WinApp.h"
#include "mfc/WndPrivate.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QGuiApplication>
#include <QIcon>
#include <QImage>
#include <QMdiSubWindow>
#include <QPixmap>
#include <QPointer>
#include <QScreen>
#include <QThread>
#include <QTimerEvent>

#include <algorithm>
#include <climits>
#include <cstdio>

namespace
{
int g_nQtDepth = 0;
unsigned long g_nMessageSerial = 0;

// The messages being handled, innermost last, for Default().
struct CCurrentMsg
{
    HWND hWnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};
thread_local std::vector<CCurrentMsg> t_currentMsgs;

// Receives the Qt timers of one window.
class CTimerSink : public QObject
{
public:
    explicit CTimerSink(CWnd* pWnd) : m_pWnd(pWnd) {}
    // The window object goes; a timer event still queued finds nobody.
    void Release()
    {
        m_pWnd = nullptr;
        if (AfxQtEntry::Depth() > 0)
            deleteLater(); // its own timer event may be what deletes the window
        else
            delete this;
    }

protected:
    void timerEvent(QTimerEvent* e) override
    {
        if (!m_pWnd)
            return;
        AfxQtEntry entry;
        CWndAccess::DeliverTimer(m_pWnd, e->timerId());
    }

private:
    CWnd* m_pWnd;
};
} // namespace

bool AfxOnUiThread()
{
    QCoreApplication* app = QCoreApplication::instance();
    return !app || QThread::currentThread() == app->thread();
}

AfxQtEntry::AfxQtEntry(bool bCountsAsMessage)
{
    ++g_nQtDepth;
    if (bCountsAsMessage)
        ++g_nMessageSerial;
}

AfxQtEntry::~AfxQtEntry()
{
    --g_nQtDepth;
}
int AfxQtEntry::Depth()
{
    return g_nQtDepth;
}
unsigned long AfxQtEntry::MessageSerial()
{
    return g_nMessageSerial;
}

// --- Calling windows -------------------------------------------------------------------------------

LRESULT AfxCallWndProc(CWnd* pWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (!pWnd)
        return 0;
    t_currentMsgs.push_back({pWnd->m_hWnd, message, wParam, lParam});
    struct Pop
    {
        ~Pop() { t_currentMsgs.pop_back(); }
    } pop;
    return pWnd->WindowProc(message, wParam, lParam);
}

BOOL AfxPreTranslateMessage(MSG* pMsg)
{
    if (CWinThread* pThread = AfxGetThread())
        return pThread->PreTranslateMessage(pMsg);
    return CWnd::WalkPreTranslateTree(nullptr, pMsg);
}

namespace
{
struct CForwardFrame
{
    HWND hWnd;
    UINT message;
    bool bDefault;
};
thread_local std::vector<CForwardFrame> t_forward;
} // namespace

void AfxGuardedCall(const std::function<void()>& f)
{
    try
    {
        f();
    }
    catch (CException* e)
    {
        std::fprintf(stderr, "platform/mfc: unhandled exception in a message handler: %s\n",
                     e->ReportError().ToUtf8().c_str());
        e->Delete();
    }
    catch (const std::exception& e)
    {
        std::fprintf(stderr, "platform/mfc: unhandled exception in a message handler: %s\n", e.what());
    }
    catch (...)
    {
        std::fprintf(stderr, "platform/mfc: unhandled exception in a message handler\n");
    }
}

bool AfxForwardEvent(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    CWnd* pWnd = CWnd::FromHandlePermanent(hWnd);
    if (!pWnd)
        return false;
    t_forward.push_back({hWnd, message, false});
    LRESULT result = 0;
    AfxGuardedCall([&] { result = AfxCallWndProc(pWnd, message, wParam, lParam); });
    const bool bDefault = t_forward.back().bDefault;
    t_forward.pop_back();
    if (pResult)
        *pResult = result;
    return bDefault;
}

LRESULT AfxSendFromQt(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    AfxGuardedCall([&] { result = ::SendMessageW(hWnd, message, wParam, lParam); });
    return result;
}

void AfxMarkDefault(HWND hWnd, UINT message)
{
    if (!t_forward.empty() && t_forward.back().hWnd == hWnd && t_forward.back().message == message)
        t_forward.back().bDefault = true;
}

// --- CWnd: handles ---------------------------------------------------------------------------------

IMPLEMENT_DYNCREATE(CWnd, CCmdTarget)

BEGIN_MESSAGE_MAP(CWnd, CCmdTarget)
ON_WM_CREATE()
ON_WM_DESTROY()
ON_WM_CLOSE()
ON_WM_TIMER()
ON_WM_SIZE()
ON_WM_MOVE()
ON_WM_PAINT()
ON_WM_SHOWWINDOW()
ON_WM_SYSCOMMAND()
ON_WM_SETCURSOR()
ON_WM_HELPINFO()
ON_WM_SETFOCUS()
ON_WM_KILLFOCUS()
ON_WM_GETMINMAXINFO()
ON_WM_CONTEXTMENU()
ON_WM_LBUTTONDOWN()
ON_WM_LBUTTONUP()
ON_WM_LBUTTONDBLCLK()
ON_WM_RBUTTONDOWN()
ON_WM_RBUTTONUP()
ON_WM_RBUTTONDBLCLK()
ON_WM_MBUTTONDOWN()
ON_WM_MBUTTONUP()
ON_WM_MOUSEMOVE()
ON_WM_MOUSEWHEEL()
ON_WM_KEYDOWN()
ON_WM_KEYUP()
ON_WM_CHAR()
ON_WM_SYSKEYDOWN()
ON_WM_SYSKEYUP()
END_MESSAGE_MAP()

CWnd::CWnd() = default;

CWnd::~CWnd()
{
    if (m_hWnd)
        DestroyWindowImpl(true, false);
    if (m_pTimerSink)
        static_cast<CTimerSink*>(m_pTimerSink)->Release();
}

QWidget* CWnd::GetWidget() const
{
    return AfxWidgetFromHandle(m_hWnd);
}
QWidget* CWnd::GetClientWidget() const
{
    QWidget* w = GetWidget();
    if (QWidget* client = w ? AfxScrollBarHostClient(w) : nullptr)
        return client;
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

// --- CWnd: creation and destruction ---------------------------------------------------------------

BOOL CWnd::PreCreateWindow(CREATESTRUCT&)
{
    return TRUE;
}
void CWnd::PostNcDestroy() {}

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

BOOL CWnd::Create(LPCWSTR lpszClassName, LPCWSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                  CWnd* pParentWnd, UINT nID, CCreateContext* pContext)
{
    return CreateEx(0, lpszClassName, lpszWindowName, dwStyle | WS_CHILD, rect.left, rect.top,
                    AfxRectExtent(rect.left, rect.right), AfxRectExtent(rect.top, rect.bottom),
                    pParentWnd ? pParentWnd->m_hWnd : nullptr, reinterpret_cast<HMENU>(UINT_PTR(nID)),
                    pContext);
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCWSTR lpszClassName, LPCWSTR lpszWindowName, DWORD dwStyle,
                    const RECT& rect, CWnd* pParentWnd, UINT nID, LPVOID lpParam)
{
    return CreateEx(dwExStyle, lpszClassName, lpszWindowName, dwStyle, rect.left, rect.top,
                    AfxRectExtent(rect.left, rect.right), AfxRectExtent(rect.top, rect.bottom),
                    pParentWnd ? pParentWnd->m_hWnd : nullptr, reinterpret_cast<HMENU>(UINT_PTR(nID)),
                    lpParam);
}

namespace
{
AFX_CREATE_HOOK g_pfnCreateHook = nullptr;
}

AFX_CREATE_HOOK AfxSetCreateWindowHook(AFX_CREATE_HOOK pfnHook)
{
    const AFX_CREATE_HOOK previous = g_pfnCreateHook;
    g_pfnCreateHook = pfnHook;
    return previous;
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCWSTR lpszClassName, LPCWSTR lpszWindowName, DWORD dwStyle, int x,
                    int y, int nWidth, int nHeight, HWND hWndParent, HMENU nIDorHMenu, LPVOID lpParam)
{
    if (m_hWnd || !AfxOnUiThread() || !AfxEnsureApplication())
        return FALSE;
    CREATESTRUCT cs = {lpParam, nullptr, nIDorHMenu,    hWndParent,     nHeight,       nWidth,
                       y,       x,       LONG(dwStyle), lpszWindowName, lpszClassName, dwExStyle};
    if (!PreCreateWindow(cs) || (g_pfnCreateHook && !g_pfnCreateHook(this, cs)))
        return FALSE;
    CWnd* pParent = FromHandlePermanent(cs.hwndParent);
    if ((cs.style & WS_CHILD) && !pParent)
        return FALSE;
    QWidget* pParentWidget = nullptr;
    if (pParent)
        pParentWidget = (cs.style & WS_CHILD) ? pParent->GetClientWidget() : pParent->GetWidget();
    QWidget* w = CreateWidget(cs, pParentWidget);
    if (!w)
        return FALSE;

    const HWND h = AfxNewWindowHandle();
    m_hWnd = h;
    m_dwStyle = DWORD(cs.style);
    m_dwExStyle = cs.dwExStyle;
    m_nIDCtrl = (cs.style & WS_CHILD) ? UINT(reinterpret_cast<UINT_PTR>(cs.hMenu)) : 0;
    m_bOwnsWidget = true;
    AfxBindWindow(h, this, w);
    // A widget that Qt deletes (with a parent that is not a window) takes its window along.
    QObject::connect(w, &QObject::destroyed,
                     [h]
                     {
                         if (CWnd* p = CWnd::FromHandlePermanent(h))
                             CWndAccess::Destroy(p, true, true);
                     });
    if (AfxIsControlClass(cs.lpszClass))
        AfxConnectControl(h, w);

    if (cs.style & WS_CHILD)
    {
        w->setGeometry(cs.x == CW_USEDEFAULT ? 0 : cs.x, cs.y == CW_USEDEFAULT ? 0 : cs.y, std::max(0, cs.cx),
                       std::max(0, cs.cy));
    }
    else if (cs.x == CW_USEDEFAULT || cs.cx == CW_USEDEFAULT)
    {
        w->resize(800, 600);
    }
    else
    {
        w->move(cs.x, cs.y);
        w->resize(std::max(1, cs.cx), std::max(1, cs.cy));
    }
    if (cs.lpszName && !AfxIsControlClass(cs.lpszClass))
        AfxSetWidgetText(w, cs.lpszName);
    if (cs.style & WS_DISABLED)
        w->setEnabled(false);
    OnWidgetCreated(cs);

    if (SendMessage(WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) == -1)
    {
        // The creator keeps the object and deletes it: no PostNcDestroy here.
        if (m_hWnd == h)
        {
            SendMessage(WM_DESTROY);
            if (m_hWnd == h)
            {
                KillAllTimers();
                AfxUnbindWindow(h);
                m_hWnd = nullptr;
                if (AfxQtEntry::Depth() > 0)
                {
                    w->hide();
                    w->deleteLater();
                }
                else
                    delete w;
            }
        }
        return FALSE;
    }
    if (m_hWnd != h)
        return FALSE;
    if (QWidget* client = GetClientWidget())
        SendMessage(WM_SIZE, SIZE_RESTORED, MAKELPARAM(client->width(), client->height()));
    if (m_hWnd == h && (cs.style & WS_VISIBLE))
        ShowWindow(SW_SHOW);
    return m_hWnd == h;
}

BOOL CWnd::DestroyWindow()
{
    return DestroyWindowImpl(true, false);
}

void CWnd::KillAllTimers()
{
    if (m_pTimerSink)
    {
        for (const auto& [id, slot] : m_timers)
            m_pTimerSink->killTimer(slot.nQtTimer);
    }
    m_timers.clear();
}

BOOL CWnd::DestroyWindowImpl(bool bTopOfTree, bool bWidgetDying)
{
    const HWND h = m_hWnd;
    if (!h || !AfxOnUiThread())
        return FALSE;
    if (!bWidgetDying)
    {
        SendMessage(WM_DESTROY);
        if (m_hWnd != h)
            return TRUE; // destroyed while handling WM_DESTROY
    }
    else
    {
        AfxGuardedCall([&] { AfxCallWndProc(this, WM_DESTROY, 0, 0); });
        if (m_hWnd != h)
            return TRUE;
    }
    KillAllTimers();

    // Children and owned windows go with their parent.
    std::vector<HWND> children;
    if (QWidget* w = GetWidget())
    {
        for (HWND c : AfxAllWindows())
        {
            if (c == h)
                continue;
            QWidget* cw = AfxWidgetFromHandle(c);
            if (cw && w->isAncestorOf(cw))
                children.push_back(c);
        }
    }
    // Deepest first is not needed: destroying a parent takes its own children along.
    for (HWND c : children)
    {
        if (CWnd* pChild = FromHandlePermanent(c))
            pChild->DestroyWindowImpl(false, bWidgetDying);
        else if (::IsWindow(c))
            AfxUnbindWindow(c);
    }
    if (m_hWnd != h)
        return TRUE;

    QPointer<QWidget> widget = GetWidget();
    AfxUnbindWindow(h);
    m_hWnd = nullptr;
    if (bTopOfTree && !bWidgetDying && m_bOwnsWidget && widget)
    {
        if (AfxQtEntry::Depth() > 0)
        {
            widget->hide();
            widget->deleteLater();
        }
        else
            delete widget.data();
    }
    m_bOwnsWidget = false;

    if (CWinThread* pThread = AfxGetThread(); pThread && pThread->m_pMainWnd == this)
    {
        pThread->m_pMainWnd = nullptr;
        AfxPostQuitMessage(0);
    }
    PostNcDestroy(); // may delete this
    return TRUE;
}

// --- CWnd: message path ----------------------------------------------------------------------------

BOOL CWnd::PreTranslateMessage(MSG*)
{
    return FALSE;
}

BOOL CWnd::WalkPreTranslateTree(HWND hWndStop, MSG* pMsg)
{
    for (HWND h = pMsg ? pMsg->hwnd : nullptr; h; h = ::GetParent(h))
    {
        if (CWnd* pWnd = FromHandlePermanent(h))
        {
            if (pWnd->PreTranslateMessage(pMsg))
                return TRUE;
        }
        if (h == hWndStop)
            break;
    }
    return FALSE;
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT lResult = 0;
    if (!OnWndMsg(message, wParam, lParam, &lResult))
        lResult = DefWindowProc(message, wParam, lParam);
    return lResult;
}

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (message == WM_COMMAND)
    {
        if (!OnCommand(wParam, lParam))
            return FALSE;
        if (pResult)
            *pResult = 1;
        return TRUE;
    }
    if (message == WM_NOTIFY && lParam)
    {
        LRESULT lNotify = 0;
        auto* pHdr = reinterpret_cast<NMHDR*>(lParam);
        AFX_NOTIFY notify = {&lNotify, pHdr};
        if (OnCmdMsg(UINT(pHdr->idFrom), int(AFX_NOTIFY_CODE(pHdr->code)), &notify, nullptr))
        {
            if (pResult)
                *pResult = lNotify;
            return TRUE;
        }
    }
    const AFX_MSGMAP_ENTRY* pEntry = FindMessageEntry(message);
    if (!pEntry)
        return FALSE;
    return DispatchMessageEntry(pEntry, message, wParam, lParam, pResult);
}

namespace
{
// Finds out whether a command is enabled.
class CTestCmdUI : public CCmdUI
{
public:
    BOOL m_bEnabled = TRUE;
    void Enable(BOOL bOn) override
    {
        m_bEnabled = bOn;
        m_bEnableChanged = TRUE;
    }
    void SetCheck(int) override {}
    void SetRadio(BOOL) override {}
    void SetText(LPCWSTR) override {}
};
} // namespace

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam)
{
    const UINT nID = LOWORD(wParam);
    int nCode = HIWORD(wParam);
    if (lParam == 0)
    {
        if (nID == 0)
            return FALSE;
        // A disabled command does nothing, whether from a menu or an accelerator.
        CTestCmdUI state;
        state.m_nID = nID;
        OnCmdMsg(nID, int(CN_UPDATE_COMMAND_UI), &state, nullptr);
        if (!state.m_bEnabled)
            return TRUE;
        nCode = CN_COMMAND;
    }
    return OnCmdMsg(nID, nCode, nullptr, nullptr);
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    const HWND h = m_hWnd;
    if (!h)
        return 0;
    AfxMarkDefault(h, message);
    LRESULT result = 0;
    if (AfxControlWindowProc(h, GetWidget(), message, wParam, lParam, &result))
        return result;
    switch (message)
    {
    case WM_CLOSE:
        DestroyWindow();
        return 0;
    case WM_SYSCOMMAND:
        switch (wParam & 0xFFF0)
        {
        case SC_CLOSE:
            SendMessage(WM_CLOSE);
            break;
        case SC_MINIMIZE:
            ShowWindow(SW_MINIMIZE);
            break;
        case SC_MAXIMIZE:
            ShowWindow(SW_MAXIMIZE);
            break;
        case SC_RESTORE:
            ShowWindow(SW_RESTORE);
            break;
        default:
            break;
        }
        return 0;
    case WM_HELP:
    case WM_CONTEXTMENU:
    case WM_MOUSEWHEEL:
        // Child windows pass these on to their parent.
        if ((m_dwStyle & WS_CHILD) && ::GetParent(h))
            return ::SendMessageW(::GetParent(h), message, wParam, lParam);
        return 0;
    case WM_SETCURSOR:
        if ((m_dwStyle & WS_CHILD) && ::GetParent(h))
            return ::SendMessageW(::GetParent(h), message, wParam, lParam);
        return FALSE;
    default:
        return 0;
    }
}

LRESULT CWnd::Default()
{
    if (t_currentMsgs.empty())
        return 0;
    const CCurrentMsg cur = t_currentMsgs.back();
    return DefWindowProc(cur.message, cur.wParam, cur.lParam);
}

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    return ::SendMessageW(m_hWnd, message, wParam, lParam);
}

BOOL CWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    return ::PostMessageW(m_hWnd, message, wParam, lParam);
}

void CWnd::SendMessageToDescendants(UINT message, WPARAM wParam, LPARAM lParam, BOOL bDeep, BOOL bOnlyPerm)
{
    (void)bOnlyPerm;
    std::vector<CWnd*> children;
    GetChildWindows(children);
    std::vector<HWND> handles;
    for (CWnd* c : children)
        handles.push_back(c->m_hWnd);
    for (HWND h : handles)
    {
        CWnd* pChild = FromHandlePermanent(h);
        if (!pChild)
            continue;
        AfxCallWndProc(pChild, message, wParam, lParam);
        if (bDeep)
        {
            if (CWnd* again = FromHandlePermanent(h))
                again->SendMessageToDescendants(message, wParam, lParam, bDeep, bOnlyPerm);
        }
    }
}

// --- CWnd: state and placement ---------------------------------------------------------------------

BOOL CWnd::ShowWindow(int nCmdShow)
{
    QWidget* w = GetWidget();
    if (!w)
        return FALSE;
    const BOOL bWasVisible = w->isVisible();
    if (nCmdShow != SW_HIDE && w->isWindow())
    {
        // The window may limit its size; only what it changes is handed to Qt.
        const QSize minSize = w->minimumSize();
        const POINT maxTrack = {std::min(w->maximumSize().width(), 32767),
                                std::min(w->maximumSize().height(), 32767)};
        MINMAXINFO mmi = {};
        mmi.ptMinTrackSize = {minSize.width(), minSize.height()};
        mmi.ptMaxTrackSize = maxTrack;
        mmi.ptMaxSize = maxTrack;
        SendMessage(WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&mmi));
        if (!(w = GetWidget()))
            return bWasVisible;
        const QSize newMin(std::max(0, int(mmi.ptMinTrackSize.x)), std::max(0, int(mmi.ptMinTrackSize.y)));
        if (newMin != minSize)
            w->setMinimumSize(newMin);
        if (mmi.ptMaxTrackSize.x != maxTrack.x || mmi.ptMaxTrackSize.y != maxTrack.y)
            w->setMaximumSize(std::max(1, int(mmi.ptMaxTrackSize.x)), std::max(1, int(mmi.ptMaxTrackSize.y)));
    }
    switch (nCmdShow)
    {
    case SW_HIDE:
        w->hide();
        m_dwStyle &= ~WS_VISIBLE;
        return bWasVisible;
    case SW_SHOWMAXIMIZED:
        w->showMaximized();
        break;
    case SW_MINIMIZE:
    case SW_SHOWMINIMIZED:
    case SW_SHOWMINNOACTIVE:
        w->showMinimized();
        break;
    case SW_RESTORE:
        w->showNormal();
        break;
    case SW_SHOWNA:
    case SW_SHOWNOACTIVATE:
        w->setAttribute(Qt::WA_ShowWithoutActivating, true);
        w->show();
        w->setAttribute(Qt::WA_ShowWithoutActivating, false);
        break;
    default:
        w->show();
        break;
    }
    m_dwStyle |= WS_VISIBLE;
    return bWasVisible;
}

void CWnd::UpdateWindow()
{
    if (QWidget* w = GetWidget())
        w->repaint();
}

void CWnd::Invalidate(BOOL)
{
    InvalidateRect(nullptr, TRUE);
}

void CWnd::InvalidateRect(LPCRECT lpRect, BOOL)
{
    QWidget* w = GetClientWidget();
    if (!w)
        return;
    if (lpRect)
        w->update(
            QRect(lpRect->left, lpRect->top, lpRect->right - lpRect->left, lpRect->bottom - lpRect->top));
    else
        w->update();
}

void CWnd::ValidateRect(LPCRECT) {}

BOOL CWnd::RedrawWindow(LPCRECT lpRectUpdate, CRgn*, UINT flags)
{
    QWidget* w = GetClientWidget();
    if (!w)
        return FALSE;
    if (flags & (RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_INTERNALPAINT))
        InvalidateRect(lpRectUpdate, TRUE);
    if (flags & RDW_UPDATENOW)
        w->repaint();
    return TRUE;
}

void CWnd::SetRedraw(BOOL bRedraw)
{
    if (QWidget* w = GetWidget())
        w->setUpdatesEnabled(bRedraw != FALSE);
}

void CWnd::GetClientRect(LPRECT lpRect) const
{
    if (!lpRect)
        return;
    *lpRect = RECT{0, 0, 0, 0};
    if (QWidget* w = GetClientWidget())
    {
        lpRect->right = w->width();
        lpRect->bottom = w->height();
    }
}

void CWnd::GetWindowRect(LPRECT lpRect) const
{
    if (!lpRect)
        return;
    *lpRect = RECT{0, 0, 0, 0};
    QWidget* w = GetWidget();
    if (!w)
        return;
    QRect r = w->isWindow() ? w->frameGeometry() : QRect(w->mapToGlobal(QPoint(0, 0)), w->size());
    *lpRect = RECT{r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}

void CWnd::ClientToScreen(LPPOINT lpPoint) const
{
    QWidget* w = GetClientWidget();
    if (!w || !lpPoint)
        return;
    const QPoint p = w->mapToGlobal(QPoint(lpPoint->x, lpPoint->y));
    lpPoint->x = p.x();
    lpPoint->y = p.y();
}

void CWnd::ClientToScreen(LPRECT lpRect) const
{
    if (!lpRect)
        return;
    ClientToScreen(reinterpret_cast<LPPOINT>(&lpRect->left));
    ClientToScreen(reinterpret_cast<LPPOINT>(&lpRect->right));
}

void CWnd::ScreenToClient(LPPOINT lpPoint) const
{
    QWidget* w = GetClientWidget();
    if (!w || !lpPoint)
        return;
    const QPoint p = w->mapFromGlobal(QPoint(lpPoint->x, lpPoint->y));
    lpPoint->x = p.x();
    lpPoint->y = p.y();
}

void CWnd::ScreenToClient(LPRECT lpRect) const
{
    if (!lpRect)
        return;
    ScreenToClient(reinterpret_cast<LPPOINT>(&lpRect->left));
    ScreenToClient(reinterpret_cast<LPPOINT>(&lpRect->right));
}

void CWnd::MoveWindow(int x, int y, int nWidth, int nHeight, BOOL bRepaint)
{
    QWidget* w = GetWidget();
    if (!w)
        return;
    if (w->isWindow() && w->windowFlags().testFlag(Qt::FramelessWindowHint))
    {
        // Nothing lies around a frameless window (and a frame it had before may still be counted).
        w->setGeometry(x, y, std::max(1, nWidth), std::max(1, nHeight));
    }
    else if (w->isWindow())
    {
        w->move(x, y);
        w->resize(std::max(1, nWidth), std::max(1, nHeight));
    }
    else
        w->setGeometry(x, y, std::max(0, nWidth), std::max(0, nHeight));
    if (bRepaint)
        w->update();
}

void CWnd::MoveWindow(LPCRECT lpRect, BOOL bRepaint)
{
    if (lpRect)
        MoveWindow(lpRect->left, lpRect->top, lpRect->right - lpRect->left, lpRect->bottom - lpRect->top,
                   bRepaint);
}

BOOL CWnd::SetWindowPos(const CWnd* pWndInsertAfter, int x, int y, int cx, int cy, UINT nFlags)
{
    QWidget* w = GetWidget();
    if (!w)
        return FALSE;
    if (!(nFlags & SWP_NOMOVE))
        w->move(x, y);
    if (!(nFlags & SWP_NOSIZE))
        w->resize(std::max(0, cx), std::max(0, cy));
    if (!(nFlags & SWP_NOZORDER))
    {
        // A top-level window joins or leaves the windows kept above all others.
        if (pWndInsertAfter == reinterpret_cast<const CWnd*>(HWND_TOPMOST) && w->isWindow())
            ModifyStyleEx(0, WS_EX_TOPMOST);
        else if (pWndInsertAfter == reinterpret_cast<const CWnd*>(HWND_NOTOPMOST) && w->isWindow())
            ModifyStyleEx(WS_EX_TOPMOST, 0);
        if (pWndInsertAfter == reinterpret_cast<const CWnd*>(HWND_BOTTOM))
            w->lower();
        else if (!pWndInsertAfter || pWndInsertAfter == reinterpret_cast<const CWnd*>(HWND_TOPMOST) ||
                 pWndInsertAfter == reinterpret_cast<const CWnd*>(HWND_TOP))
            w->raise();
        else if (QWidget* after = pWndInsertAfter->GetWidget();
                 after && after->parentWidget() == w->parentWidget())
            w->stackUnder(after);
    }
    if (nFlags & SWP_SHOWWINDOW)
        ShowWindow(SW_SHOW);
    if (nFlags & SWP_HIDEWINDOW)
        ShowWindow(SW_HIDE);
    return TRUE;
}

void CWnd::CenterWindow(CWnd* pAlternateOwner)
{
    QWidget* w = GetWidget();
    if (!w)
        return;
    QRect area;
    CWnd* pOwner = pAlternateOwner ? pAlternateOwner : GetParent();
    if (QWidget* ow = pOwner ? pOwner->GetWidget() : nullptr)
    {
        // A window centres on its owner's place on the screen, also when the owner is a child
        // window (a view), whose own geometry is relative to its parent.
        if (!w->isWindow())
            area = ow->rect();
        else if (ow->isWindow())
            area = ow->frameGeometry();
        else
            area = QRect(ow->mapToGlobal(QPoint(0, 0)), ow->size());
    }
    else if (QScreen* screen = QGuiApplication::primaryScreen())
        area = screen->availableGeometry();
    else
        return;
    QRect r = w->isWindow() ? w->frameGeometry() : w->geometry();
    r.moveCenter(area.center());
    w->move(r.topLeft());
}

BOOL CWnd::IsWindowVisible() const
{
    QWidget* w = GetWidget();
    return w && w->isVisible();
}

BOOL CWnd::IsWindowEnabled() const
{
    QWidget* w = GetWidget();
    return w && w->isEnabled();
}

void CWnd::SetFont(CFont* pFont, BOOL bRedraw)
{
    m_pFont = pFont;
    QWidget* w = GetWidget();
    if (!w || !pFont)
        return;
    w->setFont(pFont->ToQFont());
    if (bRedraw)
        w->update();
}

BOOL CWnd::EnableWindow(BOOL bEnable)
{
    QWidget* w = GetWidget();
    if (!w)
        return FALSE;
    const BOOL bWasDisabled = !w->isEnabled();
    w->setEnabled(bEnable != FALSE);
    if (bEnable)
        m_dwStyle &= ~WS_DISABLED;
    else
        m_dwStyle |= WS_DISABLED;
    return bWasDisabled;
}

HICON CWnd::SetIcon(HICON hIcon, BOOL bBigIcon)
{
    HICON& slot = m_hIcons[bBigIcon ? 1 : 0];
    HICON old = slot;
    slot = hIcon;
    if (QWidget* w = GetWidget())
    {
        // Both sizes go into one icon; the same handle twice counts once.
        QIcon icon;
        for (HICON h : {m_hIcons[1], m_hIcons[0] == m_hIcons[1] ? nullptr : m_hIcons[0]})
            if (const QImage* image = AfxGetBitmapImage(h))
                icon.addPixmap(QPixmap::fromImage(*image));
        w->setWindowIcon(icon);
    }
    return old;
}

HICON CWnd::GetIcon(BOOL bBigIcon) const
{
    return m_hIcons[bBigIcon ? 1 : 0];
}

BOOL CWnd::IsIconic() const
{
    QWidget* w = GetWidget();
    return w && w->isMinimized();
}

BOOL CWnd::IsZoomed() const
{
    QWidget* w = GetWidget();
    return w && w->isMaximized();
}

void CWnd::BringWindowToTop()
{
    if (QWidget* w = GetWidget())
    {
        w->raise();
        if (w->isWindow())
            w->activateWindow();
    }
}

BOOL CWnd::SetForegroundWindow()
{
    BringWindowToTop();
    return GetWidget() != nullptr;
}

CWnd* CWnd::SetActiveWindow()
{
    CWnd* pOld = GetActiveWindow();
    if (QWidget* w = GetWidget())
        w->activateWindow();
    return pOld;
}

CWnd* CWnd::GetActiveWindow()
{
    return QApplication::instance() ? FromHandlePermanent(AfxWindowAtOrAbove(QApplication::activeWindow()))
                                    : nullptr;
}

CWnd* CWnd::SetFocus()
{
    CWnd* pOld = GetFocus();
    if (QWidget* w = GetWidget())
        w->setFocus(Qt::OtherFocusReason);
    return pOld;
}

CWnd* CWnd::GetFocus()
{
    return QApplication::instance() ? FromHandlePermanent(AfxWindowAtOrAbove(QApplication::focusWidget()))
                                    : nullptr;
}

void CWnd::SetWindowText(LPCWSTR lpszString)
{
    SendMessage(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(lpszString));
}

int CWnd::GetWindowText(LPWSTR lpszStringBuf, int nMaxCount) const
{
    return int(
        ::SendMessageW(m_hWnd, WM_GETTEXT, WPARAM(nMaxCount), reinterpret_cast<LPARAM>(lpszStringBuf)));
}

void CWnd::GetWindowText(CString& rString) const
{
    const int len = GetWindowTextLength();
    std::wstring buf(size_t(len) + 1, L'\0');
    const int got = GetWindowText(buf.data(), len + 1);
    buf.resize(size_t(std::clamp(got, 0, len)));
    rString = CString(std::move(buf));
}

int CWnd::GetWindowTextLength() const
{
    return int(::SendMessageW(m_hWnd, WM_GETTEXTLENGTH, 0, 0));
}

DWORD CWnd::GetStyle() const
{
    DWORD style = m_dwStyle;
    if (QWidget* w = GetWidget())
    {
        style = w->isVisible() ? (style | WS_VISIBLE) : (style & ~WS_VISIBLE);
        style = w->isEnabled() ? (style & ~WS_DISABLED) : (style | WS_DISABLED);
    }
    return style;
}

DWORD CWnd::GetExStyle() const
{
    return m_dwExStyle;
}

namespace
{
// The style bits a top-level window shows as its window manager's decorations.
constexpr DWORD kFrameStyleBits = WS_CAPTION | WS_BORDER | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
constexpr DWORD kFrameExStyleBits = WS_EX_TOPMOST | WS_EX_CONTEXTHELP;

// A top-level window's decorations from its styles: no caption is a frameless window.
void ApplyFrameFlags(QWidget* w, DWORD style, DWORD exStyle)
{
    if (!w || !w->isWindow())
        return;
    Qt::WindowFlags flags = w->windowFlags() & Qt::WindowType_Mask;
    if (!(style & WS_CAPTION))
        flags |= Qt::FramelessWindowHint;
    else
    {
        flags |= Qt::CustomizeWindowHint | Qt::WindowTitleHint;
        if (style & WS_SYSMENU)
            flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
        if (style & WS_MINIMIZEBOX)
            flags |= Qt::WindowMinimizeButtonHint;
        if (style & WS_MAXIMIZEBOX)
            flags |= Qt::WindowMaximizeButtonHint;
        if (exStyle & WS_EX_CONTEXTHELP)
            flags |= Qt::WindowContextHelpButtonHint;
    }
    if (exStyle & WS_EX_TOPMOST)
        flags |= Qt::WindowStaysOnTopHint;
    if (flags == w->windowFlags())
        return;
    // New flags make a new native window: keep the client area where it was.
    const bool visible = w->isVisible();
    const QRect geometry = w->geometry();
    w->setWindowFlags(flags);
    w->setGeometry(geometry);
    if (visible)
        w->show();
}
} // namespace

BOOL CWnd::ModifyStyle(DWORD dwRemove, DWORD dwAdd, UINT)
{
    const DWORD old = GetStyle();
    const DWORD style = (old & ~dwRemove) | dwAdd;
    if (style == old)
        return FALSE;
    m_dwStyle = style;
    if ((old ^ style) & WS_DISABLED)
        EnableWindow(!(style & WS_DISABLED));
    if ((old ^ style) & WS_VISIBLE)
        ShowWindow((style & WS_VISIBLE) ? SW_SHOW : SW_HIDE);
    if (((old ^ style) & kFrameStyleBits) && !(style & WS_CHILD))
        ApplyFrameFlags(GetWidget(), style, m_dwExStyle);
    return TRUE;
}

BOOL CWnd::ModifyStyleEx(DWORD dwRemove, DWORD dwAdd, UINT)
{
    const DWORD old = m_dwExStyle;
    const DWORD style = (m_dwExStyle & ~dwRemove) | dwAdd;
    if (style == m_dwExStyle)
        return FALSE;
    m_dwExStyle = style;
    if (((old ^ style) & kFrameExStyleBits) && !(m_dwStyle & WS_CHILD))
        ApplyFrameFlags(GetWidget(), m_dwStyle, style);
    return TRUE;
}

// --- CWnd: relations -------------------------------------------------------------------------------

void CWnd::GetChildWindows(std::vector<CWnd*>& children) const
{
    QWidget* w = GetWidget();
    if (!w)
        return;
    std::vector<QWidget*> stack;
    // Walk the widget tree in creation order; a widget carrying a window ends its branch.
    std::function<void(QWidget*)> walk = [&](QWidget* parent)
    {
        for (QObject* o : parent->children())
        {
            auto* cw = qobject_cast<QWidget*>(o);
            if (!cw || cw->isWindow())
                continue;
            if (HWND h = AfxHandleFromWidget(cw))
            {
                if (CWnd* c = FromHandlePermanent(h))
                    children.push_back(c);
            }
            else
                walk(cw);
        }
    };
    walk(w);
}

CWnd* CWnd::GetParent() const
{
    QWidget* w = GetWidget();
    if (!w)
        return nullptr;
    return FromHandlePermanent(AfxWindowAtOrAbove(w->parentWidget()));
}

CWnd* CWnd::GetOwner() const
{
    return GetParent();
}

CWnd* CWnd::GetWindow(UINT nCmd) const
{
    if (!m_hWnd)
        return nullptr;
    if (nCmd == GW_CHILD)
    {
        std::vector<CWnd*> children;
        GetChildWindows(children);
        return children.empty() ? nullptr : children.front();
    }
    if (nCmd == GW_OWNER)
    {
        QWidget* w = GetWidget();
        return (w && w->isWindow()) ? GetParent() : nullptr;
    }
    std::vector<CWnd*> siblings;
    QWidget* w = GetWidget();
    CWnd* pParent = (w && !w->isWindow()) ? GetParent() : nullptr;
    if (pParent)
        pParent->GetChildWindows(siblings);
    else
    {
        for (HWND h : AfxAllWindows())
        {
            QWidget* sw = AfxWidgetFromHandle(h);
            if (sw && sw->isWindow())
            {
                if (CWnd* s = FromHandlePermanent(h))
                    siblings.push_back(s);
            }
        }
    }
    auto it = std::find(siblings.begin(), siblings.end(), this);
    switch (nCmd)
    {
    case GW_HWNDFIRST:
        return siblings.empty() ? nullptr : siblings.front();
    case GW_HWNDLAST:
        return siblings.empty() ? nullptr : siblings.back();
    case GW_HWNDNEXT:
        return (it == siblings.end() || it + 1 == siblings.end()) ? nullptr : *(it + 1);
    case GW_HWNDPREV:
        return (it == siblings.end() || it == siblings.begin()) ? nullptr : *(it - 1);
    default:
        return nullptr;
    }
}

CWnd* CWnd::GetTopLevelParent() const
{
    const CWnd* pWnd = this;
    for (;;)
    {
        QWidget* w = pWnd->GetWidget();
        if (!w || w->isWindow())
            break;
        CWnd* pParent = pWnd->GetParent();
        if (!pParent)
            break;
        pWnd = pParent;
    }
    return const_cast<CWnd*>(pWnd);
}

CFrameWnd* CWnd::GetParentFrame() const
{
    for (CWnd* p = GetParent(); p; p = p->GetParent())
    {
        if (p->IsKindOf(RUNTIME_CLASS(CFrameWnd)))
            return static_cast<CFrameWnd*>(p);
    }
    return nullptr;
}

CFrameWnd* CWnd::GetTopLevelFrame() const
{
    CFrameWnd* pFrame = IsKindOf(RUNTIME_CLASS(CFrameWnd)) ? static_cast<CFrameWnd*>(const_cast<CWnd*>(this))
                                                           : GetParentFrame();
    while (pFrame)
    {
        CFrameWnd* pUp = pFrame->GetParentFrame();
        if (!pUp)
            break;
        pFrame = pUp;
    }
    return pFrame;
}

BOOL CWnd::IsChild(const CWnd* pWnd) const
{
    QWidget* w = GetWidget();
    QWidget* c = pWnd ? pWnd->GetWidget() : nullptr;
    return w && c && c != w && w->isAncestorOf(c);
}

CWnd* CWnd::GetDlgItem(int nID) const
{
    std::vector<CWnd*> children;
    GetChildWindows(children);
    for (CWnd* c : children)
    {
        if (c->m_nIDCtrl == UINT(nID))
            return c;
    }
    return nullptr;
}

int CWnd::GetDlgCtrlID() const
{
    return int(m_nIDCtrl);
}

int CWnd::SetDlgCtrlID(int nID)
{
    const int old = int(m_nIDCtrl);
    m_nIDCtrl = UINT(nID);
    return old;
}

void CWnd::SetDlgItemText(int nID, LPCWSTR lpszString)
{
    if (CWnd* p = GetDlgItem(nID))
        p->SetWindowText(lpszString);
}

int CWnd::GetDlgItemText(int nID, CString& rString) const
{
    rString.Empty();
    if (CWnd* p = GetDlgItem(nID))
        p->GetWindowText(rString);
    return rString.GetLength();
}

void CWnd::SetDlgItemInt(int nID, UINT nValue, BOOL bSigned)
{
    CString s;
    if (bSigned)
        s.Format(L"%d", int(nValue));
    else
        s.Format(L"%u", nValue);
    SetDlgItemText(nID, s);
}

UINT CWnd::GetDlgItemInt(int nID, BOOL* lpTrans, BOOL bSigned) const
{
    if (lpTrans)
        *lpTrans = FALSE;
    CString s;
    GetDlgItemText(nID, s);
    s.Trim();
    if (s.IsEmpty())
        return 0;
    wchar_t* end = nullptr;
    errno = 0;
    const long long v = std::wcstoll(s, &end, 10);
    if (!end || *end != L'\0' || errno == ERANGE)
        return 0;
    if (bSigned ? (v < INT_MIN || v > INT_MAX) : (v < 0 || v > UINT_MAX))
        return 0;
    if (lpTrans)
        *lpTrans = TRUE;
    return UINT(v);
}

void CWnd::CheckDlgButton(int nIDButton, UINT nCheck)
{
    SendDlgItemMessage(nIDButton, BM_SETCHECK, nCheck, 0);
}

UINT CWnd::IsDlgButtonChecked(int nIDButton) const
{
    CWnd* p = GetDlgItem(nIDButton);
    return p ? UINT(p->SendMessage(BM_GETCHECK)) : 0;
}

LRESULT CWnd::SendDlgItemMessage(int nID, UINT message, WPARAM wParam, LPARAM lParam)
{
    CWnd* p = GetDlgItem(nID);
    return p ? p->SendMessage(message, wParam, lParam) : 0;
}

// --- CWnd: timers ----------------------------------------------------------------------------------

UINT_PTR CWnd::SetTimer(UINT_PTR nIDEvent, UINT nElapse, TIMERPROC lpfnTimer)
{
    if (!m_hWnd || !AfxOnUiThread())
        return 0;
    if (!m_pTimerSink)
        m_pTimerSink = new CTimerSink(this);
    const int ms = int(std::clamp<UINT>(nElapse, 10u, UINT(INT_MAX)));
    auto it = m_timers.find(nIDEvent);
    if (it != m_timers.end())
    {
        m_pTimerSink->killTimer(it->second.nQtTimer);
        m_timers.erase(it);
    }
    const int q = m_pTimerSink->startTimer(ms);
    if (q == 0)
        return 0;
    m_timers[nIDEvent] = CTimerSlot{q, lpfnTimer};
    return nIDEvent;
}

BOOL CWnd::KillTimer(UINT_PTR nIDEvent)
{
    auto it = m_timers.find(nIDEvent);
    if (it == m_timers.end())
        return FALSE;
    if (m_pTimerSink)
        m_pTimerSink->killTimer(it->second.nQtTimer);
    m_timers.erase(it);
    return TRUE;
}

bool CWndAccess::DeliverTimer(CWnd* pWnd, int nQtTimer)
{
    UINT_PTR id = 0;
    TIMERPROC lpfn = nullptr;
    bool found = false;
    for (const auto& [timerId, slot] : pWnd->m_timers)
    {
        if (slot.nQtTimer == nQtTimer)
        {
            id = timerId;
            lpfn = slot.lpfn;
            found = true;
            break;
        }
    }
    if (!found || !pWnd->m_hWnd)
        return false;
    const HWND h = pWnd->m_hWnd;
    AfxGuardedCall(
        [&]
        {
            if (lpfn)
            {
                lpfn(h, WM_TIMER, id, GetMessageTime());
                return;
            }
            MSG msg = {h, WM_TIMER, WPARAM(id), 0, GetMessageTime(), {0, 0}};
            if (AfxPreTranslateMessage(&msg))
                return;
            if (CWnd* w = CWnd::FromHandlePermanent(h))
                AfxCallWndProc(w, WM_TIMER, WPARAM(id), 0);
        });
    return true;
}

BOOL CWndAccess::Destroy(CWnd* pWnd, bool bTopOfTree, bool bWidgetDying)
{
    return pWnd->DestroyWindowImpl(bTopOfTree, bWidgetDying);
}

// --- CWnd: menus, help and message boxes -----------------------------------------------------------

CMenu* CWnd::GetMenu() const
{
    return nullptr;
}
BOOL CWnd::SetMenu(CMenu*)
{
    return FALSE;
}
void CWnd::DrawMenuBar() {}

namespace
{
UINT HtmlHelpCommand(UINT nCmd)
{
    switch (nCmd)
    {
    case HELP_CONTEXT:
        return HH_HELP_CONTEXT;
    case HELP_FINDER:
        return HH_HELP_FINDER;
    case HELP_INDEX:
        return HH_DISPLAY_TOC;
    case HELP_QUIT:
        return HH_CLOSE_ALL;
    case HELP_HELPONHELP:
        return HH_DISPLAY_TOPIC;
    default:
        return nCmd;
    }
}

CString AppHelpPath()
{
    CWinApp* pApp = AfxGetApp();
    return (pApp && pApp->m_pszHelpFilePath) ? CString(pApp->m_pszHelpFilePath) : CString();
}
} // namespace

void CWnd::WinHelp(DWORD_PTR dwData, UINT nCmd)
{
    AfxShowHelp(this, AppHelpPath(), HtmlHelpCommand(nCmd), dwData);
}
void CWnd::HtmlHelp(DWORD_PTR dwData, UINT nCmd)
{
    AfxShowHelp(this, AppHelpPath(), nCmd, dwData);
}
// The application's help is HTML help: WinHelp commands are turned into their HtmlHelp forms (the
// help finder becomes HtmlHelp(0, 0), which every frame passes to the help file).
void CWnd::WinHelpInternal(DWORD_PTR dwData, UINT nCmd)
{
    HtmlHelp(dwData, HtmlHelpCommand(nCmd));
}

int CWnd::MessageBox(LPCWSTR lpszText, LPCWSTR lpszCaption, UINT nType)
{
    CWinApp* pApp = AfxGetApp();
    if (!lpszCaption)
        lpszCaption = (pApp && pApp->m_pszAppName) ? pApp->m_pszAppName : L"";
    return AfxShowMessageBox(this, lpszText, lpszCaption, nType, 0);
}

// --- CWnd: handlers --------------------------------------------------------------------------------

int CWnd::OnCreate(LPCREATESTRUCT)
{
    return int(Default());
}
void CWnd::OnDestroy()
{
    Default();
}
void CWnd::OnClose()
{
    Default();
}
void CWnd::OnTimer(UINT_PTR)
{
    Default();
}
void CWnd::OnSize(UINT, int, int)
{
    Default();
}
void CWnd::OnMove(int, int)
{
    Default();
}
void CWnd::OnPaint()
{
    Default();
}
void CWnd::OnShowWindow(BOOL, UINT)
{
    Default();
}
void CWnd::OnSysCommand(UINT, LPARAM)
{
    Default();
}
BOOL CWnd::OnSetCursor(CWnd*, UINT, UINT)
{
    return BOOL(Default());
}

BOOL CWnd::OnHelpInfo(HELPINFO*)
{
    // F1 anywhere asks the frame for help on the current context.
    CWnd* pTarget = GetTopLevelParent();
    if (CFrameWnd* pFrame = GetTopLevelFrame())
        pTarget = pFrame;
    if (pTarget && pTarget->m_hWnd)
    {
        pTarget->SendMessage(WM_COMMAND, ID_HELP, 0);
        return TRUE;
    }
    return FALSE;
}

void CWnd::OnSetFocus(CWnd*)
{
    Default();
}
void CWnd::OnKillFocus(CWnd*)
{
    Default();
}
void CWnd::OnGetMinMaxInfo(MINMAXINFO*)
{
    Default();
}
void CWnd::OnContextMenu(CWnd*, CPoint)
{
    Default();
}
void CWnd::OnLButtonDown(UINT, CPoint)
{
    Default();
}
void CWnd::OnLButtonUp(UINT, CPoint)
{
    Default();
}
void CWnd::OnLButtonDblClk(UINT, CPoint)
{
    Default();
}
void CWnd::OnRButtonDown(UINT, CPoint)
{
    Default();
}
void CWnd::OnRButtonUp(UINT, CPoint)
{
    Default();
}
void CWnd::OnRButtonDblClk(UINT, CPoint)
{
    Default();
}
void CWnd::OnMButtonDown(UINT, CPoint)
{
    Default();
}
void CWnd::OnMButtonUp(UINT, CPoint)
{
    Default();
}
void CWnd::OnMouseMove(UINT, CPoint)
{
    Default();
}
BOOL CWnd::OnMouseWheel(UINT, short, CPoint)
{
    return BOOL(Default());
}
void CWnd::OnKeyDown(UINT, UINT, UINT)
{
    Default();
}
void CWnd::OnKeyUp(UINT, UINT, UINT)
{
    Default();
}
void CWnd::OnChar(UINT, UINT, UINT)
{
    Default();
}
void CWnd::OnSysKeyDown(UINT, UINT, UINT)
{
    Default();
}
void CWnd::OnSysKeyUp(UINT, UINT, UINT)
{
    Default();
}

void CWnd::OnHelp()
{
    // The focus window and its parents may know a closer context; the frame knows its own.
    CWnd* pFocus = GetFocus();
    HWND start = (pFocus && (pFocus == this || IsChild(pFocus))) ? pFocus->m_hWnd : m_hWnd;
    for (HWND h = start; h; h = ::GetParent(h))
    {
        if (::SendMessageW(h, WM_COMMANDHELP, 0, 0))
            return;
        if (h == m_hWnd)
            break;
    }
    if (CWinApp* pApp = AfxGetApp())
        pApp->WinHelpInternal(0, HELP_FINDER);
}

void CWnd::OnHelpIndex()
{
    if (CWinApp* pApp = AfxGetApp())
        pApp->WinHelpInternal(0, HELP_INDEX);
}

void CWnd::OnHelpFinder()
{
    if (CWinApp* pApp = AfxGetApp())
        pApp->WinHelpInternal(0, HELP_FINDER);
}

void CWnd::OnHelpUsing()
{
    if (CWinApp* pApp = AfxGetApp())
        pApp->WinHelpInternal(0, HELP_HELPONHELP);
}
