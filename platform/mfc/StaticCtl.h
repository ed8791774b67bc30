// The static family ("Static"): labels over QLabel. '&' in the text marks a mnemonic.
// A picture static (SS_BITMAP, SS_ICON) shows an image at its own size in the top left corner
// (centred with SS_CENTERIMAGE), cut to the control; the control keeps its size. From a dialog
// template its text names the image resource ("#184" or a name), which the control loads and owns;
// an image set by STM_SETIMAGE stays the caller's, and the image it replaces becomes the caller's.
#pragma once

#include "mfc/Wnd.h"

// Static styles.
#define SS_LEFT 0x00000000L
#define SS_CENTER 0x00000001L
#define SS_RIGHT 0x00000002L
#define SS_ICON 0x00000003L
#define SS_BITMAP 0x0000000EL
#define SS_TYPEMASK 0x0000001FL
#define SS_NOTIFY 0x00000100L
#define SS_CENTERIMAGE 0x00000200L
#define SS_SUNKEN 0x00001000L

// Picture messages: wParam the image type, lParam the handle; both answer the previous handle.
#define STM_SETICON 0x0170
#define STM_GETICON 0x0171
#define STM_SETIMAGE 0x0172
#define STM_GETIMAGE 0x0173
#define IMAGE_BITMAP 0
#define IMAGE_ICON 1

class CStatic : public CWnd
{
    DECLARE_DYNAMIC(CStatic)
public:
    CStatic() = default;
    using CWnd::Create;
    BOOL Create(LPCWSTR lpszText, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID = 0xFFFF);

    HBITMAP SetBitmap(HBITMAP hBitmap);
    HBITMAP GetBitmap() const;
    HICON SetIcon(HICON hIcon);
    HICON GetIcon() const;
};
