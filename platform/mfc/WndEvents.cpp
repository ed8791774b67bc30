// Qt events of window widgets as window messages.
#include "mfc/WndPrivate.h"

#include "mfc/FrameWnd.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QElapsedTimer>
#include <QFocusEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QResizeEvent>
#include <QWheelEvent>

namespace
{
int g_nEventModifiers = 0;
bool g_bEventModifiersValid = false;

Qt::KeyboardModifiers CurrentModifiers()
{
    if (g_bEventModifiersValid)
        return Qt::KeyboardModifiers(g_nEventModifiers);
    return QGuiApplication::instance() ? QGuiApplication::queryKeyboardModifiers() : Qt::NoModifier;
}

struct CModifierScope
{
    explicit CModifierScope(Qt::KeyboardModifiers m)
        : m_nOld(g_nEventModifiers), m_bOldValid(g_bEventModifiersValid)
    {
        AfxSetEventModifiers(int(m), true);
    }
    ~CModifierScope() { AfxSetEventModifiers(m_nOld, m_bOldValid); }
    int m_nOld;
    bool m_bOldValid;
};

WPARAM MouseKeyFlags(Qt::MouseButtons buttons, Qt::KeyboardModifiers mods)
{
    WPARAM f = 0;
    if (buttons & Qt::LeftButton)
        f |= MK_LBUTTON;
    if (buttons & Qt::RightButton)
        f |= MK_RBUTTON;
    if (buttons & Qt::MiddleButton)
        f |= MK_MBUTTON;
    if (mods & Qt::ShiftModifier)
        f |= MK_SHIFT;
    if (mods & Qt::ControlModifier)
        f |= MK_CONTROL;
    return f;
}

// Client coordinates of the window for a point of pSource.
QPoint ToClient(HWND hWnd, QWidget* pSource, QPoint p)
{
    CWnd* pWnd = CWnd::FromHandlePermanent(hWnd);
    QWidget* client = pWnd ? pWnd->GetClientWidget() : nullptr;
    if (client && client != pSource && pSource->isAncestorOf(client))
        return client->mapFrom(pSource, p);
    return p;
}

UINT MouseMessage(QEvent::Type type, Qt::MouseButton button)
{
    const int col = type == QEvent::MouseButtonPress ? 0 : type == QEvent::MouseButtonRelease ? 1 : 2;
    switch (button)
    {
    case Qt::LeftButton:
        return UINT(WM_LBUTTONDOWN + col);
    case Qt::RightButton:
        return UINT(WM_RBUTTONDOWN + col);
    case Qt::MiddleButton:
        return UINT(WM_MBUTTONDOWN + col);
    default:
        return 0;
    }
}

LPARAM KeyLParam(const QKeyEvent* e, bool bUp)
{
    DWORD flags = DWORD(e->count() > 0 ? e->count() : 1) & 0xFFFF;
    flags |= (DWORD(e->nativeScanCode()) & 0xFF) << 16;
    if (e->modifiers() & Qt::AltModifier)
        flags |= 1u << 29;
    if (e->isAutoRepeat() || bUp)
        flags |= 1u << 30;
    if (bUp)
        flags |= 1u << 31;
    return LPARAM(flags);
}

// Sends a message for an input event after PreTranslateMessage had its chance. Returns true when
// Qt should handle the event too.
bool ForwardInput(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam, QPoint screen,
                  LRESULT* pResult = nullptr)
{
    MSG msg = {hWnd, message, wParam, lParam, GetMessageTime(), {screen.x(), screen.y()}};
    if (AfxPreTranslateMessage(&msg))
        return false;
    return AfxForwardEvent(hWnd, message, wParam, lParam, pResult);
}

bool HandleMouse(HWND hWnd, QWidget* pSource, QMouseEvent* e, const std::function<bool()>& base)
{
    AfxQtEntry entry;
    CModifierScope mods(e->modifiers());
    const QPoint client = ToClient(hWnd, pSource, e->position().toPoint());
    const LPARAM lp = MAKELPARAM(client.x(), client.y());
    const QPoint screen = e->globalPosition().toPoint();
    AfxNoteCursorPos(screen);
    if (e->type() == QEvent::MouseMove)
    {
        LRESULT set = 0;
        AfxCursorScope cursor(pSource);
        AfxForwardEvent(hWnd, WM_SETCURSOR, reinterpret_cast<WPARAM>(hWnd),
                        MAKELPARAM(HTCLIENT, WM_MOUSEMOVE), &set);
        if (!::IsWindow(hWnd))
            return true;
        if (ForwardInput(hWnd, WM_MOUSEMOVE, MouseKeyFlags(e->buttons(), e->modifiers()), lp, screen))
            return base();
        return true;
    }
    const UINT message = MouseMessage(e->type(), e->button());
    if (!message)
        return base();
    if (ForwardInput(hWnd, message, MouseKeyFlags(e->buttons(), e->modifiers()), lp, screen))
        return base();
    e->accept();
    return true;
}

bool HandleKey(HWND hWnd, QKeyEvent* e, const std::function<bool()>& base)
{
    AfxQtEntry entry;
    CModifierScope mods(e->modifiers());
    const bool bUp = e->type() == QEvent::KeyRelease;
    const bool bSys = (e->modifiers() & Qt::AltModifier) || e->key() == Qt::Key_F10;
    const UINT vk = AfxVirtualKeyFromQt(e->key());
    const UINT message = bUp ? (bSys ? WM_SYSKEYUP : WM_KEYUP) : (bSys ? WM_SYSKEYDOWN : WM_KEYDOWN);
    const QPoint screen = QCursor::pos();
    const LPARAM lp = KeyLParam(e, bUp);
    // A key PreTranslateMessage takes is gone, characters and all; otherwise the key message and
    // then its characters are sent, whoever handles them.
    if (vk)
    {
        MSG msg = {hWnd, message, vk, lp, GetMessageTime(), {screen.x(), screen.y()}};
        if (AfxPreTranslateMessage(&msg))
        {
            e->accept();
            return true;
        }
    }
    const bool bDefault = vk ? AfxForwardEvent(hWnd, message, vk, lp) : true;
    if (!bUp)
    {
        const QString text = e->text();
        for (char32_t ch : text.toUcs4())
        {
            if (!::IsWindow(hWnd))
                break;
            AfxForwardEvent(hWnd, bSys ? WM_SYSCHAR : WM_CHAR, WPARAM(ch), KeyLParam(e, false));
        }
    }
    if (bDefault)
        return base();
    e->accept();
    return true;
}
} // namespace

void AfxSetEventModifiers(int nModifiers, bool bValid)
{
    g_nEventModifiers = nModifiers;
    g_bEventModifiersValid = bValid;
}

UINT AfxVirtualKeyFromQt(int key)
{
    if (key >= Qt::Key_A && key <= Qt::Key_Z)
        return UINT('A' + (key - Qt::Key_A));
    if (key >= Qt::Key_0 && key <= Qt::Key_9)
        return UINT('0' + (key - Qt::Key_0));
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24)
        return UINT(VK_F1 + (key - Qt::Key_F1));
    switch (key)
    {
    case Qt::Key_Backspace:
        return VK_BACK;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return VK_TAB;
    case Qt::Key_Clear:
        return VK_CLEAR;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return VK_RETURN;
    case Qt::Key_Shift:
        return VK_SHIFT;
    case Qt::Key_Control:
        return VK_CONTROL;
    case Qt::Key_Alt:
        return VK_MENU;
    case Qt::Key_Pause:
        return VK_PAUSE;
    case Qt::Key_CapsLock:
        return VK_CAPITAL;
    case Qt::Key_Escape:
        return VK_ESCAPE;
    case Qt::Key_Space:
        return VK_SPACE;
    case Qt::Key_PageUp:
        return VK_PRIOR;
    case Qt::Key_PageDown:
        return VK_NEXT;
    case Qt::Key_End:
        return VK_END;
    case Qt::Key_Home:
        return VK_HOME;
    case Qt::Key_Left:
        return VK_LEFT;
    case Qt::Key_Up:
        return VK_UP;
    case Qt::Key_Right:
        return VK_RIGHT;
    case Qt::Key_Down:
        return VK_DOWN;
    case Qt::Key_Print:
        return VK_SNAPSHOT;
    case Qt::Key_Insert:
        return VK_INSERT;
    case Qt::Key_Delete:
        return VK_DELETE;
    case Qt::Key_Help:
        return VK_HELP;
    case Qt::Key_Asterisk:
        return VK_MULTIPLY;
    case Qt::Key_Plus:
        return VK_ADD;
    case Qt::Key_Minus:
        return VK_SUBTRACT;
    case Qt::Key_Slash:
        return VK_DIVIDE;
    case Qt::Key_NumLock:
        return VK_NUMLOCK;
    case Qt::Key_ScrollLock:
        return VK_SCROLL;
    default:
        return 0;
    }
}

bool AfxPreTranslateKey(HWND hWnd, QKeyEvent* e)
{
    const UINT vk = AfxVirtualKeyFromQt(e->key());
    if (!vk)
        return false;
    AfxQtEntry entry;
    CModifierScope mods(e->modifiers());
    const bool bUp = e->type() == QEvent::KeyRelease;
    const bool bSys = (e->modifiers() & Qt::AltModifier) || e->key() == Qt::Key_F10;
    const UINT message = bUp ? (bSys ? WM_SYSKEYUP : WM_KEYUP) : (bSys ? WM_SYSKEYDOWN : WM_KEYDOWN);
    const QPoint screen = QCursor::pos();
    MSG msg = {hWnd, message, vk, KeyLParam(e, bUp), GetMessageTime(), {screen.x(), screen.y()}};
    return AfxPreTranslateMessage(&msg) != FALSE;
}

bool AfxHandleWidgetEvent(HWND hWnd, QWidget* pSource, QEvent* e, const std::function<bool()>& base,
                          bool bClient)
{
    switch (e->type())
    {
    case QEvent::Close:
        if (bClient)
            return base();
        {
            AfxQtEntry entry;
            e->ignore();
            AfxForwardEvent(hWnd, WM_SYSCOMMAND, SC_CLOSE, 0);
        }
        return true;
    case QEvent::Resize:
    {
        const bool r = base();
        if (bClient)
            return r;
        AfxQtEntry entry(false);
        CWnd* pWnd = CWnd::FromHandlePermanent(hWnd);
        QWidget* client = pWnd ? pWnd->GetClientWidget() : nullptr;
        const QSize size = client ? client->size() : pSource->size();
        const WPARAM kind = pSource->isMaximized()   ? SIZE_MAXIMIZED
                            : pSource->isMinimized() ? SIZE_MINIMIZED
                                                     : SIZE_RESTORED;
        AfxForwardEvent(hWnd, WM_SIZE, kind, MAKELPARAM(size.width(), size.height()));
        return r;
    }
    case QEvent::Move:
    {
        const bool r = base();
        if (bClient)
            return r;
        AfxQtEntry entry(false);
        const QPoint p = pSource->isWindow() ? pSource->mapToGlobal(QPoint(0, 0)) : pSource->pos();
        AfxForwardEvent(hWnd, WM_MOVE, 0, MAKELPARAM(p.x(), p.y()));
        return r;
    }
    case QEvent::Show:
    case QEvent::Hide:
    {
        const bool r = base();
        if (bClient || e->spontaneous())
            return r;
        AfxQtEntry entry(false);
        AfxForwardEvent(hWnd, WM_SHOWWINDOW, e->type() == QEvent::Show ? TRUE : FALSE, 0);
        return r;
    }
    case QEvent::Paint:
    {
        AfxQtEntry entry(false);
        AfxPaintScope scope(pSource, static_cast<QPaintEvent*>(e)->region());
        if (AfxForwardEvent(hWnd, WM_PAINT, 0, 0))
            return base();
        return true;
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
        return HandleMouse(hWnd, pSource, static_cast<QMouseEvent*>(e), base);
    case QEvent::Wheel:
    {
        AfxQtEntry entry;
        auto* we = static_cast<QWheelEvent*>(e);
        CModifierScope mods(we->modifiers());
        const QPoint screen = we->globalPosition().toPoint();
        const short delta = short(we->angleDelta().y());
        const WPARAM wp = MAKEWPARAM(WORD(MouseKeyFlags(we->buttons(), we->modifiers())), WORD(delta));
        if (ForwardInput(hWnd, WM_MOUSEWHEEL, wp, MAKELPARAM(screen.x(), screen.y()), screen))
            return base();
        return true;
    }
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
        return HandleKey(hWnd, static_cast<QKeyEvent*>(e), base);
    case QEvent::FocusIn:
    case QEvent::FocusOut:
    {
        const bool r = base();
        if (bClient)
            return r;
        AfxQtEntry entry(false);
        AfxForwardEvent(hWnd, e->type() == QEvent::FocusIn ? WM_SETFOCUS : WM_KILLFOCUS, 0, 0);
        return r;
    }
    case QEvent::ContextMenu:
    {
        AfxQtEntry entry;
        auto* ce = static_cast<QContextMenuEvent*>(e);
        const QPoint screen = ce->reason() == QContextMenuEvent::Keyboard ? QPoint(-1, -1) : ce->globalPos();
        if (AfxForwardEvent(hWnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(hWnd),
                            MAKELPARAM(screen.x(), screen.y())))
            return base();
        return true;
    }
    default:
        return base();
    }
}

namespace
{
thread_local AfxPaintScope* t_pPaintScope = nullptr;
}

AfxPaintScope::AfxPaintScope(const QWidget* pWidget, const QRegion& region)
    : m_pWidget(pWidget), m_pRegion(&region), m_pOuter(t_pPaintScope)
{
    t_pPaintScope = this;
}

AfxPaintScope::~AfxPaintScope()
{
    t_pPaintScope = m_pOuter;
}

const QRegion* AfxPaintScope::Find(const QWidget* pWidget)
{
    for (const AfxPaintScope* scope = t_pPaintScope; scope; scope = scope->m_pOuter)
        if (scope->m_pWidget == pWidget)
            return scope->m_pRegion;
    return nullptr;
}

bool CWndClientArea::event(QEvent* e)
{
    const HWND hWnd = AfxWindowAtOrAbove(parentWidget());
    if (!hWnd)
        return QWidget::event(e);
    const bool r = AfxHandleWidgetEvent(
        hWnd, this, e, [&] { return QWidget::event(e); }, true);
    // The client area also changes size when bars come and go: the view follows it.
    if (e->type() == QEvent::Resize)
    {
        if (auto* pFrame = dynamic_cast<CFrameWnd*>(CWnd::FromHandlePermanent(hWnd)))
        {
            AfxQtEntry entry(false);
            pFrame->RecalcLayout();
        }
    }
    return r;
}

SHORT GetAsyncKeyState(int vKey)
{
    const Qt::KeyboardModifiers m = CurrentModifiers();
    bool down = false;
    switch (vKey)
    {
    case VK_SHIFT:
        down = m & Qt::ShiftModifier;
        break;
    case VK_CONTROL:
        down = m & Qt::ControlModifier;
        break;
    case VK_MENU:
        down = m & Qt::AltModifier;
        break;
    case VK_LBUTTON:
        down = QGuiApplication::instance() && (QGuiApplication::mouseButtons() & Qt::LeftButton);
        break;
    case VK_RBUTTON:
        down = QGuiApplication::instance() && (QGuiApplication::mouseButtons() & Qt::RightButton);
        break;
    case VK_MBUTTON:
        down = QGuiApplication::instance() && (QGuiApplication::mouseButtons() & Qt::MiddleButton);
        break;
    default:
        break;
    }
    return down ? SHORT(0x8000) : SHORT(0);
}

DWORD GetMessageTime()
{
    static QElapsedTimer* timer = []
    {
        auto* t = new QElapsedTimer;
        t->start();
        return t;
    }();
    return DWORD(timer->elapsed());
}
