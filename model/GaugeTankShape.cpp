#include "model/GaugeTankShape.h"

#include "figkit/FODrawHelper.h"
#include "figkit/FOGeometry.h"
#include "figkit/FOValueProperties.h"
#include "mfc/Archive.h"
#include "mfc/Dc.h"

#include <algorithm>
#include <climits>
#include <cmath>

IMPLEMENT_SERIAL(CFOPGaugeTankShape, CFORectShape, 0)

// Tick mark, minor and major tick length, label side, label digits.
const int CFOPGaugeTankShape::kStyleProps[CFOPMeterScale::STYLE_COUNT] = {1912, 1909, 1908, 1911, 1913};

namespace
{
int ToInt(double d)
{
    if (!std::isfinite(d))
        return 0;
    return int(std::clamp(d, double(INT_MIN), double(INT_MAX)));
}

void Defaults(CFOPGaugeTankShape& t)
{
    t.SetType(616);
    t.SetPolyObject(FALSE);
    t.SetRotateProtect(TRUE);
    t.SetBrushType(44);
    t.SetBkColor(0xF4EEF1);
    t.SetPatternColor(0x7EB5F8);
}
} // namespace

CFOPGaugeTankShape::CFOPGaugeTankShape()
{
    Defaults(*this);
    m_dCurrentValue = 0.0;
}

CFOPGaugeTankShape::CFOPGaugeTankShape(const CFOPGaugeTankShape& src) : CFORectShape()
{
    Defaults(*this);
    m_dCurrentValue = 0.0;
    *this = src;
}

CFOPGaugeTankShape::~CFOPGaugeTankShape()
{
    m_timer.Stop(this);
}

CFOPGaugeTankShape& CFOPGaugeTankShape::operator=(const CFOPGaugeTankShape& src)
{
    if (this == &src)
        return *this;
    CFORectShape::operator=(src);
    auto& source = const_cast<CFOPGaugeTankShape&>(src);
    m_pScale.reset(source.GetMeterScale()->Copy());
    m_pScale->SetMeterShape(this);
    m_pIndicator.reset(src.m_pIndicator ? src.m_pIndicator->Copy() : nullptr);
    return *this;
}

CFODrawShape* CFOPGaugeTankShape::Copy() const
{
    return new CFOPGaugeTankShape(*this);
}

void CFOPGaugeTankShape::Create(CRect& rcPos, CString strCaption)
{
    CFORectShape::Create(rcPos, strCaption);
}

void CFOPGaugeTankShape::ApplyStyleProps(CFOPMeterScale* pScale) const
{
    for (int i = 0; i < CFOPMeterScale::STYLE_COUNT; ++i)
    {
        int v = pScale->GetStyle(i);
        if (GetPropIntValue(v, kStyleProps[i]))
            pScale->SetStyle(i, v);
    }
    COLORREF cr = pScale->GetScaleColor();
    if (GetPropColorValue(cr, PROP_SCALE_COLOR1))
        pScale->SetScaleColor(cr);
    cr = pScale->GetLabelColor();
    if (GetPropColorValue(cr, PROP_SCALE_COLOR2))
        pScale->SetLabelColor(cr);
}

CFOPMeterScale* CFOPGaugeTankShape::GenMeterScale()
{
    auto* scale = new CFOPMeterScale;
    scale->SetMinimum(ToInt(GetMinValue()));
    scale->SetMaximum(ToInt(GetMaxValue()));
    ApplyStyleProps(scale);
    return scale;
}

CFOPIndicator* CFOPGaugeTankShape::GenIndicator()
{
    auto* bar = new CFOPIndicatorBar;
    bar->AddPhase(0.0, 100.0, 0x0000FF);
    bar->SetBarWidth(10.0);
    bar->SetQuantizeUnit(20.0);
    bar->SetValue(m_dCurrentValue);
    return bar;
}

CFOPMeterScale* CFOPGaugeTankShape::GetMeterScale()
{
    if (!m_pScale)
    {
        m_pScale.reset(GenMeterScale());
        m_pScale->SetMeterShape(this);
    }
    return m_pScale.get();
}

CFOPIndicator* CFOPGaugeTankShape::GetIndicator()
{
    if (!m_pIndicator)
        m_pIndicator.reset(GenIndicator());
    return m_pIndicator.get();
}

void CFOPGaugeTankShape::SetCurrentValue(double dValue)
{
    const double max = GetMeterScale()->GetMaximum();
    CFORectShape::SetCurrentValue(max < dValue ? max : dValue);
    GetIndicator()->SetValue(dValue);
}

void CFOPGaugeTankShape::OnPropertyChange(int nPropId, CFOBaseProperties* pProps)
{
    CFORectShape::OnPropertyChange(nPropId, pProps);
    CFOPMeterScale* scale = GetMeterScale();
    int v = 0;
    const int* style = std::find(std::begin(kStyleProps), std::end(kStyleProps), nPropId);
    if (nPropId == FO_PROP_MIN_VALUE)
        scale->SetMinimum(ToInt(GetMinValue()));
    else if (nPropId == FO_PROP_MAX_VALUE)
        scale->SetMaximum(ToInt(GetMaxValue()));
    else if (nPropId == PROP_SCALE_COLOR1 || nPropId == PROP_SCALE_COLOR2)
        ApplyStyleProps(scale);
    else if (style != std::end(kStyleProps) && GetPropIntValue(v, nPropId))
    {
        const int index = int(style - kStyleProps);
        // Out of range: the scale keeps its style.
        if (scale->GetStyle(index) == v)
            return;
        scale->SetStyle(index, v);
        if (scale->GetStyle(index) != v)
            return;
    }
    else
        return;
    UpdateComp();
}

CPoint CFOPGaugeTankShape::GetMeterStartPoint() const
{
    const CRect d = GetDrawRect();
    return CPoint(CFODrawHelper::RoundValue((d.left + d.right) / 2.0), d.bottom - d.Height() / 10);
}

CPoint CFOPGaugeTankShape::GetMeterEndPoint() const
{
    const CRect d = GetDrawRect();
    return CPoint(CFODrawHelper::RoundValue((d.left + d.right) / 2.0), d.top + d.Height() / 10);
}

CRect CFOPGaugeTankShape::GetMeterRect() const
{
    CRect d = GetDrawRect();
    d.DeflateRect(20, 20);
    return d;
}

void CFOPGaugeTankShape::GeometryUpdated(CFOArea* pArea)
{
    CFORectShape::GeometryUpdated(pArea);
    if (m_pScale)
        m_pScale->GeometryUpdated();
}

void CFOPGaugeTankShape::Serialize(CArchive& ar)
{
    CFORectShape::Serialize(ar);
    if (ar.IsStoring())
    {
        GetMeterScale()->Serialize(ar);
        GetIndicator()->Serialize(ar);
        ar << m_dCurrentValue;
        return;
    }
    m_pScale.reset();
    GetMeterScale()->Serialize(ar);
    m_pIndicator.reset();
    GetIndicator()->Serialize(ar);
    ar >> m_dCurrentValue;
}

void CFOPGaugeTankShape::OnDrawFlat(CDC* pDC)
{
    CFORectShape::OnDrawFlat(pDC);
    if (XVKIsAnimationOn(this))
        DoStartTimer();
    const CRect r = GetDrawRect();
    const int w = r.right - r.left;
    FOPSimplePolygon body;
    body.Add(CPoint(r.left, r.top));
    body.Add(CPoint(r.left, r.bottom));
    body.ArcTo(CPoint(r.left + w / 2, r.bottom + w / 4), CPoint(r.right, r.bottom));
    body.Add(CPoint(r.right, r.top));
    body.ArcTo(CPoint(r.left + w / 2, r.top + w / 4), CPoint(r.left, r.top));
    FillPoly(pDC, body.GetData(), body.GetCount(), GetBkColor(), GetPatternColor(), GetBrushType());
    CFODrawHelper::FillEllipse(pDC, CRect(r.left, r.top - w / 4, r.right, r.top + w / 4), GetBkColor(),
                               GetPatternColor(), GetBrushType());
    const COLORREF old = pDC->SetTextColor(GetFontColor());
    CFOPMeterScale* scale = GetMeterScale();
    scale->Draw(pDC);
    GetIndicator()->Draw(pDC, scale);
    pDC->SetTextColor(old);
}

void CFOPGaugeTankShape::DoAddCustProp()
{
    CFORectShape::DoAddCustProp();
    XVKAddAnimationProp(this, FALSE);
    const struct
    {
        int id;
        FO_VALUE value;
    } props[] = {{PROP_SCALE_COLOR1, FO_VALUE::MakeColor(0)}, {PROP_SCALE_COLOR2, FO_VALUE::MakeColor(0)},
                 {PROP_STYLE_1911, FO_VALUE::MakeInt(1)},     {PROP_STYLE_1912, FO_VALUE::MakeInt(1)},
                 {PROP_STYLE_1913, FO_VALUE::MakeInt(0)},     {PROP_STYLE_1909, FO_VALUE::MakeInt(2)},
                 {PROP_STYLE_1908, FO_VALUE::MakeInt(4)}};
    for (const auto& p : props)
    {
        const CFOValueProperties prop(p.id, p.value);
        AddNewProperty(&prop);
    }
}

void CFOPGaugeTankShape::SetParentWnd(CWnd* pWnd)
{
    m_timer.OnParentWnd(this, pWnd);
    CFORectShape::SetParentWnd(pWnd);
}

void CFOPGaugeTankShape::OnTimer(int nTimerId)
{
    if (!m_timer.IsMine(nTimerId))
    {
        CFORectShape::OnTimer(nTimerId);
        return;
    }
    double v = GetIndicator()->GetValue() + 25.0;
    if (v > GetMeterScale()->GetMaximum())
        v = 0.0;
    GetIndicator()->SetValue(v);
    SetCurrentValue(v);
    UpdateControl();
}

BOOL CFOPGaugeTankShape::DoAnimate()
{
    double v = GetIndicator()->GetValue() + 5.0;
    if (v >= GetMeterScale()->GetMaximum())
        v = 0.0;
    GetIndicator()->SetValue(v);
    return TRUE;
}

void CFOPGaugeTankShape::DoStartTimer()
{
    m_timer.Start(this, TIMER_PERIOD, TRUE);
}
