// Documents: CDocument holds a document's title, path, modified flag and views, and loads and saves
// it through Serialize over the one read and safe-save path of DocFile.h. COleDocument is a plain
// document here.
//
// A document is made by its template (CDocTemplate) and knows it; views add themselves when they
// are created for it and remove themselves when they go. With m_bAutoDelete set (the default), the
// document closes itself (OnCloseDocument) when its last view goes, and OnCloseDocument destroys
// the frames of its views and then deletes the document. Failures of open and save are reported
// through the modal hook with the framework's prompts; modified documents ask "Save changes to
// %1?" (Yes, No, Cancel) before they are closed.
#pragma once

#include "mfc/CString.h"
#include "mfc/CmdTarget.h"
#include "mfc/Collections.h"

#include <vector>

class CArchive;
class CDocTemplate;
class CException;
class CFrameWnd;
class CView;

// The framework's prompts (string ids of the resource chain; English texts stand in when a module
// has none).
#define AFX_IDS_UNTITLED 0xF003
#define AFX_IDP_ASK_TO_SAVE 0xF103
#define AFX_IDP_FAILED_TO_CREATE_DOC 0xF104
#define AFX_IDP_FAILED_TO_OPEN_DOC 0xF108
#define AFX_IDP_FAILED_TO_SAVE_DOC 0xF109
#define AFX_IDP_FAILED_INVALID_FORMAT 0xF120

class CDocument : public CCmdTarget
{
    DECLARE_DYNAMIC(CDocument)
public:
    CDocument();
    ~CDocument() override;

    const CString& GetTitle() const { return m_strTitle; }
    // Also retitles the frames of the views.
    virtual void SetTitle(LPCWSTR lpszTitle);
    const CString& GetPathName() const { return m_strPathName; }
    // The path (case resolved against the disk) and, from its file name, the title.
    virtual void SetPathName(LPCWSTR lpszPathName, BOOL bAddToMRU = TRUE);
    void ClearPathName() { m_strPathName.Empty(); }
    CDocTemplate* GetDocTemplate() const { return m_pDocTemplate; }
    virtual BOOL IsModified();
    virtual void SetModifiedFlag(BOOL bModified = TRUE);

    // Views, in the order they were added.
    virtual POSITION GetFirstViewPosition() const;
    virtual CView* GetNextView(POSITION& rPosition) const;
    int GetViewCount() const { return int(m_viewList.size()); }
    void AddView(CView* pView);
    void RemoveView(CView* pView);
    // Calls OnUpdate of every view but pSender.
    void UpdateAllViews(CView* pSender, LPARAM lHint = 0L, CObject* pHint = nullptr);
    // Closes the document when its last view went (and m_bAutoDelete is set), else retitles.
    virtual void OnChangedViewList();
    // Retitles the frames of the views.
    virtual void UpdateFrameCounts();

    // Empties the document; called before new and open, and by close.
    virtual void DeleteContents();
    virtual BOOL OnNewDocument();
    // Reads the file through Serialize (an empty file loads nothing); FALSE, with the error
    // reported and the contents deleted, when it cannot be read. The contents stay as they were
    // when the file cannot be opened at all.
    virtual BOOL OnOpenDocument(LPCWSTR lpszPathName);
    // Writes through Serialize on the safe-save path; FALSE, reported, with the old file untouched.
    virtual BOOL OnSaveDocument(LPCWSTR lpszPathName);
    virtual void OnCloseDocument();
    virtual void ReportSaveLoadException(LPCWSTR lpszPathName, CException* e, BOOL bSaving, UINT nIDPDefault);

    // TRUE when the document may go: not modified, or the user chose No, or Yes and it was saved.
    virtual BOOL SaveModified();
    // TRUE when the frame may close: another frame still shows the document, or SaveModified.
    virtual BOOL CanCloseFrame(CFrameWnd* pFrame);
    virtual void PreCloseFrame(CFrameWnd* pFrame);
    // Saves to lpszPathName, or to a name asked for (the file dialog through the modal hook) when
    // it is null; with bReplace the document takes the new path.
    virtual BOOL DoSave(LPCWSTR lpszPathName, BOOL bReplace = TRUE);
    // Saves to the document's path, asking for one when it has none.
    virtual BOOL DoFileSave();

    afx_msg void OnFileClose();
    afx_msg void OnFileSave();
    afx_msg void OnFileSaveAs();

    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

    BOOL m_bAutoDelete = TRUE;
    BOOL m_bEmbedded = FALSE;

protected:
    friend class CDocTemplate;

    CString m_strTitle;
    CString m_strPathName;
    CDocTemplate* m_pDocTemplate = nullptr;
    std::vector<CView*> m_viewList;
    BOOL m_bModified = FALSE;

    DECLARE_MESSAGE_MAP()
};

class COleDocument : public CDocument
{
    DECLARE_DYNAMIC(COleDocument)
public:
    COleDocument();
    ~COleDocument() override;

    // Documents here are never compound files.
    void EnableCompoundFile(BOOL bEnable = TRUE) { (void)bEnable; }

protected:
    DECLARE_MESSAGE_MAP()
};

// Reports a failed load or save the way documents do: a damaged archive as the invalid-format
// prompt, a file error with its own text (naming lpszPathName when it names nothing), anything else
// with nIDPDefault. For models and files that are not documents too.
void AfxReportSaveLoadException(LPCWSTR lpszPathName, CException* e, BOOL bSaving, UINT nIDPDefault);
