// The page setup dialog: margins (and paper) of printed pages, through the modal hook.
#pragma once

#include "mfc/CString.h"
#include "mfc/Geometry.h"

class CWnd;

#define PSD_DEFAULTMINMARGINS 0x00000000
#define PSD_INWININIINTLMEASURE 0x00000000
#define PSD_MINMARGINS 0x00000001
#define PSD_MARGINS 0x00000002
#define PSD_INTHOUSANDTHSOFINCHES 0x00000004
#define PSD_INHUNDREDTHSOFMILLIMETERS 0x00000008
#define PSD_DISABLEMARGINS 0x00000010
#define PSD_DISABLEPRINTER 0x00000020
#define PSD_DISABLEORIENTATION 0x00000100
#define PSD_DISABLEPAPER 0x00000200

struct PAGESETUPDLG
{
    DWORD lStructSize;
    HWND hwndOwner;
    DWORD Flags;
    POINT ptPaperSize;
    RECT rtMinMargin;
    RECT rtMargin;
};

class CPageSetupDialog
{
public:
    explicit CPageSetupDialog(DWORD dwFlags = PSD_MARGINS | PSD_INWININIINTLMEASURE,
                              CWnd* pParentWnd = nullptr);
    virtual ~CPageSetupDialog() = default;

    // IDOK or IDCANCEL: the hook answers, else Qt's page setup dialog is shown. Margins are in
    // hundredths of a millimetre with PSD_INHUNDREDTHSOFMILLIMETERS, else thousandths of an inch.
    virtual INT_PTR DoModal();
    void GetMargins(LPRECT lpRectMargins, LPRECT lpRectMinMargins) const;
    CSize GetPaperSize() const { return CSize(m_psd.ptPaperSize.x, m_psd.ptPaperSize.y); }

    PAGESETUPDLG m_psd;

private:
    CWnd* m_pParentWnd;
};
