#include "figkit/FODataModel.h"

#include "figkit/FOShapeState.h"
#include "figkit/FOEllipseShape.h"
#include "figkit/FOGroupShape.h"
#include "figkit/FOImageShape.h"
#include "figkit/FOPathShape.h"
#include "figkit/FOStaticShape.h"

#include "figkit/FOAction.h"

#include "figkit/FOArchiveHelper.h"
#include "figkit/FOBackShape.h"
#include "figkit/FOCompositeShape.h"
#include "figkit/FODrawHelper.h"
#include "figkit/FOEllipseShape2.h"
#include "figkit/FOHighShape.h"
#include "figkit/FOLineShape.h"
#include "figkit/FOLinkShape.h"
#include "figkit/FOPChordShape.h"
#include "figkit/FOPGaugeCircularShape.h"
#include "figkit/FOPVisualProxy.h"
#include "figkit/FOPGaugeVertLineShape.h"
#include "figkit/FOMenuButtonShape.h"
#include "figkit/FOPSimpleLabelShape.h"
#include "figkit/FOPValueDriverShapes.h"
#include "figkit/FOPWaterHighShape.h"
#include "figkit/FOPolygonShape.h"
#include "figkit/FORectShape.h"
#include "figkit/FOTimeChartShape.h"
#include "figkit/FOValueProperties.h"
#include "figkit/FOShapeTypes.h"
#include "figkit/FOWndControlShape.h"
#include "mfc/Archive.h"
#include "mfc/Dc.h"
#include "mfc/DocFile.h"
#include "mfc/File.h"
#include "mfc/OpenedFile.h"
#include "win32/CheckedHandleTable.h"

#include <QPainter>
#include <QRegion>

#include <algorithm>
#include <cwctype>

IMPLEMENT_SERIAL(CFODataModel, CObject, 0)

namespace
{
CCheckedHandleTable<CFODataModel>& ModelHandles()
{
    static CCheckedHandleTable<CFODataModel> table;
    return table;
}

// Assigns the part of `to` that class C describes from `from`; both are Cs.
template <class C> void AssignPart(CFODrawShape* to, const CFODrawShape* from)
{
    static_cast<C&>(*to) = static_cast<const C&>(*from);
}

struct PartAssigner
{
    const CRuntimeClass* pClass;
    void (*pfnAssign)(CFODrawShape*, const CFODrawShape*);
};

// The assignment of the nearest library class at or above pClass.
const PartAssigner* FindPartAssigner(const CRuntimeClass* pClass)
{
    static const PartAssigner kAssigners[] = {
        {RUNTIME_CLASS(CFOPWaterHighShape), AssignPart<CFOPWaterHighShape>},
        {RUNTIME_CLASS(CFOHighShape), AssignPart<CFOHighShape>},
        {RUNTIME_CLASS(CFOTimeChartShape), AssignPart<CFOTimeChartShape>},
        {RUNTIME_CLASS(CFOPChordShape), AssignPart<CFOPChordShape>},
        {RUNTIME_CLASS(CFOLinkShape), AssignPart<CFOLinkShape>},
        {RUNTIME_CLASS(CFOLineShape), AssignPart<CFOLineShape>},
        {RUNTIME_CLASS(CFOPSimpleLabelShape), AssignPart<CFOPSimpleLabelShape>},
        {RUNTIME_CLASS(CFOPGaugeCircularShape), AssignPart<CFOPGaugeCircularShape>},
        {RUNTIME_CLASS(CFOPGaugeVertLineShape), AssignPart<CFOPGaugeVertLineShape>},
        {RUNTIME_CLASS(CFOCompositeShape), AssignPart<CFOCompositeShape>},
        {RUNTIME_CLASS(CFOWndControlShape), AssignPart<CFOWndControlShape>},
        {RUNTIME_CLASS(CFOPolygonShape), AssignPart<CFOPolygonShape>},
        {RUNTIME_CLASS(CFOEllipseShape2), AssignPart<CFOEllipseShape2>},
        {RUNTIME_CLASS(CFORectShape), AssignPart<CFORectShape>},
        {RUNTIME_CLASS(CFODrawPortsShape), AssignPart<CFODrawPortsShape>},
        {RUNTIME_CLASS(CFODrawShape), AssignPart<CFODrawShape>},
    };
    for (; pClass; pClass = pClass->m_pBaseClass)
        for (const PartAssigner& a : kAssigners)
            if (a.pClass == pClass)
                return &a;
    return nullptr;
}

// Runtime classes answer "is it a composite" for a fraction of a dynamic_cast, which counts when
// a loaded screen of many shapes is walked.
template <class T> T* ShapeAs(CFODrawShape* shape)
{
    return shape->IsKindOf(RUNTIME_CLASS(T)) ? static_cast<T*>(shape) : nullptr;
}

template <class F> void ForEachShapeDeep(const FOPContainer& shapes, F&& f)
{
    for (CFODrawShape* shape : shapes)
    {
        f(shape);
        if (auto* comp = ShapeAs<CFOCompositeShape>(shape))
            ForEachShapeDeep(comp->GetCompList(), f);
    }
}
} // namespace

CFODataModel::CFODataModel()
    : m_pHistory(std::make_unique<CFOUndoHistory>(this)), m_dwModelHandle(ModelHandles().Add(this))
{
    DoInitData();
}

CFODataModel::CFODataModel(const CFODataModel& src)
    : CObject(), m_pHistory(std::make_unique<CFOUndoHistory>(this)), m_dwModelHandle(ModelHandles().Add(this))
{
    *this = src;
}

CFODataModel::~CFODataModel()
{
    ModelHandles().Remove(m_dwModelHandle);
    m_pHistory->Clear();
    std::vector<IFODataModelObserver*> observers = m_observers;
    for (IFODataModelObserver* observer : observers)
        observer->OnModelDestroyed(this);
    m_observers.clear();
    RemoveAllShapes();
}

CFODataModel* CFODataModel::FromModelHandle(DWORD dwHandle)
{
    return ModelHandles().Find(dwHandle);
}

CFODataModel& CFODataModel::operator=(const CFODataModel& src)
{
    if (this == &src)
        return *this;
    RemoveAllShapes();
    m_userProps = src.m_userProps;
    m_bDesignMode = src.m_bDesignMode;
    m_bModified = src.m_bModified;
    m_sizeCanvas = src.m_sizeCanvas;
    m_crBk = src.m_crBk;
    m_crPageBk = src.m_crPageBk;
    m_nS2Value = src.m_nS2Value;
    SetBackDrawComp(src.m_pBackComp ? static_cast<CFOBackShape*>(src.m_pBackComp->Copy()) : nullptr);
    for (CFODrawShape* shape : src.m_shapes)
    {
        m_shapes.AddTail(shape->Copy());
    }
    AttachLoadedShapes();
    return *this;
}

CFODataModel* CFODataModel::Copy() const
{
    return new CFODataModel(*this);
}

void CFODataModel::DoInitData()
{
    m_sizeCanvas = CSize(1000, 1000);
    m_crBk = 0xFFFFFF;
    m_crPageBk = 0xFFFFFF;
    m_nS2Value = 0;
}

void CFODataModel::ResetContents()
{
    m_pHistory->Clear();
    RemoveAllShapes();
    m_userProps.RemoveAll();
    m_pBackComp.reset();
    m_names.clear();
    m_nextNumber.clear();
    DoInitData();
    m_bModified = FALSE;
}

// Shapes

void CFODataModel::InsertShape(CFODrawShape* pShape)
{
    InsertShapeAt(m_shapes.Count(), pShape);
}

void CFODataModel::InsertShapeAt(int nIndex, CFODrawShape* pShape)
{
    if (!pShape || m_shapes.Find(pShape) >= 0)
        return;
    m_shapes.InsertAt(nIndex, pShape);
    pShape->SetModel(this);
    if (!pShape->GetParentWnd())
        pShape->SetParentWnd(GetTimerWnd());
    if (!pShape->GetObjectName().IsEmpty())
        ++m_names[pShape->GetObjectName().str()];
    m_bKey3IndexValid = FALSE;
    SetModifiedFlag(TRUE);
    NotifyObserver(FO_HINT_SHAPE_ADDED, pShape);
}

void CFODataModel::DetachShape(CFODrawShape* pShape)
{
    DropHandlesOf(pShape);
    const CString& name = pShape->GetObjectName();
    if (!name.IsEmpty())
    {
        auto it = m_names.find(name.str());
        if (it != m_names.end() && --it->second <= 0)
            m_names.erase(it);
    }
    pShape->SetParentWnd(nullptr);
    pShape->SetModel(nullptr);
}

BOOL CFODataModel::RemoveShape(CFODrawShape* pShape)
{
    // Kept alive until the views have let go of it.
    CFOShapePtr<CFODrawShape> keep = m_shapes.TakeAt(m_shapes.Find(pShape));
    if (!keep)
        return FALSE;
    m_bKey3IndexValid = FALSE;
    NotifyObserver(FO_HINT_SHAPE_REMOVED, pShape);
    DetachShape(pShape);
    SetModifiedFlag(TRUE);
    return TRUE;
}

void CFODataModel::RemoveAllShapes()
{
    CFODrawShapeSet shapes = std::move(m_shapes);
    m_key3Index.clear();
    m_bKey3IndexValid = FALSE;
    for (CFODrawShape* shape : shapes)
        DetachShape(shape);
    for (auto& entry : m_handles)
        entry.second->SetHandle(0);
    m_handles.clear();
    m_names.clear();
    if (!shapes.IsEmpty())
        NotifyObserver(FO_HINT_RESET);
}

CFODrawShape* CFODataModel::FindShapeWithKey1(const CString& strKey) const
{
    for (CFODrawShape* shape : m_shapes)
        if (shape->GetKeyId1() == strKey)
            return shape;
    for (CFODrawShape* shape : m_shapes)
        if (auto* comp = dynamic_cast<CFOCompositeShape*>(shape))
            if (CFODrawShape* found = comp->FindShapeWithKey1(strKey))
                return found;
    return nullptr;
}

CFODrawShape* CFODataModel::FindCompWithName(const CString& strName) const
{
    for (CFODrawShape* shape : m_shapes)
        if (shape->GetObjectName() == strName)
            return shape;
    for (CFODrawShape* shape : m_shapes)
        if (auto* comp = dynamic_cast<CFOCompositeShape*>(shape))
            if (CFODrawShape* found = comp->FindShapeWithName(strName))
                return found;
    return nullptr;
}

CFODrawShape* CFODataModel::HitTest(CPoint point) const
{
    for (int i = m_shapes.Count() - 1; i >= 0; --i)
    {
        CFODrawShape* shape = m_shapes.GetObject(i);
        if (shape->IsVisible() && shape->GetMaxRect().PtInRect(point) && shape->PtInShape(point))
            return shape;
    }
    return nullptr;
}

// Factory

CFODrawShape* CFODataModel::DoCreateShapeByType(UINT nType, CRect& rcCreate, CString, CFOToolBoxItem*)
{
    CFODrawShape* shape = nullptr;
    switch (nType)
    {
    case FO_COMP_SHAPE:
        shape = new CFODrawShape;
        break;
    case FO_COMP_PORTSSHAPE:
        shape = new CFODrawPortsShape;
        break;
    case FO_COMP_LINE:
        shape = new CFOLineShape;
        break;
    case FO_COMP_LINK:
        shape = new CFOLinkShape;
        break;
    case FO_COMP_ELLIPSE:
        shape = new CFOEllipseShape2;
        break;
    case FO_COMP_ELLIPSE_SHAPE:
        shape = new CFOEllipseShape;
        break;
    case FO_COMP_PATH:
        shape = new CFOPathShape;
        break;
    case FO_COMP_IMAGE:
        shape = new CFOImageShape;
        break;
    case FO_COMP_STATIC:
        shape = new CFOStaticShape;
        break;
    case FO_COMP_GROUP:
        shape = new CFOGroupShape;
        break;
    case FO_COMP_POLYGON:
        shape = new CFOPolygonShape;
        break;
    case FO_COMP_RECTANGLE:
        shape = new CFORectShape;
        break;
    case FO_COMP_COMPOSITE:
        shape = new CFOCompositeShape;
        break;
    case FO_COMP_WNDCONTROL:
        shape = new CFOWndControlShape;
        break;
    case FO_COMP_CHORD:
        shape = new CFOPChordShape;
        break;
    case FO_COMP_GAUGE_CIRCULAR:
        shape = new CFOPGaugeCircularShape;
        break;
    case FO_COMP_GAUGE_VERTLINE:
        shape = new CFOPGaugeVertLineShape;
        break;
    case FO_COMP_TIMECHART:
        shape = new CFOTimeChartShape;
        break;
    case FO_COMP_SIMPLELABEL:
        shape = new CFOPSimpleLabelShape;
        break;
    case FO_COMP_MENUBUTTON:
        shape = new CFOMenuButtonShape;
        break;
    case FO_COMP_HIGH:
        shape = new CFOHighShape;
        break;
    case FO_COMP_WATERHIGH:
        shape = new CFOPWaterHighShape;
        break;
    case FO_COMP_MOVEPATH:
        shape = new CFOPMovePathShape;
        break;
    case FO_COMP_SCALEREF:
        shape = new CFOPScaleRefShape;
        break;
    default:
        if (FOShapeMaker make = FOFindShapeType(nType))
            shape = make();
        if (!shape)
            return nullptr;
        break;
    }
    shape->AddRef();
    CRect rc = rcCreate;
    shape->Create(rc, CString());
    shape->SetObjectName(GetUniqueName(nType));
    return shape;
}

CFODrawShape* CFODataModel::DoCreateCompositeShapeByType(UINT nType, CRect& rcCreate, CString strName,
                                                         CFOToolBoxItem* pItem)
{
    if (nType != FO_COMP_COMPOSITE)
        return nullptr;
    return DoCreateShapeByType(nType, rcCreate, strName, pItem);
}

void CFODataModel::DoInitCreateShape(CFODrawShape* pShape)
{
    if (!pShape)
        return;
    pShape->SetModel(this);
    FOAddDefaultPropValues(pShape);
    if (!pShape->GetParentWnd())
        pShape->SetParentWnd(GetTimerWnd());
}

// User properties

void CFODataModel::AddStringUserProperty(int nPropId, const CString& strValue, const CString& strName)
{
    if (!m_userProps.Find(nPropId))
        m_userProps.Add(CFOValueProperties(nPropId, FO_VALUE::MakeString(strValue), strName));
}

void CFODataModel::AddIntUserProperty(int nPropId, int nValue, const CString& strName)
{
    if (!m_userProps.Find(nPropId))
        m_userProps.Add(CFOValueProperties(nPropId, FO_VALUE::MakeInt(nValue), strName));
}

void CFODataModel::AddBoolUserProperty(int nPropId, BOOL bValue, const CString& strName)
{
    if (!m_userProps.Find(nPropId))
        m_userProps.Add(CFOValueProperties(nPropId, FO_VALUE::MakeBool(bValue), strName));
}

void CFODataModel::AddDoubleUserProperty(int nPropId, double dValue, const CString& strName)
{
    if (!m_userProps.Find(nPropId))
        m_userProps.Add(CFOValueProperties(nPropId, FO_VALUE::MakeDouble(dValue), strName));
}

void CFODataModel::AddColorUserProperty(int nPropId, COLORREF crValue, const CString& strName)
{
    if (!m_userProps.Find(nPropId))
        m_userProps.Add(CFOValueProperties(nPropId, FO_VALUE::MakeColor(crValue), strName));
}

BOOL CFODataModel::GetPropStringValue(CString& strValue, int nPropId) const
{
    FO_VALUE v;
    if (!m_userProps.GetValue(v, nPropId))
        return FALSE;
    strValue = v.GetAsString();
    return TRUE;
}

BOOL CFODataModel::GetPropIntValue(int& nValue, int nPropId) const
{
    FO_VALUE v;
    if (!m_userProps.GetValue(v, nPropId))
        return FALSE;
    nValue = v.m_nValueType == FO_VALUE_INT ? v.m_nValue : CFODrawHelper::RoundValue(v.GetAsDouble());
    return TRUE;
}

BOOL CFODataModel::GetPropBoolValue(BOOL& bValue, int nPropId) const
{
    FO_VALUE v;
    if (!m_userProps.GetValue(v, nPropId))
        return FALSE;
    bValue = v.GetAsDouble() != 0.0;
    return TRUE;
}

BOOL CFODataModel::GetPropDoubleValue(double& dValue, int nPropId) const
{
    FO_VALUE v;
    if (!m_userProps.GetValue(v, nPropId))
        return FALSE;
    dValue = v.GetAsDouble();
    return TRUE;
}

BOOL CFODataModel::GetPropValue(FO_VALUE& value, int nPropId) const
{
    if (nPropId == FO_PROP_MODEL_BKCOLOR)
    {
        value = FO_VALUE::MakeColor(m_crBk);
        return TRUE;
    }
    return m_userProps.GetValue(value, nPropId);
}

void CFODataModel::PutPropValue(int nPropId, const FO_VALUE& value)
{
    if (nPropId == FO_PROP_MODEL_BKCOLOR)
    {
        const COLORREF cr = value.m_nValueType == FO_VALUE_COLOR   ? value.m_crValue
                            : value.m_nValueType == FO_VALUE_DWORD ? value.m_dwValue
                                                                   : COLORREF(value.GetAsDouble());
        if (cr != m_crBk)
        {
            m_crBk = cr;
            NotifyObserver(FO_HINT_UPDATE_ALL);
        }
        return;
    }
    if (!m_userProps.PutValue(nPropId, value))
        m_userProps.Add(CFOValueProperties(nPropId, value));
}

// Modes and observers

void CFODataModel::SetDesignMode(BOOL bDesign)
{
    bDesign = bDesign ? TRUE : FALSE;
    if (m_bDesignMode == bDesign)
        return;
    m_bDesignMode = bDesign;
    // A screen that runs shows its shapes' current states; back in design it looks as designed.
    for (CFODrawShape* shape : m_shapes)
        if (bDesign)
            FORestoreDesignLook(shape);
        else
            FORefreshShapeState(shape);
    if (bDesign)
    {
        // Animated shapes stop their timers when they see design mode.
        std::vector<CFODrawShape*> all;
        ForEachShapeDeep(m_shapes, [&all](CFODrawShape* s) { all.push_back(s); });
        for (CFODrawShape* shape : all)
            shape->DoStartTimer();
    }
    NotifyObserver(FO_HINT_DESIGN_MODE);
}

void CFODataModel::SetModifiedFlag(BOOL bModified)
{
    const BOOL changed = (m_bModified != 0) != (bModified != 0);
    m_bModified = bModified ? TRUE : FALSE;
    if (changed)
        UpdateTitle();
}

void CFODataModel::AddObserver(IFODataModelObserver* pObserver)
{
    if (pObserver && !HasObserver(pObserver))
        m_observers.push_back(pObserver);
}

void CFODataModel::RemoveObserver(IFODataModelObserver* pObserver)
{
    m_observers.erase(std::remove(m_observers.begin(), m_observers.end(), pObserver), m_observers.end());
}

BOOL CFODataModel::HasObserver(const IFODataModelObserver* pObserver) const
{
    return std::find(m_observers.begin(), m_observers.end(), pObserver) != m_observers.end();
}

CWnd* CFODataModel::GetTimerWnd() const
{
    for (IFODataModelObserver* observer : m_observers)
        if (CWnd* wnd = observer->GetObserverWnd())
            return wnd;
    return nullptr;
}

template <class F> void CFODataModel::ForEachObserver(F&& f)
{
    // Observers may come and go while they are told; each is told only while it is still one.
    const std::vector<IFODataModelObserver*> observers = m_observers;
    for (IFODataModelObserver* observer : observers)
        if (HasObserver(observer))
            f(observer);
}

void CFODataModel::NotifyObserver(LPARAM lHint, CObject* pHint)
{
    ForEachObserver(
        [&](IFODataModelObserver* observer)
        {
            if (lHint == FO_HINT_LOADED || lHint == FO_HINT_RESET)
                observer->OnModelReset(this);
            else
                observer->OnModelUpdate(this, lHint, pHint);
        });
}

void CFODataModel::InvalidateRect(const CRect& rcCanvas)
{
    if (rcCanvas.IsRectEmpty())
        return;
    ForEachObserver([&](IFODataModelObserver* observer) { observer->OnModelInvalidateRect(this, rcCanvas); });
}

CRect CFODataModel::GetShapeDirtyRect(const CFODrawShape* pShape) const
{
    // Out of design mode no handles are drawn: one pixel covers the rounding of the outline.
    const int margin = GetHandleMargin();
    CRect rc = pShape->GetMaxRect();
    rc.InflateRect(margin, margin);
    return rc;
}

void CFODataModel::InvalidateShape(CFODrawShape* pShape)
{
    if (pShape)
        InvalidateRect(GetShapeDirtyRect(pShape));
}

void CFODataModel::OnShapeChanged(CFODrawShape* pShape, const CRect* pOldRect)
{
    if (!pShape || m_observers.empty())
        return;
    CRect dirty = GetShapeDirtyRect(pShape);
    if (pOldRect && !pOldRect->IsRectEmpty())
    {
        CRect old = *pOldRect;
        old.InflateRect(GetHandleMargin(), GetHandleMargin());
        dirty.UnionRect(&dirty, &old);
    }
    ForEachObserver([&](IFODataModelObserver* observer)
                    { observer->OnModelShapeChanged(this, pShape, dirty); });
}

void CFODataModel::UpdateTitle()
{
    NotifyObserver(FO_HINT_TITLE);
}

void CFODataModel::DoActionChange(const CObject*) {}

// Names

CString CFODataModel::CreateBaseName(UINT nType)
{
    switch (nType)
    {
    case FO_COMP_LINE:
        return L"Line";
    case FO_COMP_LINK:
        return L"Link";
    case FO_COMP_ELLIPSE:
        return L"Ellipse";
    case FO_COMP_POLYGON:
        return L"Polygon";
    case FO_COMP_RECTANGLE:
        return L"Rectangle";
    case FO_COMP_COMPOSITE:
        return L"Composite";
    case FO_COMP_WNDCONTROL:
        return L"Control";
    case FO_COMP_SIMPLELABEL:
        return L"Label";
    case FO_COMP_MENUBUTTON:
        return L"MenuButton";
    case FO_COMP_TIMECHART:
        return L"TimeChart";
    default:
    {
        CString base;
        base.Format(L"Shape%u_", nType);
        return base;
    }
    }
}

CString CFODataModel::CreateBaseCaption(UINT nType)
{
    return CreateBaseName(nType);
}

BOOL CFODataModel::IsNameUsed(const CString& strName) const
{
    return m_names.count(strName.str()) != 0;
}

CString CFODataModel::GetUniqueName(UINT nType)
{
    const CString base = CreateBaseName(nType);
    int& next = m_nextNumber[base.str()];
    if (next < 1)
        next = 1;
    CString name;
    for (;; ++next)
    {
        name.Format(L"%s%d", base.GetString(), next);
        if (!IsNameUsed(name))
            break;
    }
    ++next;
    return name;
}

CString CFODataModel::GetUniqueCaption(UINT nType)
{
    const CString base = CreateBaseCaption(nType);
    std::unordered_map<std::wstring, int> captions;
    ForEachShapeDeep(m_shapes, [&captions](CFODrawShape* s) { captions[s->GetObjectCaption().str()] = 1; });
    CString caption;
    for (int n = 1;; ++n)
    {
        caption.Format(L"%s%d", base.GetString(), n);
        if (!captions.count(caption.str()))
            return caption;
    }
}

void CFODataModel::OnShapeNameChanged(CFODrawShape* pShape, const CString& strOldName)
{
    if (m_shapes.Find(pShape) < 0)
        return;
    if (!strOldName.IsEmpty())
    {
        auto it = m_names.find(strOldName.str());
        if (it != m_names.end() && --it->second <= 0)
            m_names.erase(it);
    }
    if (!pShape->GetObjectName().IsEmpty())
        ++m_names[pShape->GetObjectName().str()];
}

// Page and drawing

void CFODataModel::SetCanvasSize(CSize size)
{
    m_sizeCanvas = CSize(std::clamp(int(size.cx), 1, 1000000), std::clamp(int(size.cy), 1, 1000000));
}

void CFODataModel::SetBackDrawComp(CFOBackShape* pBack)
{
    m_pBackComp.reset(pBack);
    if (pBack)
        pBack->SetModel(this);
}

BOOL CFODataModel::GetClipPieces(CDC* pDC, const CRect& rcClip, std::vector<CRect>& pieces, CRect& rcBounds)
{
    constexpr int kMaxPieces = 64;
    const QPainter* painter = pDC->GetPainter();
    if (!painter || !painter->hasClipping() || painter->worldTransform().type() > QTransform::TxTranslate)
        return FALSE;
    const QRegion region = painter->clipRegion();
    if (region.rectCount() < 2 || region.rectCount() > kMaxPieces)
        return FALSE;
    const QRect bounds = region.boundingRect();
    rcBounds = CRect(bounds.left(), bounds.top(), bounds.right() + 1, bounds.bottom() + 1);
    for (const QRect& r : region)
    {
        CRect piece;
        const CRect rc(r.left(), r.top(), r.right() + 1, r.bottom() + 1);
        if (piece.IntersectRect(&rc, &rcClip))
            pieces.push_back(piece);
    }
    return TRUE;
}

void CFODataModel::OnDraw(CDC* pDC, const CRect& rcClip)
{
    if (!pDC)
        return;
    // The painter fills and clips to a plain rectangle much faster than to a region, so a clip of
    // a few pieces is drawn piece by piece; the pieces do not overlap, so every pixel is drawn as
    // the whole region would draw it.
    std::vector<CRect> pieces;
    CRect bounds;
    if (GetClipPieces(pDC, rcClip, pieces, bounds))
    {
        // The painter keeps the region itself across each piece (the DC would restore it as a path,
        // which the painter clips to slowly); the shapes leave the DC as they found it.
        QPainter* painter = pDC->GetPainter();
        for (const CRect& piece : pieces)
        {
            painter->save();
            pDC->IntersectClipRect(&piece);
            OnDrawBack(pDC, piece);
            OnDrawShape(pDC, piece);
            painter->restore();
        }
        // Tells the DC that the clip changed again, so that nothing it kept of a piece is reused.
        pDC->IntersectClipRect(&bounds);
        return;
    }
    OnDrawBack(pDC, rcClip);
    OnDrawShape(pDC, rcClip);
}

void CFODataModel::OnDrawBack(CDC* pDC, const CRect& rcClip)
{
    // Without a background component the page fill below covers a clip inside the page.
    const CRect page = GetPagePosition();
    const bool bInPage = rcClip.left >= page.left && rcClip.top >= page.top && rcClip.right <= page.right &&
                         rcClip.bottom <= page.bottom;
    if (m_pBackComp || !bInPage)
        pDC->FillSolidRect(&rcClip, m_crBk);
    if (m_pBackComp)
    {
        m_pBackComp->OnDraw(pDC);
        return;
    }
    pDC->FillSolidRect(&page, m_crPageBk);
}

void CFODataModel::OnDrawShape(CDC* pDC, const CRect& rcClip)
{
    for (CFODrawShape* shape : m_shapes)
    {
        if (!shape->IsVisible())
            continue;
        CRect hit;
        const CRect box = shape->GetMaxRect();
        if (!hit.IntersectRect(&box, &rcClip) || !pDC->RectVisible(&box))
            continue;
        shape->OnDraw(pDC);
    }
}

// Handles and the key 3 index

DWORD CFODataModel::GetShapeHandle(CFODrawShape* pShape)
{
    if (!pShape || pShape->GetModel() != this)
        return 0;
    const DWORD existing = pShape->GetHandle();
    if (existing)
    {
        auto it = m_handles.find(existing);
        if (it != m_handles.end() && it->second == pShape)
            return existing;
    }
    // Handles are never given twice, so a stale one finds nothing.
    DWORD handle = m_dwNextHandle++;
    if (handle == 0)
        handle = m_dwNextHandle++;
    m_handles[handle] = pShape;
    pShape->SetHandle(handle);
    return handle;
}

CFODrawShape* CFODataModel::ShapeFromHandle(DWORD dwHandle) const
{
    if (!dwHandle)
        return nullptr;
    auto it = m_handles.find(dwHandle);
    return it == m_handles.end() ? nullptr : it->second;
}

void CFODataModel::DropShapeHandle(CFODrawShape* pShape)
{
    if (!pShape)
        return;
    const DWORD handle = pShape->GetHandle();
    auto it = m_handles.find(handle);
    if (it != m_handles.end() && it->second == pShape)
        m_handles.erase(it);
    pShape->SetHandle(0);
}

void CFODataModel::DropHandlesOf(CFODrawShape* pShape)
{
    DropShapeHandle(pShape);
    if (auto* comp = dynamic_cast<CFOCompositeShape*>(pShape))
        ForEachShapeDeep(comp->GetCompList(), [this](CFODrawShape* s) { DropShapeHandle(s); });
}

std::wstring CFODataModel::NormalizeKey(const CString& strKey)
{
    CString key(strKey);
    key.Trim();
    key.MakeLower();
    return key.str();
}

void CFODataModel::RebuildKey3Index()
{
    // The lists keep their memory; a key no shape has any more just stays empty.
    for (auto& entry : m_key3Index)
        entry.second.clear();
    for (CFODrawShape* shape : m_shapes)
        if (!shape->GetNormalizedKey3().empty())
            m_key3Index[shape->GetNormalizedKey3()].push_back(shape);
    m_nKey3IndexCount = m_shapes.Count();
    m_bKey3IndexValid = TRUE;
}

void CFODataModel::OnShapeKeyChanged(CFODrawShape*)
{
    m_bKey3IndexValid = FALSE;
}

const std::vector<CFODrawShape*>* CFODataModel::FindShapesWithKey3(const std::wstring& strKey)
{
    if (!m_bKey3IndexValid || m_nKey3IndexCount != m_shapes.Count())
        RebuildKey3Index();
    auto it = m_key3Index.find(strKey);
    return it == m_key3Index.end() || it->second.empty() ? nullptr : &it->second;
}

// Screen file

void CFODataModel::RebuildNames(const FOPContainer& shapes)
{
    m_names.clear();
    m_names.reserve(size_t(shapes.Count()));
    for (CFODrawShape* shape : shapes)
        if (!shape->GetObjectName().IsEmpty())
            ++m_names[shape->GetObjectName().str()];
}

void CFODataModel::AttachLoadedShapes()
{
    m_bKey3IndexValid = FALSE;
    CWnd* wnd = GetTimerWnd();
    for (CFODrawShape* shape : m_shapes)
    {
        shape->SetModel(this);
        if (!shape->GetParentWnd())
            shape->SetParentWnd(wnd);
    }
    RebuildNames(m_shapes);
    ForEachShapeDeep(m_shapes,
                     [this](CFODrawShape* s)
                     {
                         if (auto* link = ShapeAs<CFOLinkShape>(s))
                             link->ReconnectPorts(this);
                     });
    // Loaded screens get their values pushed at once; the lookup is ready before the first push.
    RebuildKey3Index();
    if (!m_bDesignMode)
        for (CFODrawShape* shape : m_shapes)
            FORefreshShapeState(shape);
}

void CFODataModel::WriteRecord(CArchive& ar, int nValue)
{
    ar << XDG_SIGNATURE << int(XDG_FILE_VERSION);
    ar << nValue;
    ar << int(m_sizeCanvas.cx) << int(m_sizeCanvas.cy) << m_crBk << m_crPageBk;
    ar << m_dwSnapFlags << BYTE(m_bBorderShow ? 1 : 0) << BYTE(m_bPointLimit ? 1 : 0);
    m_userProps.Serialize(ar);
    ar << BYTE(m_pBackComp ? 1 : 0);
    if (m_pBackComp)
        FOWriteOwnedObject(ar, *m_pBackComp);
    int flag = 0;
    SerializeXdgShapes(ar, m_shapes, flag);
}

void CFODataModel::ReadRecord(CArchive& ar, int& nValue)
{
    DWORD signature = 0;
    int version = 0;
    ar >> signature >> version;
    if (signature != XDG_SIGNATURE || version < 1 || version > XDG_FILE_VERSION)
        AfxThrowArchiveException(CArchiveException::badSchema, ar.m_strFileName);
    ResetContents();
    ar >> nValue;
    m_nS2Value = nValue;
    int cx = 0, cy = 0;
    ar >> cx >> cy >> m_crBk >> m_crPageBk;
    SetCanvasSize(CSize(cx, cy));
    if (version >= 2)
    {
        DWORD snap = 0;
        BYTE border = 0, limit = 0;
        ar >> snap >> border >> limit;
        m_dwSnapFlags = snap & FO_SNAP_ALL;
        m_bBorderShow = border != 0;
        m_bPointLimit = limit != 0;
    }
    m_userProps.Serialize(ar);
    BYTE hasBack = 0;
    ar >> hasBack;
    if (hasBack)
        SetBackDrawComp(static_cast<CFOBackShape*>(FOReadOwnedObject(ar, RUNTIME_CLASS(CFOBackShape))));
    int flag = 0;
    SerializeXdgShapes(ar, m_shapes, flag);
    AttachLoadedShapes();
    NotifyObserver(FO_HINT_LOADED);
}

void CFODataModel::Serialize(CArchive& ar)
{
    int value = m_nS2Value;
    SerializeS2(ar, value);
}

void CFODataModel::SerializeS2(CArchive& ar, int& nValue)
{
    if (ar.IsStoring())
    {
        m_nS2Value = nValue;
        WriteRecord(ar, nValue);
    }
    else
    {
        ReadRecord(ar, nValue);
    }
}

void CFODataModel::SerializeXdgShapes(CArchive& ar, CFODrawShapeSet& shapes, int& nFlag)
{
    if (ar.IsStoring())
    {
        ar.WriteCount(DWORD_PTR(shapes.Count()));
        for (CFODrawShape* shape : shapes)
            FOWriteOwnedObject(ar, *shape);
        nFlag = 0;
        return;
    }
    // A shape takes at least its class tag and the first fields of the base record.
    const DWORD_PTR count = ar.ReadCount(16);
    shapes.Reserve(int(std::min<DWORD_PTR>(count, 1000000)));
    for (DWORD_PTR i = 0; i < count; ++i)
    {
        shapes.AddTail(static_cast<CFODrawShape*>(FOReadOwnedObject(ar, RUNTIME_CLASS(CFODrawShape))));
    }
    ResolveStandInShapes(shapes);
    nFlag = 1;
}

CRuntimeClass* CFODataModel::FactoryClassOfType(UINT nType)
{
    // A trial shape from the factory; the names it took are given back.
    const auto nextNumber = m_nextNumber;
    CRect rc;
    CFOShapePtr<CFODrawShape> probe =
        CFOShapePtr<CFODrawShape>::Adopt(DoCreateShapeByType(nType, rc, CString()));
    m_nextNumber = nextNumber;
    return probe ? probe->GetRuntimeClass() : nullptr;
}

void CFODataModel::ResolveStandInShapes(CFODrawShapeSet& shapes)
{
    // A shape of its own class has the type id its constructor gives; one whose stored type differs
    // may be a stand-in. The factory is asked once per such type.
    std::unordered_map<const CRuntimeClass*, UINT> ownTypes;
    std::unordered_map<UINT, CRuntimeClass*> factoryClasses;
    for (int i = 0; i < shapes.Count(); ++i)
    {
        CFODrawShape* stored = shapes.GetObject(i);
        CRuntimeClass* storedClass = stored->GetRuntimeClass();
        const UINT type = stored->GetType();
        auto own = ownTypes.find(storedClass);
        if (own == ownTypes.end())
        {
            std::unique_ptr<CObject> fresh(storedClass->CreateObject());
            auto* freshShape = dynamic_cast<CFODrawShape*>(fresh.get());
            own = ownTypes.emplace(storedClass, freshShape ? freshShape->GetType() : type).first;
        }
        if (own->second == type)
            continue;
        auto known = factoryClasses.find(type);
        if (known == factoryClasses.end())
            known = factoryClasses.emplace(type, FactoryClassOfType(type)).first;
        CRuntimeClass* real = known->second;
        const PartAssigner* assigner = FindPartAssigner(storedClass);
        if (!real || real == storedClass || !real->IsDerivedFrom(storedClass) || !assigner)
            continue;
        CObject* made = real->CreateObject();
        auto* live = dynamic_cast<CFODrawShape*>(made);
        if (!live)
        {
            delete made;
            continue;
        }
        CFOShapePtr<CFODrawShape> keep(live);
        assigner->pfnAssign(live, stored);
        live->SetType(type);
        live->UpdateComp();
        shapes.SetAt(i, live);
    }
}

CFile* CFODataModel::GetFile(LPCWSTR lpszFileName, UINT nOpenFlags, CFileException* pError)
{
    return AfxOpenFile(lpszFileName, nOpenFlags, pError);
}

void CFODataModel::ReleaseFile(CFile* pFile, BOOL bAbort)
{
    AfxReleaseFile(pFile, bAbort);
}

BOOL CFODataModel::OpenDocument(LPCWSTR lpszPathName)
{
    if (!AfxLoadArchiveFile(lpszPathName, [this](CArchive& ar) { Serialize(ar); }))
    {
        ResetContents();
        return FALSE;
    }
    m_bModified = FALSE;
    return TRUE;
}

BOOL CFODataModel::SaveDocument(LPCWSTR lpszPathName)
{
    if (!AfxSaveArchiveFile(lpszPathName, [this](CArchive& ar) { Serialize(ar); }))
        return FALSE;
    SetModifiedFlag(FALSE);
    return TRUE;
}

// Undo history

BOOL CFODataModel::Do(CFOAction* pAction, BOOL bExecute)
{
    return m_pHistory->Do(pAction, bExecute);
}

int CFODataModel::UndoMacro(int nSteps)
{
    return m_pHistory->UndoMacro(nSteps);
}

int CFODataModel::RedoMacro(int nSteps)
{
    return m_pHistory->RedoMacro(nSteps);
}

void CFODataModel::SetClean()
{
    m_pHistory->SetClean();
}

CFOPropAction* CFODataModel::GetShapesPropAction()
{
    return new CFOPropAction(this);
}

BOOL CFODataModel::ChangeShapesValueProp(const FOPContainer& shapes, const FO_VALUE& value, int nPropId)
{
    if (shapes.IsEmpty())
        return FALSE;
    std::unique_ptr<CFOPropAction> action(GetShapesPropAction());
    action->AddEntry(nPropId, value, shapes);
    if (!Do(action.get(), TRUE))
        return FALSE;
    action.release();
    return TRUE;
}

BOOL CFODataModel::ChangeShapesIntProp(const FOPContainer& shapes, int nValue, int nPropId)
{
    return ChangeShapesValueProp(shapes, FO_VALUE::MakeInt(nValue), nPropId);
}

BOOL CFODataModel::ChangeShapesUIntProp(const FOPContainer& shapes, UINT nValue, int nPropId)
{
    return ChangeShapesValueProp(shapes, FO_VALUE::MakeDWord(nValue), nPropId);
}

BOOL CFODataModel::ChangeShapesBoolProp(const FOPContainer& shapes, BOOL bValue, int nPropId)
{
    return ChangeShapesValueProp(shapes, FO_VALUE::MakeBool(bValue), nPropId);
}

BOOL CFODataModel::ChangeShapesStringProp(const FOPContainer& shapes, const CString& strValue, int nPropId)
{
    return ChangeShapesValueProp(shapes, FO_VALUE::MakeString(strValue), nPropId);
}

BOOL CFODataModel::ChangeShapesColorProp(const FOPContainer& shapes, COLORREF crValue, int nPropId)
{
    return ChangeShapesValueProp(shapes, FO_VALUE::MakeColor(crValue), nPropId);
}

BOOL CFODataModel::SetShapeOrder(const std::vector<CFODrawShape*>& order)
{
    if (int(order.size()) != m_shapes.Count())
        return FALSE;
    std::vector<CFODrawShape*> sortedNew(order);
    std::vector<CFODrawShape*> sortedOld(m_shapes.begin(), m_shapes.end());
    std::sort(sortedNew.begin(), sortedNew.end());
    std::sort(sortedOld.begin(), sortedOld.end());
    if (sortedNew != sortedOld)
        return FALSE;
    CFODrawShapeSet reordered;
    reordered.Reserve(int(order.size()));
    for (CFODrawShape* shape : order)
        reordered.AddTail(shape);
    m_shapes = std::move(reordered);
    SetModifiedFlag(TRUE);
    NotifyObserver(FO_HINT_UPDATE_ALL);
    return TRUE;
}

void CFODataModel::ResetContent()
{
    m_pHistory->Clear();
    ResetContents();
    NotifyObserver(FO_HINT_RESET);
}

void CFODataModel::SetBorderShow(BOOL bShow)
{
    if (m_bBorderShow == bShow)
        return;
    m_bBorderShow = bShow;
    NotifyObserver(FO_HINT_UPDATE_ALL);
}

void CFODataModel::SetDocTitle(const CString& strTitle)
{
    m_strDocTitle = strTitle;
    NotifyObserver(FO_HINT_TITLE);
}

void CFODataModel::AddPolygonShape(UINT nType, const CArray<CPoint, CPoint>& points)
{
    if (points.GetSize() < 2)
        return;
    CFOShapePtr<CFOPolygonShape> shape(new CFOPolygonShape);
    shape->SetType(nType);
    shape->Create(points.GetData(), int(points.GetSize()));
    shape->UpdatePosition();
    shape->SetObjectName(GetUniqueName(nType));
    DoInitCreateShape(shape);
    InsertShape(shape);
    SetModifiedFlag(TRUE);
}
