// CWnd: a window of the framework over a QWidget.
//
// An HWND is an opaque handle looked up in a process-wide table; it names one CWnd and the widget
// behind it, and is never reused, so a stale handle is simply not a window any more. The widget
// forwards Qt's events (close, resize, move, paint, mouse, keys, focus, timers) as window messages
// into WindowProc, which dispatches through the message maps; whatever a window leaves to
// DefWindowProc gets Qt's own handling of that event. Windows live on the UI thread; IsWindow and
// PostMessage may be called from any thread (a posted message is delivered on the UI thread, and
// dropped when its window is gone by then). SendMessage from another thread than the window's is a
// fault: it asserts in debug builds, and in release builds returns 0 without touching the window.
//
// Controls created from dialog templates and through Create with a registered control class
// ("BUTTON", "EDIT", "LISTBOX", "STATIC", "COMBOBOX", see ControlRegistry.h) are real Qt widgets;
// they answer the usual control messages (WM_SETTEXT, BM_SETCHECK, LB_ADDSTRING, ...) through
// DefWindowProc and notify their parent with WM_COMMAND.
#pragma once

#include "mfc/CString.h"
#include "mfc/CmdTarget.h"
#include "mfc/Geometry.h"

#include <map>
#include <vector>

class QObject;
class QWidget;
class CMenu;
class CFont;
class CFrameWnd;
class CRgn;
struct CCreateContext;

#ifndef SB_HORZ
#define SB_HORZ 0
#define SB_VERT 1
#define SB_CTL 2
#define SB_BOTH 3
#endif
#define SIF_RANGE 0x0001
#define SIF_PAGE 0x0002
#define SIF_POS 0x0004
#define SIF_DISABLENOSCROLL 0x0008
#define SIF_TRACKPOS 0x0010
#define SIF_ALL (SIF_RANGE | SIF_PAGE | SIF_POS | SIF_TRACKPOS)
struct SCROLLINFO
{
    UINT cbSize;
    UINT fMask;
    int nMin;
    int nMax;
    UINT nPage;
    int nPos;
    int nTrackPos;
};
typedef SCROLLINFO* LPSCROLLINFO;

typedef void(CALLBACK* TIMERPROC)(HWND hwnd, UINT message, UINT_PTR idEvent, DWORD dwTime);

class CWnd : public CCmdTarget
{
    DECLARE_DYNCREATE(CWnd)
public:
    CWnd();
    ~CWnd() override;
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    HWND m_hWnd = nullptr;

    HWND GetSafeHwnd() const { return m_hWnd; }
    operator HWND() const { return m_hWnd; }
    // The window object of a handle; null for a handle that is not (or no longer) a window.
    static CWnd* FromHandle(HWND hWnd);
    static CWnd* FromHandlePermanent(HWND hWnd);

    // Binds this object to an existing window, which then sends its messages here.
    BOOL Attach(HWND hWndNew);
    HWND Detach();
    BOOL SubclassWindow(HWND hWnd);
    BOOL SubclassDlgItem(UINT nID, CWnd* pParent);
    HWND UnsubclassWindow();
    // Called once this object has taken a window over (SubclassWindow, DDX_Control), so a control
    // class can adjust the window it was given.
    virtual void PreSubclassWindow() {}

    // Creation. lpszClassName may name a standard control; otherwise a plain window is made. A class
    // that adds Create or CreateEx overloads of its own brings these in with a using-declaration, so
    // they stay reachable rather than hidden.
    virtual BOOL Create(LPCWSTR lpszClassName, LPCWSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                        CWnd* pParentWnd, UINT nID, CCreateContext* pContext = nullptr);
    virtual BOOL CreateEx(DWORD dwExStyle, LPCWSTR lpszClassName, LPCWSTR lpszWindowName, DWORD dwStyle,
                          int x, int y, int nWidth, int nHeight, HWND hWndParent, HMENU nIDorHMenu,
                          LPVOID lpParam = nullptr);
    BOOL CreateEx(DWORD dwExStyle, LPCWSTR lpszClassName, LPCWSTR lpszWindowName, DWORD dwStyle,
                  const RECT& rect, CWnd* pParentWnd, UINT nID, LPVOID lpParam = nullptr);
    // Sends WM_DESTROY, destroys the child windows, then calls PostNcDestroy (where frames delete
    // themselves).
    virtual BOOL DestroyWindow();
    virtual BOOL PreCreateWindow(CREATESTRUCT& cs);
    virtual void PostNcDestroy();

    // Message path.
    virtual BOOL PreTranslateMessage(MSG* pMsg);
    // Dialog keys for this window and its children: Escape sends IDCANCEL, Enter the focused push
    // button's id, else the default push button's, else IDOK. TRUE when the key was taken.
    BOOL IsDialogMessage(LPMSG lpMsg);
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    // DefWindowProc with the message being handled now.
    LRESULT Default();
    // Offers pMsg to PreTranslateMessage of the window it is for and of each parent up to hWndStop.
    static BOOL WalkPreTranslateTree(HWND hWndStop, MSG* pMsg);

    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    // Sends to every child, and with bDeep to their children too. Every window here is a
    // permanent one, so bOnlyPerm changes nothing.
    void SendMessageToDescendants(UINT message, WPARAM wParam = 0, LPARAM lParam = 0, BOOL bDeep = TRUE,
                                  BOOL bOnlyPerm = FALSE);

    // State and placement.
    BOOL ShowWindow(int nCmdShow);
    void UpdateWindow();
    void Invalidate(BOOL bErase = TRUE);
    void InvalidateRect(LPCRECT lpRect, BOOL bErase = TRUE);
    void ValidateRect(LPCRECT lpRect);
    BOOL RedrawWindow(LPCRECT lpRectUpdate = nullptr, CRgn* prgnUpdate = nullptr,
                      UINT flags = RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
    void SetRedraw(BOOL bRedraw = TRUE);
    void GetClientRect(LPRECT lpRect) const;
    void GetWindowRect(LPRECT lpRect) const;
    void ClientToScreen(LPPOINT lpPoint) const;
    void ClientToScreen(LPRECT lpRect) const;
    void ScreenToClient(LPPOINT lpPoint) const;
    void ScreenToClient(LPRECT lpRect) const;
    // Child windows are placed in their parent's client coordinates, others on the screen.
    void MoveWindow(int x, int y, int nWidth, int nHeight, BOOL bRepaint = TRUE);
    void MoveWindow(LPCRECT lpRect, BOOL bRepaint = TRUE);
    BOOL SetWindowPos(const CWnd* pWndInsertAfter, int x, int y, int cx, int cy, UINT nFlags);
    void CenterWindow(CWnd* pAlternateOwner = nullptr);
    BOOL IsWindowVisible() const;
    BOOL IsWindowEnabled() const;
    BOOL EnableWindow(BOOL bEnable = TRUE);
    // The font the window draws its text in; the window keeps the pointer, not a copy.
    void SetFont(CFont* pFont, BOOL bRedraw = TRUE);
    CFont* GetFont() const { return m_pFont; }
    BOOL IsIconic() const;
    BOOL IsZoomed() const;
    void BringWindowToTop();
    BOOL SetForegroundWindow();
    CWnd* SetActiveWindow();
    CWnd* SetFocus();
    static CWnd* GetFocus();
    static CWnd* GetActiveWindow();

    // The window's big or small icon (not owned; the caller frees it after the window); returns the
    // one it replaces. The window shows them as its window icon, null ones the default.
    HICON SetIcon(HICON hIcon, BOOL bBigIcon);
    HICON GetIcon(BOOL bBigIcon) const;

    void SetWindowText(LPCWSTR lpszString);
    int GetWindowText(LPWSTR lpszStringBuf, int nMaxCount) const;
    void GetWindowText(CString& rString) const;
    int GetWindowTextLength() const;

    DWORD GetStyle() const;
    DWORD GetExStyle() const;
    BOOL ModifyStyle(DWORD dwRemove, DWORD dwAdd, UINT nFlags = 0);
    BOOL ModifyStyleEx(DWORD dwRemove, DWORD dwAdd, UINT nFlags = 0);

    // Relations. Siblings are in creation order, MDI children in their activation order (the
    // active one first).
    CWnd* GetParent() const;
    CWnd* GetOwner() const;
    CWnd* GetWindow(UINT nCmd) const;
    CWnd* GetTopWindow() const { return GetWindow(GW_CHILD); }
    CWnd* GetNextWindow(UINT nFlag = GW_HWNDNEXT) const { return GetWindow(nFlag); }
    CWnd* GetTopLevelParent() const;
    CFrameWnd* GetParentFrame() const;
    CFrameWnd* GetTopLevelFrame() const;
    BOOL IsChild(const CWnd* pWnd) const;
    CWnd* GetDlgItem(int nID) const;
    int GetDlgCtrlID() const;
    int SetDlgCtrlID(int nID);
    void SetDlgItemText(int nID, LPCWSTR lpszString);
    int GetDlgItemText(int nID, CString& rString) const;
    void SetDlgItemInt(int nID, UINT nValue, BOOL bSigned = TRUE);
    UINT GetDlgItemInt(int nID, BOOL* lpTrans = nullptr, BOOL bSigned = TRUE) const;
    void CheckDlgButton(int nIDButton, UINT nCheck);
    UINT IsDlgButtonChecked(int nIDButton) const;
    LRESULT SendDlgItemMessage(int nID, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);

    // Timers deliver WM_TIMER (OnTimer) with their id, or call lpfnTimer instead. Setting an id
    // again restarts it with the new period.
    UINT_PTR SetTimer(UINT_PTR nIDEvent, UINT nElapse, TIMERPROC lpfnTimer = nullptr);
    BOOL KillTimer(UINT_PTR nIDEvent);

    // The caret: one for the whole program, owned by the window that made it last and painted over
    // that window's client area (a grey one for drop indicators). It blinks while shown; HideCaret
    // and ShowCaret nest. DestroyCaret (below) removes it.
    BOOL CreateSolidCaret(int nWidth, int nHeight);
    BOOL CreateGrayCaret(int nWidth, int nHeight);
    void ShowCaret();
    void HideCaret();
    static void SetCaretPos(POINT point);
    static CPoint GetCaretPos();

    // Scroll bars of a child window whose widget is made by AfxCreateScrollBarHost (nBar SB_HORZ or
    // SB_VERT); for other windows these do nothing.
    // A bar shows while its range is larger than its page. Moving it sends WM_HSCROLL / WM_VSCROLL;
    // the window then sets the new position itself.
    BOOL SetScrollInfo(int nBar, LPSCROLLINFO lpScrollInfo, BOOL bRedraw = TRUE);
    BOOL GetScrollInfo(int nBar, LPSCROLLINFO lpScrollInfo, UINT nMask = SIF_ALL);
    int SetScrollPos(int nBar, int nPos, BOOL bRedraw = TRUE);
    int GetScrollPos(int nBar) const;
    void ShowScrollBar(UINT nBar, BOOL bShow = TRUE);
    void EnableScrollBarCtrl(int nBar, BOOL bEnable = TRUE);
    // A sibling scroll-bar control that stands in for the window's own bar; windows here have none.
    virtual CWnd* GetScrollBarCtrl(int nBar) const;
    // Moves the client area's pixels by the amounts: only those of lpRect (its children staying put)
    // when given, else the whole area with its children. What is uncovered is repainted.
    void ScrollWindow(int xAmount, int yAmount, LPCRECT lpRect = nullptr, LPCRECT lpClipRect = nullptr);

    // Mouse capture: the window keeps getting the mouse until ReleaseCapture. Returns the previous
    // capture window.
    CWnd* SetCapture();
    static CWnd* GetCapture();

    // The window's menu bar (frames).
    virtual CMenu* GetMenu() const;
    virtual BOOL SetMenu(CMenu* pMenu);
    virtual void DrawMenuBar();

    // Help goes to the application's help file.
    virtual void WinHelp(DWORD_PTR dwData, UINT nCmd = HELP_CONTEXT);
    virtual void HtmlHelp(DWORD_PTR dwData, UINT nCmd = HH_HELP_CONTEXT);
    virtual void WinHelpInternal(DWORD_PTR dwData, UINT nCmd = HELP_CONTEXT);

    // Through the modal hook; the caption defaults to the application's name.
    int MessageBox(LPCWSTR lpszText, LPCWSTR lpszCaption = nullptr, UINT nType = MB_OK);

    // The Qt side: the widget of the window, and the one its children and client area are in.
    QWidget* GetWidget() const;
    virtual QWidget* GetClientWidget() const;

    // Handlers of the base window; ON_WM_... entries in a derived map reach the derived versions.
    afx_msg virtual int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg virtual void OnDestroy();
    afx_msg virtual void OnClose();
    afx_msg virtual void OnTimer(UINT_PTR nIDEvent);
    afx_msg virtual void OnSize(UINT nType, int cx, int cy);
    afx_msg virtual void OnMove(int x, int y);
    afx_msg virtual void OnPaint();
    afx_msg virtual void OnShowWindow(BOOL bShow, UINT nStatus);
    afx_msg virtual void OnSysCommand(UINT nID, LPARAM lParam);
    afx_msg virtual BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    afx_msg virtual BOOL OnHelpInfo(HELPINFO* pHelpInfo);
    afx_msg virtual void OnSetFocus(CWnd* pOldWnd);
    afx_msg virtual void OnKillFocus(CWnd* pNewWnd);
    afx_msg virtual void OnGetMinMaxInfo(MINMAXINFO* lpMMI);
    afx_msg virtual void OnContextMenu(CWnd* pWnd, CPoint pos);
    afx_msg virtual void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg virtual void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg virtual void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg virtual void OnRButtonDown(UINT nFlags, CPoint point);
    afx_msg virtual void OnRButtonUp(UINT nFlags, CPoint point);
    afx_msg virtual void OnRButtonDblClk(UINT nFlags, CPoint point);
    afx_msg virtual void OnMButtonDown(UINT nFlags, CPoint point);
    afx_msg virtual void OnMButtonUp(UINT nFlags, CPoint point);
    afx_msg virtual void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg virtual BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint pt);
    afx_msg virtual void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg virtual void OnKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg virtual void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg virtual void OnSysKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg virtual void OnSysKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags);
    // Help commands: F1 help of the current context, the index, the finder and help on help.
    afx_msg void OnHelp();
    afx_msg void OnHelpIndex();
    afx_msg void OnHelpFinder();
    afx_msg void OnHelpUsing();

    // Makes the widget for CreateEx: a host that forwards its events, or a control. Frames,
    // MDI children and dialogs make their own kinds.
    virtual QWidget* CreateWidget(const CREATESTRUCT& cs, QWidget* pParentWidget);
    // The child windows in GW_CHILD / GW_HWNDNEXT order.
    virtual void GetChildWindows(std::vector<CWnd*>& children) const;

protected:
    // Called with the new handle, the widget placed, before WM_CREATE is sent.
    virtual void OnWidgetCreated(const CREATESTRUCT& cs) { (void)cs; }

    DWORD m_dwStyle = 0;
    DWORD m_dwExStyle = 0;
    // Timer id -> Qt timer id and callback.
    struct CTimerSlot
    {
        int nQtTimer;
        TIMERPROC lpfn;
    };
    std::map<UINT_PTR, CTimerSlot> m_timers;

private:
    friend struct CWndAccess;
    BOOL DestroyWindowImpl(bool bTopOfTree, bool bWidgetDying);
    void KillAllTimers();

    UINT m_nIDCtrl = 0;
    // Receives the Qt timers behind SetTimer.
    QObject* m_pTimerSink = nullptr;
    bool m_bOwnsWidget = false;
    HICON m_hIcons[2] = {nullptr, nullptr};
    CFont* m_pFont = nullptr;

    DECLARE_MESSAGE_MAP()
};

// Window messages of the handlers above.
#define AFX_WND_THUNK(msg, body)                                                                             \
    {UINT(msg),                                                                                              \
     0,                                                                                                      \
     0,                                                                                                      \
     0,                                                                                                      \
     nullptr,                                                                                                \
     [](CCmdTarget* t, AFX_MSGCALL& c) -> BOOL                                                               \
     {                                                                                                       \
         ThisClass* p = static_cast<ThisClass*>(t);                                                          \
         (void)c;                                                                                            \
         body;                                                                                               \
         return TRUE;                                                                                        \
     }},
#define AFX_LP_POINT(lp) CPoint(GET_X_LPARAM(lp), GET_Y_LPARAM(lp))

#define ON_WM_CREATE()                                                                                       \
    AFX_WND_THUNK(WM_CREATE, c.lResult = p->OnCreate(reinterpret_cast<LPCREATESTRUCT>(c.lParam)))
#define ON_WM_DESTROY() AFX_WND_THUNK(WM_DESTROY, p->OnDestroy())
#define ON_WM_CLOSE() AFX_WND_THUNK(WM_CLOSE, p->OnClose())
#define ON_WM_TIMER() AFX_WND_THUNK(WM_TIMER, p->OnTimer(UINT_PTR(c.wParam)))
#define ON_WM_SIZE() AFX_WND_THUNK(WM_SIZE, p->OnSize(UINT(c.wParam), LOWORD(c.lParam), HIWORD(c.lParam)))
#define ON_WM_MOVE() AFX_WND_THUNK(WM_MOVE, p->OnMove(GET_X_LPARAM(c.lParam), GET_Y_LPARAM(c.lParam)))
#define ON_WM_PAINT() AFX_WND_THUNK(WM_PAINT, p->OnPaint())
#define ON_WM_SHOWWINDOW() AFX_WND_THUNK(WM_SHOWWINDOW, p->OnShowWindow(BOOL(c.wParam), UINT(c.lParam)))
#define ON_WM_SYSCOMMAND() AFX_WND_THUNK(WM_SYSCOMMAND, p->OnSysCommand(UINT(c.wParam), c.lParam))
#define ON_WM_SETCURSOR()                                                                                    \
    AFX_WND_THUNK(WM_SETCURSOR,                                                                              \
                  c.lResult = p->OnSetCursor(CWnd::FromHandle(reinterpret_cast<HWND>(c.wParam)),             \
                                             LOWORD(c.lParam), HIWORD(c.lParam)))
#define ON_WM_HELPINFO()                                                                                     \
    AFX_WND_THUNK(WM_HELP, c.lResult = p->OnHelpInfo(reinterpret_cast<HELPINFO*>(c.lParam)))
#define ON_WM_SETFOCUS()                                                                                     \
    AFX_WND_THUNK(WM_SETFOCUS, p->OnSetFocus(CWnd::FromHandle(reinterpret_cast<HWND>(c.wParam))))
#define ON_WM_KILLFOCUS()                                                                                    \
    AFX_WND_THUNK(WM_KILLFOCUS, p->OnKillFocus(CWnd::FromHandle(reinterpret_cast<HWND>(c.wParam))))
#define ON_WM_GETMINMAXINFO()                                                                                \
    AFX_WND_THUNK(WM_GETMINMAXINFO, p->OnGetMinMaxInfo(reinterpret_cast<MINMAXINFO*>(c.lParam)))
#define ON_WM_CONTEXTMENU()                                                                                  \
    AFX_WND_THUNK(WM_CONTEXTMENU, p->OnContextMenu(CWnd::FromHandle(reinterpret_cast<HWND>(c.wParam)),       \
                                                   AFX_LP_POINT(c.lParam)))
#define ON_WM_LBUTTONDOWN()                                                                                  \
    AFX_WND_THUNK(WM_LBUTTONDOWN, p->OnLButtonDown(UINT(c.wParam), AFX_LP_POINT(c.lParam)))
#define ON_WM_LBUTTONUP() AFX_WND_THUNK(WM_LBUTTONUP, p->OnLButtonUp(UINT(c.wParam), AFX_LP_POINT(c.lParam)))
#define ON_WM_LBUTTONDBLCLK()                                                                                \
    AFX_WND_THUNK(WM_LBUTTONDBLCLK, p->OnLButtonDblClk(UINT(c.wParam), AFX_LP_POINT(c.lParam)))
#define ON_WM_RBUTTONDOWN()                                                                                  \
    AFX_WND_THUNK(WM_RBUTTONDOWN, p->OnRButtonDown(UINT(c.wParam), AFX_LP_POINT(c.lParam)))
#define ON_WM_RBUTTONUP() AFX_WND_THUNK(WM_RBUTTONUP, p->OnRButtonUp(UINT(c.wParam), AFX_LP_POINT(c.lParam)))
#define ON_WM_RBUTTONDBLCLK()                                                                                \
    AFX_WND_THUNK(WM_RBUTTONDBLCLK, p->OnRButtonDblClk(UINT(c.wParam), AFX_LP_POINT(c.lParam)))
#define ON_WM_MBUTTONDOWN()                                                                                  \
    AFX_WND_THUNK(WM_MBUTTONDOWN, p->OnMButtonDown(UINT(c.wParam), AFX_LP_POINT(c.lParam)))
#define ON_WM_MBUTTONUP() AFX_WND_THUNK(WM_MBUTTONUP, p->OnMButtonUp(UINT(c.wParam), AFX_LP_POINT(c.lParam)))
#define ON_WM_MOUSEMOVE() AFX_WND_THUNK(WM_MOUSEMOVE, p->OnMouseMove(UINT(c.wParam), AFX_LP_POINT(c.lParam)))
#define ON_WM_MOUSEWHEEL()                                                                                   \
    AFX_WND_THUNK(WM_MOUSEWHEEL,                                                                             \
                  c.lResult = p->OnMouseWheel(LOWORD(c.wParam), GET_WHEEL_DELTA_WPARAM(c.wParam),            \
                                              AFX_LP_POINT(c.lParam)))
#define ON_WM_KEYDOWN()                                                                                      \
    AFX_WND_THUNK(WM_KEYDOWN, p->OnKeyDown(UINT(c.wParam), LOWORD(c.lParam), HIWORD(c.lParam)))
#define ON_WM_KEYUP() AFX_WND_THUNK(WM_KEYUP, p->OnKeyUp(UINT(c.wParam), LOWORD(c.lParam), HIWORD(c.lParam)))
#define ON_WM_CHAR() AFX_WND_THUNK(WM_CHAR, p->OnChar(UINT(c.wParam), LOWORD(c.lParam), HIWORD(c.lParam)))
#define ON_WM_SYSKEYDOWN()                                                                                   \
    AFX_WND_THUNK(WM_SYSKEYDOWN, p->OnSysKeyDown(UINT(c.wParam), LOWORD(c.lParam), HIWORD(c.lParam)))
#define ON_WM_SYSKEYUP()                                                                                     \
    AFX_WND_THUNK(WM_SYSKEYUP, p->OnSysKeyUp(UINT(c.wParam), LOWORD(c.lParam), HIWORD(c.lParam)))

// Win32 functions over the handle table.
LRESULT SendMessageW(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
BOOL PostMessageW(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
// What a posted message of one id carries (an object in wParam, say) is freed by pfnFree when the
// message never reaches a handler: its window was gone when it came up, or the queue was dropped
// with it (the application ended first). A message that reached its window is the handler's to
// free; a failed post leaves the payload with the poster. Null pfnFree removes the entry.
typedef void (*AFX_POSTED_FREE)(WPARAM wParam, LPARAM lParam);
void AfxSetPostedMessageFree(UINT message, AFX_POSTED_FREE pfnFree);
inline LRESULT SendMessage(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    return SendMessageW(hWnd, message, wParam, lParam);
}
inline BOOL PostMessage(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    return PostMessageW(hWnd, message, wParam, lParam);
}
BOOL IsWindow(HWND hWnd);
HWND GetWindow(HWND hWnd, UINT uCmd);
HWND GetParent(HWND hWnd);
HWND GetDlgItem(HWND hDlg, int nIDDlgItem);
int GetDlgCtrlID(HWND hWnd);
BOOL DestroyWindow(HWND hWnd);
BOOL ShowWindow(HWND hWnd, int nCmdShow);
BOOL IsWindowVisible(HWND hWnd);
BOOL EnableWindow(HWND hWnd, BOOL bEnable);
BOOL SetWindowTextW(HWND hWnd, LPCWSTR lpString);
int GetWindowTextW(HWND hWnd, LPWSTR lpString, int nMaxCount);
int GetWindowTextLengthW(HWND hWnd);
BOOL InvalidateRect(HWND hWnd, const RECT* lpRect, BOOL bErase);
BOOL UpdateWindow(HWND hWnd);
BOOL GetClientRect(HWND hWnd, LPRECT lpRect);
// The primary screen's size, the edge width (2) and the scroll-bar thickness; other indexes give 0.
#define SM_CXSCREEN 0
#define SM_CYSCREEN 1
#define SM_CXVSCROLL 2
#define SM_CYHSCROLL 3
#define SM_CXEDGE 45
#define SM_CYEDGE 46
#define SM_DBCSENABLED 42
int GetSystemMetrics(int nIndex);
BOOL GetWindowRect(HWND hWnd, LPRECT lpRect);
BOOL MoveWindow(HWND hWnd, int x, int y, int nWidth, int nHeight, BOOL bRepaint);
HWND SetFocus(HWND hWnd);
HWND GetFocus();
UINT_PTR SetTimer(HWND hWnd, UINT_PTR nIDEvent, UINT uElapse, TIMERPROC lpTimerFunc);
BOOL KillTimer(HWND hWnd, UINT_PTR uIDEvent);
// Ids from 0xC000 up; the same name (compared without regard to case) gives the same id.
UINT RegisterWindowMessageW(LPCWSTR lpString);
inline UINT RegisterWindowMessage(LPCWSTR lpString)
{
    return RegisterWindowMessageW(lpString);
}
BOOL DestroyCaret();
// Window classes registered by name, for windows made by CreateEx and for custom controls of dialog
// templates. A class only names itself here: every window gets the framework's handling whatever its
// class says; the name, styles and cursor are kept for GetClassInfo.
#define CS_VREDRAW 0x0001
#define CS_HREDRAW 0x0002
#define CS_DBLCLKS 0x0008
typedef LRESULT(CALLBACK* WNDPROC)(HWND, UINT, WPARAM, LPARAM);
struct WNDCLASS
{
    UINT style = 0;
    WNDPROC lpfnWndProc = nullptr;
    int cbClsExtra = 0;
    int cbWndExtra = 0;
    HINSTANCE hInstance = nullptr;
    HICON hIcon = nullptr;
    HCURSOR hCursor = nullptr;
    HBRUSH hbrBackground = nullptr;
    LPCWSTR lpszMenuName = nullptr;
    LPCWSTR lpszClassName = nullptr;
};
// FALSE for a class without a name or one registered already for the same module.
BOOL AfxRegisterClass(WNDCLASS* lpWndClass);
// FALSE when no class of that name is registered for the module.
BOOL GetClassInfoW(HINSTANCE hInstance, LPCWSTR lpszClassName, WNDCLASS* lpWndClass);
inline BOOL GetClassInfo(HINSTANCE hInstance, LPCWSTR lpszClassName, WNDCLASS* lpWndClass)
{
    return GetClassInfoW(hInstance, lpszClassName, lpWndClass);
}
LRESULT CALLBACK DefWindowProcW(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
// The widget of a child window with its own scroll bars: a client area and the two bars. A window
// that wants them returns this from its CreateWidget.
QWidget* AfxCreateScrollBarHost(QWidget* pParent);

// A test's veto on window creation, as a creation hook gives on Windows: asked after
// PreCreateWindow, FALSE makes CreateEx fail. Null removes it; the previous hook is returned.
typedef BOOL (*AFX_CREATE_HOOK)(CWnd* pWnd, const CREATESTRUCT& cs);
AFX_CREATE_HOOK AfxSetCreateWindowHook(AFX_CREATE_HOOK pfnHook);

// Mouse capture and cursors. A cursor handle names a standard shape (IDC_ARROW, IDC_SIZEWE, ...);
// SetCursor shows it over the window whose WM_SETCURSOR is being handled (else the capture
// window). A cursor resource that the chain does not hold loads as null.
HWND GetCapture();
BOOL ReleaseCapture();
#define IDC_ARROW MAKEINTRESOURCE(32512)
#define IDC_IBEAM MAKEINTRESOURCE(32513)
#define IDC_WAIT MAKEINTRESOURCE(32514)
#define IDC_CROSS MAKEINTRESOURCE(32515)
#define IDC_SIZENWSE MAKEINTRESOURCE(32642)
#define IDC_SIZENESW MAKEINTRESOURCE(32643)
#define IDC_SIZEWE MAKEINTRESOURCE(32644)
#define IDC_SIZENS MAKEINTRESOURCE(32645)
#define IDC_SIZEALL MAKEINTRESOURCE(32646)
#define IDC_NO MAKEINTRESOURCE(32648)
#define IDC_HAND MAKEINTRESOURCE(32649)
HCURSOR LoadCursorW(HINSTANCE hInstance, LPCWSTR lpCursorName);
inline HCURSOR LoadCursor(HINSTANCE hInstance, LPCWSTR lpCursorName)
{
    return LoadCursorW(hInstance, lpCursorName);
}
HCURSOR SetCursor(HCURSOR hCursor);
HCURSOR GetCursor();
BOOL DestroyCursor(HCURSOR hCursor);
// The wheel setting (three lines a notch); other settings answer FALSE.
#define SPI_GETWHEELSCROLLLINES 0x0068
#define WHEEL_PAGESCROLL 0xFFFFFFFFu
BOOL SystemParametersInfoW(UINT uiAction, UINT uiParam, PVOID pvParam, UINT fWinIni);
// a * b / c rounded, -1 when c is 0 or the result does not fit.
int MulDiv(int nNumber, int nNumerator, int nDenominator);

// A control that paints itself: its paint events become WM_PAINT of its window (a CPaintDC draws
// on it there); only what the window leaves to the default is painted by the control's own look.
void AfxSetControlOwnerPaint(CWnd* pWnd);

// Ends the message loop of AfxWinMain / CWinThread::Run with this exit code.
void PostQuitMessage(int nExitCode);
void AfxPostQuitMessage(int nExitCode);
// Key state from Qt: the high bit is set while the key is down.
SHORT GetKeyState(int nVirtKey);
SHORT GetAsyncKeyState(int vKey);
BOOL GetCursorPos(LPPOINT lpPoint);
DWORD GetMessageTime();

// Runs Qt's pending events and posted messages (deferred widget deletions included) without
// waiting; for tests and for code that must let the queue drain.
void AfxPumpMessages();
// The QApplication, made (with no arguments) when none exists yet.
class QApplication;
QApplication* AfxEnsureApplication();
