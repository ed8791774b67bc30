// The animation control ("SysAnimate32") and CAnimateCtrl. A clip is a PNG film strip: its frames
// side by side, all of one width, with the text keys "Frames" (the count, 1 without it) and
// "Interval" (ms per frame, 100 without it). A clip comes from an "AVI" resource or from a file.
// The current frame is drawn at its own size in the top left corner (centred with ACS_CENTER), over
// the control's background unless ACS_TRANSPARENT. A clip that does not read is refused and leaves
// the control empty. Plays on the window's thread; ACN_START and ACN_STOP go to the parent as
// WM_COMMAND.
#pragma once

#include "mfc/Wnd.h"

#define ANIMATE_CLASSW L"SysAnimate32"

#define ACS_CENTER 0x0001
#define ACS_TRANSPARENT 0x0002
#define ACS_AUTOPLAY 0x0004
#define ACS_TIMER 0x0008

// ACM_OPENW: wParam the module holding the resource (null: the resource chain for a numeric id, a
// file path for a text), lParam the name (null closes). ACM_PLAY: wParam the repeat count (-1 for
// ever), lParam MAKELONG(first, last frame; 0xFFFF is the last).
#define ACM_PLAY (WM_USER + 101)
#define ACM_STOP (WM_USER + 102)
#define ACM_OPENW (WM_USER + 103)
#define ACM_ISPLAYING (WM_USER + 104)

#define ACN_START 1
#define ACN_STOP 2

class CAnimateCtrl : public CWnd
{
    DECLARE_DYNAMIC(CAnimateCtrl)
public:
    CAnimateCtrl() = default;
    using CWnd::Create;
    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

    // A clip file, or an "AVI" resource through the resource chain.
    BOOL Open(LPCWSTR lpszFileName);
    BOOL Open(UINT nID);
    BOOL Play(UINT nFrom, UINT nTo, UINT nRep);
    BOOL Stop();
    BOOL Close();
    BOOL Seek(UINT nTo);
    BOOL IsPlaying() const;
};
