#include "editor/SampleDoc.h"

#include "editor/PlexdraftDoc.h"

#include <cstring>
#include <cwchar>

IMPLEMENT_DYNCREATE(CSampleDoc, CDocument)

BEGIN_MESSAGE_MAP(CSampleDoc, CDocument)
ON_COMMAND(ID_FILE_CLOSE, &CSampleDoc::OnFileClose)
END_MESSAGE_MAP()

void CSampleTextBuffer::SetModified(BOOL bModified)
{
    CScriptTextBuffer::SetModified(bModified);
    if (!m_pOwnerDoc)
        return;
    const BOOL changed = (m_pOwnerDoc->IsModified() != 0) != (bModified != 0);
    m_pOwnerDoc->SetModifiedFlag(bModified);
    // The frame's title shows the change.
    if (changed)
        m_pOwnerDoc->UpdateFrameCounts();
}

CSampleDoc::CSampleDoc() : m_xTextBuffer(this)
{
    std::memset(&m_lf, 0, sizeof(m_lf));
    m_lf.lfWeight = 400;
    m_lf.lfCharSet = 1;
    std::wcsncpy(m_lf.lfFaceName, L"Courier", LF_FACESIZE - 1);
}

CSampleDoc::~CSampleDoc() = default;

BOOL CSampleDoc::OnNewDocument()
{
    if (!CDocument::OnNewDocument())
        return FALSE;
    m_xTextBuffer.InitEmpty(0);
    return TRUE;
}

BOOL CSampleDoc::OnOpenDocument(LPCWSTR lpszPathName)
{
    if (!CDocument::OnOpenDocument(lpszPathName))
        return FALSE;
    if (m_xTextBuffer.LoadFile(lpszPathName, -1))
        return TRUE;
    // A file the buffer refuses (no UTF-16 mark, unreadable) gets the framework's message.
    ReportSaveLoadException(lpszPathName, nullptr, FALSE, AFX_IDP_FAILED_TO_OPEN_DOC);
    return FALSE;
}

BOOL CSampleDoc::OnSaveDocument(LPCWSTR lpszPathName)
{
    if (m_xTextBuffer.SaveFile(lpszPathName, -1, TRUE))
        return TRUE;
    ReportSaveLoadException(lpszPathName, nullptr, TRUE, AFX_IDP_FAILED_TO_SAVE_DOC);
    return FALSE;
}

void CSampleDoc::DeleteContents()
{
    CDocument::DeleteContents();
    m_xTextBuffer.Clear();
}

void CSampleDoc::OnCloseDocument()
{
    CDocument::OnCloseDocument();
}

void CSampleDoc::OnFileClose()
{
    CloseDocumentFrames(this);
}
