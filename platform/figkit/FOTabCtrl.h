// The library's tab control: child windows shown one at a time under a row of tabs (a QTabWidget).
// A window added as a tab becomes the tab's page; the look (tab height, flat border and its colour,
// the tab colours) is kept and shown as far as Qt's tab bar draws it.
#pragma once

#include "figkit/Figkit.h"
#include "mfc/ImageList.h"
#include "mfc/Wnd.h"

class QTabWidget;

class CFOTabCtrl : public CWnd
{
    DECLARE_DYNAMIC(CFOTabCtrl)
public:
    CFOTabCtrl() = default;
    using CWnd::Create;

    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
    // Adds pWnd (a child of this control) as a page; the tab's index, or -1.
    int AddTab(CWnd* pWnd, LPCWSTR lpszLabel, int nImage = -1);
    int GetTabCount() const;
    CWnd* GetTabWnd(int nTab) const;
    CString GetTabLabel(int nTab) const;
    int GetActiveTab() const;
    BOOL SetActiveTab(int nTab);
    // Tab images: the bitmap strip of a resource, cx wide, with a mask colour.
    BOOL LoadTabImages(UINT nBitmapID, int cx, COLORREF crMask = RGB(192, 192, 192));
    void SetTabHeight(int nHeight);
    int GetTabHeight() const { return m_nTabHeight; }
    void SetFlatBorder(BOOL bFlat) { m_bFlatBorder = bFlat; }
    void SetFlatBorderColor(COLORREF cr);
    COLORREF GetFlatBorderColor() const { return m_crBorder; }
    void SetDrawMoneyMode(BOOL bOn) { m_bMoneyMode = bOn; }
    BOOL GetDrawMoneyMode() const { return m_bMoneyMode; }
    void SetTabColors(COLORREF crActive, COLORREF crInactive);

    QWidget* CreateWidget(const CREATESTRUCT& cs, QWidget* pParentWidget) override;

private:
    QTabWidget* Tabs() const;
    void ApplyLook();

    CImageList m_images;
    int m_nTabHeight = 0;
    BOOL m_bFlatBorder = FALSE;
    BOOL m_bMoneyMode = FALSE;
    COLORREF m_crBorder = RGB(128, 128, 128);
    COLORREF m_crActive = RGB(255, 255, 255);
    COLORREF m_crInactive = RGB(230, 230, 230);
};
