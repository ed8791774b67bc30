// CQYRViewDoc: the player's document. It takes a counted use of the process-wide OPC server
// document for as long as it lives, and never counts as modified, so the player never asks to save.
#pragma once

#include "player/PlexrunDoc.h"

class CInfoMultiServerExplorerDoc;
class CQYRViewView;

class CQYRViewDoc : public CPlexrunDoc
{
    DECLARE_DYNCREATE(CQYRViewDoc)
public:
    CQYRViewDoc();
    ~CQYRViewDoc() override;

    BOOL OnNewDocument() override;
    BOOL OnOpenDocument(LPCWSTR lpszPathName) override;
    BOOL IsModified() override { return FALSE; }
    void SetModifiedFlag(BOOL) override {}

    // With bAddUse the document takes one more use of the server document (creating it when no
    // one has); without, the member as it is.
    CInfoMultiServerExplorerDoc* GetServerDocument(BOOL bAddUse);
    // The title becomes the file name of the path.
    void SetTitleFromPath(const CString& strPath);

    CQYRViewView* m_pMainView = nullptr;

protected:
    CInfoMultiServerExplorerDoc* m_pServerDoc = nullptr;
    // Uses taken; all are given back when the document goes.
    int m_nServerUses = 0;

    DECLARE_MESSAGE_MAP()
};
