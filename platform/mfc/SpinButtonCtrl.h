// The up-down family ("msctls_updown32"): two arrow buttons that step a position inside a range.
// With UDS_SETBUDDYINT the position is read from and written into the buddy window's text (in
// base 10 or 16); UDS_AUTOBUDDY takes the control made just before it as the buddy. Each step tells
// the parent with WM_VSCROLL (SB_THUMBPOSITION, the position in the high word, the control in
// lParam).
#pragma once

#include "mfc/Wnd.h"

#define UPDOWN_CLASSW L"msctls_updown32"

#define UDS_WRAP 0x0001
#define UDS_SETBUDDYINT 0x0002
#define UDS_ALIGNRIGHT 0x0004
#define UDS_ALIGNLEFT 0x0008
#define UDS_AUTOBUDDY 0x0010
#define UDS_ARROWKEYS 0x0020
#define UDS_HORZ 0x0040
#define UDS_NOTHOUSANDS 0x0080

#define UDM_SETRANGE (WM_USER + 101)
#define UDM_GETRANGE (WM_USER + 102)
#define UDM_SETPOS (WM_USER + 103)
#define UDM_GETPOS (WM_USER + 104)
#define UDM_SETBUDDY (WM_USER + 105)
#define UDM_GETBUDDY (WM_USER + 106)
#define UDM_SETBASE (WM_USER + 109)
#define UDM_GETBASE (WM_USER + 110)
#define UDM_SETRANGE32 (WM_USER + 111)
#define UDM_GETRANGE32 (WM_USER + 112)
#define UDM_SETPOS32 (WM_USER + 113)
#define UDM_GETPOS32 (WM_USER + 114)

class CSpinButtonCtrl : public CWnd
{
    DECLARE_DYNAMIC(CSpinButtonCtrl)
public:
    CSpinButtonCtrl() = default;
    using CWnd::Create;
    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

    void SetRange(short nLower, short nUpper) { Send(UDM_SETRANGE, 0, MAKELPARAM(nUpper, nLower)); }
    void SetRange32(int nLower, int nUpper) { Send(UDM_SETRANGE32, WPARAM(nLower), LPARAM(nUpper)); }
    void GetRange32(int& nLower, int& nUpper) const;
    int SetPos(int nPos) { return int(Send(UDM_SETPOS, 0, LPARAM(nPos))); }
    int SetPos32(int nPos) { return int(Send(UDM_SETPOS32, 0, LPARAM(nPos))); }
    int GetPos32() const { return int(Send(UDM_GETPOS32)); }
    int SetBase(int nBase) { return int(Send(UDM_SETBASE, WPARAM(nBase))); }
    UINT GetBase() const { return UINT(Send(UDM_GETBASE)); }
    CWnd* SetBuddy(CWnd* pWndBuddy);
    CWnd* GetBuddy() const;
    // One step up (+1) or down (-1), as a click on an arrow does.
    void Step(int nDelta) { Send(WM_USER + 200, WPARAM(nDelta)); }

private:
    LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const
    {
        return const_cast<CSpinButtonCtrl*>(this)->SendMessage(message, wParam, lParam);
    }
};
