// The progress bar family ("msctls_progress32") over QProgressBar: a range, a position and a step.
// Positions are kept inside the range.
#pragma once

#include "mfc/Wnd.h"

#define PROGRESS_CLASSW L"msctls_progress32"

#define PBS_SMOOTH 0x01
#define PBS_VERTICAL 0x04

// PBM_SETRANGE: lParam MAKELPARAM(low, high), returns the old range the same way. PBM_SETPOS,
// PBM_DELTAPOS and PBM_STEPIT return the previous position.
#define PBM_SETRANGE (WM_USER + 1)
#define PBM_SETPOS (WM_USER + 2)
#define PBM_DELTAPOS (WM_USER + 3)
#define PBM_SETSTEP (WM_USER + 4)
#define PBM_STEPIT (WM_USER + 5)
#define PBM_SETRANGE32 (WM_USER + 6)
#define PBM_GETRANGE (WM_USER + 7)
#define PBM_GETPOS (WM_USER + 8)

class CProgressCtrl : public CWnd
{
    DECLARE_DYNAMIC(CProgressCtrl)
public:
    CProgressCtrl() = default;
    using CWnd::Create;
    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

    void SetRange(short nLower, short nUpper) { Send(PBM_SETRANGE, 0, MAKELPARAM(nLower, nUpper)); }
    void SetRange32(int nLower, int nUpper) { Send(PBM_SETRANGE32, WPARAM(nLower), LPARAM(nUpper)); }
    void GetRange(int& nLower, int& nUpper) const;
    int GetPos() const { return int(Send(PBM_GETPOS)); }
    int SetPos(int nPos) { return int(Send(PBM_SETPOS, WPARAM(nPos))); }
    int OffsetPos(int nPos) { return int(Send(PBM_DELTAPOS, WPARAM(nPos))); }
    int SetStep(int nStep) { return int(Send(PBM_SETSTEP, WPARAM(nStep))); }
    int StepIt() { return int(Send(PBM_STEPIT)); }

private:
    LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const
    {
        return const_cast<CProgressCtrl*>(this)->SendMessage(message, wParam, lParam);
    }
};
