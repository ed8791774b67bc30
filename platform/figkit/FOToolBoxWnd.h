// The shape toolbox windows: CFOMultiToolBoxWnd, a stack of named pages whose caption buttons sit
// above and below the open page, and CFOToolBoxPageWnd, the one window that shows the open page's
// items. An item dragged out of the page window carries its shape type to whatever window takes
// the drop (the design view makes the shape there, CFODrawView).
//
// View styles: FO_TOOLBOX_ICONS_NAMES (1000) large icons with the name below, in a grid;
// FO_TOOLBOX_NAMES (1001) names only, one a line; FO_TOOLBOX_ICONS_DETAILS (1002) a small icon,
// the name and the item's description, one item a line.
#pragma once

#include "figkit/FOToolBoxPage.h"
#include "mfc/Wnd.h"

#include <memory>
#include <vector>

class CDC;

enum
{
    FO_TOOLBOX_ICONS_NAMES = 1000,
    FO_TOOLBOX_NAMES = 1001,
    FO_TOOLBOX_ICONS_DETAILS = 1002,
};

// The clipboard format of a dragged toolbox item (text of CFOToolBoxItem::ToDragText, UTF-16).
UINT FOGetToolBoxItemFormat();

class CFOMultiToolBoxWnd;

class CFOToolBoxPageWnd : public CWnd
{
    DECLARE_DYNCREATE(CFOToolBoxPageWnd)
public:
    CFOToolBoxPageWnd();
    ~CFOToolBoxPageWnd() override;

    using CWnd::Create;
    BOOL Create(CWnd* pParent, const RECT& rect, UINT nID, DWORD dwStyle = WS_CHILD | WS_VISIBLE);

    // The page shown (owned by the toolbox); null shows nothing.
    void SetPage(CFOToolBoxPage* pPage);
    CFOToolBoxPage* GetPage() const { return m_pPage; }
    CFOMultiToolBoxWnd* GetToolBox() const { return m_pToolBox; }
    void SetToolBox(CFOMultiToolBoxWnd* pToolBox) { m_pToolBox = pToolBox; }

    int GetViewStyle() const { return m_nViewStyle; }
    void SetViewStyle(int nStyle);

    // Loads a page file into the shown page: caption, items and path. On failure the page keeps
    // what it had. FALSE without a page or when the file cannot be read.
    virtual BOOL LoadResFile(const CString& strPath);
    // Writes the shown page to a page file, which becomes its path.
    virtual BOOL SaveResFile(const CString& strPath);
    // Writes the shown page to its own path when it is modified; FALSE without a path or on failure.
    BOOL SaveFile();
    // Saves the shown page under a name the program chooses; the base saves it to its own path.
    virtual BOOL SavePageAs();

    // Item geometry in client pixels (with the scroll offset); an empty rectangle for a bad index.
    CRect GetItemRect(int nIndex) const;
    // The item under a client point, or -1.
    int HitTest(CPoint point) const;
    int GetSelectedItem() const { return m_nSelected; }
    void SetSelectedItem(int nIndex);
    // Scrolls so that the first shown row is nRow (clamped).
    void SetTopRow(int nRow);
    int GetTopRow() const { return m_nTopRow; }

    // Starts the drag of an item: the item's data through OLE drag and drop. Returns the drop's
    // effect (DROPEFFECT_NONE when nobody took it).
    virtual DWORD DoDragItem(int nIndex);
    // Draws an item's icon into a square; the base draws a framed glyph of the item's type.
    virtual void DrawItemIcon(CDC* pDC, const CRect& rcIcon, const CFOToolBoxItem& item);

    void OnPaint() override;
    void OnLButtonDown(UINT nFlags, CPoint point) override;
    void OnLButtonUp(UINT nFlags, CPoint point) override;
    void OnMouseMove(UINT nFlags, CPoint point) override;
    BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint pt) override;
    void OnSize(UINT nType, int cx, int cy) override;

protected:
    // Cell size of the style, columns that fit, and rows of the page.
    CSize GetCellSize() const;
    int GetColumnCount() const;
    int GetRowCount() const;
    void DrawItem(CDC* pDC, int nIndex, const CRect& rcCell);

    CFOToolBoxPage* m_pPage = nullptr;
    CFOMultiToolBoxWnd* m_pToolBox = nullptr;
    int m_nViewStyle = FO_TOOLBOX_ICONS_NAMES;
    int m_nSelected = -1;
    int m_nTopRow = 0;
    int m_nPressed = -1;
    CPoint m_ptPress;
};

class CFOMultiToolBoxWnd : public CWnd
{
    DECLARE_DYNCREATE(CFOMultiToolBoxWnd)
public:
    CFOMultiToolBoxWnd();
    ~CFOMultiToolBoxWnd() override;

    // A child window (or a plain top-level one without a parent); it makes its page window.
    using CWnd::Create;
    BOOL Create(CWnd* pParent, const RECT& rect, UINT nID, DWORD dwStyle = WS_CHILD | WS_VISIBLE);

    // The page window, made by CreatePageWnd when the toolbox is created.
    CFOToolBoxPageWnd* GetToolBoxWnd() const { return m_pPageWnd.get(); }
    int GetPageCount() const { return int(m_pages.size()); }
    CFOToolBoxPage* GetPage(int nIndex) const;
    // The open page; -1 / null when there are none.
    int GetActiveIndex() const { return m_nActive; }
    CFOToolBoxPage* GetCurrentPage() const { return GetPage(m_nActive); }
    void SetActivePage(int nIndex);

    // Appends a page with the caption; bActivate opens it.
    CFOToolBoxPage* AddPage(const CString& strCaption, BOOL bActivate = TRUE);
    // Removes and deletes a page; the open one then is the one before it. FALSE for a bad index.
    BOOL RemovePage(int nIndex);
    void RemoveAllPages();

    // Places the caption buttons and the page window; non-zero when anything moved.
    int RecalcLayout();
    // The caption button of a page in client pixels (empty for a bad index).
    CRect GetCaptionRect(int nIndex) const;
    int HitTestCaption(CPoint point) const;

    int GetViewStyle() const { return m_nViewStyle; }
    void SetViewStyle(int nStyle);

    static constexpr int nCaptionHeight = 22;

    void OnPaint() override;
    void OnLButtonDown(UINT nFlags, CPoint point) override;
    void OnSize(UINT nType, int cx, int cy) override;

protected:
    // Makes the page window object; a program's toolbox returns its own class.
    virtual CFOToolBoxPageWnd* CreatePageWnd();

    std::vector<std::unique_ptr<CFOToolBoxPage>> m_pages;
    std::unique_ptr<CFOToolBoxPageWnd> m_pPageWnd;
    int m_nActive = -1;
    int m_nViewStyle = FO_TOOLBOX_ICONS_NAMES;
    std::vector<CRect> m_layout; // caption rectangles, then the page window's
};
