// CSampleView: the script view: the editing view over its document's buffer, with a context menu
// and code templates inserted at the caret, the parameter and file choosers, and the script check
// that compiles the project's script and lists its procedures.
#pragma once

#include "scripteditor/ScriptEditView.h"

#include <memory>

class CMenu;
class CSampleDoc;

#define ID_INSERT_FUNCTION 30090
#define ID_INSERT_IF 30091
#define ID_INSERT_PARAMETER 30092
#define ID_INSERT_SHAPE_KEY 30093
#define ID_INSERT_VAR 30099
#define ID_INSERT_COMMENT 30100
#define ID_REMOVE_COMMENT 30101
#define ID_INSERT_TEXT_VAR 30102
#define ID_INSERT_SWITCH 30103
#define ID_INSERT_WHILE 30104
#define ID_INSERT_DO_WHILE 30105
#define ID_INSERT_STRUCT 30106
#define ID_CHECK_SCRIPT 30107
#define ID_INSERT_XDG_FILE 30108

class CSampleView : public CScriptEditView
{
    DECLARE_DYNCREATE(CSampleView)
public:
    CSampleView();
    ~CSampleView() override;

    CSampleDoc* GetDocument() const;
    CScriptTextBuffer* LocateTextBuffer() override;
    void OnInitialUpdate() override;
    // Inserts a text at the caret as one undo step, replacing the selection.
    void InsertTemplate(const CString& strText);

    // The template texts of the commands that insert them (empty for others).
    static CString TemplateText(UINT nID);

    void OnContextMenu(CWnd* pWnd, CPoint pos) override;
    afx_msg void OnInsertTemplate(UINT nID);
    afx_msg void OnUpdateInsert(CCmdUI* pCmdUI);
    afx_msg void OnInsertParameter();
    afx_msg void OnInsertShapeKey();
    afx_msg void OnInsertComment();
    afx_msg void OnRemoveComment();
    afx_msg void OnCheckScript();
    afx_msg void OnInsertXdgFile();
    afx_msg void OnUpdateProjectChooser(CCmdUI* pCmdUI);

protected:
    std::unique_ptr<CMenu> m_pContextMenu;
    DECLARE_MESSAGE_MAP()
};
