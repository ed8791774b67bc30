// CColorDialog: the common colour dialog. DoModal goes through the modal hook (kind ColorDialog:
// the hook reads the starting colour in crColor, puts its choice there and answers IDOK); without
// a hook Qt's colour dialog is shown. A choice that is not a colour (bits above the blue byte) is
// refused with a message and the dialog ends with IDCANCEL, so the caller keeps its colour.
#pragma once

#include "mfc/CString.h"

class CWnd;

#define CC_RGBINIT 0x00000001
#define CC_FULLOPEN 0x00000002
#define CC_PREVENTFULLOPEN 0x00000004
#define CC_SHOWHELP 0x00000008
#define CC_SOLIDCOLOR 0x00000080
#define CC_ANYCOLOR 0x00000100

struct CHOOSECOLOR
{
    DWORD lStructSize = 0;
    HWND hwndOwner = nullptr;
    // In (with CC_RGBINIT): the colour the dialog starts with; out: the colour chosen.
    COLORREF rgbResult = 0;
    // Sixteen custom colours the dialog offers and keeps (null: the dialog's own).
    COLORREF* lpCustColors = nullptr;
    DWORD Flags = 0;
};

class CColorDialog
{
public:
    explicit CColorDialog(COLORREF clrInit = 0, DWORD dwFlags = 0, CWnd* pParentWnd = nullptr);
    virtual ~CColorDialog() = default;

    // IDOK when a colour was chosen, else IDCANCEL.
    virtual INT_PTR DoModal();
    COLORREF GetColor() const { return m_cc.rgbResult; }
    void SetCurrentColor(COLORREF clr) { m_cc.rgbResult = clr; }
    // Whether a value is a colour (red, green and blue bytes only).
    static BOOL IsColor(COLORREF clr) { return (clr & 0xFF000000) == 0; }

    CHOOSECOLOR m_cc;

private:
    CWnd* m_pParentWnd;
};
