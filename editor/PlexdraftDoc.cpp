#include "editor/PlexdraftDoc.h"

#include "editor/MyExtDataModel.h"
#include "figkit/FOAction.h"
#include "mfc/FrameWnd.h"
#include "mfc/View.h"
#include "opc/InfoServerExplorerDoc.h"

#include <algorithm>
#include <vector>

IMPLEMENT_DYNCREATE(CPlexdraftDoc, COleDocument)
IMPLEMENT_DYNCREATE(CQYRDrawDoc, CPlexdraftDoc)

BEGIN_MESSAGE_MAP(CPlexdraftDoc, COleDocument)
ON_COMMAND(ID_FILE_CLOSE, &CPlexdraftDoc::OnFileClose)
END_MESSAGE_MAP()

BOOL CloseDocumentFrames(CDocument* pDoc)
{
    // Handles, not pointers: the document and its frames are gone after the last close.
    std::vector<HWND> frames;
    for (POSITION pos = pDoc ? pDoc->GetFirstViewPosition() : nullptr; pos;)
        if (CFrameWnd* pFrame = pDoc->GetNextView(pos)->GetParentFrame())
            if (std::find(frames.begin(), frames.end(), pFrame->m_hWnd) == frames.end())
                frames.push_back(pFrame->m_hWnd);
    for (HWND hFrame : frames)
    {
        if (CWnd* pFrame = CWnd::FromHandlePermanent(hFrame))
            pFrame->SendMessage(WM_CLOSE, 0, 0);
        if (::IsWindow(hFrame))
            return FALSE;
    }
    return TRUE;
}

BEGIN_MESSAGE_MAP(CQYRDrawDoc, CPlexdraftDoc)
END_MESSAGE_MAP()

CPlexdraftDoc::CPlexdraftDoc() : m_pModel(new CMyExtDataModel) {}

CPlexdraftDoc::~CPlexdraftDoc()
{
    delete m_pModel;
}

void CPlexdraftDoc::Serialize(CArchive& ar)
{
    m_pModel->SerializeS2(ar, m_bShowRulers);
}

void CPlexdraftDoc::SetTitle(LPCWSTR lpszTitle)
{
    m_pModel->SetDocTitle(CString(lpszTitle));
    COleDocument::SetTitle(lpszTitle);
}

BOOL CPlexdraftDoc::IsModified()
{
    return m_pModel->IsModified();
}

void CPlexdraftDoc::SetModifiedFlag(BOOL bModified)
{
    m_pModel->SetModifiedFlag(bModified);
}

void CPlexdraftDoc::OnFileClose()
{
    CloseDocumentFrames(this);
}

void CPlexdraftDoc::DeleteContents()
{
    COleDocument::DeleteContents();
    m_pModel->ResetContent();
}

BOOL CPlexdraftDoc::OnNewDocument()
{
    return COleDocument::OnNewDocument();
}

BOOL CPlexdraftDoc::OnOpenDocument(LPCWSTR lpszPathName)
{
    return COleDocument::OnOpenDocument(lpszPathName);
}

BOOL CPlexdraftDoc::OnSaveDocument(LPCWSTR lpszPathName)
{
    if (!COleDocument::OnSaveDocument(lpszPathName))
        return FALSE;
    m_pModel->SetClean();
    SetModifiedFlag(FALSE);
    return TRUE;
}

// --- CQYRDrawDoc -----------------------------------------------------------------------------------

CQYRDrawDoc::~CQYRDrawDoc()
{
    DetachExplorerDocument();
}

BOOL CQYRDrawDoc::OnNewDocument()
{
    if (!CPlexdraftDoc::OnNewDocument())
        return FALSE;
    GetExplorerDocument(TRUE);
    return TRUE;
}

BOOL CQYRDrawDoc::OnOpenDocument(LPCWSTR lpszPathName)
{
    if (!CPlexdraftDoc::OnOpenDocument(lpszPathName))
        return FALSE;
    GetExplorerDocument(TRUE);
    return TRUE;
}

void CQYRDrawDoc::OnCloseDocument()
{
    COleDocument::OnCloseDocument();
}

CInfoServerExplorerDoc* CQYRDrawDoc::GetExplorerDocument(BOOL bAttach)
{
    if (!bAttach)
        return m_pExplorerDoc;
    if (m_pExplorerDoc)
    {
        m_pExplorerDoc->AddRef();
        return m_pExplorerDoc;
    }
    if (CInfoServerExplorerDoc* existing = GetExplorerActiveDocument(FALSE))
    {
        m_pExplorerDoc = existing;
        m_pExplorerDoc->AddRef();
    }
    else
    {
        // A new one starts with its count at one: that is this document's reference.
        m_pExplorerDoc = GetExplorerActiveDocument(TRUE);
    }
    return m_pExplorerDoc;
}

void CQYRDrawDoc::DetachExplorerDocument()
{
    if (!m_pExplorerDoc)
        return;
    RemoveExplorerActiveDocument(m_pExplorerDoc);
    m_pExplorerDoc = nullptr;
}
