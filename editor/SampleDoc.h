// CSampleDoc: a script document (".uscp"): its text buffer, whose modified state is the
// document's, and the font its view shows the text in.
#pragma once

#include "mfc/Document.h"
#include "mfc/Dc.h"
#include "scripteditor/ScriptTextBuffer.h"

class CSampleDoc;

class CSampleTextBuffer : public CScriptTextBuffer
{
public:
    explicit CSampleTextBuffer(CSampleDoc* pDoc) : m_pOwnerDoc(pDoc) {}
    void SetModified(BOOL bModified = TRUE) override;

private:
    CSampleDoc* m_pOwnerDoc;
};

class CSampleDoc : public CDocument
{
    DECLARE_DYNCREATE(CSampleDoc)
public:
    CSampleDoc();
    ~CSampleDoc() override;

    BOOL OnNewDocument() override;
    BOOL OnOpenDocument(LPCWSTR lpszPathName) override;
    BOOL OnSaveDocument(LPCWSTR lpszPathName) override;
    void DeleteContents() override;
    void OnCloseDocument() override;
    afx_msg void OnFileClose();

    CSampleTextBuffer& GetTextBuffer() { return m_xTextBuffer; }
    const LOGFONT& GetViewFont() const { return m_lf; }

protected:
    CSampleTextBuffer m_xTextBuffer;
    LOGFONT m_lf;
    DECLARE_MESSAGE_MAP()
};
