#include "mfc/Document.h"

#include "mfc/Archive.h"
#include "mfc/DocFile.h"
#include "mfc/WinApp.h"
#include "mfc/DocPrivate.h"
#include "mfc/DocTemplate.h"
#include "mfc/Exceptions.h"
#include "mfc/File.h"
#include "mfc/ModalHook.h"
#include "mfc/ResourceModule.h"
#include "mfc/View.h"

#include <QFileDialog>

#include <algorithm>

namespace
{
CString PromptText(UINT nID)
{
    CString text;
    if (text.LoadString(nID))
        return text;
    switch (nID)
    {
    case AFX_IDP_FAILED_INVALID_FORMAT:
        return L"Unexpected file format.";
    case AFX_IDP_FAILED_TO_SAVE_DOC:
        return L"Failed to save document.";
    case AFX_IDP_ASK_TO_SAVE:
        return L"Save changes to %1?";
    case AFX_IDP_FAILED_TO_CREATE_DOC:
        return L"Failed to create empty document.";
    default:
        return L"Failed to open document.";
    }
}

// The file name part of a path.
CString FileNameOf(const CString& path)
{
    const int slash = std::max(path.ReverseFind(L'/'), path.ReverseFind(L'\\'));
    return slash >= 0 ? path.Mid(slash + 1) : path;
}

// The name a save-as starts with: the title, with the template's extension when it has none.
CString SaveAsName(const CDocument* pDoc, CString& ext)
{
    CString name = pDoc->GetPathName().IsEmpty() ? pDoc->GetTitle() : pDoc->GetPathName();
    if (CDocTemplate* pTemplate = pDoc->GetDocTemplate())
    {
        pTemplate->GetDocString(ext, CDocTemplate::filterExt);
        const int semi = ext.Find(L';');
        if (semi >= 0)
            ext = ext.Left(semi);
        if (!ext.IsEmpty() && FileNameOf(name).Find(L'.') < 0)
            name += ext;
    }
    return name;
}
} // namespace

void AfxReportSaveLoadException(LPCWSTR lpszPathName, CException* e, BOOL bSaving, UINT nIDPDefault)
{
    (void)bSaving;
    CString text;
    if (auto* ae = DYNAMIC_DOWNCAST(CArchiveException, e))
    {
        const int cause = ae->m_cause;
        if (cause == CArchiveException::endOfFile || cause == CArchiveException::badIndex ||
            cause == CArchiveException::badClass || cause == CArchiveException::badSchema)
            text = PromptText(AFX_IDP_FAILED_INVALID_FORMAT);
        else
            text = PromptText(nIDPDefault);
    }
    else if (auto* fe = DYNAMIC_DOWNCAST(CFileException, e))
    {
        if (fe->m_strFileName.IsEmpty())
            fe->m_strFileName = lpszPathName;
        text = fe->ReportError();
    }
    else
    {
        text = PromptText(nIDPDefault);
    }
    AfxMessageBox(text, MB_ICONEXCLAMATION);
}

// --- CDocument -------------------------------------------------------------------------------------

IMPLEMENT_DYNAMIC(CDocument, CCmdTarget)

BEGIN_MESSAGE_MAP(CDocument, CCmdTarget)
ON_COMMAND(ID_FILE_CLOSE, &CDocument::OnFileClose)
ON_COMMAND(ID_FILE_SAVE, &CDocument::OnFileSave)
ON_COMMAND(ID_FILE_SAVE_AS, &CDocument::OnFileSaveAs)
END_MESSAGE_MAP()

CDocument::CDocument() = default;

CDocument::~CDocument()
{
    // Views that outlive their document must not reach it any more.
    for (CView* pView : m_viewList)
        pView->m_pDocument = nullptr;
    m_viewList.clear();
    if (m_pDocTemplate)
        m_pDocTemplate->RemoveDocument(this);
}

void CDocument::SetTitle(LPCWSTR lpszTitle)
{
    m_strTitle = lpszTitle ? lpszTitle : L"";
    UpdateFrameCounts();
}

void CDocument::SetPathName(LPCWSTR lpszPathName, BOOL bAddToMRU)
{
    m_strPathName = AfxResolvePathCase(lpszPathName ? lpszPathName : L"");
    SetTitle(FileNameOf(m_strPathName));
    if (bAddToMRU && !m_strPathName.IsEmpty())
        if (CWinApp* pApp = AfxGetApp())
            pApp->AddToRecentFileList(m_strPathName);
}

BOOL CDocument::IsModified()
{
    return m_bModified;
}

void CDocument::SetModifiedFlag(BOOL bModified)
{
    m_bModified = bModified;
}

POSITION CDocument::GetFirstViewPosition() const
{
    return AfxVectorHeadPosition(m_viewList);
}

CView* CDocument::GetNextView(POSITION& rPosition) const
{
    return AfxVectorGetNext(m_viewList, rPosition);
}

void CDocument::AddView(CView* pView)
{
    if (!pView || pView->m_pDocument == this)
        return;
    if (pView->m_pDocument)
        pView->m_pDocument->RemoveView(pView);
    m_viewList.push_back(pView);
    pView->m_pDocument = this;
    OnChangedViewList();
}

void CDocument::RemoveView(CView* pView)
{
    auto it = std::find(m_viewList.begin(), m_viewList.end(), pView);
    if (it == m_viewList.end())
        return;
    m_viewList.erase(it);
    pView->m_pDocument = nullptr;
    OnChangedViewList();
}

void CDocument::UpdateAllViews(CView* pSender, LPARAM lHint, CObject* pHint)
{
    // A view's update may add or remove views: walk a copy and skip those that went.
    const std::vector<CView*> views = m_viewList;
    for (CView* pView : views)
    {
        if (pView != pSender && std::find(m_viewList.begin(), m_viewList.end(), pView) != m_viewList.end())
            pView->OnUpdate(pSender, lHint, pHint);
    }
}

void CDocument::OnChangedViewList()
{
    if (m_bAutoDelete && m_viewList.empty())
    {
        OnCloseDocument();
        return;
    }
    UpdateFrameCounts();
}

void CDocument::UpdateFrameCounts()
{
    std::vector<CFrameWnd*> frames;
    for (CView* pView : m_viewList)
    {
        CFrameWnd* pFrame = pView->GetParentFrame();
        if (pFrame && std::find(frames.begin(), frames.end(), pFrame) == frames.end())
            frames.push_back(pFrame);
    }
    for (CFrameWnd* pFrame : frames)
        pFrame->OnUpdateFrameTitle(TRUE);
}

void CDocument::DeleteContents() {}

BOOL CDocument::OnNewDocument()
{
    DeleteContents();
    m_strPathName.Empty();
    SetModifiedFlag(FALSE);
    return TRUE;
}

BOOL CDocument::OnOpenDocument(LPCWSTR lpszPathName)
{
    bool bLoading = false;
    CException* error = nullptr;
    const BOOL ok = AfxLoadArchiveFile(
        lpszPathName,
        [&](CArchive& ar)
        {
            // The file is read: only now does the old content go.
            bLoading = true;
            DeleteContents();
            SetModifiedFlag(TRUE); // dirty while half loaded
            ar.m_pDocument = this;
            if (ar.GetFile()->GetLength() != 0)
                Serialize(ar);
        },
        0, &error);
    if (!ok)
    {
        if (bLoading)
            DeleteContents();
        ReportSaveLoadException(lpszPathName, error, FALSE, AFX_IDP_FAILED_TO_OPEN_DOC);
        error->Delete();
        return FALSE;
    }
    SetModifiedFlag(FALSE);
    return TRUE;
}

BOOL CDocument::OnSaveDocument(LPCWSTR lpszPathName)
{
    CException* error = nullptr;
    if (!AfxSaveArchiveFile(
            lpszPathName,
            [this](CArchive& ar)
            {
                ar.m_pDocument = this;
                Serialize(ar);
            },
            &error))
    {
        ReportSaveLoadException(lpszPathName, error, TRUE, AFX_IDP_FAILED_TO_SAVE_DOC);
        error->Delete();
        return FALSE;
    }
    SetModifiedFlag(FALSE);
    return TRUE;
}

void CDocument::OnCloseDocument()
{
    // Destroying the frames removes the views; the document must not go with the last of them.
    const BOOL bAutoDelete = m_bAutoDelete;
    m_bAutoDelete = FALSE;
    while (!m_viewList.empty())
    {
        CView* pView = m_viewList.front();
        CFrameWnd* pFrame = pView->GetParentFrame();
        if (pFrame)
        {
            PreCloseFrame(pFrame);
            pFrame->DestroyWindow();
        }
        else
        {
            pView->DestroyWindow();
        }
        // A view whose window would not go is let go here, so the loop ends.
        if (!m_viewList.empty() && m_viewList.front() == pView)
            RemoveView(pView);
    }
    m_bAutoDelete = bAutoDelete;
    DeleteContents();
    if (m_bAutoDelete)
        delete this;
}

void CDocument::ReportSaveLoadException(LPCWSTR lpszPathName, CException* e, BOOL bSaving, UINT nIDPDefault)
{
    AfxReportSaveLoadException(lpszPathName, e, bSaving, nIDPDefault);
}

BOOL CDocument::SaveModified()
{
    if (!IsModified())
        return TRUE;
    CString name = m_strPathName.IsEmpty() ? m_strTitle : FileNameOf(m_strPathName);
    if (name.IsEmpty())
        name = PromptText(AFX_IDS_UNTITLED);
    CString prompt;
    const LPCWSTR args[] = {name};
    AfxFormatStrings(prompt, PromptText(AFX_IDP_ASK_TO_SAVE), args, 1);
    switch (AfxMessageBox(prompt, MB_YESNOCANCEL, AFX_IDP_ASK_TO_SAVE))
    {
    case IDCANCEL:
        return FALSE;
    case IDYES:
        return DoFileSave();
    default:
        return TRUE;
    }
}

BOOL CDocument::CanCloseFrame(CFrameWnd* pFrameArg)
{
    for (CView* pView : m_viewList)
    {
        CFrameWnd* pFrame = pView->GetParentFrame();
        if (pFrame && pFrame != pFrameArg)
            return TRUE; // another frame still shows the document
    }
    return SaveModified();
}

void CDocument::PreCloseFrame(CFrameWnd*) {}

BOOL CDocument::DoSave(LPCWSTR lpszPathName, BOOL bReplace)
{
    CString newName = lpszPathName ? lpszPathName : L"";
    if (newName.IsEmpty())
    {
        AfxModalRequest request;
        request.kind = AfxModalKind::FileDialog;
        request.bOpenFileDialog = FALSE;
        request.strText = SaveAsName(this, request.strDefExt);
        int answer = IDCANCEL;
        if (AfxCallModalHook(request, answer))
        {
            if (answer != IDOK || request.paths.empty())
                return FALSE;
            newName = request.paths.front();
        }
        else
        {
            const QString chosen = QFileDialog::getSaveFileName(
                nullptr, QString(), QString::fromStdString(request.strText.ToUtf8()));
            if (chosen.isEmpty())
                return FALSE;
            newName = CString::FromUtf8(chosen.toStdString());
        }
    }
    if (!OnSaveDocument(newName))
        return FALSE;
    if (bReplace)
        SetPathName(newName);
    return TRUE;
}

BOOL CDocument::DoFileSave()
{
    if (m_strPathName.IsEmpty())
        return DoSave(nullptr);
    CFileStatus status;
    if (CFile::GetStatus(m_strPathName, status) && (status.m_attribute & CFile::readOnly))
        return DoSave(nullptr);
    return DoSave(m_strPathName);
}

void CDocument::OnFileClose()
{
    if (!SaveModified())
        return;
    OnCloseDocument();
}

void CDocument::OnFileSave()
{
    DoFileSave();
}

void CDocument::OnFileSaveAs()
{
    DoSave(nullptr);
}

BOOL CDocument::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    if (CCmdTarget::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    return m_pDocTemplate && m_pDocTemplate->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

// --- COleDocument ----------------------------------------------------------------------------------

IMPLEMENT_DYNAMIC(COleDocument, CDocument)

BEGIN_MESSAGE_MAP(COleDocument, CDocument)
END_MESSAGE_MAP()

COleDocument::COleDocument() = default;
COleDocument::~COleDocument() = default;
