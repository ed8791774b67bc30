// The list-view family ("SysListView32") in report view: a header of columns with widths, rows of
// texts with item data and states (focused, selected, drop-highlighted). With LVS_OWNERDRAWFIXED
// each row is drawn by the control's DrawItem; after the rows, OnDrawAfterItems may add to the
// picture. A left click selects and focuses the row under it; unless the list is LVS_SINGLESEL,
// Ctrl+click adds the row to the selection (or takes it away) and Shift+click selects the rows from
// the focused one to it. Rows may carry an image of the small image list, drawn before column 0.
#pragma once

#include "mfc/Geometry.h"
#include "mfc/Collections.h"
#include "mfc/Wnd.h"

class CImageList;

class CDC;

#define WC_LISTVIEWW L"SysListView32"

#define LVS_REPORT 0x0001
#define LVS_SINGLESEL 0x0004
#define LVS_SHOWSELALWAYS 0x0008
#define LVS_EDITLABELS 0x0200
#define LVS_OWNERDRAWFIXED 0x0400
#define LVS_TYPEMASK 0x0003

#define LVS_EX_GRIDLINES 0x00000001
#define LVS_EX_FULLROWSELECT 0x00000020
#define LVS_EX_INFOTIP 0x00000400

#define LVIS_FOCUSED 0x0001
#define LVIS_SELECTED 0x0002
#define LVIS_DROPHILITED 0x0008

#define LVCFMT_LEFT 0x0000
#define LVCFMT_RIGHT 0x0001
#define LVCFMT_CENTER 0x0002
#define LVCFMT_JUSTIFYMASK 0x0003

#define LVM_FIRST 0x1000
#define LVM_GETITEMCOUNT (LVM_FIRST + 4)
#define LVM_DELETEITEM (LVM_FIRST + 8)
#define LVM_DELETEALLITEMS (LVM_FIRST + 9)
#define LVM_GETITEMRECT (LVM_FIRST + 14)
#define LVM_REDRAWITEMS (LVM_FIRST + 21)
#define LVM_GETCOLUMNWIDTH (LVM_FIRST + 29)
#define LVM_SETCOLUMNWIDTH (LVM_FIRST + 30)
#define LVM_SETITEMSTATE (LVM_FIRST + 43)
#define LVM_GETITEMSTATE (LVM_FIRST + 44)
#define LVM_SETEXTENDEDLISTVIEWSTYLE (LVM_FIRST + 54)
#define LVM_GETSUBITEMRECT (LVM_FIRST + 56)
#define LVM_GETEXTENDEDLISTVIEWSTYLE (LVM_FIRST + 55)
#define LVM_GETITEMW (LVM_FIRST + 75)
#define LVM_SETITEMW (LVM_FIRST + 76)
#define LVM_INSERTITEMW (LVM_FIRST + 77)
#define LVM_GETCOLUMNW (LVM_FIRST + 95)
#define LVM_INSERTCOLUMNW (LVM_FIRST + 97)
#define LVM_GETCOLUMNCOUNT (LVM_FIRST + 200)
#define LVM_GETHEADERHEIGHT (LVM_FIRST + 201)
#define LVM_GETNEXTITEM (LVM_FIRST + 12)
#define LVM_ENSUREVISIBLE (LVM_FIRST + 19)
#define LVM_GETSELECTEDCOUNT (LVM_FIRST + 50)
#define LVM_FINDITEMW (LVM_FIRST + 83)

// GetNextItem: the next row after nItem (-1: from the first) with all the flags' states.
#define LVNI_ALL 0x0000
#define LVNI_FOCUSED 0x0001
#define LVNI_SELECTED 0x0002

// FindItem: by item data, by the text of column 0 (whole, or its beginning with LVFI_PARTIAL;
// without regard to case), from the row after nStart, wrapping to the top with LVFI_WRAP.
#define LVFI_PARAM 0x0001
#define LVFI_STRING 0x0002
#define LVFI_PARTIAL 0x0008
#define LVFI_WRAP 0x0020
struct LVFINDINFOW
{
    UINT flags;
    LPCWSTR psz;
    LPARAM lParam;
};
typedef LVFINDINFOW LVFINDINFO;

#define LVIF_TEXT 0x0001
#define LVIF_IMAGE 0x0002
#define LVIF_PARAM 0x0004
#define LVIF_STATE 0x0008

#define LVIR_BOUNDS 0
#define LVIR_LABEL 2

#define LVSIL_NORMAL 0
#define LVSIL_SMALL 1

// Owner drawing.
#define ODT_LISTVIEW 102
#define ODA_DRAWENTIRE 0x0001
#define ODA_SELECT 0x0002
#define ODA_FOCUS 0x0004
#define ODS_SELECTED 0x0001
#define ODS_GRAYED 0x0002
#define ODS_DISABLED 0x0004
#define ODS_FOCUS 0x0010

struct LVITEMW
{
    UINT mask;
    int iItem;
    int iSubItem;
    UINT state;
    UINT stateMask;
    LPWSTR pszText;
    int cchTextMax;
    LPARAM lParam;
    // With LVIF_IMAGE: the row's image in the small image list (-1: none).
    int iImage;
};

struct LVCOLUMNW
{
    UINT mask;
    int fmt;
    int cx;
    LPWSTR pszText;
    int cchTextMax; // LVM_GETCOLUMNW copies the heading into pszText when this is above 0
};

struct DRAWITEMSTRUCT
{
    UINT CtlType;
    UINT CtlID;
    UINT itemID;
    UINT itemAction;
    UINT itemState;
    HWND hwndItem;
    HDC hDC;
    RECT rcItem;
    ULONG_PTR itemData;
};
typedef DRAWITEMSTRUCT* LPDRAWITEMSTRUCT;

struct MEASUREITEMSTRUCT
{
    UINT CtlType;
    UINT CtlID;
    UINT itemID;
    UINT itemWidth;
    UINT itemHeight;
    ULONG_PTR itemData;
};
typedef MEASUREITEMSTRUCT* LPMEASUREITEMSTRUCT;

class CHeaderCtrl;

class CListCtrl : public CWnd
{
    DECLARE_DYNAMIC(CListCtrl)
public:
    CListCtrl();
    ~CListCtrl() override;
    using CWnd::Create;
    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

    int InsertColumn(int nCol, LPCWSTR lpszHeading, int nFormat = LVCFMT_LEFT, int nWidth = -1);
    int GetColumnCount() const { return int(Send(LVM_GETCOLUMNCOUNT)); }
    int GetColumnWidth(int nCol) const { return int(Send(LVM_GETCOLUMNWIDTH, WPARAM(nCol))); }
    BOOL SetColumnWidth(int nCol, int cx) { return BOOL(Send(LVM_SETCOLUMNWIDTH, WPARAM(nCol), cx)); }
    int GetHeaderHeight() const { return int(Send(LVM_GETHEADERHEIGHT)); }
    // The column's format (LVCFMT_) and width; FALSE for a column that is not there.
    BOOL GetColumn(int nCol, LVCOLUMNW* pColumn) const
    {
        return BOOL(Send(LVM_GETCOLUMNW, WPARAM(nCol), reinterpret_cast<LPARAM>(pColumn)));
    }
    // The header above the columns: the list's own until another one takes it over
    // (CHeaderCtrl::SubclassHeader), which then measures and paints it.
    CHeaderCtrl* GetHeaderCtrl();

    int GetItemCount() const { return int(Send(LVM_GETITEMCOUNT)); }
    // -1 when it fails; an index beyond the count appends.
    int InsertItem(int nItem, LPCWSTR lpszItem);
    int InsertItem(int nItem, LPCWSTR lpszItem, int nImage);
    // The row's image (-1: none); FALSE for a row that is not there.
    BOOL SetItemImage(int nItem, int nImage);
    int GetItemImage(int nItem) const;
    BOOL SetItemText(int nItem, int nSubItem, LPCWSTR lpszText);
    CString GetItemText(int nItem, int nSubItem) const;
    BOOL SetItemData(int nItem, DWORD_PTR dwData);
    DWORD_PTR GetItemData(int nItem) const;
    BOOL SetItemState(int nItem, UINT nState, UINT nMask);
    UINT GetItemState(int nItem, UINT nMask) const;
    // Selection: the number of selected rows, and the selected rows in order (a position is the
    // row's index + 1, so it holds while no row above it is inserted or deleted).
    UINT GetSelectedCount() const { return UINT(Send(LVM_GETSELECTEDCOUNT)); }
    int GetNextItem(int nItem, int nFlags) const { return int(Send(LVM_GETNEXTITEM, WPARAM(nItem), nFlags)); }
    POSITION GetFirstSelectedItemPosition() const;
    int GetNextSelectedItem(POSITION& pos) const;
    // Scrolls the row into view (every row shows here: it only checks the row).
    BOOL EnsureVisible(int nItem, BOOL bPartialOK) const;
    // -1 when no row matches.
    int FindItem(LVFINDINFO* pFindInfo, int nStart = -1) const
    {
        return int(Send(LVM_FINDITEMW, WPARAM(nStart), reinterpret_cast<LPARAM>(pFindInfo)));
    }
    // Exchanges two rows whole: every column's text, the data, the image and the states.
    BOOL SwapItems(int nFirst, int nSecond);
    BOOL DeleteItem(int nItem) { return BOOL(Send(LVM_DELETEITEM, WPARAM(nItem))); }
    BOOL DeleteAllItems() { return BOOL(Send(LVM_DELETEALLITEMS)); }
    BOOL GetItemRect(int nItem, LPRECT lpRect, UINT nCode) const;
    // One cell's rectangle (LVIR_BOUNDS or LVIR_LABEL, the same here).
    BOOL GetSubItemRect(int nItem, int nSubItem, int nArea, CRect& ref) const;
    BOOL RedrawItems(int nFirst, int nLast) { return BOOL(Send(LVM_REDRAWITEMS, WPARAM(nFirst), nLast)); }
    DWORD GetExtendedStyle() const { return DWORD(Send(LVM_GETEXTENDEDLISTVIEWSTYLE)); }
    DWORD SetExtendedStyle(DWORD dwNewStyle)
    {
        return DWORD(Send(LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LPARAM(dwNewStyle)));
    }

    // The images of the rows (owner-drawn rows draw them themselves); the previous list.
    CImageList* SetImageList(CImageList* pImageList, int nImageListType);
    CImageList* GetImageList(int nImageListType) const;
    // The background of the rows and of the space below them (white until set).
    BOOL SetBkColor(COLORREF cr);
    COLORREF GetBkColor() const { return m_crBk; }

    // Draws one row of an owner-drawn list; the base draws nothing.
    virtual void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct);
    // The row height of an owner-drawn list: itemHeight comes in as the font's and may be changed.
    virtual void MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct) { (void)lpMeasureItemStruct; }
    // Called with the paint's DC after every row is drawn.
    virtual void OnDrawAfterItems(CDC* pDC) { (void)pDC; }

protected:
    CImageList* m_pImageLists[2] = {nullptr, nullptr};
    COLORREF m_crBk = RGB(255, 255, 255);

    LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const
    {
        return const_cast<CListCtrl*>(this)->SendMessage(message, wParam, lParam);
    }

private:
    friend class CHeaderCtrl;
    CHeaderCtrl* m_pOwnHeader = nullptr;
    CHeaderCtrl* m_pHeader = nullptr;
};
