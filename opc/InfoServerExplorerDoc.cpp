#include "opc/InfoServerExplorerDoc.h"

#include "opc/InfoServer.h"

#include "mfc/Archive.h"

IMPLEMENT_DYNCREATE(CInfoServerExplorerDoc, CDocument)

namespace
{
// UI thread only.
CInfoServerExplorerDoc* g_pExplorerDoc = nullptr;
} // namespace

CInfoServerExplorerDoc* GetExplorerActiveDocument(int create)
{
    if (!g_pExplorerDoc && create)
        g_pExplorerDoc = new CInfoServerExplorerDoc;
    return g_pExplorerDoc;
}

void RemoveExplorerActiveDocument(CInfoServerExplorerDoc* doc)
{
    if (!doc || doc != g_pExplorerDoc)
        return;
    if (doc->Release() < 1)
    {
        g_pExplorerDoc = nullptr;
        delete doc;
    }
}

CInfoServerExplorerDoc::CInfoServerExplorerDoc() : m_pInfoServer(new CInfoServer(1, 1, 0))
{
    // Only the remove call deletes the document.
    m_bAutoDelete = FALSE;
}

CInfoServerExplorerDoc::~CInfoServerExplorerDoc()
{
    if (m_pInfoServer)
    {
        m_pInfoServer->Disconnect();
        delete m_pInfoServer;
        m_pInfoServer = nullptr;
    }
    if (g_pExplorerDoc == this)
        g_pExplorerDoc = nullptr;
}

BOOL CInfoServerExplorerDoc::OnNewDocument()
{
    if (m_pInfoServer && m_pInfoServer->IsConnected())
    {
        m_pInfoServer->Disconnect();
        UpdateAllViews(nullptr);
    }
    return CDocument::OnNewDocument() ? TRUE : FALSE;
}

BOOL CInfoServerExplorerDoc::OnOpenDocument(LPCWSTR lpszPathName)
{
    if (m_pInfoServer && m_pInfoServer->IsConnected())
    {
        m_pInfoServer->Disconnect();
        UpdateAllViews(nullptr);
    }
    if (!CDocument::OnOpenDocument(lpszPathName))
        return FALSE;
    if (m_pInfoServer && m_pInfoServer->Connect())
        m_pInfoServer->RecreateOnServer();
    return TRUE;
}

void CInfoServerExplorerDoc::OnCloseDocument()
{
    if (m_pInfoServer)
    {
        m_pInfoServer->Disconnect();
        delete m_pInfoServer;
        m_pInfoServer = nullptr;
    }
    CDocument::OnCloseDocument();
}

void CInfoServerExplorerDoc::Serialize(CArchive& ar)
{
    if (m_pInfoServer)
        m_pInfoServer->Serialize(ar);
}
