// CTableBar: the workspace bar on the left of the editor's main frame ("ToolBox Bar"). A tab control
// holds the project tree ("Projects"); under it sits the shape toolbox, whose window the frame
// creates. The bar also keeps the list of toolbox pages read from the toolbox's "index.dat". The
// frame refreshes the tree when a project opens or closes.
#pragma once

#include "editor/EditTreeCtrl.h"
#include "editor/MyToolBoxWnd.h"
#include "figkit/FOPControlBar.h"
#include "figkit/FOTabCtrl.h"
#include "mfc/Collections.h"
#include "mfc/Dc.h"
#include "mfc/ImageList.h"
#include "mfc/Notify.h"

#include <vector>

#define IDC_PROJECT_TREE 2093
#define IDC_TOOLBOX_WND 2094

// One toolbox page of the index: its number, its page file and an id counted from 100.
struct CToolBoxPageEntry
{
    CString strNumber;
    CString strFile;
    UINT nID = 0;
};

class CTableBar : public CFOPControlBar, public IProjectTreeOwner
{
    DECLARE_DYNAMIC(CTableBar)
public:
    // A font of the default GUI font (the system font when there is none) at a weight.
    static BOOL CreateGuiFont(CFont& font, LONG nWeight);
    CTableBar();
    ~CTableBar() override;

    int OnCreate(LPCREATESTRUCT lpCreateStruct) override;
    void OnSize(UINT nType, int cx, int cy) override;
    afx_msg void OnTreeNotify(NMHDR* pNMHDR, LRESULT* pResult);

    // Rebuilds the project tree from the open project and its screen folder.
    void RefreshProjectTree();
    // The frame's "Add new screen" command: the tree's new-screen operation on "Screens".
    void AddNewScreen();
    // Reads the index of a toolbox folder; a missing index leaves the list empty.
    void ReadToolBoxIndex(const CString& strFolder);
    // Places the toolbox, once its window exists, under the tab control.
    void PlaceToolBox();

    // What the project tree asks of the bar.
    void RefillProjectTree() override { RefreshProjectTree(); }
    HTREEITEM GetScreensNode() override { return m_hScreens; }
    HTREEITEM GetScriptsNode() override { return m_hThird; }

    CEditTreeCtrl& GetTree() { return m_wndTree; }
    CFOTabCtrl& GetTabCtrl() { return m_wndTab; }
    CMyToolBoxWnd& GetToolBox() { return m_wndToolBox; }
    const std::vector<CToolBoxPageEntry>& GetPageList() const { return m_pages; }
    HTREEITEM GetRootItem() const { return m_hRoot; }
    HTREEITEM GetScreensItem() const { return m_hScreens; }

private:
    std::vector<CToolBoxPageEntry> m_pages;
    CFOTabCtrl m_wndTab;
    CEditTreeCtrl m_wndTree;
    CMyToolBoxWnd m_wndToolBox;
    CImageList m_imageList;
    HTREEITEM m_hRoot = nullptr;
    HTREEITEM m_hScreens = nullptr;
    HTREEITEM m_hThird = nullptr;
    CFont m_fontBold;
    CFont m_fontNormal;

    DECLARE_MESSAGE_MAP()
};
