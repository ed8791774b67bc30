// Printing of views over QPrinter. CView::OnFilePrint asks the view to prepare (OnPreparePrinting,
// which calls DoPreparePrinting for the printer), then draws each page through OnPrepareDC and
// OnPrint between OnBeginPrinting and OnEndPrinting, on a CPrinterDC. Pages run from the minimum
// up to the maximum page while OnPrepareDC leaves m_bContinuePrinting set; with the maximum left
// unknown the base OnPrepareDC ends the job after the first page. DoPreparePrinting shows the print
// dialog on a desktop (not for a direct print); without one (an offscreen platform) or with the
// modal hook set it prints to a PDF file, whose path the hook gives as a save-file dialog (default
// extension "pdf"). OnFilePrintPreview shows the pages in a preview window; without a desktop it
// draws them into page images kept for the caller (GetPreviewPage).
#pragma once

#include "mfc/CString.h"
#include "mfc/Dc.h"
#include "mfc/Geometry.h"

#include <memory>

class QPrinter;

struct CPrintInfo
{
    CPrintInfo();
    ~CPrintInfo();
    CPrintInfo(const CPrintInfo&) = delete;
    CPrintInfo& operator=(const CPrintInfo&) = delete;

    void SetMinPage(UINT nMinPage) { m_nMinPage = nMinPage; }
    void SetMaxPage(UINT nMaxPage) { m_nMaxPage = nMaxPage; }
    UINT GetMinPage() const { return m_nMinPage; }
    UINT GetMaxPage() const { return m_nMaxPage; }

    BOOL m_bPreview = FALSE;
    // Printed at once on the chosen printer, without the print dialog.
    BOOL m_bDirect = FALSE;
    BOOL m_bContinuePrinting = TRUE;
    UINT m_nCurPage = 1;
    // The printable area of the page in device units, set before each OnPrint.
    CRect m_rectDraw;
    CString m_strPageDesc;
    // Where a PDF goes; chosen by DoPreparePrinting when empty.
    CString m_strOutputFile;
    // The printer the pages are drawn on (made by DoPreparePrinting).
    std::unique_ptr<QPrinter> m_pPrinter;

private:
    UINT m_nMinPage = 1;
    UINT m_nMaxPage = 0xFFFF;
};

// A DC over a printer page: its resolution and printable size in device pixels.
class CPrinterDC : public CDC
{
public:
    CPrinterDC(QPainter* pPainter, int nDpiX, int nDpiY, CSize sizePage)
        : CDC(pPainter), m_nDpiX(nDpiX), m_nDpiY(nDpiY), m_sizePage(sizePage)
    {
    }
    int GetDpiX() const { return m_nDpiX; }
    int GetDpiY() const { return m_nDpiY; }
    CSize GetPageSize() const { return m_sizePage; }

private:
    int m_nDpiX, m_nDpiY;
    CSize m_sizePage;
};

// Whether printing goes to a PDF file rather than a print dialog (no desktop, or a modal hook).
BOOL AfxPrintsToFile();
