// The list bars beside the editor's documents: CExtListBar beside a screen lists the screen's shapes
// by name with their three keys, caption and tool tip, and selects the shape of the row clicked in
// the active design view; CMethodListBar beside the script lists the entries of "methods.dat" and
// inserts a call for the entry double-clicked into the active script view. Each bar holds a report
// list (control 2093) that fills it.
#pragma once

#include "figkit/FODrawShape.h"
#include "figkit/FOShapePtr.h"
#include "mfc/Controls.h"
#include "mfc/Dc.h"
#include "mfc/ImageList.h"
#include "editor/ExtListCtrl.h"
#include "mfc/Notify.h"

#include <memory>
#include <vector>

class CFODataModel;
class CFODrawShape;
class QObject;

#ifndef LVN_ITEMCHANGED
#define LVN_FIRST (0U - 100U)
#define LVN_ITEMCHANGED (LVN_FIRST - 1)
#endif

#define IDC_LISTBAR_LIST 2093

// The list of a bar: single selection; a click selects the row under it and tells the bar
// (LVN_ITEMCHANGED), a double click tells it NM_DBLCLK.
class CBarListCtrl : public CExtListCtrl
{
public:
    CBarListCtrl();
    ~CBarListCtrl() override;
    using CExtListCtrl::Create;
    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
    // The row at a client point, or -1.
    int HitTestRow(CPoint pt) const;
    int GetSelectedCount() const;
    int GetNextSelected(int nAfter) const;
    void SelectRow(int nRow);

private:
    std::unique_ptr<QObject> m_pFilter;
};

class CListBarBase : public CControlBar
{
    DECLARE_DYNAMIC(CListBarBase)
public:
    // The bar's window with the caption, and its list filling it.
    virtual BOOL CreateBar(CWnd* pParentWnd, LPCWSTR lpszCaption, DWORD dwStyle, UINT nID);
    void OnUpdateCmdUI(CFrameWnd*, BOOL) override {}
    void OnSize(UINT nType, int cx, int cy) override;
    CBarListCtrl& GetList() { return m_wndList; }

protected:
    // The columns of the bar's list.
    virtual void AddColumns() = 0;
    // The bars' common look: colours of columns and cells, row and header heights, font size.
    void SetListLook();
    // Before the list, which draws from it while it lives.
    CImageList m_images;
    CBarListCtrl m_wndList;
};

class CExtListBar : public CListBarBase
{
    DECLARE_DYNAMIC(CExtListBar)
public:
    // Remembers the model and lists its shapes in order (nothing for a null model).
    void UpdateShapeList(CFODataModel* pModel);
    CFODataModel* GetModel() const { return m_pModel; }
    // The shape of a row (the row holds a reference to it).
    CFODrawShape* GetRowShape(int nRow) const;

    afx_msg void OnItemChanged(NMHDR* pNMHDR, LRESULT* pResult);

protected:
    void AddColumns() override;
    CFODataModel* m_pModel = nullptr;
    std::vector<CFOShapePtr<CFODrawShape>> m_rowShapes;
    DECLARE_MESSAGE_MAP()
};

class CMethodListBar : public CListBarBase
{
    DECLARE_DYNAMIC(CMethodListBar)
public:
    BOOL CreateBar(CWnd* pParentWnd, LPCWSTR lpszCaption, DWORD dwStyle, UINT nID) override;
    // Lists the lines of "methods.dat" in the program's folder (nothing when it cannot be read).
    void LoadMethods();
    // The text that a double click on an entry inserts.
    static CString CallTextOf(const CString& strEntry);

    afx_msg void OnDblClick(NMHDR* pNMHDR, LRESULT* pResult);

protected:
    void AddColumns() override;
    CFont m_font;
    DECLARE_MESSAGE_MAP()
};
