#include "editor/MyExtDataModel.h"

#include "figkit/FOPolygonShape.h"
#include "figkit/FOWndControlShape.h"
#include "foundation/ROzazeRir.h"
#include "mfc/Archive.h"
#include "mfc/DocFile.h"
#include "mfc/File.h"
#include "mfc/WaitCursor.h"
#include "model/MyDeferentShape.h"
#include "model/MyListCtrlShape.h"
#include "model/MyRealTimeChartShape.h"
#include "model/WorkSpaceObj.h"
#include "symbols/ExtGridWndShape.h"
#include "symbols/SymbolFactory.h"
#include "mfc/OpenedFile.h"

IMPLEMENT_SERIAL(CMyExtDataModel, CXVKDataModel, 0)

CMyExtDataModel::CMyExtDataModel()
{
    SetPointLimitWithPage(TRUE);
    SetCanvasSize(CSize(50, 50));
    SetBackDrawComp(new CMyBackShape(nullptr));
}

CMyExtDataModel::CMyExtDataModel(const CMyExtDataModel& src) : CXVKDataModel()
{
    CXVKDataModel::operator=(src);
}

CMyExtDataModel::~CMyExtDataModel() = default;

CMyExtDataModel& CMyExtDataModel::operator=(const CMyExtDataModel& src)
{
    CXVKDataModel::operator=(src);
    return *this;
}

CFODataModel* CMyExtDataModel::Copy() const
{
    return new CMyExtDataModel(*this);
}

CFODrawShape* CMyExtDataModel::DoCreateShapeByType(UINT nType, CRect& rcCreate, CString strName,
                                                   CFOToolBoxItem*)
{
    if (!CSymbolShapeFactory::IsSymbolType(nType))
        return CXVKDataModel::DoCreateShapeByType(nType, rcCreate, strName, nullptr);
    CRect rc = rcCreate;
    rc.NormalizeRect();
    const bool isSwitch = nType == 609 || nType == 611 || nType == 612 || nType == 613;
    if (isSwitch && (rc.IsRectEmpty() || (rc.Width() <= 10 && rc.Height() < 20)))
        rc = CRect(rcCreate.left - 20, rcCreate.top - 20, rcCreate.left + 20, rcCreate.top + 20);
    CFODrawShape* shape = CSymbolShapeFactory::CreateShape(nType, rc, CString());
    if (!shape)
        return nullptr;
    shape->UpdatePosition();
    shape->SetObjectName(GetUniqueName(nType));
    return shape;
}

void CMyExtDataModel::AddPolygonShape(UINT nType, const CArray<CPoint, CPoint>& points)
{
    if (nType != 603)
    {
        CXVKDataModel::AddPolygonShape(nType, points);
        return;
    }
    if (points.GetSize() < 2)
        return;
    CFOShapePtr<CFOPolygonShape> shape(new CFOPolygonShape);
    shape->SetType(603);
    shape->Create(points.GetData(), int(points.GetSize()));
    shape->UpdatePosition();
    shape->PutPropBoolValue(FO_PROP_TOOLBOX_DEFAULTS, TRUE);
    shape->SetObjectName(GetUniqueName(603));
    shape->SetLineWidth(1);
    shape->SetPenStyle(1);
    shape->SetBrushType(0);
    DoInitCreateShape(shape);
    InsertShape(shape);
    SetModifiedFlag(TRUE);
}

void CMyExtDataModel::InsertWndControl(CFOWndControlShape* pShape, UINT nType, const CRect& rcPos,
                                       const CString& strCaption)
{
    CFOShapePtr<CFOWndControlShape> shape(pShape);
    shape->SetType(nType);
    CRect rc = rcPos;
    shape->Create(rc, CString());
    shape->UpdatePosition();
    const CString name = GetUniqueName(nType);
    shape->SetObjectCaption(strCaption);
    shape->SetObjectName(name);
    InsertShape(shape);
    SetModifiedFlag(TRUE);
}

void CMyExtDataModel::CreateRealTimeChartShape(const CRect& rcPos, const CString& strCaption, UINT nChildId)
{
    auto* shape = new CMyRealTimeChartShape;
    shape->SetCtrlID(nChildId);
    InsertWndControl(shape, 632, rcPos, strCaption);
}

void CMyExtDataModel::CreateGridShape(const CRect& rcPos, const CString& strCaption, UINT nChildId)
{
    InsertWndControl(new CExtGridWndShape(nChildId), CExtGridWndShape::TYPE_ID, rcPos, strCaption);
}

void CMyExtDataModel::CreateListCtrlShape(const CRect& rcPos, const CString& strCaption, UINT nChildId)
{
    auto* shape = new CMyListCtrlShape;
    shape->SetCtrlID(nChildId);
    InsertWndControl(shape, 627, rcPos, strCaption);
}

int CMyExtDataModel::GetProjectScreenSetting()
{
    if (auto* app = dynamic_cast<ROzazeRir*>(AfxGetApp()))
        if (CWorkSpaceObj* ws = app->GetWorkSpace())
            return ws->m_bShowRuler;
    return 1;
}

BOOL CMyExtDataModel::OpenDocument(LPCWSTR lpszPathName)
{
    CWaitCursor wait;
    int setting = GetProjectScreenSetting();
    if (!AfxLoadArchiveFile(
            lpszPathName, [this, &setting](CArchive& ar) { SerializeS2(ar, setting); },
            afxLoadEmptyAsNothing))
    {
        ResetContents();
        return FALSE;
    }
    m_strFilePath = lpszPathName;
    return TRUE;
}

BOOL CMyExtDataModel::SaveDocument(LPCWSTR lpszPathName)
{
    CWaitCursor wait;
    int setting = GetProjectScreenSetting();
    if (!AfxSaveArchiveFile(lpszPathName, [this, &setting](CArchive& ar) { SerializeS2(ar, setting); }))
        return FALSE;
    m_strFilePath = lpszPathName;
    SetModifiedFlag(FALSE);
    return TRUE;
}

void CMyExtDataModel::ReleaseFile(CFile* pFile, BOOL bAbort)
{
    AfxReleaseFile(pFile, bAbort);
}
