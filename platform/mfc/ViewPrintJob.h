// Printing of a view: the print information of a job and the job loop (begin, prepare each page,
// print it, end), onto a printer or a PDF file. A view that prints implements CViewPrintClient.
#pragma once

#include "mfc/Dc.h"

class CView;
class QPrinter;

struct CPrintInfo
{
    BOOL m_bDirect = FALSE;
    BOOL m_bPreview = FALSE;
    BOOL m_bContinuePrinting = TRUE;
    UINT m_nCurPage = 1;
    UINT m_nNumPreviewPages = 1;
    CRect m_rectDraw;
    LPVOID m_lpUserData = nullptr;

    void SetMinPage(UINT nMinPage) { m_nMinPage = nMinPage; }
    void SetMaxPage(UINT nMaxPage) { m_nMaxPage = nMaxPage; }
    UINT GetMinPage() const { return m_nMinPage; }
    UINT GetMaxPage() const { return m_nMaxPage; }

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

class CViewPrintClient
{
public:
    virtual ~CViewPrintClient() = default;
    virtual BOOL OnPreparePrinting(CPrintInfo* pInfo) = 0;
    virtual void OnBeginPrinting(CDC* pDC, CPrintInfo* pInfo) = 0;
    virtual void OnPrint(CDC* pDC, CPrintInfo* pInfo) = 0;
    virtual void OnEndPrinting(CDC* pDC, CPrintInfo* pInfo) = 0;
};

// Runs one job onto the printer; pages are asked of the view's OnPrepareDC (m_bContinuePrinting)
// up to the page limit. FALSE when the job did not start.
BOOL AfxPrintView(CView* pView, CViewPrintClient* pClient, QPrinter& printer);
// The print command (57607 and its direct and preview forms): the modal hook names a PDF file
// (AfxModalKind::PrintDialog, paths[0]), else Qt's print dialog chooses the printer.
BOOL AfxRunPrintCommand(CView* pView, CViewPrintClient* pClient, BOOL bDirect, BOOL bPreview);
