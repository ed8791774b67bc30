// Views: CView shows one document in a child window of a frame; CScrollView adds scroll bars over
// a logical page larger than the window.
//
// A view is created by its frame from the template's runtime class, with the document in the
// creation context, and adds itself to that document; it removes itself when it is destroyed and
// deletes itself after its window is gone. WM_INITIALUPDATE reaches OnInitialUpdate, which calls
// OnUpdate; painting calls OnPrepareDC, then OnDraw. A view that gets the focus becomes its frame's
// active view. Commands go to the view, then to its document.
//
// CScrollView keeps the scroll position in device units, between 0 and the total size less the
// client size. Its OnPrepareDC moves the viewport origin by minus that position, so OnDraw draws
// in logical (page) coordinates and DPtoLP of the DC turns a client point into a page point. Only
// MM_TEXT is kept as a mapping mode: the canvas scales by itself.
#pragma once

#include "mfc/Dc.h"
#include "mfc/FrameWnd.h"

#include <functional>
#include <memory>
#include <vector>

class CDocument;
class CPrinterDC;
class QImage;
class QPrinter;
struct CPrintInfo;

class CView : public CWnd
{
    DECLARE_DYNAMIC(CView)
public:
    CView();
    ~CView() override;

    CDocument* GetDocument() const { return m_pDocument; }

    virtual void OnInitialUpdate();
    // The base invalidates the whole view.
    virtual void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint);
    virtual void OnDraw(CDC* pDC) = 0;
    virtual void OnPrepareDC(CDC* pDC, CPrintInfo* pInfo = nullptr);
    virtual void OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView);
    virtual void OnActivateFrame(UINT nState, CFrameWnd* pFrameWnd);
    virtual BOOL IsSelected(const CObject* pDocItem) const;

    // Printing (Print.h): the base prints as many pages as the view allows, each by OnDraw.
    virtual BOOL OnPreparePrinting(CPrintInfo* pInfo);
    virtual void OnBeginPrinting(CDC* pDC, CPrintInfo* pInfo);
    virtual void OnPrint(CDC* pDC, CPrintInfo* pInfo);
    virtual void OnEndPrinting(CDC* pDC, CPrintInfo* pInfo);
    // Readies the printer: the print dialog, or a PDF file (see Print.h). FALSE when cancelled.
    BOOL DoPreparePrinting(CPrintInfo* pInfo);
    afx_msg void OnFilePrint();
    afx_msg void OnFilePrintDirect();
    afx_msg void OnFilePrintPreview();
    // Prints into a PDF file without asking; FALSE when it cannot be written.
    BOOL PrintToPdf(const CString& strPath);
    // The pages drawn by the last preview without a desktop: their count, and each as an image
    // (null past the last).
    int GetPreviewPageCount() const { return int(m_previewPages.size()); }
    const QImage* GetPreviewPage(int nPage) const;

    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
    int OnCreate(LPCREATESTRUCT lpCreateStruct) override;
    void OnDestroy() override;
    void OnPaint() override;
    void OnSetFocus(CWnd* pOldWnd) override;
    afx_msg LRESULT OnInitialUpdateMsg(WPARAM wParam, LPARAM lParam);

protected:
    void PostNcDestroy() override;

    friend class CDocument;
    CDocument* m_pDocument = nullptr;
    std::vector<std::unique_ptr<QImage>> m_previewPages;

private:
    BOOL PrintJob(CPrintInfo& info);
    // The page loop of a job on a DC that is ready.
    void PrintPagesOn(CPrinterDC& dc, CPrintInfo& info, const std::function<void()>& newPage);

    DECLARE_MESSAGE_MAP()
};

class CScrollView : public CView
{
    DECLARE_DYNAMIC(CScrollView)
public:
    // Page and line sizes that SetScrollSizes makes from the total: a tenth of it per page, a tenth
    // of a page per line.
    static const CSize sizeDefault;

    CScrollView();
    ~CScrollView() override;

    void SetScrollSizes(int nMapMode, SIZE sizeTotal, const SIZE& sizePage = sizeDefault,
                        const SIZE& sizeLine = sizeDefault);
    CSize GetTotalSize() const { return m_totalLog; }
    void GetDeviceScrollSizes(int& nMapMode, SIZE& sizeTotal, SIZE& sizePage, SIZE& sizeLine) const;
    // The top left of the visible part, in logical and in device units.
    CPoint GetScrollPosition() const;
    CPoint GetDeviceScrollPosition() const;
    // Scrolls so that the logical point is at the top left, as far as the limits allow.
    void ScrollToPosition(POINT pt);
    void ScrollToDevicePosition(POINT ptDev);
    void CenterOnPoint(CPoint ptCenter);
    // The client area and whether each bar is needed.
    void GetTrueClientSize(CSize& size, CSize& sizeSb) const;
    // Shows or hides the bars for the client size and keeps the position within the limits.
    virtual void UpdateBars();
    // Scrolls by sizeScroll device units; FALSE when nothing moved (or bDoScroll is FALSE and it would
    // not have).
    virtual BOOL OnScrollBy(CSize sizeScroll, BOOL bDoScroll = TRUE);
    // LOBYTE of nScrollCode: the horizontal code (SB_...), HIBYTE: the vertical one (0xFF: none).
    virtual BOOL OnScroll(UINT nScrollCode, UINT nPos, BOOL bDoScroll = TRUE);

    void OnPrepareDC(CDC* pDC, CPrintInfo* pInfo = nullptr) override;
    void OnSize(UINT nType, int cx, int cy) override;
    BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint pt) override;
    afx_msg void OnHScroll(UINT nSBCode, UINT nPos, CWnd* pScrollBar);
    afx_msg void OnVScroll(UINT nSBCode, UINT nPos, CWnd* pScrollBar);

    QWidget* CreateWidget(const CREATESTRUCT& cs, QWidget* pParentWidget) override;
    QWidget* GetClientWidget() const override;

protected:
    // Moves the position (device units) to ptDev, clamped; repaints and updates the bars.
    void SetDevicePosition(CPoint ptDev);
    CSize ScrollLimit() const;

    int m_nMapMode = 0;
    CSize m_totalLog;
    CSize m_totalDev;
    CSize m_pageDev;
    CSize m_lineDev;
    CPoint m_ptDevPos;
    bool m_bInUpdateBars = false;

    DECLARE_MESSAGE_MAP()
};

// Scroll bar codes of WM_HSCROLL and WM_VSCROLL.
#ifndef SB_LINEUP
#define SB_LINEUP 0
#define SB_LINELEFT 0
#define SB_LINEDOWN 1
#define SB_LINERIGHT 1
#define SB_PAGEUP 2
#define SB_PAGELEFT 2
#define SB_PAGEDOWN 3
#define SB_PAGERIGHT 3
#define SB_THUMBPOSITION 4
#define SB_THUMBTRACK 5
#define SB_TOP 6
#define SB_LEFT 6
#define SB_BOTTOM 7
#define SB_RIGHT 7
#define SB_ENDSCROLL 8
#endif
#ifndef WA_INACTIVE
#define WA_INACTIVE 0
#define WA_ACTIVE 1
#endif
