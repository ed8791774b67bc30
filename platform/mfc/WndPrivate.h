// Inside platform/mfc only: the handle table, the widgets that carry windows, and the way Qt's
// events become window messages.
#pragma once

#include "mfc/Wnd.h"

#include <QEvent>
#include <QRegion>
#include <QWidget>

#include <functional>

class QKeyEvent;

// Every call from Qt into the message system runs inside one of these. While any runs, a widget
// whose window is destroyed is deleted later (Qt may still be inside one of its functions); the
// serial counts the calls that are messages, so the idle loop can tell that something happened.
class AfxQtEntry
{
public:
    explicit AfxQtEntry(bool bCountsAsMessage = true);
    ~AfxQtEntry();
    AfxQtEntry(const AfxQtEntry&) = delete;
    AfxQtEntry& operator=(const AfxQtEntry&) = delete;

    static int Depth();
    static unsigned long MessageSerial();
};

// The width or height between two edges of a RECT; CW_USEDEFAULT stays as it is, and what does
// not fit an int is cut.
inline int AfxRectExtent(LONG from, LONG to)
{
    if (from == CW_USEDEFAULT)
        return CW_USEDEFAULT;
    const long long d = (long long)to - (long long)from;
    return d > 0x7FFFFFFF ? 0x7FFFFFFF : d < -0x7FFFFFFF ? -0x7FFFFFFF : int(d);
}

// Whether the caller runs on the UI thread (true before there is an application).
bool AfxOnUiThread();
// Runs a handler reached from Qt: an exception must not pass through Qt, so it stops here.
void AfxGuardedCall(const std::function<void()>& f);

// The region of the paint event that a widget is handling, for its CPaintDC; one per thread, as
// paint events nest only through other widgets.
class AfxPaintScope
{
public:
    AfxPaintScope(const QWidget* pWidget, const QRegion& region);
    ~AfxPaintScope();
    AfxPaintScope(const AfxPaintScope&) = delete;
    AfxPaintScope& operator=(const AfxPaintScope&) = delete;

    // The region being painted in the widget, or null outside its paint event.
    static const QRegion* Find(const QWidget* pWidget);

private:
    const QWidget* m_pWidget;
    const QRegion* m_pRegion;
    AfxPaintScope* m_pOuter;
};

// Handle table (WndHandles.cpp).
HWND AfxNewWindowHandle();
void AfxBindWindow(HWND hWnd, CWnd* pWnd, QWidget* pWidget);
void AfxUnbindWindow(HWND hWnd);
// Rebinds a handle to another window object (subclassing); the old object is returned.
CWnd* AfxRebindWindow(HWND hWnd, CWnd* pWnd);
QWidget* AfxWidgetFromHandle(HWND hWnd);
HWND AfxHandleFromWidget(const QWidget* pWidget);
// The nearest widget at or above pWidget that carries a window.
HWND AfxWindowAtOrAbove(const QWidget* pWidget);
// Every window in creation order.
std::vector<HWND> AfxAllWindows();
// Whether the caller runs on the thread of the window (true for a handle that is no window).
bool AfxOnWindowThread(HWND hWnd);

// Sends a message to a window with the current-message bookkeeping that Default() needs.
LRESULT AfxCallWndProc(CWnd* pWnd, UINT message, WPARAM wParam, LPARAM lParam);
// SendMessage for calls from Qt's signals: an exception of a handler stops here.
LRESULT AfxSendFromQt(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
// Hands a message to the thread's PreTranslateMessage (the windows' chain when there is no thread).
BOOL AfxPreTranslateMessage(MSG* pMsg);

// Sends a message that stands for a Qt event. DefWindowProc marks it, and the widget then lets Qt
// handle the event as it would have; returns whether it was marked.
bool AfxForwardEvent(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult = nullptr);
void AfxMarkDefault(HWND hWnd, UINT message);

// Turns a Qt event for a window's widget (the window itself, or the client area of a frame) into
// messages; base runs Qt's own handling where the window leaves the event to DefWindowProc.
// Returns what QWidget::event returns.
bool AfxHandleWidgetEvent(HWND hWnd, QWidget* pSource, QEvent* pEvent, const std::function<bool()>& base,
                          bool bClientPart = false);
// Keys going to a control: offered to PreTranslateMessage only.
bool AfxPreTranslateKey(HWND hWnd, QKeyEvent* pEvent);
// The modifiers of the key or mouse event being translated, for GetKeyState.
void AfxSetEventModifiers(int nModifiers, bool bValid);
UINT AfxVirtualKeyFromQt(int nQtKey);

// The widget of a window: forwards its events as messages. QBase is QWidget, QMainWindow,
// QDialog or QMdiSubWindow.
template <class QBase> class CWndHost : public QBase
{
public:
    template <class... Args> explicit CWndHost(Args&&... args) : QBase(std::forward<Args>(args)...)
    {
        QBase::setMouseTracking(true);
    }
    ~CWndHost() override;

protected:
    bool event(QEvent* e) override
    {
        const HWND hWnd = AfxHandleFromWidget(this);
        if (!hWnd)
            return QBase::event(e);
        return AfxHandleWidgetEvent(hWnd, this, e, [this, e] { return QBase::event(e); });
    }
};

// Called when a widget that still carries a window dies without DestroyWindow.
void AfxWidgetDying(QWidget* pWidget);

template <class QBase> CWndHost<QBase>::~CWndHost()
{
    AfxWidgetDying(this);
}

// The client area of a frame (its central widget): forwards mouse and keys as the frame's own.
class CWndClientArea : public QWidget
{
public:
    explicit CWndClientArea(QWidget* parent) : QWidget(parent) { setMouseTracking(true); }

protected:
    bool event(QEvent* e) override;
};

// Standard controls, through the control registry (ControlRegistry.cpp).
// Whether lpszClassName names a control class this layer makes.
bool AfxIsControlClass(LPCWSTR lpszClassName);
// Makes the control widget of a class and style; null when the class is not a control class.
QWidget* AfxCreateControlWidget(LPCWSTR lpszClassName, LPCWSTR lpszText, DWORD dwStyle, QWidget* pParent);
// Connects the control's notifications (WM_COMMAND to its parent) and key pre-translation.
void AfxConnectControl(HWND hWnd, QWidget* pWidget);
// The default processing of control messages and window text; FALSE when the message is not one.
BOOL AfxControlWindowProc(HWND hWnd, QWidget* pWidget, UINT message, WPARAM wParam, LPARAM lParam,
                          LRESULT* pResult);
void AfxSetWidgetText(QWidget* pWidget, const CString& text);
CString AfxGetWidgetText(const QWidget* pWidget);

// The widget of a child window with scroll bars (WndScrollBars.cpp): a client area and the two bars.
// A window that wants its own bars makes this in its CreateWidget.
// The client area of such a widget; null for any other widget.
QWidget* AfxScrollBarHostClient(const QWidget* pWidget);
// The scroll code (SB_...) of a Qt slider action; false for actions that are none.
bool AfxScrollCodeFromAction(int nAction, UINT& nCode);

// Internal access to CWnd's private parts.
struct CWndAccess
{
    static bool DeliverTimer(CWnd* pWnd, int nQtTimer);
    static BOOL Destroy(CWnd* pWnd, bool bTopOfTree, bool bWidgetDying);
    static void SetCtrlID(CWnd* pWnd, UINT nID) { pWnd->m_nIDCtrl = nID; }
    static void SetStyle(CWnd* pWnd, DWORD dwStyle) { pWnd->m_dwStyle = dwStyle; }
    static void SetOwnsWidget(CWnd* pWnd, bool bOwns) { pWnd->m_bOwnsWidget = bOwns; }
};

// A window object the framework makes for a control it created (dialog templates); it deletes
// itself when the control is destroyed or another object takes the control over.
CWnd* AfxNewControlWrapper();
bool AfxIsControlWrapper(const CWnd* pWnd);
// Makes a control widget and its window, owned by the wrapper; returns the handle.
HWND AfxCreateControl(LPCWSTR lpszClassName, LPCWSTR lpszText, DWORD dwStyle, const RECT& rect, CWnd* pParent,
                      UINT nID);

// While alive, SetCursor shows its cursor over this widget (the window handling WM_SETCURSOR).
class AfxCursorScope
{
public:
    explicit AfxCursorScope(QWidget* pWidget);
    ~AfxCursorScope();
    AfxCursorScope(const AfxCursorScope&) = delete;
    AfxCursorScope& operator=(const AfxCursorScope&) = delete;

private:
    QWidget* m_pOuter;
};

// Where the mouse was at the last mouse event that reached a window (the screen cursor before any),
// so that GetCursorPos agrees with the message being handled.
void AfxNoteCursorPos(const QPoint& screen);
QPoint AfxLastCursorPos();
