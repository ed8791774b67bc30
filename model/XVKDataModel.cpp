#include "model/XVKDataModel.h"

#include "figkit/FOEllipseShape2.h"
#include "figkit/FOHighShape.h"
#include "figkit/FOLinkShape.h"
#include "figkit/FOPChordShape.h"
#include "figkit/FOPGaugeCircularShape.h"
#include "figkit/FOPGaugeVertLineShape.h"
#include "figkit/FOPSimpleLabelShape.h"
#include "figkit/FOPWaterHighShape.h"
#include "figkit/FOShapeState.h"
#include "figkit/FORectShape.h"
#include "figkit/FOTimeChartShape.h"
#include "mfc/Archive.h"
#include "model/AnchorShape.h"
#include "model/AnimatedLinkShape.h"
#include "model/ExtMeterShape.h"
#include "model/FOCpuUsageShape.h"
#include "model/FOHighEllipseShape.h"
#include "model/GaugeShapes.h"
#include "model/GaugeTankShape.h"
#include "model/MyDeferentShape.h"
#include "model/MyNewPipeShape.h"
#include "model/MyPieProgressShape.h"
#include "model/MyPushChartShape.h"
#include "model/SliderShapes.h"
#include "model/OwnServer.h"
#include "model/ParamObj.h"
#include "model/XFOCorsssLineShape.h"
#include "model/XFODemoShape.h"

#include <algorithm>

IMPLEMENT_SERIAL(CXVKDataModel, CFODataModel, 0)

namespace
{
typedef CFODrawShape* (*ShapeMaker)();

template <class T> CFODrawShape* Make()
{
    return new T;
}

struct FactoryEntry
{
    UINT nType;
    ShapeMaker pfnMake;
    // Default size; 0 x 0 keeps the rectangle as given.
    int cx;
    int cy;
};

// The shapes this factory builds. A type whose own class is not written yet is built on that
// class's diagram-library base, with its type id set.
const FactoryEntry kFactory[] = {
    {256, Make<CFOTimeChartShape>, 500, 320},
    {601, Make<CFORectShape>, 70, 40},
    {602, Make<CFOEllipseShape2>, 70, 40},
    {605, Make<CExtEllipseShape>, 160, 160},
    {607, Make<CExtMeterShape>, 160, 160},
    {615, Make<CMyPushChartShape>, 500, 320},
    {616, Make<CFOPGaugeTankShape>, 80, 160},
    {617, Make<CFOPGaugeKnobShape>, 240, 240},
    {618, Make<CFOPGaugeMultiPhaseEllipseShape>, 240, 240},
    {619, Make<CFOPGaugeMultiPhaseBarShape>, 70, 280},
    {620, Make<CAnchorShape>, 120, 160},
    {621, Make<CMyPieProgressShape>, 160, 160},
    {622, Make<CAnimatedLinkShape>, 160, 160},
    {623, Make<CFOCpuUsageShape>, 500, 320},
    {624, Make<CMyHorzSliderShape>, 160, 40},
    {625, Make<CMyVertSliderShape>, 40, 160},
    {626, Make<CMyDeferentShape>, 240, 60},
    {696, Make<CXFOCorsssLineShape>, 0, 0},
    {697, Make<CMyNewPipeShape>, 0, 0},
    {699, Make<CFOHighEllipseShape>, 160, 160},
};

const FactoryEntry* FindEntry(UINT nType)
{
    for (const FactoryEntry& e : kFactory)
        if (e.nType == nType)
            return &e;
    return nullptr;
}

// Types whose bound value switches Figkit property 1609.
bool SetsValueOnProperty(UINT type)
{
    static const UINT kTypes[] = {20,  22,  92,  240, 241, 242, 269, 271, 276, 288, 289, 292,
                                  293, 295, 605, 607, 616, 620, 621, 622, 623, 626, 697, 698};
    return std::find(std::begin(kTypes), std::end(kTypes), type) != std::end(kTypes);
}

bool IsSwitchType(UINT type)
{
    return type == 34 || type == 89;
}

bool IsInstrumentType(UINT type)
{
    return type >= 633 && type <= 695;
}

// Copies `from` into `to` through the assignment of Base when both are Base, else through the
// deepest library base they share.
template <class Base> void AssignAs(CFODrawShape* to, const CFODrawShape* from)
{
    auto* t = dynamic_cast<Base*>(to);
    auto* f = dynamic_cast<const Base*>(from);
    if (t && f)
    {
        *t = *f;
        return;
    }
    auto* tp = dynamic_cast<CFODrawPortsShape*>(to);
    auto* fp = dynamic_cast<const CFODrawPortsShape*>(from);
    if (tp && fp)
    {
        *tp = *fp;
        return;
    }
    *to = *from;
}

const wchar_t kFillDirections[] = L"bottom->top@top->bottom@right->left@left->right";
} // namespace

CXVKDataModel::CXVKDataModel()
{
    CreateUserProperties();
}

CXVKDataModel::CXVKDataModel(const CXVKDataModel& src) : CFODataModel()
{
    *this = src;
}

CXVKDataModel::~CXVKDataModel() = default;

CXVKDataModel& CXVKDataModel::operator=(const CXVKDataModel& src)
{
    CFODataModel::operator=(src);
    m_strFilePath = src.m_strFilePath;
    return *this;
}

CFODataModel* CXVKDataModel::Copy() const
{
    return new CXVKDataModel(*this);
}

void CXVKDataModel::CreateUserProperties()
{
    AddStringUserProperty(XVK_PROP_SCREEN_15001, CString(), CString());
    AddStringUserProperty(XVK_PROP_CLOSE_PROC, CString(), CString());
    AddStringUserProperty(XVK_PROP_SCREEN_15003, CString(), CString());
    AddStringUserProperty(XVK_PROP_START_PROC, CString(), CString());
    AddStringUserProperty(XVK_PROP_CLOSE_PROC2, CString(), CString());
    AddStringUserProperty(XVK_PROP_TIMER_PROC, CString(), CString());
    AddIntUserProperty(XVK_PROP_TIMER_PERIOD, 1000, CString());
}

void CXVKDataModel::ResetContents()
{
    CFODataModel::ResetContents();
    CreateUserProperties();
}

// Factory

CSize CXVKDataModel::GetDefaultSize(UINT nType)
{
    const FactoryEntry* e = FindEntry(nType);
    return e ? CSize(e->cx, e->cy) : CSize(0, 0);
}

BOOL CXVKDataModel::IsOwnFactoryType(UINT nType)
{
    return FindEntry(nType) != nullptr;
}

CFODrawShape* CXVKDataModel::DoCreateShapeByType(UINT nType, CRect& rcCreate, CString strName,
                                                 CFOToolBoxItem*)
{
    if (nType == 0)
        return nullptr;
    const FactoryEntry* e = FindEntry(nType);
    if (!e)
        return CFODataModel::DoCreateShapeByType(nType, rcCreate, strName, nullptr);

    CRect rc = rcCreate;
    rc.NormalizeRect();
    if ((rc.IsRectEmpty() || (rc.Width() <= 10 && rc.Height() < 20)) && e->cx > 0)
    {
        // Centred on the corner the caller gave.
        const int left = rcCreate.left - e->cx / 2;
        const int top = rcCreate.top - e->cy / 2;
        rc = CRect(left, top, left + e->cx, top + e->cy);
    }
    CFODrawShape* shape = e->pfnMake();
    shape->SetType(nType);
    shape->AddRef();
    shape->Create(rc, CString());
    if (nType == 601 || nType == 602)
    {
        shape->RemoveAllPorts();
        shape->PutPropBoolValue(FO_PROP_TOOLBOX_DEFAULTS, TRUE);
        shape->SetLineWidth(1);
        shape->SetPenStyle(1);
        shape->SetBrushType(0);
    }
    else
    {
        shape->UpdatePosition();
    }
    shape->SetObjectName(GetUniqueName(shape->GetType()));
    return shape;
}

// Screen file

void CXVKDataModel::SerializeS2(CArchive& ar, int& nValue)
{
    CFODataModel::SerializeS2(ar, nValue);
    if (ar.IsLoading())
        CreateUserProperties();
}

void CXVKDataModel::SerializeXdgShapes(CArchive& ar, CFODrawShapeSet& shapes, int& nFlag)
{
    if (ar.IsStoring())
    {
        // The demo shape belongs to the loaded screen only.
        CFODrawShapeSet stored;
        for (CFODrawShape* shape : shapes)
            if (shape->GetType() != XFO_DEMO_SHAPE_TYPE)
                stored.AddTail(shape);
        CFODataModel::SerializeXdgShapes(ar, stored, nFlag);
        nFlag = 0;
        Static2DynShapes(ar, shapes);
        return;
    }
    CFODataModel::SerializeXdgShapes(ar, shapes, nFlag);
    nFlag = 0;
    Static2DynShapes(ar, shapes);
}

void CXVKDataModel::Static2DynShapes(CArchive& ar, CFODrawShapeSet& shapes)
{
    if (ar.IsStoring())
        return;

    // Demo shapes stored by older programs go; the screen gets exactly one below.
    for (int i = shapes.Count() - 1; i >= 0; --i)
    {
        CFODrawShape* shape = shapes.GetObject(i);
        if (shape->GetType() == XFO_DEMO_SHAPE_TYPE)
            shapes.RemoveAt(i);
    }

    for (int i = 0; i < shapes.Count(); ++i)
    {
        CFODrawShape* old = shapes.GetObject(i);
        const CString& key2 = old->GetKeyId2();
        const CString& key3 = old->GetKeyId3();
        const bool variable = !key3.IsEmpty() && (key3[0] == L'#' || key3[0] == L'$');
        const bool foreignItem = !key2.IsEmpty() && !key3.IsEmpty() && !IsOwnServerName(key2);
        if (!variable && !foreignItem)
            continue;

        CFOShapePtr<CFODrawShape> live;
        UINT newType = 0;
        switch (old->GetType())
        {
        case 2:
            live = new CFOPSimpleLabelShape;
            AssignAs<CFODrawPortsShape>(live, old);
            newType = FO_COMP_SIMPLELABEL;
            break;
        case 23:
            live = FindEntry(699)->pfnMake();
            AssignAs<CFODrawPortsShape>(live, old);
            newType = 699;
            break;
        case 27:
            live = new CFOPWaterHighShape;
            AssignAs<CFOPolygonShape>(live, old);
            newType = FO_COMP_WATERHIGH;
            break;
        case 30:
            live = new CFOHighShape;
            AssignAs<CFORectShape>(live, old);
            newType = FO_COMP_HIGH;
            break;
        default:
            continue;
        }
        live->SetType(newType);
        if (newType == 699 || newType == FO_COMP_HIGH)
        {
            live->SetStateString(kFillDirections);
            if (live->GetStateType().IsEmpty())
                live->SetStateType(L"bottom->top");
        }
        live->UpdateComp();
        shapes.SetAt(i, live);
    }

    // Every loaded screen carries one demo shape at the end.
    RebuildNames(shapes);
    auto* demo = new CXFODemoShape;
    demo->SetModel(this);
    demo->SetParentWnd(GetTimerWnd());
    CRect empty;
    demo->Create(empty, CString());
    demo->UpdatePosition();
    demo->SetObjectName(GetUniqueName(XFO_DEMO_SHAPE_TYPE));
    demo->UpdateComp();
    demo->SetMainObj(FALSE);
    shapes.AddTail(demo);
}

BOOL CXVKDataModel::OpenDocument(LPCWSTR lpszPathName)
{
    return CFODataModel::OpenDocument(lpszPathName);
}

BOOL CXVKDataModel::SaveDocument(LPCWSTR lpszPathName)
{
    return CFODataModel::SaveDocument(lpszPathName);
}

// Value push

BOOL CXVKDataModel::SetShapeValue(CFODrawShape* pShape, const FO_VALUE& value, int)
{
    if (!pShape)
        return FALSE;
    const double current = pShape->GetCurrentValue();
    double next = FO_NO_VALUE;
    bool numeric = true;
    switch (value.m_nValueType)
    {
    case FO_VALUE_BOOL:
        next = value.m_bValue == 1 ? 1.0 : 0.0;
        break;
    case FO_VALUE_INT:
        next = value.m_nValue;
        break;
    case FO_VALUE_FLOAT:
        next = float(current) == value.m_fValue ? current : double(value.m_fValue);
        break;
    case FO_VALUE_DOUBLE:
        next = value.m_dValue;
        break;
    case FO_VALUE_DWORD:
        next = value.m_dwValue;
        break;
    default:
        numeric = false;
        break;
    }
    if (!numeric || next == current)
        next = FO_NO_VALUE;

    BOOL changed = FALSE;
    const UINT type = pShape->GetType();
    if (numeric)
    {
        if (next != FO_NO_VALUE)
        {
            pShape->SetCurrentValue(next);
            // The shape's states, value ranges and hide condition follow the value.
            FOApplyShapeValue(pShape, next);
            changed = TRUE;
        }
    }
    else if (value.m_nValueType == FO_VALUE_STRING)
    {
        if (value.m_strValue != pShape->GetCurrentTextValue())
        {
            pShape->SetCurrentTextValue(value.m_strValue);
            if (type == FO_COMP_SIMPLELABEL)
            {
                if (auto* label = dynamic_cast<CFOPSimpleLabelShape*>(pShape))
                    label->SetLabelText(value.m_strValue);
                else
                    pShape->SetObjectCaption(value.m_strValue);
            }
            changed = TRUE;
        }
    }

    if (changed)
    {
        if (SetsValueOnProperty(type))
            pShape->PutPropBoolValue(FO_PROP_VALUE_ON, next != 0.0);
        else if (IsSwitchType(type))
            pShape->PutPropBoolValue(FO_PROP_SWITCH_STATE, next != 0.0);
    }
    return changed;
}

void CXVKDataModel::EventParamData(CFODrawShape* pExcept, const CString& strName, FO_VALUE& value,
                                   CFOTypedShapeObList* pChanged, int nKind)
{
    wchar_t prefix = 0;
    switch (nKind)
    {
    case PARAM_KIND_RUNTIME:
        prefix = L'@';
        break;
    case PARAM_KIND_GLOBAL:
        prefix = L'#';
        break;
    case PARAM_KIND_SYSTEM:
        prefix = L'$';
        break;
    default:
        return;
    }
    const std::vector<CFODrawShape*>* bound = FindShapesWithKey3(NormalizeKey(strName));
    if (!bound)
        return;
    // Setting values never changes keys, so the list stays valid while it is walked.
    for (CFODrawShape* shape : *bound)
    {
        if (shape == pExcept)
            continue;
        const CString& key3 = shape->GetKeyId3();
        if (key3.IsEmpty() || key3[0] != prefix)
            continue;
        if (SetShapeValue(shape, value, 0) && pChanged && !IsInstrumentType(shape->GetType()))
            pChanged->AddTail(shape);
    }
}

void CXVKDataModel::UpdateParamData(const CString& strName, FO_VALUE& value, CFOTypedShapeObList* pChanged,
                                    int nKind)
{
    EventParamData(nullptr, strName, value, pChanged, nKind);
}
