#include "opc/InfoMultiServerExplorerDoc.h"

#include "opc/Group.h"
#include "opc/InfoServer.h"

#include "com/ClassRegistry.h"
#include "mfc/Archive.h"

#include <memory>

IMPLEMENT_DYNCREATE(CInfoMultiServerExplorerDoc, CDocument)

namespace
{
// UI thread only.
CInfoMultiServerExplorerDoc* g_pMultiExplorerDoc = nullptr;
} // namespace

CInfoMultiServerExplorerDoc* GetExplorerMultiActiveDocument(int create)
{
    if (!g_pMultiExplorerDoc && create)
        g_pMultiExplorerDoc = std::make_unique<CInfoMultiServerExplorerDoc>().release();
    return g_pMultiExplorerDoc;
}

void RemoveExplorerMultiActiveDocument(CInfoMultiServerExplorerDoc* doc)
{
    if (!doc || doc != g_pMultiExplorerDoc)
        return;
    if (doc->Release() < 1)
    {
        g_pMultiExplorerDoc = nullptr;
        delete doc;
    }
}

CInfoMultiServerExplorerDoc::CInfoMultiServerExplorerDoc() : m_mapServers(10)
{
    m_mapServers.InitHashTable(17);
    m_bAutoDelete = FALSE;
}

CInfoMultiServerExplorerDoc::~CInfoMultiServerExplorerDoc()
{
    RemoveAllInfoServers();
    if (g_pMultiExplorerDoc == this)
        g_pMultiExplorerDoc = nullptr;
}

CInfoServer* CInfoMultiServerExplorerDoc::GetInfoServer(LPCWSTR name) const
{
    CInfoServer* server = nullptr;
    if (!m_mapServers.Lookup(CString(name), server))
        return nullptr;
    return server;
}

CInfoServer* CInfoMultiServerExplorerDoc::NewInfoServer(LPCWSTR name)
{
    auto server = std::make_unique<CInfoServer>(0, 0, 0);
    server->SetOPCServer(name);
    m_mapServers.SetAt(CString(name), server.get());
    return server.release();
}

int CInfoMultiServerExplorerDoc::DeleteInfoServer(LPCWSTR name)
{
    CString key(name);
    CInfoServer* server = nullptr;
    if (!m_mapServers.Lookup(key, server))
        return FALSE;
    m_mapServers.RemoveKey(key);
    if (server)
    {
        if (server->IsConnected())
            server->Disconnect();
        delete server;
    }
    return TRUE;
}

void CInfoMultiServerExplorerDoc::RemoveAllInfoServers()
{
    POSITION pos = m_mapServers.GetStartPosition();
    while (pos)
    {
        CString name;
        CInfoServer* server = nullptr;
        m_mapServers.GetNextAssoc(pos, name, server);
        if (server)
        {
            if (server->IsConnected())
                server->Disconnect();
            delete server;
        }
    }
    m_mapServers.RemoveAll();
}

void CInfoMultiServerExplorerDoc::ConnectAllInfoServers()
{
    POSITION pos = m_mapServers.GetStartPosition();
    while (pos)
    {
        CString name;
        CInfoServer* server = nullptr;
        m_mapServers.GetNextAssoc(pos, name, server);
        if (server && server->Connect())
            server->RecreateOnServer();
    }
}

int CInfoMultiServerExplorerDoc::UpdateAllInfoServers()
{
    if (m_mapServers.IsEmpty())
        return FALSE;
    POSITION pos = m_mapServers.GetStartPosition();
    while (pos)
    {
        CString name;
        CInfoServer* server = nullptr;
        m_mapServers.GetNextAssoc(pos, name, server);
        if (!server)
            continue;
        BOOL connected = server->IsConnected();
        if (!connected)
        {
            connected = server->Connect();
            // The server that answers now is a new server object: the groups and items of the old
            // one are gone with it, so they are made again on the new one.
            if (connected)
                server->RecreateOnServer();
        }
        CGroupArray* groups = nullptr;
        server->GetGroups(&groups);
        for (INT_PTR i = 0; i < groups->GetSize(); ++i)
        {
            CGroup* group = groups->GetAt(i);
            if (connected && group->ReadItemsSync(OPC_DS_CACHE))
                continue;
            HRESULT error = server->GetLastError();
            if (error == RPC_E_DISCONNECTED || error == RPC_S_SERVER_UNAVAILABLE)
                server->SetConnected(FALSE);
            group->SetItemQualities(OPC_QUALITY_OUT_OF_SERVICE);
        }
    }
    return TRUE;
}

void CInfoMultiServerExplorerDoc::GetInfoServerNames(CStringArray& names) const
{
    POSITION pos = m_mapServers.GetStartPosition();
    while (pos)
    {
        CString name;
        CInfoServer* server = nullptr;
        m_mapServers.GetNextAssoc(pos, name, server);
        names.Add(name);
    }
}

BOOL CInfoMultiServerExplorerDoc::OnNewDocument()
{
    RemoveAllInfoServers();
    UpdateAllViews(nullptr);
    return CDocument::OnNewDocument() ? TRUE : FALSE;
}

BOOL CInfoMultiServerExplorerDoc::OnOpenDocument(LPCWSTR lpszPathName)
{
    RemoveAllInfoServers();
    UpdateAllViews(nullptr);
    if (!CDocument::OnOpenDocument(lpszPathName))
        return FALSE;
    ConnectAllInfoServers();
    return TRUE;
}

void CInfoMultiServerExplorerDoc::OnCloseDocument()
{
    RemoveAllInfoServers();
    CDocument::OnCloseDocument();
}

void CInfoMultiServerExplorerDoc::Serialize(CArchive&) {}
