// CFileView: the docking pane that lists the project's screens ("*.xdg" in its screen folder)
// under "Application 파일" / "Xdg 파일" and opens one as an MDI child on a double click, from its
// context menu or by message (0x601 and 0x603 with the screen's name: 0 opened, -1 not).
#pragma once

#include "mfc/DockablePane.h"
#include "mfc/ImageList.h"
#include "mfc/ToolBarEx.h"
#include "multiview/ViewTree.h"

class CDocument;

// The pane's own toolbar: locked, its commands go to the pane.
class CFileViewToolBar : public CMFCToolBar
{
public:
    CFileViewToolBar() = default;
};

// What a screen item of the tree carries: the window to tell and a word kept 0.
struct FILEVIEW_ITEM
{
    HWND hWndNotify;
    DWORD dwReserved;
};

class CFileView : public CDockablePane
{
public:
    enum
    {
        ID_TREE = 4,
        IMAGE_FOLDER = 0,
        IMAGE_SCREEN = 1,
    };

    CFileView();
    ~CFileView() override;

    // Rebuilds the list from the screen folder.
    void FillFileView();
    // The toolbar along the top, the tree below it (the tree's own sunken frame outlines it).
    void AdjustLayout();
    void OnChangeVisualStyle();
    // Opens the screen of that name (file title, without ".xdg"): 0 opened, -1 when its file does
    // not exist or cannot be loaded.
    int OpenScreen(const CString& strName);
    CDocument* GetLastOpened() const { return m_pLastOpened; }

    CViewTree& GetTree() { return m_wndFileView; }
    const CViewTree& GetTree() const { return m_wndFileView; }
    CFileViewToolBar& GetToolBar() { return m_wndToolBar; }
    // The screen folder the list was filled from.
    CString GetScreenFolder() const;

    BOOL CanBeClosed() const override { return FALSE; }
    int OnCreate(LPCREATESTRUCT lpCreateStruct) override;
    void OnSize(UINT nType, int cx, int cy) override;
    void OnDestroy() override;
    void OnContextMenu(CWnd* pWnd, CPoint point) override;
    void OnSetFocus(CWnd* pOldWnd) override;

    afx_msg void OnClickTree(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnDblClickTree(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnRClickTree(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnFileOpen();
    afx_msg void OnFileOpenWith();
    afx_msg void OnDummyCompile();
    afx_msg void OnEditCut();
    afx_msg void OnEditCopy();
    afx_msg void OnEditClear();
    afx_msg void OnProperties();
    afx_msg LRESULT OnShowContextMenu(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnOpenScreenMessage(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnIgnoredMessage(WPARAM wParam, LPARAM lParam);

protected:
    // Sends message with the selected item's text to the window its record names.
    void NotifySelected(UINT message);
    void DeleteItemRecords(HTREEITEM hItem);

    CViewTree m_wndFileView;
    CImageList m_FileViewImages;
    CFileViewToolBar m_wndToolBar;
    CDocument* m_pLastOpened = nullptr;

    DECLARE_MESSAGE_MAP()
};
