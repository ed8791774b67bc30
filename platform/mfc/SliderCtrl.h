// The trackbar family ("msctls_trackbar32") over QSlider: a range, a position, a page size and
// tick marks. A release of the left button is sent to the control as WM_LBUTTONUP after the
// slider has taken it, so a subclass reads the position the person left.
#pragma once

#include "mfc/Wnd.h"

#define TRACKBAR_CLASSW L"msctls_trackbar32"

#define TBS_AUTOTICKS 0x0001
#define TBS_VERT 0x0002
#define TBS_HORZ 0x0000
#define TBS_NOTICKS 0x0010

#define TBM_GETPOS (WM_USER)
#define TBM_GETRANGEMIN (WM_USER + 1)
#define TBM_GETRANGEMAX (WM_USER + 2)
#define TBM_SETPOS (WM_USER + 5)
#define TBM_SETRANGE (WM_USER + 6)
#define TBM_SETRANGEMIN (WM_USER + 7)
#define TBM_SETRANGEMAX (WM_USER + 8)
#define TBM_SETTICFREQ (WM_USER + 20)
#define TBM_SETPAGESIZE (WM_USER + 21)
#define TBM_GETPAGESIZE (WM_USER + 22)

class CSliderCtrl : public CWnd
{
    DECLARE_DYNAMIC(CSliderCtrl)
public:
    CSliderCtrl() = default;
    using CWnd::Create;
    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

    int GetPos() const { return int(Send(TBM_GETPOS)); }
    void SetPos(int nPos) { Send(TBM_SETPOS, TRUE, nPos); }
    int GetRangeMin() const { return int(Send(TBM_GETRANGEMIN)); }
    int GetRangeMax() const { return int(Send(TBM_GETRANGEMAX)); }
    void GetRange(int& nMin, int& nMax) const;
    void SetRange(int nMin, int nMax, BOOL bRedraw = FALSE);
    int GetPageSize() const { return int(Send(TBM_GETPAGESIZE)); }
    int SetPageSize(int nSize) { return int(Send(TBM_SETPAGESIZE, 0, nSize)); }
    void SetTicFreq(int nFreq) { Send(TBM_SETTICFREQ, WPARAM(nFreq)); }

private:
    LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const
    {
        return const_cast<CSliderCtrl*>(this)->SendMessage(message, wParam, lParam);
    }
};
