#include "mfc/Wnd.h"

#include "mfc/CommandIcons.h"
#include "mfc/WndPrivate.h"

#include <QApplication>
#include <QCursor>
#include <QMetaObject>
#include <QScreen>
#include <QStyle>

#include <cassert>
#include <cwctype>
#include <memory>
#include <mutex>
#include <string>
#include <map>
#include <unordered_map>

// The Win32 functions over windows: they find the window object of a handle and call it.

namespace
{
struct PostedFreeTable
{
    std::mutex mutex;
    std::unordered_map<UINT, AFX_POSTED_FREE> freers;
};

PostedFreeTable& PostedFrees()
{
    // Kept for the process: a queue dropped at exit may still free through it.
    static auto* table = new PostedFreeTable;
    return *table;
}

AFX_POSTED_FREE FindPostedFree(UINT message)
{
    PostedFreeTable& t = PostedFrees();
    std::lock_guard lock(t.mutex);
    auto it = t.freers.find(message);
    return it == t.freers.end() ? nullptr : it->second;
}

// One posted message on its way. Unless a handler was reached, its going frees what it carries:
// after a dispatch that found no window, or when the queue is dropped with it still in it.
struct PostedMessage
{
    HWND hWnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    bool delivered = false;

    PostedMessage(HWND h, UINT m, WPARAM w, LPARAM l) : hWnd(h), message(m), wParam(w), lParam(l) {}
    PostedMessage(const PostedMessage&) = delete;
    PostedMessage& operator=(const PostedMessage&) = delete;
    ~PostedMessage()
    {
        if (delivered)
            return;
        if (AFX_POSTED_FREE pfnFree = FindPostedFree(message))
            pfnFree(wParam, lParam);
    }
};

void DispatchPosted(PostedMessage& posted)
{
    AfxQtEntry entry;
    MSG msg = {posted.hWnd, posted.message, posted.wParam, posted.lParam, GetMessageTime(), {0, 0}};
    AfxGuardedCall(
        [&]
        {
            if (AfxPreTranslateMessage(&msg))
            {
                posted.delivered = true;
                return;
            }
            if (CWnd* pWnd = CWnd::FromHandlePermanent(posted.hWnd))
            {
                posted.delivered = true;
                AfxCallWndProc(pWnd, posted.message, posted.wParam, posted.lParam);
            }
        });
}
} // namespace

void AfxSetPostedMessageFree(UINT message, AFX_POSTED_FREE pfnFree)
{
    PostedFreeTable& t = PostedFrees();
    std::lock_guard lock(t.mutex);
    if (pfnFree)
        t.freers[message] = pfnFree;
    else
        t.freers.erase(message);
}

LRESULT SendMessageW(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    // A window's messages are handled on its own thread; other threads post. Waiting here for the
    // UI thread could deadlock against a UI thread that waits for the caller.
    if (!AfxOnWindowThread(hWnd))
    {
        assert(!"SendMessage from a thread other than the window's: post instead");
        return 0;
    }
    CWnd* pWnd = CWnd::FromHandlePermanent(hWnd);
    return pWnd ? AfxCallWndProc(pWnd, message, wParam, lParam) : 0;
}

BOOL PostMessageW(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    QCoreApplication* app = QCoreApplication::instance();
    if (!app || (hWnd && !::IsWindow(hWnd)))
        return FALSE;
    auto posted = std::make_shared<PostedMessage>(hWnd, message, wParam, lParam);
    // Qt's event queue hands the message to the window's thread, but its locking is invisible to
    // the thread checker: this lock, held while posting and taken before reading, makes the
    // hand-over one it can see.
    static std::mutex handOver;
    std::lock_guard<std::mutex> lock(handOver);
    QMetaObject::invokeMethod(
        app,
        [posted]
        {
            {
                std::lock_guard<std::mutex> seen(handOver);
            }
            DispatchPosted(*posted);
        },
        Qt::QueuedConnection);
    return TRUE;
}

HWND GetWindow(HWND hWnd, UINT uCmd)
{
    CWnd* p = CWnd::FromHandlePermanent(hWnd);
    CWnd* r = p ? p->GetWindow(uCmd) : nullptr;
    return r ? r->m_hWnd : nullptr;
}

HWND GetParent(HWND hWnd)
{
    QWidget* w = AfxWidgetFromHandle(hWnd);
    return w ? AfxWindowAtOrAbove(w->parentWidget()) : nullptr;
}

HWND GetDlgItem(HWND hDlg, int nIDDlgItem)
{
    CWnd* p = CWnd::FromHandlePermanent(hDlg);
    CWnd* r = p ? p->GetDlgItem(nIDDlgItem) : nullptr;
    return r ? r->m_hWnd : nullptr;
}

int GetDlgCtrlID(HWND hWnd)
{
    CWnd* p = CWnd::FromHandlePermanent(hWnd);
    return p ? p->GetDlgCtrlID() : 0;
}

BOOL DestroyWindow(HWND hWnd)
{
    CWnd* p = CWnd::FromHandlePermanent(hWnd);
    return p ? p->DestroyWindow() : FALSE;
}

BOOL ShowWindow(HWND hWnd, int nCmdShow)
{
    CWnd* p = CWnd::FromHandlePermanent(hWnd);
    return p ? p->ShowWindow(nCmdShow) : FALSE;
}

BOOL IsWindowVisible(HWND hWnd)
{
    CWnd* p = CWnd::FromHandlePermanent(hWnd);
    return p ? p->IsWindowVisible() : FALSE;
}

BOOL EnableWindow(HWND hWnd, BOOL bEnable)
{
    CWnd* p = CWnd::FromHandlePermanent(hWnd);
    return p ? p->EnableWindow(bEnable) : FALSE;
}

BOOL SetWindowTextW(HWND hWnd, LPCWSTR lpString)
{
    if (!::IsWindow(hWnd))
        return FALSE;
    return ::SendMessageW(hWnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(lpString)) ? TRUE : FALSE;
}

int GetWindowTextW(HWND hWnd, LPWSTR lpString, int nMaxCount)
{
    return int(::SendMessageW(hWnd, WM_GETTEXT, WPARAM(nMaxCount), reinterpret_cast<LPARAM>(lpString)));
}

int GetWindowTextLengthW(HWND hWnd)
{
    return int(::SendMessageW(hWnd, WM_GETTEXTLENGTH, 0, 0));
}

BOOL InvalidateRect(HWND hWnd, const RECT* lpRect, BOOL bErase)
{
    CWnd* p = CWnd::FromHandlePermanent(hWnd);
    if (!p)
        return FALSE;
    p->InvalidateRect(lpRect, bErase);
    return TRUE;
}

BOOL UpdateWindow(HWND hWnd)
{
    CWnd* p = CWnd::FromHandlePermanent(hWnd);
    if (!p)
        return FALSE;
    p->UpdateWindow();
    return TRUE;
}

BOOL GetClientRect(HWND hWnd, LPRECT lpRect)
{
    CWnd* p = CWnd::FromHandlePermanent(hWnd);
    if (!p || !lpRect)
        return FALSE;
    p->GetClientRect(lpRect);
    return TRUE;
}

BOOL GetWindowRect(HWND hWnd, LPRECT lpRect)
{
    CWnd* p = CWnd::FromHandlePermanent(hWnd);
    if (!p || !lpRect)
        return FALSE;
    p->GetWindowRect(lpRect);
    return TRUE;
}

BOOL MoveWindow(HWND hWnd, int x, int y, int nWidth, int nHeight, BOOL bRepaint)
{
    CWnd* p = CWnd::FromHandlePermanent(hWnd);
    if (!p)
        return FALSE;
    p->MoveWindow(x, y, nWidth, nHeight, bRepaint);
    return TRUE;
}

HWND SetFocus(HWND hWnd)
{
    CWnd* pOld = CWnd::GetFocus();
    if (CWnd* p = CWnd::FromHandlePermanent(hWnd))
        p->SetFocus();
    return pOld ? pOld->m_hWnd : nullptr;
}

HWND GetFocus()
{
    CWnd* p = CWnd::GetFocus();
    return p ? p->m_hWnd : nullptr;
}

UINT_PTR SetTimer(HWND hWnd, UINT_PTR nIDEvent, UINT uElapse, TIMERPROC lpTimerFunc)
{
    CWnd* p = CWnd::FromHandlePermanent(hWnd);
    return p ? p->SetTimer(nIDEvent, uElapse, lpTimerFunc) : 0;
}

BOOL KillTimer(HWND hWnd, UINT_PTR uIDEvent)
{
    CWnd* p = CWnd::FromHandlePermanent(hWnd);
    return p ? p->KillTimer(uIDEvent) : FALSE;
}

UINT RegisterWindowMessageW(LPCWSTR lpString)
{
    static std::mutex mutex;
    static std::unordered_map<std::wstring, UINT> ids;
    if (!lpString || !*lpString)
        return 0;
    std::wstring key(lpString);
    for (wchar_t& c : key)
        c = wchar_t(std::towlower(wint_t(c)));
    std::lock_guard<std::mutex> lock(mutex);
    auto it = ids.find(key);
    if (it != ids.end())
        return it->second;
    if (ids.size() >= 0x3FFF)
        return 0;
    const UINT id = UINT(AFX_REGISTERED_MESSAGE_FIRST + ids.size());
    ids.emplace(std::move(key), id);
    return id;
}

namespace
{
struct ClassTable
{
    std::mutex mutex;
    // (module, lower-case name) -> the class as registered.
    std::map<std::pair<HINSTANCE, std::wstring>, WNDCLASS> classes;
    std::map<std::pair<HINSTANCE, std::wstring>, std::wstring> names;
};
ClassTable& Classes()
{
    static ClassTable table;
    return table;
}
std::wstring LowerName(LPCWSTR lpsz)
{
    std::wstring key(lpsz);
    for (wchar_t& c : key)
        c = wchar_t(std::towlower(wint_t(c)));
    return key;
}
} // namespace

BOOL AfxRegisterClass(WNDCLASS* lpWndClass)
{
    if (!lpWndClass || !lpWndClass->lpszClassName || !*lpWndClass->lpszClassName)
        return FALSE;
    ClassTable& t = Classes();
    std::lock_guard<std::mutex> lock(t.mutex);
    const auto key = std::make_pair(lpWndClass->hInstance, LowerName(lpWndClass->lpszClassName));
    if (t.classes.count(key))
        return FALSE;
    // The name is kept by the table, so the caller's text may go.
    auto& name = t.names[key] = lpWndClass->lpszClassName;
    WNDCLASS& kept = t.classes[key] = *lpWndClass;
    kept.lpszClassName = name.c_str();
    kept.lpszMenuName = nullptr;
    return TRUE;
}

BOOL GetClassInfoW(HINSTANCE hInstance, LPCWSTR lpszClassName, WNDCLASS* lpWndClass)
{
    if (!lpszClassName || !*lpszClassName)
        return FALSE;
    ClassTable& t = Classes();
    std::lock_guard<std::mutex> lock(t.mutex);
    const auto it = t.classes.find(std::make_pair(hInstance, LowerName(lpszClassName)));
    if (it == t.classes.end())
        return FALSE;
    if (lpWndClass)
        *lpWndClass = it->second;
    return TRUE;
}

LRESULT CALLBACK DefWindowProcW(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    CWnd* pWnd = CWnd::FromHandle(hWnd);
    return pWnd ? pWnd->CWnd::DefWindowProc(message, wParam, lParam) : 0;
}

SHORT GetKeyState(int nVirtKey)
{
    return GetAsyncKeyState(nVirtKey);
}

BOOL GetCursorPos(LPPOINT lpPoint)
{
    if (!lpPoint)
        return FALSE;
    const QPoint p = AfxLastCursorPos();
    lpPoint->x = p.x();
    lpPoint->y = p.y();
    return TRUE;
}

void AfxPumpMessages()
{
    if (!QCoreApplication::instance() || !AfxOnUiThread())
        return;
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

QApplication* AfxEnsureApplication()
{
    if (auto* app = qobject_cast<QApplication*>(QCoreApplication::instance()))
        return app;
    if (QCoreApplication::instance())
        return nullptr;
    static int argc = 1;
    static char name[] = "qyr";
    static char* argv[] = {name, nullptr};
    static QApplication* app = new QApplication(argc, argv);
    app->setQuitOnLastWindowClosed(false);
    AfxInitIconTheme();
    return app;
}

int GetSystemMetrics(int nIndex)
{
    QScreen* screen = QApplication::instance() ? QGuiApplication::primaryScreen() : nullptr;
    switch (nIndex)
    {
    case SM_CXSCREEN:
        return screen ? screen->geometry().width() : 0;
    case SM_CYSCREEN:
        return screen ? screen->geometry().height() : 0;
    case SM_CXEDGE:
    case SM_CYEDGE:
        return 2;
    case SM_CXVSCROLL:
    case SM_CYHSCROLL:
        return QApplication::instance() ? QApplication::style()->pixelMetric(QStyle::PM_ScrollBarExtent) : 16;
    default:
        return 0;
    }
}
