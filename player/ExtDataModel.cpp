#include "player/ExtDataModel.h"

#include "mfc/File.h"
#include "symbols/ExtGridWndShape.h"
#include "symbols/SymbolFactory.h"

IMPLEMENT_SERIAL(CExtDataModel, CXVKDataModel, 0)

CExtDataModel::CExtDataModel() = default;
CExtDataModel::CExtDataModel(const CExtDataModel& src) : CXVKDataModel(src) {}
CExtDataModel::~CExtDataModel() = default;

CExtDataModel& CExtDataModel::operator=(const CExtDataModel& src)
{
    CXVKDataModel::operator=(src);
    return *this;
}

CFODataModel* CExtDataModel::Copy() const
{
    return new CExtDataModel(*this);
}

CFODrawShape* CExtDataModel::DoCreateShapeByType(UINT nType, CRect& rcCreate, CString strName,
                                                 CFOToolBoxItem* pItem)
{
    if (nType == CExtGridWndShape::TYPE_ID)
    {
        // Grids come from screen files; code that builds a screen (the demo's) makes one here too.
        CExtGridWndShape* grid = CExtGridWndShape::CreateShape(rcCreate, L"Grid", 1);
        grid->SetObjectName(GetUniqueName(nType));
        // The caller's reference, as every other shape the factory makes comes with one.
        grid->AddRef();
        return grid;
    }
    if (!CSymbolShapeFactory::IsSymbolType(nType))
        return CXVKDataModel::DoCreateShapeByType(nType, rcCreate, strName, pItem);

    const CPoint corner = rcCreate.TopLeft();
    CRect rc = rcCreate;
    rc.NormalizeRect();
    const bool isSwitch = nType == 609 || nType == 611 || nType == 612 || nType == 613;
    if (isSwitch && (rc.IsRectEmpty() || (rc.Width() <= 10 && rc.Height() < 20)))
        rc = CRect(corner.x - 20, corner.y - 20, corner.x + 20, corner.y + 20);
    CFODrawShape* shape = CSymbolShapeFactory::CreateShape(nType, rc, CString());
    if (!shape)
        return nullptr;
    shape->UpdatePosition();
    shape->SetObjectName(GetUniqueName(nType));
    return shape;
}

BOOL CExtDataModel::OpenDocument(LPCWSTR lpszPathName)
{
    CFile file;
    if (!file.Open(lpszPathName, CFile::modeRead | CFile::shareDenyWrite))
        return FALSE;
    const bool empty = file.GetLength() == 0;
    file.Close();
    // An empty screen file is an empty screen.
    if (empty)
        ResetContents();
    else if (!CXVKDataModel::OpenDocument(lpszPathName))
        return FALSE;
    m_strFilePath = lpszPathName;
    return TRUE;
}

BOOL CExtDataModel::SaveDocument(LPCWSTR lpszPathName)
{
    if (!CXVKDataModel::SaveDocument(lpszPathName))
        return FALSE;
    m_strFilePath = lpszPathName;
    return TRUE;
}

void CExtDataModel::PushParamValue(CFODrawShape* pSkip, const CString& strName, FO_VALUE& value,
                                   CFOTypedShapeObList* pChanged, int nKind)
{
    EventParamData(pSkip, strName, value, pChanged, nKind);
}

void CExtDataModel::PushParamValue(const CString& strName, FO_VALUE& value, CFOTypedShapeObList* pChanged,
                                   int nKind)
{
    UpdateParamData(strName, value, pChanged, nKind);
}
