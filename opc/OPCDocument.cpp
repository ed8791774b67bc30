#include "opc/OPCDocument.h"

#include "logvane/Logvane.h"
#include "mfc/Archive.h"
#include "mfc/Exceptions.h"
#include "mfc/File.h"

IMPLEMENT_DYNAMIC(COPCDocument, CCmdTarget)

COPCDocument::COPCDocument() = default;

COPCDocument::~COPCDocument() = default;

BOOL COPCDocument::OnNewDocument()
{
    DeleteContents();
    m_strPathName.Empty();
    SetModifiedFlag(FALSE);
    return TRUE;
}

BOOL COPCDocument::OnOpenDocument(LPCWSTR lpszPathName)
{
    CFile file;
    CFileException error;
    if (!file.Open(lpszPathName, CFile::modeRead | CFile::shareDenyWrite | CFile::typeBinary, &error))
    {
        XVKLOG_ERROR(L"Cannot open '%s'.", lpszPathName ? lpszPathName : L"");
        return FALSE;
    }
    DeleteContents();
    try
    {
        CArchive ar(&file, CArchive::load | CArchive::bNoFlushOnDelete);
        ar.m_strFileName = lpszPathName;
        Serialize(ar);
        ar.Close();
    }
    catch (CException* e)
    {
        XVKLOG_ERROR(L"Cannot read '%s': %s", lpszPathName, e->ReportError().GetString());
        e->Delete();
        DeleteContents();
        return FALSE;
    }
    m_strPathName = lpszPathName;
    SetModifiedFlag(FALSE);
    return TRUE;
}

void COPCDocument::OnCloseDocument()
{
    DeleteContents();
    if (m_bAutoDelete)
        delete this;
}

void COPCDocument::Serialize(CArchive&) {}
