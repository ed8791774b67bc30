// The screen document of the editor, in two layers. CPlexdraftDoc owns the screen model and hands
// the document operations (title, modified flag, contents, load, save) to it, and keeps the
// rulers flag that is saved inside the screen file. CQYRDrawDoc, the class the screen template
// makes, also holds one reference on the process's OPC server explorer document while it is open.
#pragma once

#include "mfc/Document.h"

class CMyExtDataModel;
class CInfoServerExplorerDoc;

// Closes a document as its windows' close boxes do: each frame gets WM_CLOSE, so the last one asks
// about unsaved changes. FALSE when a frame stayed open (the user cancelled or the save failed).
BOOL CloseDocumentFrames(CDocument* pDoc);

class CPlexdraftDoc : public COleDocument
{
    DECLARE_DYNCREATE(CPlexdraftDoc)
public:
    CPlexdraftDoc();
    ~CPlexdraftDoc() override;

    CMyExtDataModel* GetModel() const { return m_pModel; }

    void Serialize(CArchive& ar) override;
    void SetTitle(LPCWSTR lpszTitle) override;
    BOOL IsModified() override;
    void SetModifiedFlag(BOOL bModified = TRUE) override;
    void DeleteContents() override;
    BOOL OnNewDocument() override;
    BOOL OnOpenDocument(LPCWSTR lpszPathName) override;
    BOOL OnSaveDocument(LPCWSTR lpszPathName) override;
    afx_msg void OnFileClose();

    CMyExtDataModel* m_pModel;
    int m_bShowRulers = 1;

protected:
    DECLARE_MESSAGE_MAP()
};

class CQYRDrawDoc : public CPlexdraftDoc
{
    DECLARE_DYNCREATE(CQYRDrawDoc)
public:
    CQYRDrawDoc() = default;
    ~CQYRDrawDoc() override;

    BOOL OnNewDocument() override;
    BOOL OnOpenDocument(LPCWSTR lpszPathName) override;
    void OnCloseDocument() override;

    // With bAttach: takes a reference on the explorer document (making it when there is none).
    // Without: the one held, or null.
    CInfoServerExplorerDoc* GetExplorerDocument(BOOL bAttach);
    void DetachExplorerDocument();

    CInfoServerExplorerDoc* m_pExplorerDoc = nullptr;

protected:
    DECLARE_MESSAGE_MAP()
};
