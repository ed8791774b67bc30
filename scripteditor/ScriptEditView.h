// CScriptEditView: the text view made an editor: typing in insert or overwrite mode, Enter with
// automatic indentation, Delete and Backspace, Tab and Shift+Tab over blocks of lines, line prefixes,
// cut, paste, undo and redo, and text dragged and dropped within and between views.
#pragma once

#include "scripteditor/ScriptTextView.h"

#include "mfc/OleDragDrop.h"

#define ID_EDIT_DELETE 37000
#define ID_EDIT_DELETE_BACK 37001
#define ID_EDIT_TAB 37003
#define ID_EDIT_UNTAB 37004
#define ID_EDIT_SWITCH_OVRMODE 37005

// Action codes of the edits, passed to the buffer.
enum
{
    CE_ACTION_PASTE = 1,
    CE_ACTION_DELSEL = 2,
    CE_ACTION_CUT = 3,
    CE_ACTION_TYPING = 4,
    CE_ACTION_BACKSPACE = 5,
    CE_ACTION_INDENT = 6,
    CE_ACTION_DRAGDROP = 7,
    CE_ACTION_DELETE = 9,
    CE_ACTION_AUTOINDENT = 10,
};

class CScriptEditView;

class CEditDropTargetImpl : public COleDropTarget
{
public:
    explicit CEditDropTargetImpl(CScriptEditView* pOwner) : m_pOwner(pOwner) {}
    DROPEFFECT OnDragEnter(CWnd* pWnd, COleDataObject* pDataObject, DWORD dwKeyState, CPoint point) override;
    DROPEFFECT OnDragOver(CWnd* pWnd, COleDataObject* pDataObject, DWORD dwKeyState, CPoint point) override;
    void OnDragLeave(CWnd* pWnd) override;
    BOOL OnDrop(CWnd* pWnd, COleDataObject* pDataObject, DROPEFFECT dropEffect, CPoint point) override;
    DROPEFFECT OnDragScroll(CWnd* pWnd, DWORD dwKeyState, CPoint point) override;

private:
    CScriptEditView* m_pOwner;
};

class CScriptEditView : public CScriptTextView
{
    DECLARE_DYNCREATE(CScriptEditView)
public:
    CScriptEditView();
    ~CScriptEditView() override;

    BOOL GetOverwriteMode() const { return m_bOvrMode; }
    void SetOverwriteMode(BOOL bOvrMode = TRUE) { m_bOvrMode = bOvrMode; }
    BOOL GetAutoIndent() const { return m_bAutoIndent; }
    void SetAutoIndent(BOOL bAutoIndent) { m_bAutoIndent = bAutoIndent; }
    BOOL IsDropIndicatorShown() const { return m_bDropPosVisible; }
    CPoint GetDropPos() const { return m_ptDropPos; }

    // Inserts the prefix at column 0 of every line of a block, else at the caret.
    void InsertLinePrefix(LPCWSTR pszPrefix);
    // Takes one leading "//" from every line of a block, else from the caret line.
    void RemoveLinePrefix();
    // Inserts text at the caret as one undo step (templates use code 7).
    BOOL InsertAtCaret(const CString& text, int nAction);

    void ResetView() override;
    DROPEFFECT GetDropEffect() override;
    void OnDropSource(DROPEFFECT de) override;
    void UpdateView(CScriptBufferClient* pSource, CUpdateContext* pContext, DWORD dwFlags,
                    int nLineIndex = -1) override;
    void OnEditOperation(int nAction, LPCWSTR pszText) override;
    virtual BOOL QueryEditable();

    // The drop target's side.
    void ShowDropIndicator(const CPoint& point);
    void HideDropIndicator();
    BOOL DoDropText(COleDataObject* pDataObject, const CPoint& ptClient);
    void DoDragScroll(const CPoint& point);

    int OnCreate(LPCREATESTRUCT lpCreateStruct) override;
    void OnDestroy() override;
    void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags) override;
    afx_msg void OnEditPaste();
    afx_msg void OnUpdateEditPaste(CCmdUI* pCmdUI);
    afx_msg void OnEditCut();
    afx_msg void OnUpdateEditCut(CCmdUI* pCmdUI);
    afx_msg void OnEditDelete();
    afx_msg void OnEditDeleteBack();
    afx_msg void OnEditUntab();
    afx_msg void OnEditTab();
    afx_msg void OnEditSwitchOvrmode();
    afx_msg void OnUpdateEditSwitchOvrmode(CCmdUI* pCmdUI);
    afx_msg void OnEditReplace();
    afx_msg void OnEditUndo();
    afx_msg void OnUpdateEditUndo(CCmdUI* pCmdUI);
    afx_msg void OnEditRedo();
    afx_msg void OnUpdateEditRedo(CCmdUI* pCmdUI);
    afx_msg void OnUpdateIndicatorOvr(CCmdUI* pCmdUI);

protected:
    BOOL DeleteCurrentSelection();
    // The lines of a selection over more than one line (its end line left out when it ends at column 0).
    BOOL GetBlockLines(int& nFirst, int& nLast);
    void SelectBlock(int nFirst, int nLast);
    void BeginBlockEdit();
    void EndBlockEdit(int nFirst, int nLast);
    void PlaceCaret(const CPoint& pt);
    CString LoadViewString(UINT nID);
    void UpdateUndoItem(CCmdUI* pCmdUI, BOOL bRedo);

    BOOL m_bOvrMode = FALSE;
    BOOL m_bDropPosVisible = FALSE;
    CPoint m_ptSavedCaretPos;
    CPoint m_ptDropPos;
    BOOL m_bAutoIndent = TRUE;
    std::unique_ptr<CEditDropTargetImpl> m_pDropTarget;

    DECLARE_MESSAGE_MAP()
};
