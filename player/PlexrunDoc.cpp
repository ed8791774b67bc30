#include "player/PlexrunDoc.h"

#include "mfc/OleDispatch.h"
#include "player/ExtDataModel.h"

IMPLEMENT_DYNCREATE(CPlexrunDoc, COleDocument)

BEGIN_MESSAGE_MAP(CPlexrunDoc, COleDocument)
END_MESSAGE_MAP()

CPlexrunDoc::CPlexrunDoc() : m_pModel(new CExtDataModel)
{
    m_pModel->SetDesignMode(FALSE);
    AfxOleLockApp();
}

CPlexrunDoc::~CPlexrunDoc()
{
    delete m_pModel;
    AfxOleUnlockApp();
}

void CPlexrunDoc::DeleteContents()
{
    COleDocument::DeleteContents();
    m_pModel->ResetContent();
}

BOOL CPlexrunDoc::OnOpenDocument(LPCWSTR lpszPathName)
{
    if (!COleDocument::OnOpenDocument(lpszPathName))
        return FALSE;
    m_pModel->m_strFilePath = lpszPathName;
    return TRUE;
}

BOOL CPlexrunDoc::OnSaveDocument(LPCWSTR lpszPathName)
{
    if (!COleDocument::OnSaveDocument(lpszPathName))
        return FALSE;
    m_pModel->SetModifiedFlag(FALSE);
    SetModifiedFlag(FALSE);
    return TRUE;
}

void CPlexrunDoc::Serialize(CArchive& ar)
{
    m_pModel->Serialize(ar);
}
