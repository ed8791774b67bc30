#include "player/QYRViewDoc.h"

#include "opc/InfoMultiServerExplorerDoc.h"
#include "player/PlexrunApp.h"

IMPLEMENT_DYNCREATE(CQYRViewDoc, CPlexrunDoc)

BEGIN_MESSAGE_MAP(CQYRViewDoc, CPlexrunDoc)
END_MESSAGE_MAP()

CQYRViewDoc::CQYRViewDoc() = default;

CQYRViewDoc::~CQYRViewDoc()
{
    for (; m_pServerDoc && m_nServerUses > 0; --m_nServerUses)
        RemoveExplorerMultiActiveDocument(m_pServerDoc);
    m_pServerDoc = nullptr;
}

BOOL CQYRViewDoc::OnNewDocument()
{
    if (!CPlexrunDoc::OnNewDocument())
        return FALSE;
    GetServerDocument(TRUE);
    return TRUE;
}

BOOL CQYRViewDoc::OnOpenDocument(LPCWSTR lpszPathName)
{
    if (!CPlexrunDoc::OnOpenDocument(lpszPathName))
        return FALSE;
    GetServerDocument(TRUE);
    return TRUE;
}

CInfoMultiServerExplorerDoc* CQYRViewDoc::GetServerDocument(BOOL bAddUse)
{
    if (!bAddUse)
        return m_pServerDoc;
    if (!m_pServerDoc)
    {
        m_pServerDoc = GetExplorerMultiActiveDocument(FALSE);
        if (!m_pServerDoc)
        {
            // A new one starts with one use: ours.
            m_pServerDoc = GetExplorerMultiActiveDocument(TRUE);
            if (m_pServerDoc)
                ++m_nServerUses;
            return m_pServerDoc;
        }
    }
    m_pServerDoc->AddRef();
    ++m_nServerUses;
    return m_pServerDoc;
}

void CQYRViewDoc::SetTitleFromPath(const CString& strPath)
{
    SetTitle(CPlexrunApp::GetFileName(strPath));
}
