// CEditTreeCtrl: the project tree of the workspace bar. Its items are told apart by their item data
// (1000 project, 1001 screens, 2001 a screen, 2002 a script, 3000 settings, 4000 publisher, 5000
// project folder, 6000 parameters). A double click opens a screen or runs the node's command; the
// context menu adds, renames and deletes screens; a right-button drag copies or moves items after
// its drop menu. The handlers call virtual hooks, so a subclass could refine each step.
#pragma once

#include "mfc/Dialog.h"
#include "mfc/ImageList.h"
#include "mfc/TreeCtrl.h"

#include <memory>

#define TREE_ITEM_PROJECT 1000
#define TREE_ITEM_SCREENS 1001
#define TREE_ITEM_SCREEN 2001
#define TREE_ITEM_SCRIPT 2002
#define TREE_ITEM_SETTINGS 3000
#define TREE_ITEM_PUBLISHER 4000
#define TREE_ITEM_FOLDER 5000
#define TREE_ITEM_PARAMETERS 6000

// Context menu and drop menu commands of the tree.
#define ID_TREE_RENAME 1
#define ID_TREE_DELETE 2
#define ID_TREE_NEW_SCREEN 3
#define ID_TREE_NEW_SCRIPT 4
#define ID_TREE_SETTINGS 5
#define ID_TREE_EXPLORE 7
#define ID_TREE_REFRESH 8
#define ID_TREE_PUBLISH 9
#define ID_TREE_DROP_COPY 15
#define ID_TREE_DROP_MOVE 16
#define ID_TREE_DROP_NONE 17

// Drop positions of a drag.
#define TREE_DROP_AFTER 0
#define TREE_DROP_BEFORE 1
#define TREE_DROP_CHILD 2
#define TREE_DROP_NONE 3

#define IDD_TREE_RENAME 28045
#define IDC_TREE_RENAME_EDIT 28267

class CEditTreeCtrl;

// The bar that fills the tree: it refills it and keeps the screens and scripts nodes.
class IProjectTreeOwner
{
public:
    virtual void RefillProjectTree() = 0;
    virtual HTREEITEM GetScreensNode() = 0;
    virtual HTREEITEM GetScriptsNode() = 0;

protected:
    ~IProjectTreeOwner() = default;
};

// One drag of an item.
class CDragData
{
public:
    CDragData(CEditTreeCtrl* pTree, HTREEITEM hDragItem, BOOL bRight);
    virtual ~CDragData();

    // Makes the drag image and captures the mouse.
    virtual void Begin();
    // Takes the drop highlight away, shows the selected item, gives the cursor and the mouse back.
    virtual void End();
    virtual void CreateDragImage();
    virtual void DeleteDragImage();
    // TRUE when the same target has been reported 15 times in a row.
    virtual BOOL HoverTick(HTREEITEM hItem);

    CEditTreeCtrl* m_pTree = nullptr;
    HCURSOR m_hOldCursor = nullptr;
    HTREEITEM m_hDragItem = nullptr;
    HTREEITEM m_hTarget = nullptr;
    int m_nHover = 0;
    std::unique_ptr<CImageList> m_pImage;
    BOOL m_bRight = FALSE;
    int m_nPosition = TREE_DROP_AFTER;
};

// Asks for a name ("New Screen" and the like).
class CMyRenameDlg : public CDialog
{
public:
    explicit CMyRenameDlg(CWnd* pParent = nullptr);

    CString m_strName;

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
};

class CEditTreeCtrl : public CTreeCtrl
{
    DECLARE_DYNAMIC(CEditTreeCtrl)
public:
    CEditTreeCtrl();
    ~CEditTreeCtrl() override;

    void SetOwner(IProjectTreeOwner* pOwner) { m_pOwner = pOwner; }
    CDragData* GetDragData() const { return m_pDragData.get(); }

    // The hooks.
    virtual BOOL CanEditLabel(HTREEITEM hItem);
    virtual BOOL CanSetLabel(TVITEM* pItem);
    virtual BOOL CanDelete(HTREEITEM hItem);
    virtual BOOL CanInsert(HTREEITEM hParent);
    virtual BOOL CanSort(HTREEITEM hItem);
    virtual BOOL CanDrag(NMTREEVIEW* pNMTreeView);
    virtual BOOL CanDrop(HTREEITEM hDragItem, HTREEITEM hTarget, int nPosition);
    virtual BOOL HandleKeyDown(WPARAM nKey, LPARAM nFlags);
    virtual BOOL InsertScreen(TVINSERTSTRUCT* pInsert);
    virtual BOOL InsertScript(TVINSERTSTRUCT* pInsert);
    virtual void OnItemInserted(HTREEITEM hItem);
    virtual void SortSiblings(HTREEITEM hItem);
    virtual void SortBranch(HTREEITEM hItem);
    virtual void ShowContextMenu(CPoint point);
    virtual void AdjustContextMenu(CMenu* pMenu);
    virtual void BeginDrag();
    virtual void DragMove();
    virtual void EndDrag(BOOL bDrop);
    virtual void CancelDrag();
    virtual BOOL DragCursorHook(HTREEITEM hTarget, int nPosition);
    virtual void DoDrop(HTREEITEM hDragItem, HTREEITEM hTarget, int nPosition, BOOL bCopy);
    virtual void ShowDropMenu(CPoint point);
    virtual CDragData* CreateDragData(HTREEITEM hItem, BOOL bRight);
    virtual void EditLabel(HTREEITEM hItem);
    virtual BOOL NewScript(HTREEITEM hParent);
    // Asks for a name until it is free and fit for a file, writes the empty screen and adds it.
    virtual BOOL NewScreen(HTREEITEM hParent);
    // Deletes the screen's file (after asking) and its item.
    virtual BOOL DeleteScreen(HTREEITEM hItem);
    virtual BOOL DeleteScript(HTREEITEM hItem);
    virtual BOOL SortSiblingsCmd(HTREEITEM hItem);
    virtual BOOL SortBranchCmd(HTREEITEM hItem);

    // The first item (depth first) whose item data is dwData, or null.
    HTREEITEM FindItemByData(DWORD_PTR dwData, HTREEITEM hFrom = nullptr) const;
    // Copies an item and its children to a place; the copy.
    HTREEITEM CopyBranch(HTREEITEM hItem, HTREEITEM hParent, HTREEITEM hAfter);
    // Whether hItem is hBranch or lies in its branch.
    BOOL IsInBranch(HTREEITEM hItem, HTREEITEM hBranch) const;
    // The drop target and position under a client point.
    HTREEITEM DropTargetAt(CPoint point, int& nPosition) const;

    // A screen name as typed: FALSE with the message when it cannot name a file of the screen
    // folder (empty, "..", a separator). rFile is the file name, rLabel the tree label.
    static BOOL CheckScreenName(const CString& strText, CString& rFile, CString& rLabel, CString& rError);

    BOOL PreTranslateMessage(MSG* pMsg) override;

    afx_msg void OnBeginLabelEdit(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnEndLabelEdit(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnBeginDragLeft(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnBeginDragRight(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnSelChanging(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnRClick(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnDblClick(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnContextMenu(CWnd* pWnd, CPoint pos) override;
    afx_msg void OnMouseMove(UINT nFlags, CPoint point) override;
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point) override;
    afx_msg void OnRButtonDown(UINT nFlags, CPoint point) override;
    afx_msg void OnRButtonUp(UINT nFlags, CPoint point) override;
    afx_msg void OnContextCommand(UINT nID);
    afx_msg void OnDropCommand(UINT nID);
    afx_msg void OnProjectCommand(UINT nID);

protected:
    // The cursor in client coordinates.
    CPoint CursorPoint() const;
    // Renames a screen's file after its label edit; FALSE (with the message) keeps the old label.
    BOOL RenameScreen(HTREEITEM hItem, const CString& strOld, const CString& strNew);

    std::unique_ptr<CDragData> m_pDragData;
    IProjectTreeOwner* m_pOwner = nullptr;
    BOOL m_bMarking = FALSE;

    DECLARE_MESSAGE_MAP()
};
