// The grid's windows: CFOExtGridCtrl is a child window that is also the grid and routes its
// messages to it; CCrGridCtrl is the sample grid that screens show (six computed columns over
// 100 rows, a small bitmap in the first).
#pragma once

#include "symbols/FOExtGrid.h"

#include "mfc/Gdi.h"
#include "mfc/Wnd.h"

#define FOXG_BITMAP_ROWMARK 8045

class CFOExtGridCtrl : public CWnd, public CFOExtGrid
{
    DECLARE_DYNCREATE(CFOExtGridCtrl)
public:
    CFOExtGridCtrl();
    ~CFOExtGridCtrl() override;

    using CWnd::Create;
    // Makes the window (a client edge when dwExStyle is 0), then the current cell's editor.
    BOOL Create(DWORD dwExStyle, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
    BOOL PreTranslateMessage(MSG* pMsg) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    QWidget* CreateWidget(const CREATESTRUCT& cs, QWidget* pParentWidget) override;
    virtual BOOL OnScroll(UINT nScrollCode, UINT nPos, BOOL bDoScroll = TRUE)
    {
        return CFOExtGrid::OnScroll(nScrollCode, nPos, bDoScroll);
    }
    virtual void OnReserved() {}
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

    // The window class registered on first use.
    static const CString& GetGridClassName();

protected:
    void OnGridPaint();
    void OnGridSize();
    void OnGridSetFocus(HWND hOld);
    void OnGridScroll(UINT message, WPARAM wParam, LPARAM lParam);
};

class CCrGridCtrl : public CFOExtGridCtrl
{
    DECLARE_DYNCREATE(CCrGridCtrl)
public:
    CCrGridCtrl();
    ~CCrGridCtrl() override;

    HGDIOBJ GetCellImage(int nCol, int nRow, UINT nState) const override;
    FOXCellValue GetCellText(int nCol, int nRow) const override;

    CBitmap m_bitmap;
};
