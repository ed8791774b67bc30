// CWnd state and placement: showing, painting requests, positions, focus, text and styles.
#include "mfc/Wnd.h"

#include "mfc/Dc.h"
#include "mfc/Gdi.h"
#include "mfc/WndPrivate.h"

#include <QApplication>
#include <QGuiApplication>
#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QScreen>

#include <algorithm>
#include <string>

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
