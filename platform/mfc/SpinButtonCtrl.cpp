#include "mfc/SpinButtonCtrl.h"

#include "mfc/ControlRegistry.h"
#include "mfc/WndPrivate.h"

#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace
{
const UINT kStep = WM_USER + 200;
// SB_THUMBPOSITION of the scroll notifications.
const WORD kThumbPosition = 4;

class CUpDownWidget : public QWidget
{
public:
    CUpDownWidget(DWORD dwStyle, QWidget* pParent) : QWidget(pParent), style(dwStyle)
    {
        auto* layout = new QVBoxLayout(this);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->setSpacing(0);
        auto* up = new QToolButton(this);
        auto* down = new QToolButton(this);
        up->setArrowType(Qt::UpArrow);
        down->setArrowType(Qt::DownArrow);
        for (QToolButton* b : {up, down})
        {
            b->setAutoRepeat(true);
            b->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
            layout->addWidget(b);
        }
        connect(up, &QToolButton::clicked, this, [this] { Click(+1); });
        connect(down, &QToolButton::clicked, this, [this] { Click(-1); });
    }

    void Click(int delta)
    {
        if (const HWND h = AfxWindowAtOrAbove(this))
        {
            AfxQtEntry entry;
            AfxSendFromQt(h, kStep, WPARAM(delta), 0);
        }
    }

    DWORD style;
    int lower = 0;
    int upper = 100;
    int pos = 0;
    int base = 10;
    HWND buddy = nullptr;
    bool buddyChosen = false;
};

QWidget* CreateUpDown(const CString&, DWORD dwStyle, QWidget* pParent)
{
    return new CUpDownWidget(dwStyle, pParent);
}

HWND Buddy(HWND h, CUpDownWidget* w)
{
    if (!w->buddyChosen && (w->style & UDS_AUTOBUDDY))
    {
        w->buddy = ::GetWindow(h, GW_HWNDPREV);
        w->buddyChosen = true;
    }
    return w->buddy;
}

int Clamp(const CUpDownWidget* w, long long pos)
{
    const int lo = std::min(w->lower, w->upper);
    const int hi = std::max(w->lower, w->upper);
    return int(std::clamp<long long>(pos, lo, hi));
}

// The position the buddy's text holds, when it reads as a number.
void ReadBuddy(HWND h, CUpDownWidget* w)
{
    const HWND b = Buddy(h, w);
    if (!b || !(w->style & UDS_SETBUDDYINT))
        return;
    wchar_t text[64] = {};
    ::GetWindowTextW(b, text, 63);
    wchar_t* end = nullptr;
    const long value = std::wcstol(text, &end, w->base == 16 ? 16 : 10);
    if (end != text)
        w->pos = Clamp(w, value);
}

void WriteBuddy(HWND h, CUpDownWidget* w)
{
    const HWND b = Buddy(h, w);
    if (!b || !(w->style & UDS_SETBUDDYINT))
        return;
    CString text;
    text.Format(w->base == 16 ? L"0x%04X" : L"%d", w->pos);
    ::SetWindowTextW(b, text);
}

BOOL UpDownProc(HWND h, QWidget* pWidget, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    auto* w = dynamic_cast<CUpDownWidget*>(pWidget);
    if (!w)
        return FALSE;
    switch (message)
    {
    case UDM_SETRANGE:
        w->upper = short(LOWORD(lParam));
        w->lower = short(HIWORD(lParam));
        *pResult = 0;
        return TRUE;
    case UDM_SETRANGE32:
        w->lower = int(wParam);
        w->upper = int(lParam);
        *pResult = 0;
        return TRUE;
    case UDM_GETRANGE:
        *pResult = MAKELONG(WORD(w->upper), WORD(w->lower));
        return TRUE;
    case UDM_GETRANGE32:
        if (wParam)
            *reinterpret_cast<int*>(wParam) = w->lower;
        if (lParam)
            *reinterpret_cast<int*>(lParam) = w->upper;
        *pResult = 0;
        return TRUE;
    case UDM_SETPOS:
    case UDM_SETPOS32:
        *pResult = w->pos;
        w->pos = Clamp(w, message == UDM_SETPOS ? short(LOWORD(lParam)) : int(lParam));
        WriteBuddy(h, w);
        return TRUE;
    case UDM_GETPOS:
    case UDM_GETPOS32:
        ReadBuddy(h, w);
        *pResult = w->pos;
        return TRUE;
    case UDM_SETBASE:
        if (wParam != 10 && wParam != 16)
        {
            *pResult = 0;
            return TRUE;
        }
        *pResult = w->base;
        w->base = int(wParam);
        WriteBuddy(h, w);
        return TRUE;
    case UDM_GETBASE:
        *pResult = w->base;
        return TRUE;
    case UDM_SETBUDDY:
        *pResult = LRESULT(Buddy(h, w));
        w->buddy = reinterpret_cast<HWND>(wParam);
        w->buddyChosen = true;
        return TRUE;
    case UDM_GETBUDDY:
        *pResult = LRESULT(Buddy(h, w));
        return TRUE;
    case kStep:
    {
        ReadBuddy(h, w);
        // The arrow up moves towards the upper bound, whichever way the range runs.
        const int dir = w->upper >= w->lower ? int(wParam) : -int(wParam);
        long long next = static_cast<long long>(w->pos) + dir;
        const int lo = std::min(w->lower, w->upper);
        const int hi = std::max(w->lower, w->upper);
        if ((w->style & UDS_WRAP) && (next > hi || next < lo))
            next = next > hi ? lo : hi;
        w->pos = Clamp(w, next);
        WriteBuddy(h, w);
        if (const HWND parent = ::GetParent(h))
            ::SendMessageW(parent, (w->style & UDS_HORZ) ? WM_HSCROLL : WM_VSCROLL,
                           MAKEWPARAM(kThumbPosition, WORD(w->pos)), LPARAM(h));
        *pResult = 0;
        return TRUE;
    }
    default:
        return FALSE;
    }
}

AFX_CONTROL_CLASS UpDownClass()
{
    AFX_CONTROL_CLASS cls;
    cls.strClassName = UPDOWN_CLASSW;
    cls.styleWords = {{L"UDS_WRAP", UDS_WRAP},
                      {L"UDS_SETBUDDYINT", UDS_SETBUDDYINT},
                      {L"UDS_ALIGNRIGHT", UDS_ALIGNRIGHT},
                      {L"UDS_ALIGNLEFT", UDS_ALIGNLEFT},
                      {L"UDS_AUTOBUDDY", UDS_AUTOBUDDY},
                      {L"UDS_ARROWKEYS", UDS_ARROWKEYS},
                      {L"UDS_HORZ", UDS_HORZ},
                      {L"UDS_NOTHOUSANDS", UDS_NOTHOUSANDS}};
    cls.pfnCreate = CreateUpDown;
    cls.pfnWindowProc = UpDownProc;
    cls.pfnNewObject = &AfxNewControlObject<CSpinButtonCtrl>;
    return cls;
}

[[maybe_unused]] const BOOL g_bRegistered = AfxRegisterControlClass(UpDownClass());
} // namespace

IMPLEMENT_DYNAMIC(CSpinButtonCtrl, CWnd)

BOOL CSpinButtonCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    return CWnd::Create(UPDOWN_CLASSW, L"", dwStyle, rect, pParentWnd, nID);
}

void CSpinButtonCtrl::GetRange32(int& nLower, int& nUpper) const
{
    Send(UDM_GETRANGE32, WPARAM(&nLower), LPARAM(&nUpper));
}

CWnd* CSpinButtonCtrl::SetBuddy(CWnd* pWndBuddy)
{
    return CWnd::FromHandle(
        reinterpret_cast<HWND>(Send(UDM_SETBUDDY, WPARAM(pWndBuddy ? pWndBuddy->GetSafeHwnd() : nullptr))));
}

CWnd* CSpinButtonCtrl::GetBuddy() const
{
    return CWnd::FromHandle(reinterpret_cast<HWND>(Send(UDM_GETBUDDY)));
}
