// CInfoMultiServerExplorerDoc: the runtime programs' process-wide document that owns one OPC
// server connection per server name the screens bind to, and reads them all on the refresh timer.
// Created, shared and deleted like the editor's explorer document. The document has no stored
// form of its own: its archive holds nothing.
#pragma once

#include "mfc/Collections.h"
#include "mfc/Document.h"

class CInfoServer;

class CInfoMultiServerExplorerDoc : public CDocument
{
    DECLARE_DYNCREATE(CInfoMultiServerExplorerDoc)
public:
    CInfoMultiServerExplorerDoc();
    ~CInfoMultiServerExplorerDoc() override;

    int AddRef() { return ++m_nRefCount; }
    int Release() { return --m_nRefCount; }
    int GetRefCount() const { return m_nRefCount; }

    // The server stored under the name (exact match), or null.
    CInfoServer* GetInfoServer(LPCWSTR name) const;
    // A new server without callback objects under the name; an entry of that name is replaced
    // without being deleted (callers delete it first).
    CInfoServer* NewInfoServer(LPCWSTR name);
    // Disconnects and deletes the server of that name; FALSE when there is none.
    int DeleteInfoServer(LPCWSTR name);
    // Reconnects lost servers (re-creating their groups and items on the new connection) and reads
    // every group from the cache; a group that cannot be read gets quality 0x1C (bad, out of
    // service) on its items. FALSE when there is no server.
    int UpdateAllInfoServers();
    int GetInfoServerCount() const { return int(m_mapServers.GetCount()); }
    // The names of the servers, in the map's order.
    void GetInfoServerNames(CStringArray& names) const;

    BOOL OnNewDocument() override;
    BOOL OnOpenDocument(LPCWSTR lpszPathName) override;
    void OnCloseDocument() override;
    void Serialize(CArchive& ar) override;

protected:
    void RemoveAllInfoServers();
    void ConnectAllInfoServers();

private:
    int m_nRefCount = 1;
    CMap<CString, const CString&, CInfoServer*, CInfoServer*> m_mapServers;
};

CInfoMultiServerExplorerDoc* GetExplorerMultiActiveDocument(int create);
void RemoveExplorerMultiActiveDocument(CInfoMultiServerExplorerDoc* doc);
