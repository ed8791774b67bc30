// CInfoServerExplorerDoc: the editor's process-wide document that owns its one OPC server
// connection. It has no template and no views: the first request with creation makes it, holders
// share it by reference count, and the last holder's remove call deletes it.
#pragma once

#include "mfc/Document.h"

class CInfoServer;

class CInfoServerExplorerDoc : public CDocument
{
    DECLARE_DYNCREATE(CInfoServerExplorerDoc)
public:
    CInfoServerExplorerDoc();
    ~CInfoServerExplorerDoc() override;

    CInfoServer* GetInfoServer() const { return m_pInfoServer; }
    int AddRef() { return ++m_nRefCount; }
    int Release() { return --m_nRefCount; }
    int GetRefCount() const { return m_nRefCount; }

    BOOL OnNewDocument() override;
    // Loads the server record, then connects and creates the groups and items on the server.
    BOOL OnOpenDocument(LPCWSTR lpszPathName) override;
    void OnCloseDocument() override;
    void Serialize(CArchive& ar) override;

private:
    int m_nRefCount = 1;
    CInfoServer* m_pInfoServer = nullptr;
};

// The process's instance, created (with count 1) when there is none and create is non-zero.
CInfoServerExplorerDoc* GetExplorerActiveDocument(int create);
// Gives back one reference of the instance; at count 0 the document is deleted. Other pointers are
// ignored.
void RemoveExplorerActiveDocument(CInfoServerExplorerDoc* doc);
