#include "mfc/DocTemplate.h"

#include "mfc/DocPrivate.h"
#include "mfc/Document.h"
#include "mfc/File.h"
#include "mfc/FrameWnd.h"
#include "mfc/ModalHook.h"
#include "mfc/View.h"
#include "mfc/WinApp.h"

#include <algorithm>

namespace
{
POSITION PositionOf(size_t index)
{
    return reinterpret_cast<POSITION>(uintptr_t(index + 1));
}

// The extension of a path's file name with its dot, or empty.
CString ExtensionOf(const CString& path)
{
    const int slash = path.ReverseFind(L'/');
    const int dot = path.ReverseFind(L'.');
    return dot > slash ? path.Mid(dot) : CString();
}
} // namespace

// --- CDocTemplate ----------------------------------------------------------------------------------

IMPLEMENT_DYNAMIC(CDocTemplate, CCmdTarget)

CDocTemplate::CDocTemplate(UINT nIDResource, CRuntimeClass* pDocClass, CRuntimeClass* pFrameClass,
                           CRuntimeClass* pViewClass)
    : m_nIDResource(nIDResource), m_pDocClass(pDocClass), m_pFrameClass(pFrameClass), m_pViewClass(pViewClass)
{
    LoadTemplate();
}

CDocTemplate::~CDocTemplate() = default;

void CDocTemplate::LoadTemplate()
{
    if (!m_strDocStrings.LoadString(m_nIDResource))
        m_strDocStrings.Empty();
}

BOOL CDocTemplate::GetDocString(CString& rString, DocStringIndex index) const
{
    rString.Empty();
    int start = 0;
    for (int i = 0; i < int(index); ++i)
    {
        const int nl = m_strDocStrings.Find(L'\n', start);
        if (nl < 0)
            return FALSE;
        start = nl + 1;
    }
    if (start > m_strDocStrings.GetLength())
        return FALSE;
    const int end = m_strDocStrings.Find(L'\n', start);
    rString = end < 0 ? m_strDocStrings.Mid(start) : m_strDocStrings.Mid(start, end - start);
    return TRUE;
}

void CDocTemplate::AddDocument(CDocument* pDoc)
{
    pDoc->m_pDocTemplate = this;
}

void CDocTemplate::RemoveDocument(CDocument* pDoc)
{
    if (pDoc->m_pDocTemplate == this)
        pDoc->m_pDocTemplate = nullptr;
}

CDocTemplate::Confidence CDocTemplate::MatchDocType(LPCWSTR lpszPathName, CDocument*& rpDocMatch)
{
    rpDocMatch = nullptr;
    const CString path = AfxResolvePathCase(lpszPathName ? lpszPathName : L"");
    POSITION pos = GetFirstDocPosition();
    while (pos)
    {
        CDocument* pDoc = GetNextDoc(pos);
        if (!pDoc->GetPathName().IsEmpty() && AfxResolvePathCase(pDoc->GetPathName()) == path)
        {
            rpDocMatch = pDoc;
            return yesAlreadyOpen;
        }
    }
    CString filters;
    const CString ext = ExtensionOf(path);
    if (!ext.IsEmpty() && GetDocString(filters, filterExt))
    {
        int start = 0;
        while (start <= filters.GetLength())
        {
            int end = filters.Find(L';', start);
            if (end < 0)
                end = filters.GetLength();
            CString one = filters.Mid(start, end - start);
            one.Trim();
            if (!one.IsEmpty() && one.CompareNoCase(ext) == 0)
                return yesAttemptNative;
            start = end + 1;
        }
    }
    return yesAttemptForeign;
}

CDocument* CDocTemplate::CreateNewDocument()
{
    if (!m_pDocClass)
        return nullptr;
    CObject* pObject = m_pDocClass->CreateObject();
    auto* pDoc = dynamic_cast<CDocument*>(pObject);
    if (!pDoc)
    {
        delete pObject;
        return nullptr;
    }
    AddDocument(pDoc);
    return pDoc;
}

CFrameWnd* CDocTemplate::CreateNewFrame(CDocument* pDoc, CFrameWnd* pOther)
{
    CCreateContext context;
    context.m_pCurrentFrame = pOther;
    context.m_pCurrentDoc = pDoc;
    context.m_pNewViewClass = m_pViewClass;
    context.m_pNewDocTemplate = this;
    if (!m_pFrameClass)
        return nullptr;
    CObject* pObject = m_pFrameClass->CreateObject();
    auto* pFrame = dynamic_cast<CFrameWnd*>(pObject);
    if (!pFrame)
    {
        delete pObject;
        return nullptr;
    }
    // A frame that fails to load has deleted itself (or never had a window to delete it).
    if (!pFrame->LoadFrame(m_nIDResource, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE, nullptr, &context))
    {
        // A window that failed to create leaves its object to the creator.
        delete pFrame;
        return nullptr;
    }
    return pFrame;
}

void CDocTemplate::InitialUpdateFrame(CFrameWnd* pFrame, CDocument* pDoc, BOOL bMakeVisible)
{
    pFrame->InitialUpdateFrame(pDoc, bMakeVisible);
}

BOOL CDocTemplate::SaveAllModified()
{
    POSITION pos = GetFirstDocPosition();
    while (pos)
    {
        CDocument* pDoc = GetNextDoc(pos);
        if (pDoc->IsModified() && !pDoc->SaveModified())
            return FALSE;
    }
    return TRUE;
}

void CDocTemplate::CloseAllDocuments(BOOL)
{
    // Closing takes a document out of the list.
    std::vector<CDocument*> docs;
    POSITION pos = GetFirstDocPosition();
    while (pos)
        docs.push_back(GetNextDoc(pos));
    for (CDocument* pDoc : docs)
        pDoc->OnCloseDocument();
}

CString CDocTemplate::UntitledString()
{
    CString text;
    if (!text.LoadString(AFX_IDS_UNTITLED))
        text = L"Untitled";
    return text;
}

CDocument* CDocTemplate::OpenInFrame(CDocument* pDocument, CFrameWnd* pFrame, BOOL bCreated,
                                     LPCWSTR lpszPathName, BOOL bMakeVisible)
{
    if (!lpszPathName || !*lpszPathName)
    {
        SetDefaultTitle(pDocument);
        if (!bMakeVisible)
            pDocument->m_bEmbedded = TRUE;
        if (!pDocument->OnNewDocument())
        {
            if (bCreated)
                pFrame->DestroyWindow(); // takes the document with its view
            return nullptr;
        }
    }
    else
    {
        const BOOL bWasModified = pDocument->IsModified();
        pDocument->SetModifiedFlag(FALSE);
        if (!pDocument->OnOpenDocument(lpszPathName))
        {
            if (bCreated)
            {
                pFrame->DestroyWindow();
            }
            else if (!pDocument->IsModified())
            {
                // The old content is still there.
                pDocument->SetModifiedFlag(bWasModified);
            }
            else
            {
                // Half read: start afresh.
                SetDefaultTitle(pDocument);
                pDocument->OnNewDocument();
            }
            return nullptr;
        }
        pDocument->SetPathName(lpszPathName);
    }
    CWinThread* pThread = AfxGetThread();
    if (bCreated && pThread && !pThread->m_pMainWnd)
        pThread->m_pMainWnd = pFrame;
    InitialUpdateFrame(pFrame, pDocument, bMakeVisible);
    return pDocument;
}

// --- CSingleDocTemplate ----------------------------------------------------------------------------

IMPLEMENT_DYNAMIC(CSingleDocTemplate, CDocTemplate)

CSingleDocTemplate::CSingleDocTemplate(UINT nIDResource, CRuntimeClass* pDocClass, CRuntimeClass* pFrameClass,
                                       CRuntimeClass* pViewClass)
    : CDocTemplate(nIDResource, pDocClass, pFrameClass, pViewClass)
{
}

CSingleDocTemplate::~CSingleDocTemplate()
{
    if (m_pOnlyDoc)
        CDocTemplate::RemoveDocument(m_pOnlyDoc);
}

POSITION CSingleDocTemplate::GetFirstDocPosition() const
{
    return m_pOnlyDoc ? PositionOf(0) : nullptr;
}

CDocument* CSingleDocTemplate::GetNextDoc(POSITION& rPos) const
{
    CDocument* pDoc = rPos == PositionOf(0) ? m_pOnlyDoc : nullptr;
    rPos = nullptr;
    return pDoc;
}

void CSingleDocTemplate::AddDocument(CDocument* pDoc)
{
    CDocTemplate::AddDocument(pDoc);
    m_pOnlyDoc = pDoc;
}

void CSingleDocTemplate::RemoveDocument(CDocument* pDoc)
{
    CDocTemplate::RemoveDocument(pDoc);
    if (m_pOnlyDoc == pDoc)
        m_pOnlyDoc = nullptr;
}

CDocument* CSingleDocTemplate::OpenDocumentFile(LPCWSTR lpszPathName, BOOL bMakeVisible)
{
    return OpenReusing(m_pOnlyDoc, lpszPathName, bMakeVisible);
}

CDocument* CDocTemplate::OpenReusing(CDocument* pDocument, LPCWSTR lpszPathName, BOOL bMakeVisible)
{
    CFrameWnd* pFrame = nullptr;
    BOOL bCreated = FALSE;
    if (pDocument)
    {
        if (!pDocument->SaveModified())
            return nullptr;
        POSITION pos = pDocument->GetFirstViewPosition();
        if (CView* pView = pDocument->GetNextView(pos))
            pFrame = pView->GetParentFrame();
    }
    else
    {
        pDocument = CreateNewDocument();
        bCreated = TRUE;
        if (!pDocument)
        {
            AfxMessageBox(AFX_IDP_FAILED_TO_CREATE_DOC);
            return nullptr;
        }
    }
    if (!pFrame)
    {
        // The document must not go with a frame that fails half way.
        const BOOL bAutoDelete = pDocument->m_bAutoDelete;
        pDocument->m_bAutoDelete = FALSE;
        pFrame = CreateNewFrame(pDocument, nullptr);
        pDocument->m_bAutoDelete = bAutoDelete;
        if (!pFrame)
        {
            AfxMessageBox(AFX_IDP_FAILED_TO_CREATE_DOC);
            if (bCreated)
                delete pDocument;
            return nullptr;
        }
    }
    return OpenInFrame(pDocument, pFrame, bCreated, lpszPathName, bMakeVisible);
}

void CSingleDocTemplate::SetDefaultTitle(CDocument* pDocument)
{
    CString title;
    if (!GetDocString(title, docName) || title.IsEmpty())
        title = UntitledString();
    pDocument->SetTitle(title);
}

// --- CMultiDocTemplate -----------------------------------------------------------------------------

IMPLEMENT_DYNAMIC(CMultiDocTemplate, CDocTemplate)

CMultiDocTemplate::CMultiDocTemplate(UINT nIDResource, CRuntimeClass* pDocClass, CRuntimeClass* pFrameClass,
                                     CRuntimeClass* pViewClass)
    : CDocTemplate(nIDResource, pDocClass, pFrameClass, pViewClass)
{
}

CMultiDocTemplate::~CMultiDocTemplate()
{
    for (CDocument* pDoc : std::vector<CDocument*>(m_docList))
        CDocTemplate::RemoveDocument(pDoc);
}

POSITION CMultiDocTemplate::GetFirstDocPosition() const
{
    return AfxVectorHeadPosition(m_docList);
}

CDocument* CMultiDocTemplate::GetNextDoc(POSITION& rPos) const
{
    return AfxVectorGetNext(m_docList, rPos);
}

void CMultiDocTemplate::AddDocument(CDocument* pDoc)
{
    CDocTemplate::AddDocument(pDoc);
    if (std::find(m_docList.begin(), m_docList.end(), pDoc) == m_docList.end())
        m_docList.push_back(pDoc);
}

void CMultiDocTemplate::RemoveDocument(CDocument* pDoc)
{
    CDocTemplate::RemoveDocument(pDoc);
    m_docList.erase(std::remove(m_docList.begin(), m_docList.end(), pDoc), m_docList.end());
}

CDocument* CMultiDocTemplate::OpenDocumentFile(LPCWSTR lpszPathName, BOOL bMakeVisible)
{
    CDocument* pDocument = CreateNewDocument();
    if (!pDocument)
    {
        AfxMessageBox(AFX_IDP_FAILED_TO_CREATE_DOC);
        return nullptr;
    }
    const BOOL bAutoDelete = pDocument->m_bAutoDelete;
    pDocument->m_bAutoDelete = FALSE;
    CFrameWnd* pFrame = CreateNewFrame(pDocument, nullptr);
    pDocument->m_bAutoDelete = bAutoDelete;
    if (!pFrame)
    {
        AfxMessageBox(AFX_IDP_FAILED_TO_CREATE_DOC);
        delete pDocument;
        return nullptr;
    }
    return OpenInFrame(pDocument, pFrame, TRUE, lpszPathName, bMakeVisible);
}

void CMultiDocTemplate::SetDefaultTitle(CDocument* pDocument)
{
    CString title;
    if (!GetDocString(title, docName) || title.IsEmpty())
        title = UntitledString();
    CString numbered;
    numbered.Format(L"%s%u", title.GetString(), ++m_nUntitledCount);
    pDocument->SetTitle(numbered);
}
