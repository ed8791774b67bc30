#include "figkit/FODrawShape.h"

#include "figkit/FOArchiveHelper.h"
#include "figkit/FOArea.h"
#include "mfc/DocFile.h"
#include "figkit/FODrawHelper.h"
#include "figkit/FOGlobalData.h"
#include "figkit/FOPHandle.h"
#include "figkit/FOShapeState.h"
#include "figkit/FOShapeTimers.h"
#include "figkit/FOPVisualProxy.h"
#include "figkit/FOPortShape.h"
#include "figkit/FOValueProperties.h"
#include "mfc/Archive.h"
#include "mfc/Dc.h"
#include "mfc/File.h"
#include "mfc/OpenedFile.h"

#include <QPainter>

#include <algorithm>
#include <climits>
#include <cmath>

IMPLEMENT_SERIAL(CFODrawShape, CObject, 0)

namespace
{
// Record version of the base shape.
const int kShapeVersion = 1;
// Coordinates beyond this are refused when loading, so arithmetic on them cannot overflow.
const int kMaxCoord = 10000000;

double Finite(double v, double fallback)
{
    return std::isfinite(v) ? v : fallback;
}

int ReadCoord(CArchive& ar)
{
    int v = 0;
    ar >> v;
    if (v < -kMaxCoord || v > kMaxCoord)
        AfxThrowArchiveException(CArchiveException::badSchema, ar.m_strFileName);
    return v;
}

// Smallest rectangle holding the points (right and bottom are the largest coordinates), mapped
// first when a matrix is given. Shapes ask for it on every draw, so it builds no polygon.
CRect BoundOf(const std::vector<CPoint>& points, const CFOMatrix* pMatrix)
{
    if (points.empty())
        return CRect();
    CPoint first = pMatrix ? CPoint(pMatrix->ChangeValue(points[0])) : points[0];
    CRect rc(first.x, first.y, first.x, first.y);
    for (const CPoint& pt : points)
    {
        const CPoint p = pMatrix ? CPoint(pMatrix->ChangeValue(pt)) : pt;
        rc.left = std::min(rc.left, p.x);
        rc.top = std::min(rc.top, p.y);
        rc.right = std::max(rc.right, p.x);
        rc.bottom = std::max(rc.bottom, p.y);
    }
    return rc;
}
} // namespace

CFODrawShape::CFODrawShape() = default;

CFODrawShape::CFODrawShape(const CFODrawShape& src) : CObject()
{
    *this = src;
}

CFODrawShape::~CFODrawShape()
{
    FODropShapeTimers(this);
    if (m_pOwner && m_dwHandle)
        m_pOwner->DropShapeHandle(this);
    // Ports go first: their links must not reach back into a half-destroyed shape.
    m_aPorts.clear();
}

CFODrawShape& CFODrawShape::operator=(const CFODrawShape& src)
{
    if (this == &src)
        return *this;
    m_nType = src.m_nType;
    m_strObjectName = src.m_strObjectName;
    m_strCaption = src.m_strCaption;
    m_aPoints = src.m_aPoints;
    m_aTrackPoints = src.m_aTrackPoints;
    m_rcPosition = src.m_rcPosition;
    m_pMatrix.reset(src.m_pMatrix ? new CFOMatrix(*src.m_pMatrix) : nullptr);
    m_dRotateAngle = src.m_dRotateAngle;
    m_ptAnchor = src.m_ptAnchor;
    m_ptTrackAnchor = src.m_ptTrackAnchor;
    m_crLine = src.m_crLine;
    m_crBk = src.m_crBk;
    m_crPattern = src.m_crPattern;
    m_crFont = src.m_crFont;
    m_crShadow = src.m_crShadow;
    m_nLineWidth = src.m_nLineWidth;
    m_nPenStyle = src.m_nPenStyle;
    m_nBrushType = src.m_nBrushType;
    m_bNullPen = src.m_bNullPen;
    m_bTransparent = src.m_bTransparent;
    m_nTransparentValue = src.m_nTransparentValue;
    m_bShadow = src.m_bShadow;
    m_szShadow = src.m_szShadow;
    m_b3DLook = src.m_b3DLook;
    m_strFaceName = src.m_strFaceName;
    m_nPointSize = src.m_nPointSize;
    m_nWeight = src.m_nWeight;
    m_bItalic = src.m_bItalic;
    m_bUnderline = src.m_bUnderline;
    m_bStrikeout = src.m_bStrikeout;
    m_dMinValue = src.m_dMinValue;
    m_dMaxValue = src.m_dMaxValue;
    m_dCurrentValue = src.m_dCurrentValue;
    m_strCurrentText = src.m_strCurrentText;
    m_strKey1 = src.m_strKey1;
    m_strKey2 = src.m_strKey2;
    SetKeyId3(src.m_strKey3);
    m_strStateString = src.m_strStateString;
    m_strStateType = src.m_strStateType;
    m_strValueChangeScript = src.m_strValueChangeScript;
    m_aPorts.clear();
    for (const auto& port : src.m_aPorts)
    {
        auto copy = std::make_unique<CFOPortShape>(*port);
        copy->SetOwner(this);
        m_aPorts.push_back(std::move(copy));
    }
    m_bShowPorts = src.m_bShowPorts;
    m_bVisible = src.m_bVisible;
    m_bResizeProtect = src.m_bResizeProtect;
    m_bRotateProtect = src.m_bRotateProtect;
    m_bPolyObject = src.m_bPolyObject;
    m_props = src.m_props;
    return *this;
}

CFODrawShape* CFODrawShape::Copy() const
{
    return new CFODrawShape(*this);
}

int CFODrawShape::AddRef()
{
    return ++m_nRefCount;
}

int CFODrawShape::Release()
{
    const int n = --m_nRefCount;
    if (n <= 0)
        delete this;
    return n < 0 ? 0 : n;
}

void CFODrawShape::Create(CRect& rcPos, CString strCaption)
{
    rcPos.NormalizeRect();
    if (m_aPoints.empty())
    {
        m_aPoints = {CPoint(rcPos.left, rcPos.top), CPoint(rcPos.right, rcPos.top),
                     CPoint(rcPos.right, rcPos.bottom), CPoint(rcPos.left, rcPos.bottom)};
    }
    else
    {
        FitPointsToRect(rcPos);
    }
    m_aTrackPoints = m_aPoints;
    m_strCaption = strCaption;
    UpdatePosition();
}

void CFODrawShape::SetObjectName(const CString& strName)
{
    if (strName == m_strObjectName)
        return;
    const CString old = m_strObjectName;
    m_strObjectName = strName;
    if (m_pOwner)
        m_pOwner->OnShapeNameChanged(this, old);
    NotifyChanged();
}

void CFODrawShape::SetModel(IFOShapeOwner* pOwner)
{
    m_pOwner = pOwner;
    m_pModel = pOwner ? pOwner->GetOwnerModel() : nullptr;
}

void CFODrawShape::SetParentWnd(CWnd* pWnd)
{
    m_pParentWnd = pWnd;
}

void CFODrawShape::NotifyChanged(const CRect* pOldRect)
{
    if (m_pOwner)
        m_pOwner->OnShapeChanged(this, pOldRect);
}

void CFODrawShape::SetKeyId3(const CString& key)
{
    if (key == m_strKey3)
        return;
    m_strKey3 = key;
    CString norm(key);
    norm.Trim();
    norm.MakeLower();
    m_strKey3Norm = norm.str();
    if (m_pOwner)
        m_pOwner->OnShapeKeyChanged(this);
    NotifyChanged();
}

// Points and geometry

void CFODrawShape::AllocMemory(int nCount)
{
    m_aPoints.assign(size_t(std::max(0, nCount)), CPoint());
    m_aTrackPoints = m_aPoints;
}

void CFODrawShape::SetPoints(const POINT* points, int nCount)
{
    if (!points || nCount <= 0)
        m_aPoints.clear();
    else
        m_aPoints.assign(points, points + nCount);
    m_aTrackPoints = m_aPoints;
}

void CFODrawShape::ResetTrackPoints()
{
    m_aTrackPoints.resize(m_aPoints.size());
    for (size_t i = 0; i < m_aPoints.size(); ++i)
        m_aTrackPoints[i] = OwnToCanvas(m_aPoints[i]);
}

CRect CFODrawShape::GetOwnRect() const
{
    return BoundOf(m_aPoints, nullptr);
}

CRect CFODrawShape::GetDrawRect() const
{
    return m_rcPosition;
}

CRect CFODrawShape::GetSnapRect() const
{
    return m_rcPosition;
}

CRect CFODrawShape::GetMaxRect() const
{
    CRect rc = m_rcPosition;
    int grow = m_nLineWidth / 2 + 2;
    if (m_bShadow)
        grow += std::max(std::abs(int(m_szShadow.cx)), std::abs(int(m_szShadow.cy)));
    rc.InflateRect(grow, grow);
    return rc;
}

CPoint CFODrawShape::OwnToCanvas(const CPoint& pt) const
{
    return m_pMatrix ? CPoint(m_pMatrix->ChangeValue(pt)) : pt;
}

CPoint CFODrawShape::CanvasToOwn(const CPoint& pt) const
{
    return m_pMatrix ? CPoint(m_pMatrix->ChangeValueBack(pt)) : pt;
}

void CFODrawShape::DoGenPoints(CArray<CPoint, CPoint>& points) const
{
    points.SetSize(INT_PTR(m_aPoints.size()));
    for (size_t i = 0; i < m_aPoints.size(); ++i)
        points[INT_PTR(i)] = OwnToCanvas(m_aPoints[i]);
}

void CFODrawShape::SetMatrixData(const CFOMatrix* pMatrix)
{
    if (!pMatrix || pMatrix->IsIdentity())
        m_pMatrix.reset();
    else
        m_pMatrix = std::make_unique<CFOMatrix>(*pMatrix);
    UpdatePosition();
}

void CFODrawShape::TransformPoints(const CFOMatrix& m)
{
    for (CPoint& pt : m_aPoints)
        pt = m.ChangeValue(pt);
    for (CPoint& pt : m_aTrackPoints)
        pt = m.ChangeValue(pt);
    m_ptAnchor = m.ChangeValue(m_ptAnchor);
    m_ptTrackAnchor = m.ChangeValue(m_ptTrackAnchor);
}

void CFODrawShape::FitPointsToRect(const CRect& rc)
{
    const CRect own = GetOwnRect();
    const double sx = own.Width() ? double(rc.Width()) / own.Width() : 1.0;
    const double sy = own.Height() ? double(rc.Height()) / own.Height() : 1.0;
    CFOMatrix m(sx, 0, 0, sy, rc.left - own.left * sx, rc.top - own.top * sy);
    TransformPoints(m);
}

void CFODrawShape::OffsetShape(CSize offset)
{
    const CRect old = GetMaxRect();
    if (m_pMatrix)
        m_pMatrix->Translate(offset.cx, offset.cy);
    else
        TransformPoints(CFOMatrix(1, 0, 0, 1, offset.cx, offset.cy));
    UpdateComp();
    NotifyChanged(&old);
}

void CFODrawShape::PositionShape(const CRect& rcTarget)
{
    CRect rc = rcTarget;
    rc.NormalizeRect();
    const CRect cur = GetDrawRect();
    const CRect old = GetMaxRect();
    m_rcPrev = old;
    const double sx = cur.Width() ? double(rc.Width()) / cur.Width() : 1.0;
    const double sy = cur.Height() ? double(rc.Height()) / cur.Height() : 1.0;
    const CFOMatrix t(sx, 0, 0, sy, rc.left - cur.left * sx, rc.top - cur.top * sy);
    if (m_pMatrix)
        *m_pMatrix = m_pMatrix->Then(t);
    else
        TransformPoints(t);
    UpdateComp();
    NotifyChanged(&old);
}

void CFODrawShape::RotateShape(int nAngle, double x, double y)
{
    if (nAngle % 360 == 0)
        return;
    const CRect old = GetMaxRect();
    const CFOMatrix r = CFOMatrix::Rotation(nAngle, x, y);
    const CFOMatrix m = m_pMatrix ? m_pMatrix->Then(r) : r;
    m_dRotateAngle = std::fmod(m_dRotateAngle + nAngle, 360.0);
    if (m.IsIdentity())
        m_pMatrix.reset();
    else
        m_pMatrix = std::make_unique<CFOMatrix>(m);
    UpdateComp();
    NotifyChanged(&old);
}

void CFODrawShape::RotateTrackShape(int nAngle, double x, double y)
{
    const CFOMatrix r = CFOMatrix::Rotation(nAngle, x, y);
    m_aTrackPoints.resize(m_aPoints.size());
    for (size_t i = 0; i < m_aPoints.size(); ++i)
        m_aTrackPoints[i] = r.ChangeValue(OwnToCanvas(m_aPoints[i]));
}

BOOL CFODrawShape::PtInShape(CPoint point) const
{
    if (m_aPoints.size() < 3)
        return GetDrawRect().PtInRect(point);
    const CPoint own = CanvasToOwn(point);
    return FOPSimplePolygon(m_aPoints.data(), int(m_aPoints.size())).IsInside(own);
}

void CFODrawShape::GetPathSimplePolygon(FOPSimpleCompositePolygon& polygon) const
{
    FOPSimplePolygon p;
    for (const CPoint& pt : m_aPoints)
        p.Add(OwnToCanvas(pt));
    polygon.Append(p);
}

void CFODrawShape::UpdatePosition()
{
    m_rcPosition = BoundOf(m_aPoints, m_pMatrix.get());
}

void CFODrawShape::UpdateComp()
{
    CFOArea area;
    GeometryUpdated(&area);
    UpdatePosition();
}

void CFODrawShape::GeometryUpdated(CFOArea* pArea)
{
    if (!pArea)
        return;
    pArea->SetPoints(m_aPoints.data(), int(m_aPoints.size()));
    m_rcPosition = pArea->GetBoundingRect();
}

// Anchors and handles

int CFODrawShape::OffsetAnchorPoint(CPoint)
{
    return 0;
}
int CFODrawShape::TrackOffsetAnchorPoint(CPoint)
{
    return 0;
}
int CFODrawShape::OffsetExtAnchorPoint(CPoint)
{
    return 0;
}
int CFODrawShape::TrackOffsetExtAnchorPoint(CPoint)
{
    return 0;
}
int CFODrawShape::OffsetThirdAnchorPoint(CPoint)
{
    return 0;
}
int CFODrawShape::TrackOffsetThirdAnchorPoint(CPoint)
{
    return 0;
}
int CFODrawShape::OffsetFourAnchorPoint(CPoint)
{
    return 0;
}
int CFODrawShape::TrackOffsetFourAnchorPoint(CPoint)
{
    return 0;
}
int CFODrawShape::OffsetFiveAnchorPoint(CPoint)
{
    return 0;
}
int CFODrawShape::TrackOffsetFiveAnchorPoint(CPoint)
{
    return 0;
}

void CFODrawShape::GetNormalSpotLocation(CFOPHandleList& list)
{
    CFOPVisualProxy::GetInstance()->GenNormalHandles(list, GetSnapRect(), GetType(), 0, 0);
}

void CFODrawShape::GetPlusSpotLocation(CFOPHandleList&) {}

double CFODrawShape::GetValueFraction() const
{
    const double v = GetCurrentValue();
    if (v == FO_NO_VALUE || !std::isfinite(v) || m_dMaxValue == m_dMinValue)
        return 0.0;
    const double f = (v - m_dMinValue) / (m_dMaxValue - m_dMinValue);
    return std::isfinite(f) ? std::clamp(f, 0.0, 1.0) : 0.0;
}

// States

int CFODrawShape::GetStateList(CStringArray& list) const
{
    CStringArray records;
    FOStringToStringArray(m_strStateString, L"@", records);
    int count = 0;
    for (INT_PTR i = 0; i < records.GetSize(); ++i)
    {
        const CString& record = records[i];
        const int at = record.Find(L'$');
        list.Add(at < 0 ? record : record.Left(at));
        ++count;
    }
    return count;
}

int CFODrawShape::GetEventType() const
{
    int type = 0;
    return GetPropIntValue(type, FO_PROP_EVENT_TYPE) ? type : 0;
}

CString CFODrawShape::GetEventString() const
{
    CString text;
    GetPropStringValue(text, FO_PROP_EVENT_STRING);
    return text;
}

void CFODrawShape::SaveCurrentData()
{
    m_crSavedBk = m_crBk;
    m_crSavedPattern = m_crPattern;
    m_bDataSaved = TRUE;
}

void CFODrawShape::RestoreCurrentData()
{
    if (!m_bDataSaved)
        return;
    m_bDataSaved = FALSE;
    SetBkColor(m_crSavedBk);
    SetPatternColor(m_crSavedPattern);
}

// Ports

CFOPortShape* CFODrawShape::CreateDefaultPort(double fx, double fy)
{
    auto port = std::make_unique<CFOPortShape>(fx, fy);
    port->SetOwner(this);
    m_aPorts.push_back(std::move(port));
    return m_aPorts.back().get();
}

void CFODrawShape::RemoveAllPorts()
{
    m_aPorts.clear();
}

CFOPortShape* CFODrawShape::GetPort(int i) const
{
    if (i < 0 || size_t(i) >= m_aPorts.size())
        return nullptr;
    return m_aPorts[size_t(i)].get();
}

// Properties

void CFODrawShape::AddNewProperty(const CFOBaseProperties* pProp)
{
    if (pProp)
        m_props.Add(*pProp);
}

BOOL CFODrawShape::GetPropBoolValue(BOOL& bValue, int nPropId) const
{
    FO_VALUE v;
    if (!GetPropValue(v, nPropId))
        return FALSE;
    bValue = v.m_nValueType == FO_VALUE_STRING ? !v.m_strValue.IsEmpty() : v.GetAsDouble() != 0.0;
    return TRUE;
}

BOOL CFODrawShape::GetPropIntValue(int& nValue, int nPropId) const
{
    FO_VALUE v;
    if (!GetPropValue(v, nPropId))
        return FALSE;
    nValue = v.m_nValueType == FO_VALUE_INT ? v.m_nValue : CFODrawHelper::RoundValue(v.GetAsDouble());
    return TRUE;
}

BOOL CFODrawShape::GetPropFloatValue(float& fValue, int nPropId) const
{
    FO_VALUE v;
    if (!GetPropValue(v, nPropId))
        return FALSE;
    fValue = v.m_nValueType == FO_VALUE_FLOAT ? v.m_fValue : float(v.GetAsDouble());
    return TRUE;
}

BOOL CFODrawShape::GetPropDoubleValue(double& dValue, int nPropId) const
{
    FO_VALUE v;
    if (!GetPropValue(v, nPropId))
        return FALSE;
    dValue = v.GetAsDouble();
    return TRUE;
}

BOOL CFODrawShape::GetPropDWordValue(DWORD& dwValue, int nPropId) const
{
    FO_VALUE v;
    if (!GetPropValue(v, nPropId))
        return FALSE;
    dwValue =
        v.m_nValueType == FO_VALUE_DWORD ? v.m_dwValue : DWORD(CFODrawHelper::RoundValue(v.GetAsDouble()));
    return TRUE;
}

BOOL CFODrawShape::GetPropStringValue(CString& strValue, int nPropId) const
{
    FO_VALUE v;
    if (!GetPropValue(v, nPropId))
        return FALSE;
    strValue = v.GetAsString();
    return TRUE;
}

BOOL CFODrawShape::GetPropColorValue(COLORREF& crValue, int nPropId) const
{
    FO_VALUE v;
    if (!GetPropValue(v, nPropId))
        return FALSE;
    switch (v.m_nValueType)
    {
    case FO_VALUE_COLOR:
        crValue = v.m_crValue;
        break;
    case FO_VALUE_DWORD:
        crValue = v.m_dwValue;
        break;
    case FO_VALUE_INT:
        crValue = COLORREF(v.m_nValue);
        break;
    default:
        crValue = COLORREF(CFODrawHelper::RoundValue(v.GetAsDouble()));
        break;
    }
    return TRUE;
}

void CFODrawShape::PutPropValue(int nPropId, const FO_VALUE& value)
{
    if (PutFieldValue(nPropId, value))
        return;
    if (!m_props.PutValue(nPropId, value))
        m_props.Add(CFOValueProperties(nPropId, value));
    OnPropertyChange(nPropId, m_props.Find(nPropId));
    NotifyChanged();
}

void CFODrawShape::OnPropertyChange(int, CFOBaseProperties*) {}

void CFODrawShape::SetMinValue(double d)
{
    if (m_dMinValue == d)
        return;
    m_dMinValue = d;
    OnPropertyChange(FO_PROP_MIN_VALUE, nullptr);
    NotifyChanged();
}

void CFODrawShape::SetMaxValue(double d)
{
    if (m_dMaxValue == d)
        return;
    m_dMaxValue = d;
    OnPropertyChange(FO_PROP_MAX_VALUE, nullptr);
    NotifyChanged();
}

void CFODrawShape::SetStateType(const CString& str)
{
    if (m_strStateType == str)
        return;
    // The designed state is kept before a running shape leaves it.
    const BOOL running = FOIsShapeRunning(this);
    if (running)
        FOKeepDesignLook(this);
    m_strStateType = str;
    NotifyChanged();
    if (running)
        FORefreshShapeState(this);
}

void CFODrawShape::DoSubMenuChange(const int&, const CString& strState)
{
    SetStateType(strState);
}

// Drawing

void CFODrawShape::OnDraw(CDC* pDC)
{
    if (!pDC || !m_bVisible)
        return;
    QPainter* painter = pDC->GetPainter();
    const qreal opacity = painter ? painter->opacity() : 1.0;
    const int saved = pDC->SaveDC();
    PrepareDC(pDC);
    if (painter && m_nTransparentValue > 0)
        painter->setOpacity(opacity * (255 - m_nTransparentValue) / 255.0);
    if (m_bShadow)
        OnDrawShadow(pDC);
    if (m_b3DLook)
        OnDraw3d(pDC);
    else
        OnDrawFlat(pDC);
    if (m_bShowPorts)
        OnDrawPorts(pDC, TRUE);
    ClearDC(pDC);
    pDC->RestoreDC(saved);
    if (painter)
        painter->setOpacity(opacity);
}

void CFODrawShape::PrepareDC(CDC* pDC)
{
    if (!pDC || !m_pMatrix)
        return;
    pDC->SetGraphicsMode(GM_ADVANCED);
    const XFORM x = {FLOAT(m_pMatrix->m_11), FLOAT(m_pMatrix->m_12), FLOAT(m_pMatrix->m_21),
                     FLOAT(m_pMatrix->m_22), FLOAT(m_pMatrix->m_dx), FLOAT(m_pMatrix->m_dy)};
    pDC->ModifyWorldTransform(&x, MWT_LEFTMULTIPLY);
}

void CFODrawShape::ClearDC(CDC*) {}

void CFODrawShape::OnDrawShadow(CDC* pDC)
{
    if (m_aPoints.size() >= 3)
        FillShadowPoly(pDC, m_aPoints.data(), int(m_aPoints.size()));
}

void CFODrawShape::OnDrawFlat(CDC*) {}

void CFODrawShape::OnDraw3d(CDC*) {}

void CFODrawShape::OnDrawPorts(CDC* pDC, BOOL bShow)
{
    if (!pDC || !bShow || m_aPorts.empty())
        return;
    const CRect rc = GetOwnRect();
    CPen pen(PS_SOLID, 1, RGB(0, 0, 255));
    CPen* old = pDC->SelectObject(&pen);
    for (const auto& port : m_aPorts)
    {
        // Kept clear of the int limits: the cross reaches four pixels beyond the port.
        const int x = std::clamp(CFODrawHelper::RoundValue(rc.left + port->GetFractionX() * rc.Width()),
                                 INT_MIN + 8, INT_MAX - 8);
        const int y = std::clamp(CFODrawHelper::RoundValue(rc.top + port->GetFractionY() * rc.Height()),
                                 INT_MIN + 8, INT_MAX - 8);
        pDC->MoveTo(x - 3, y - 3);
        pDC->LineTo(x + 4, y + 4);
        pDC->MoveTo(x + 3, y - 3);
        pDC->LineTo(x - 4, y + 4);
    }
    pDC->SelectObject(old);
}

void CFODrawShape::OnDrawTrackCustom(CDC* pDC)
{
    if (!pDC || m_aTrackPoints.size() < 2)
        return;
    std::vector<CPoint> pts = m_aTrackPoints;
    pts.push_back(pts.front());
    pDC->Polyline(pts.data(), int(pts.size()));
}

void CFODrawShape::DoDrawVisioOrderLine(CDC* pDC)
{
    if (!pDC)
        return;
    CArray<CPoint, CPoint> points;
    DoGenPoints(points);
    if (points.GetSize() < 2)
        return;
    CPen* old = pDC->SelectObject(IsMainObj() ? &gfxData.m_penMainOrderLine : &gfxData.m_penOrderLine);
    std::vector<CPoint> pts(points.GetData(), points.GetData() + points.GetSize());
    pts.push_back(pts.front());
    pDC->Polyline(pts.data(), int(pts.size()));
    pDC->SelectObject(old);
}

void CFODrawShape::FillPoly(CDC* pDC, const POINT* points, int nCount, COLORREF crBk, COLORREF crPattern,
                            int nBrushType)
{
    CFODrawHelper::FillPoly(pDC, points, nCount, crBk, crPattern, nBrushType);
}

void CFODrawShape::FillShadowPoly(CDC* pDC, const POINT* points, int nCount)
{
    if (!pDC || !points || nCount < 3)
        return;
    std::vector<CPoint> shadow(points, points + nCount);
    for (CPoint& pt : shadow)
        pt.Offset(m_szShadow);
    CFODrawHelper::FillPoly(pDC, shadow.data(), nCount, m_crShadow, m_crShadow, FO_BRUSH_SOLID);
}

CPen* CFODrawShape::SelectLinePen(CDC* pDC, CPen& pen) const
{
    if (m_bNullPen || m_nPenStyle == FO_PEN_NONE)
        pen.CreatePen(PS_NULL, 1, m_crLine);
    else
        pen.CreatePen(CFODrawHelper::PenStyleToGdi(m_nPenStyle), m_nLineWidth, m_crLine);
    return pDC->SelectObject(&pen);
}

void CFODrawShape::DrawCaptionText(CDC* pDC, const CRect& rc, const CString& text) const
{
    if (!pDC || text.IsEmpty())
        return;
    CFont font;
    font.CreatePointFont(std::clamp(m_nPointSize, 1, 500) * 10,
                         m_strFaceName.IsEmpty() ? nullptr : m_strFaceName.GetString());
    LOGFONT lf;
    font.GetLogFont(&lf);
    lf.lfWeight = m_nWeight;
    lf.lfItalic = m_bItalic ? 1 : 0;
    lf.lfUnderline = m_bUnderline ? 1 : 0;
    lf.lfStrikeOut = m_bStrikeout ? 1 : 0;
    font.CreateFontIndirect(&lf);
    CFont* oldFont = pDC->SelectObject(&font);
    const int oldMode = pDC->SetBkMode(TRANSPARENT);
    const COLORREF oldColor = pDC->SetTextColor(m_crFont);
    CRect box = rc;
    CRect calc = rc;
    const int height = pDC->DrawText(text, &calc, DT_CENTER | DT_WORDBREAK | DT_NOPREFIX | DT_CALCRECT);
    box.top += (rc.Height() - height) / 2;
    pDC->DrawText(text, &box, DT_CENTER | DT_WORDBREAK | DT_NOPREFIX | DT_NOCLIP);
    pDC->SetTextColor(oldColor);
    pDC->SetBkMode(oldMode);
    pDC->SelectObject(oldFont);
}

// Mouse

BOOL CFODrawShape::OnLButtonDown(UINT, CPoint)
{
    return FALSE;
}
BOOL CFODrawShape::OnLButtonUp(UINT, CPoint)
{
    return FALSE;
}
BOOL CFODrawShape::OnLButtonDblClk(UINT, CPoint)
{
    return FALSE;
}
BOOL CFODrawShape::OnRButtonDown(UINT, CPoint)
{
    return FALSE;
}
BOOL CFODrawShape::OnRButtonUp(UINT, CPoint)
{
    return FALSE;
}
BOOL CFODrawShape::OnMouseMove(UINT, CPoint)
{
    return FALSE;
}

// Timers and redraw

int CFODrawShape::RegisterTimerEvent(CFODrawShape* pShape, int nPeriod)
{
    CWnd* wnd = m_pParentWnd;
    if (!wnd && m_pOwner)
        wnd = m_pOwner->GetTimerWnd();
    return FORegisterShapeTimer(wnd, pShape, nPeriod);
}

void CFODrawShape::UnregisterTimerEvent(int nTimerId)
{
    FOUnregisterShapeTimer(nTimerId);
}

void CFODrawShape::OnTimer(int) {}

void CFODrawShape::UpdateControl()
{
    if (m_pOwner)
        m_pOwner->InvalidateShape(this);
}

void CFODrawShape::InvalRect(const CRect& rc)
{
    if (m_pOwner)
        m_pOwner->InvalidateRect(rc);
}

// Shape files

CFile* CFODrawShape::GetFile(LPCWSTR lpszFileName, UINT nOpenFlags, CFileException* pError)
{
    return AfxOpenFile(lpszFileName, nOpenFlags, pError);
}

void CFODrawShape::ReleaseFile(CFile* pFile, BOOL bAbort)
{
    AfxReleaseFile(pFile, bAbort);
}

BOOL CFODrawShape::SaveDocument(LPCWSTR lpszPathName)
{
    return AfxSaveArchiveFile(lpszPathName, [this](CArchive& ar) { Serialize(ar); });
}

BOOL CFODrawShape::OpenDocument(LPCWSTR lpszPathName)
{
    return AfxLoadArchiveFile(
        lpszPathName, [this](CArchive& ar) { Serialize(ar); }, afxLoadEmptyAsNothing);
}

// Record

void CFODrawShape::Serialize(CArchive& ar)
{
    if (ar.IsStoring())
    {
        ar << kShapeVersion;
        ar << m_nType << m_strObjectName << m_strCaption;
        ar.WriteCount(m_aPoints.size());
        for (const CPoint& pt : m_aPoints)
            ar << int(pt.x) << int(pt.y);
        ar << BYTE(m_pMatrix ? 1 : 0);
        if (m_pMatrix)
            m_pMatrix->Serialize(ar);
        ar << m_dRotateAngle;
        // What is saved is the designed look, never what a running screen made of it.
        const FOShapeLook look = m_pDesignLook ? *m_pDesignLook : FOGetShapeLook(this);
        ar << look.crLine << look.crBk << look.crPattern << look.crFont << m_crShadow;
        ar << look.nLineWidth << m_nPenStyle << look.nBrushType;
        ar << m_bNullPen << m_bTransparent << m_nTransparentValue << m_bShadow << int(m_szShadow.cx)
           << int(m_szShadow.cy) << m_b3DLook;
        ar << m_strFaceName << m_nPointSize << m_nWeight << m_bItalic << m_bUnderline << m_bStrikeout;
        ar << m_dMinValue << m_dMaxValue << m_dCurrentValue << m_strCurrentText;
        ar << m_strKey1 << m_strKey2 << m_strKey3;
        ar << m_strStateString << look.strStateType << m_strValueChangeScript;
        ar << look.bVisible << m_bResizeProtect << m_bRotateProtect << m_bPolyObject << m_bShowPorts;
        m_props.Serialize(ar);
        ar.WriteCount(m_aPorts.size());
        for (const auto& port : m_aPorts)
            FOWriteOwnedObject(ar, *port);
        return;
    }

    int version = 0;
    ar >> version;
    if (version < 1 || version > kShapeVersion)
        AfxThrowArchiveException(CArchiveException::badSchema, ar.m_strFileName);
    ar >> m_nType >> m_strObjectName >> m_strCaption;
    const DWORD_PTR nPoints = ar.ReadCount(8);
    std::vector<CPoint> points(nPoints);
    for (CPoint& pt : points)
    {
        pt.x = ReadCoord(ar);
        pt.y = ReadCoord(ar);
    }
    m_aPoints.swap(points);
    m_aTrackPoints = m_aPoints;
    BYTE hasMatrix = 0;
    ar >> hasMatrix;
    if (hasMatrix)
    {
        CFOMatrix m;
        m.Serialize(ar);
        // The turned outline must stay within the coordinates the rest of the code can handle.
        for (const CPoint& pt : m_aPoints)
        {
            double x = pt.x, y = pt.y;
            m.ChangeValue(x, y);
            if (std::fabs(x) > 2.0 * kMaxCoord || std::fabs(y) > 2.0 * kMaxCoord)
                AfxThrowArchiveException(CArchiveException::badSchema, ar.m_strFileName);
        }
        m_pMatrix = std::make_unique<CFOMatrix>(m);
    }
    else
    {
        m_pMatrix.reset();
    }
    ar >> m_dRotateAngle;
    m_dRotateAngle = Finite(m_dRotateAngle, 0.0);
    ar >> m_crLine >> m_crBk >> m_crPattern >> m_crFont >> m_crShadow;
    ar >> m_nLineWidth >> m_nPenStyle >> m_nBrushType;
    m_nLineWidth = std::clamp(m_nLineWidth, 0, 1000);
    int sx = 0, sy = 0;
    ar >> m_bNullPen >> m_bTransparent >> m_nTransparentValue >> m_bShadow >> sx >> sy >> m_b3DLook;
    SetTransparentValue(m_nTransparentValue);
    m_szShadow = CSize(std::clamp(sx, -1000, 1000), std::clamp(sy, -1000, 1000));
    ar >> m_strFaceName >> m_nPointSize >> m_nWeight >> m_bItalic >> m_bUnderline >> m_bStrikeout;
    m_nPointSize = std::clamp(m_nPointSize, 1, 500);
    m_nWeight = std::clamp(m_nWeight, 0, 1000);
    ar >> m_dMinValue >> m_dMaxValue >> m_dCurrentValue >> m_strCurrentText;
    m_dMinValue = Finite(m_dMinValue, 0.0);
    m_dMaxValue = Finite(m_dMaxValue, 100.0);
    m_dCurrentValue = Finite(m_dCurrentValue, FO_NO_VALUE);
    CString key3;
    ar >> m_strKey1 >> m_strKey2 >> key3;
    SetKeyId3(key3);
    ar >> m_strStateString >> m_strStateType >> m_strValueChangeScript;
    ar >> m_bVisible >> m_bResizeProtect >> m_bRotateProtect >> m_bPolyObject >> m_bShowPorts;
    m_props.Serialize(ar);
    // A port record takes its class tag, version and two doubles at least.
    const DWORD_PTR nPorts = ar.ReadCount(22);
    m_aPorts.clear();
    for (DWORD_PTR i = 0; i < nPorts; ++i)
    {
        std::unique_ptr<CFOPortShape> port(
            static_cast<CFOPortShape*>(FOReadOwnedObject(ar, RUNTIME_CLASS(CFOPortShape))));
        port->SetOwner(this);
        m_aPorts.push_back(std::move(port));
    }
    UpdatePosition();
}

// Fields by property id

BOOL CFODrawShape::GetPropValue(FO_VALUE& value, int nPropId) const
{
    return GetFieldValue(value, nPropId) || m_props.GetValue(value, nPropId);
}

BOOL CFODrawShape::GetFieldValue(FO_VALUE& value, int nPropId) const
{
    switch (nPropId)
    {
    case FO_PROP_NAME:
        value = FO_VALUE::MakeString(m_strObjectName);
        return TRUE;
    case FO_PROP_CAPTION:
        value = FO_VALUE::MakeString(m_strCaption);
        return TRUE;
    case FO_PROP_KEY1:
        value = FO_VALUE::MakeString(m_strKey1);
        return TRUE;
    case FO_PROP_KEY2:
        value = FO_VALUE::MakeString(m_strKey2);
        return TRUE;
    case FO_PROP_KEY3:
        value = FO_VALUE::MakeString(m_strKey3);
        return TRUE;
    case FO_PROP_FACE_NAME:
        value = FO_VALUE::MakeString(m_strFaceName);
        return TRUE;
    case FO_PROP_POINT_SIZE:
        value = FO_VALUE::MakeInt(m_nPointSize);
        return TRUE;
    case FO_PROP_FONT_COLOR:
        value = FO_VALUE::MakeColor(m_crFont);
        return TRUE;
    case FO_PROP_WEIGHT:
        value = FO_VALUE::MakeInt(m_nWeight);
        return TRUE;
    case FO_PROP_ITALIC:
        value = FO_VALUE::MakeBool(m_bItalic);
        return TRUE;
    case FO_PROP_UNDERLINE:
        value = FO_VALUE::MakeBool(m_bUnderline);
        return TRUE;
    case FO_PROP_LINE_WIDTH:
        value = FO_VALUE::MakeInt(m_nLineWidth);
        return TRUE;
    case FO_PROP_LINE_COLOR:
        value = FO_VALUE::MakeColor(m_crLine);
        return TRUE;
    case FO_PROP_PEN_STYLE:
        value = FO_VALUE::MakeInt(m_nPenStyle);
        return TRUE;
    case FO_PROP_NULL_PEN:
        value = FO_VALUE::MakeBool(m_bNullPen);
        return TRUE;
    case FO_PROP_FILL_COLOR:
        value = FO_VALUE::MakeColor(m_crBk);
        return TRUE;
    case FO_PROP_BRUSH_TYPE:
        value = FO_VALUE::MakeInt(m_nBrushType);
        return TRUE;
    default:
        return FALSE;
    }
}

namespace
{
COLORREF ColorOf(const FO_VALUE& v)
{
    if (v.m_nValueType == FO_VALUE_COLOR)
        return v.m_crValue;
    if (v.m_nValueType == FO_VALUE_DWORD)
        return v.m_dwValue;
    return COLORREF(CFODrawHelper::RoundValue(v.GetAsDouble()));
}
int IntOf(const FO_VALUE& v)
{
    if (v.m_nValueType == FO_VALUE_INT)
        return v.m_nValue;
    if (v.m_nValueType == FO_VALUE_DWORD || v.m_nValueType == FO_VALUE_COLOR)
        return int(v.m_nValueType == FO_VALUE_DWORD ? v.m_dwValue : v.m_crValue);
    return CFODrawHelper::RoundValue(v.GetAsDouble());
}
BOOL BoolOf(const FO_VALUE& v)
{
    return v.m_nValueType == FO_VALUE_STRING ? !v.m_strValue.IsEmpty() : v.GetAsDouble() != 0.0;
}
} // namespace

BOOL CFODrawShape::PutFieldValue(int nPropId, const FO_VALUE& v)
{
    switch (nPropId)
    {
    case FO_PROP_NAME:
        SetObjectName(v.GetAsString());
        return TRUE;
    case FO_PROP_CAPTION:
        SetObjectCaption(v.GetAsString());
        return TRUE;
    case FO_PROP_KEY1:
        SetKeyId1(v.GetAsString());
        return TRUE;
    case FO_PROP_KEY2:
        SetKeyId2(v.GetAsString());
        return TRUE;
    case FO_PROP_KEY3:
        SetKeyId3(v.GetAsString());
        return TRUE;
    case FO_PROP_FACE_NAME:
        SetFaceName(v.GetAsString());
        return TRUE;
    case FO_PROP_POINT_SIZE:
        SetPointSize(IntOf(v));
        return TRUE;
    case FO_PROP_FONT_COLOR:
        SetFontColor(ColorOf(v));
        return TRUE;
    case FO_PROP_WEIGHT:
        SetWeight(IntOf(v));
        return TRUE;
    case FO_PROP_ITALIC:
        SetItalic(BoolOf(v));
        return TRUE;
    case FO_PROP_UNDERLINE:
        SetUnderline(BoolOf(v));
        return TRUE;
    case FO_PROP_LINE_WIDTH:
        SetLineWidth(IntOf(v));
        return TRUE;
    case FO_PROP_LINE_COLOR:
        SetLineColor(ColorOf(v));
        return TRUE;
    case FO_PROP_PEN_STYLE:
        SetPenStyle(IntOf(v));
        return TRUE;
    case FO_PROP_NULL_PEN:
        SetNullPen(BoolOf(v));
        return TRUE;
    case FO_PROP_FILL_COLOR:
        SetBkColor(ColorOf(v));
        return TRUE;
    case FO_PROP_BRUSH_TYPE:
        SetBrushType(IntOf(v));
        return TRUE;
    default:
        return FALSE;
    }
}

BOOL CFODrawShape::IsLock() const
{
    BOOL locked = FALSE;
    return GetPropBoolValue(locked, FO_PROP_LOCKED) && locked;
}

void CFODrawShape::CopyGeometryFrom(const CFODrawShape& src)
{
    const CRect old = GetMaxRect();
    m_aPoints = src.m_aPoints;
    m_aTrackPoints = src.m_aTrackPoints;
    if (src.m_pMatrix)
        m_pMatrix = std::make_unique<CFOMatrix>(*src.m_pMatrix);
    else
        m_pMatrix.reset();
    m_dRotateAngle = src.m_dRotateAngle;
    m_ptAnchor = src.m_ptAnchor;
    m_ptTrackAnchor = src.m_ptTrackAnchor;
    UpdateComp();
    NotifyChanged(&old);
}

BOOL CFODrawShape::IsSameGeometry(const CFODrawShape& src) const
{
    const bool sameMatrix =
        (!m_pMatrix && !src.m_pMatrix) || (m_pMatrix && src.m_pMatrix && *m_pMatrix == *src.m_pMatrix);
    return m_aPoints == src.m_aPoints && sameMatrix && m_ptAnchor == src.m_ptAnchor;
}
