#include "model/WorkSpaceObj.h"

#include "foundation/ROzazeRir.h"
#include "mfc/Archive.h"
#include "mfc/DocFile.h"
#include "mfc/Document.h"
#include "mfc/OpenedFile.h"

#include <memory>

IMPLEMENT_SERIAL(CWorkSpaceObj, CObject, 0)

CWorkSpacePtr CWorkSpaceObj::Make()
{
    return CWorkSpacePtr(new CWorkSpaceObj, [](CWorkSpaceObj* ws) { delete ws; });
}

namespace
{
// Every program's start-up makes its workspace through the model, which the base below cannot name.
[[maybe_unused]] const bool g_workSpaceFactorySet =
    (ROzazeRir::SetWorkSpaceFactory(&CWorkSpaceObj::Make), true);
} // namespace

namespace
{
const wchar_t* const kSystemTags[] = {L"$Year", L"$Month", L"$Day", L"$Hour", L"$Minute", L"$Second"};

std::wstring LowerKey(const CString& name)
{
    CString key(name);
    key.MakeLower();
    return key.str();
}
} // namespace

CWorkSpaceObj::CWorkSpaceObj()
{
    ResetSettings();
}

void CWorkSpaceObj::ResetSettings()
{
    m_strS0.Empty();
    m_listFiles.RemoveAll();
    m_bModified = FALSE;
    m_strProjectName = L"New Project";
    m_strMainScreen = L"Main.xdg";
    m_strS3.Empty();
    m_strS4.Empty();
    m_strS5.Empty();
    m_strS6 = L"none";
    m_strS7 = L"none";
    m_crBack = 0xFFFFFF;
    m_strAuthor = L"Your Name";
    m_strDepartment.Empty();
    m_strEMail.Empty();
    m_strURL.Empty();
    m_strCompany = L"You Company";
    m_strNotice = L"Copyright (C) 2010 Quendrel Solutions. All rights reserved.";
    m_nCanvasWidth = 1000;
    m_nCanvasHeight = 1000;
    m_bShowRuler = 1;
    m_bShowPageShadow = 0;
    m_crPageBack = 0xFFFFFF;
    ResetWindowSettings();
}

void CWorkSpaceObj::ResetWindowSettings()
{
    m_bShowCloseBox = 1;
    m_bShowMinBox = 1;
    m_bShowMaxBox = 1;
    m_bShowHelpBox = 0;
    m_bWindowFlag = 1;
    m_bShowTitleBar = 1;
    m_bShow3DBorder = 1;
    m_nWindowWidth = 800;
    m_nWindowHeight = 600;
    m_bFullScreen = 0;
    m_bAlwaysOnTop = 1;
}

void CWorkSpaceObj::ResetContents()
{
    DeleteContents();
    ResetSettings();
}

CWorkSpaceObj::~CWorkSpaceObj()
{
    ClearAllParam();
    ClearAllDbp();
}

void CWorkSpaceObj::AddParam(CParamObj* param)
{
    if (!param)
        return;
    m_listParam.AddTail(param);
    m_bIndexValid = FALSE;
    m_bModified = TRUE;
}

void CWorkSpaceObj::RemoveParam(CParamObj* param)
{
    POSITION pos = m_listParam.Find(param);
    if (!pos)
        return;
    m_listParam.RemoveAt(pos);
    m_bIndexValid = FALSE;
    delete param;
}

void CWorkSpaceObj::ClearAllParam()
{
    POSITION pos = m_listParam.GetHeadPosition();
    while (pos)
        delete m_listParam.GetNext(pos);
    m_listParam.RemoveAll();
    m_bIndexValid = FALSE;
}

void CWorkSpaceObj::AddDbp(CScriptFileObj* dbp)
{
    if (!dbp)
        return;
    m_listDbp.AddTail(dbp);
    m_bModified = TRUE;
}

void CWorkSpaceObj::RemoveDbp(CScriptFileObj* dbp)
{
    POSITION pos = m_listDbp.Find(dbp);
    if (!pos)
        return;
    m_listDbp.RemoveAt(pos);
    delete dbp;
}

void CWorkSpaceObj::ClearAllDbp()
{
    POSITION pos = m_listDbp.GetHeadPosition();
    while (pos)
        delete m_listDbp.GetNext(pos);
    m_listDbp.RemoveAll();
}

void CWorkSpaceObj::DeleteContents()
{
    ClearAllParam();
    ClearAllDbp();
}

CWorkSpaceObj::ParamIndex* CWorkSpaceObj::IndexOf(int kind)
{
    switch (kind)
    {
    case PARAM_KIND_RUNTIME:
        return &m_indexRuntime;
    case PARAM_KIND_GLOBAL:
        return &m_indexGlobal;
    case PARAM_KIND_SYSTEM:
        return &m_indexSystem;
    default:
        return nullptr;
    }
}

void CWorkSpaceObj::RebuildIndex()
{
    m_indexRuntime.clear();
    m_indexGlobal.clear();
    m_indexSystem.clear();
    m_indexed.clear();
    POSITION pos = m_listParam.GetHeadPosition();
    while (pos)
    {
        CParamObj* param = m_listParam.GetNext(pos);
        m_indexed.push_back({param, param->m_nKind, param->m_strName});
        if (ParamIndex* index = IndexOf(param->m_nKind))
            (*index)[LowerKey(param->m_strName)] = param; // a later one replaces an earlier one
    }
    m_bIndexValid = TRUE;
}

BOOL CWorkSpaceObj::IsIndexCurrent() const
{
    if (!m_bIndexValid || size_t(m_listParam.GetCount()) != m_indexed.size())
        return FALSE;
    size_t i = 0;
    POSITION pos = m_listParam.GetHeadPosition();
    while (pos)
    {
        const CParamObj* param = m_listParam.GetNext(pos);
        const IndexedParam& seen = m_indexed[i++];
        if (seen.param != param || seen.kind != param->m_nKind || seen.name != param->m_strName)
            return FALSE;
    }
    return TRUE;
}

CParamObj* CWorkSpaceObj::GetParamObj(int kind, LPCWSTR name)
{
    ParamIndex* index = IndexOf(kind);
    if (!index || !name)
        return nullptr;
    if (!m_bIndexValid)
        RebuildIndex();
    auto it = index->find(name);
    if (it != index->end())
    {
        CParamObj* param = it->second;
        if (param->m_nKind == kind && LowerKey(param->m_strName) == it->first)
            return param;
    }
    // A miss or a stale hit: variables may have been renamed or re-kinded in place since the
    // index was built. Look again only when the list really changed.
    if (IsIndexCurrent())
        return nullptr;
    RebuildIndex();
    it = index->find(name);
    return it == index->end() ? nullptr : it->second;
}

CParamObj* CWorkSpaceObj::FindParamByName(const CString& name)
{
    CString key(name);
    key.MakeLower();
    return GetParamObj(CParamObj::KindFromName(key), key);
}

CScriptFileObj* CWorkSpaceObj::FindDbObjByName(const CString& name)
{
    POSITION pos = m_listDbp.GetHeadPosition();
    while (pos)
    {
        CScriptFileObj* dbp = m_listDbp.GetNext(pos);
        if (dbp->m_strName.CompareNoCase(name) == 0)
            return dbp;
    }
    return nullptr;
}

void CWorkSpaceObj::CreateParamSTags()
{
    for (const wchar_t* tag : kSystemTags)
    {
        if (FindParamByName(tag))
            continue;
        auto param = std::make_unique<CParamObj>(tag, FO_VALUE::MakeInt(0), PARAM_KIND_SYSTEM);
        param->m_strDescription = tag + 1;
        m_listParam.AddTail(param.release());
        m_bIndexValid = FALSE;
    }
}

void CWorkSpaceObj::Serialize(CArchive& ar)
{
    if (ar.IsStoring())
    {
        ar << int(PROJECT_FILE_VERSION);
        ar << m_strS6 << m_strProjectName << m_strMainScreen;
        ar << m_bShowPageShadow;
        ar << m_strS3 << m_strS4 << m_strS5;
        ar << m_crBack << m_crPageBack;
        ar << m_strAuthor << m_strDepartment << m_strEMail << m_strURL << m_strCompany << m_strNotice;
        m_listFiles.Serialize(ar);
        ar << m_nCanvasWidth << m_nCanvasHeight << m_bShowRuler;
        ar << m_bShowCloseBox << m_bShowMinBox << m_bShowMaxBox << m_bShowHelpBox << m_bWindowFlag
           << m_bShowTitleBar << m_bShow3DBorder << m_nWindowWidth << m_nWindowHeight;
        ar << m_bFullScreen << m_bAlwaysOnTop;

        // System variables are made afresh by every load, never stored.
        std::vector<CParamObj*> stored;
        POSITION pos = m_listParam.GetHeadPosition();
        while (pos)
        {
            CParamObj* param = m_listParam.GetNext(pos);
            if (param->m_strName.IsEmpty() || param->m_strName[0] != L'$')
                stored.push_back(param);
        }
        ar.WriteCount(stored.size());
        for (CParamObj* param : stored)
            ar << param;
        return;
    }

    int version = 0;
    ar >> version;
    if (version < 0 || version > PROJECT_FILE_VERSION)
        AfxThrowArchiveException(CArchiveException::badSchema, ar.m_strFileName);
    // What older versions do not store takes the values of a new workspace, whatever this one held.
    ResetWindowSettings();
    ar >> m_strS6 >> m_strProjectName >> m_strMainScreen;
    ar >> m_bShowPageShadow;
    ar >> m_strS3 >> m_strS4 >> m_strS5;
    ar >> m_crBack >> m_crPageBack;
    ar >> m_strAuthor >> m_strDepartment >> m_strEMail >> m_strURL >> m_strCompany >> m_strNotice;
    m_listFiles.Serialize(ar);
    ar >> m_nCanvasWidth >> m_nCanvasHeight >> m_bShowRuler;
    if (version > 1)
    {
        ar >> m_bShowCloseBox >> m_bShowMinBox >> m_bShowMaxBox >> m_bShowHelpBox >> m_bWindowFlag >>
            m_bShowTitleBar >> m_bShow3DBorder >> m_nWindowWidth >> m_nWindowHeight;
    }
    if (version >= 3)
        ar >> m_bFullScreen;
    if (version >= 4)
        ar >> m_bAlwaysOnTop;

    // Each entry takes at least its two-byte tag.
    DWORD_PTR count = ar.ReadCount(2);
    while (count--)
    {
        CObject* ob = ar.ReadObject(RUNTIME_CLASS(CParamObj));
        if (!ob)
            continue;
        // The same object twice in a hostile file must not be owned twice.
        CParamObj* param = static_cast<CParamObj*>(ob);
        if (m_listParam.Find(param))
            AfxThrowArchiveException(CArchiveException::badIndex, ar.m_strFileName);
        m_listParam.AddTail(param);
    }
    m_bIndexValid = FALSE;
    CreateParamSTags();
}

CFile* CWorkSpaceObj::GetFile(LPCWSTR path, UINT flags, CFileException* error)
{
    return AfxOpenFile(path, flags, error);
}

void CWorkSpaceObj::ReleaseFile(CFile* file, BOOL abort)
{
    AfxReleaseFile(file, abort);
}

void CWorkSpaceObj::ReportSaveLoadException(LPCWSTR path, CException* e, BOOL saving, UINT defaultPrompt)
{
    AfxReportSaveLoadException(path, e, saving, defaultPrompt);
}

BOOL CWorkSpaceObj::OpenDocument(LPCWSTR path)
{
    // Loading replaces what the workspace holds.
    ResetContents();
    CException* error = nullptr;
    if (!AfxLoadArchiveFile(
            path, [this](CArchive& ar) { Serialize(ar); }, 0, &error))
    {
        // Whatever was read before the fault goes; the workspace stays usable.
        ResetContents();
        CreateParamSTags();
        ReportSaveLoadException(path, error, FALSE, AFX_IDP_FAILED_TO_OPEN_DOC);
        error->Delete();
        return FALSE;
    }
    m_bModified = FALSE;
    return TRUE;
}

BOOL CWorkSpaceObj::SaveDocument(LPCWSTR path)
{
    CException* error = nullptr;
    if (!AfxSaveArchiveFile(
            path, [this](CArchive& ar) { Serialize(ar); }, &error))
    {
        ReportSaveLoadException(path, error, TRUE, AFX_IDP_FAILED_TO_SAVE_DOC);
        error->Delete();
        return FALSE;
    }
    m_bModified = FALSE;
    return TRUE;
}
