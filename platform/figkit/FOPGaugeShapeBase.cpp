#include "figkit/FOPGaugeShapeBase.h"

#include "figkit/FOArchiveHelper.h"
#include "figkit/FODataModel.h"
#include "figkit/FODrawHelper.h"
#include "mfc/Archive.h"
#include "mfc/Dc.h"

#include <algorithm>
#include <climits>
#include <cmath>

IMPLEMENT_SERIAL(CFOPGaugeShapeBase, CFODrawPortsShape, 0)

namespace
{
const int kVersion = 2;

int ToInt(double d)
{
    if (!std::isfinite(d))
        return 0;
    return int(std::clamp(d, double(INT_MIN), double(INT_MAX)));
}
} // namespace

CFOPGaugeShapeBase::CFOPGaugeShapeBase() = default;

CFOPGaugeShapeBase::CFOPGaugeShapeBase(const CFOPGaugeShapeBase& src) : CFODrawPortsShape()
{
    *this = src;
}

CFOPGaugeShapeBase::~CFOPGaugeShapeBase() = default;

CFOPGaugeShapeBase& CFOPGaugeShapeBase::operator=(const CFOPGaugeShapeBase& src)
{
    if (this == &src)
        return *this;
    CFODrawPortsShape::operator=(src);
    m_pScale.reset(src.m_pScale ? src.m_pScale->Copy() : nullptr);
    if (m_pScale)
        m_pScale->SetMeterShape(this);
    m_pIndicator.reset(src.m_pIndicator ? src.m_pIndicator->Copy() : nullptr);
    m_pNumber.reset(src.m_pNumber ? src.m_pNumber->Copy() : nullptr);
    m_bNumberMade = src.m_bNumberMade;
    return *this;
}

CFOPMeterScale* CFOPGaugeShapeBase::GenMeterScale()
{
    return new CFOPMeterScale;
}

CFOPIndicator* CFOPGaugeShapeBase::GenIndicator()
{
    return new CFOPIndicatorBar;
}

CFOPMeterScale* CFOPGaugeShapeBase::GetMeterScale()
{
    if (!m_pScale)
    {
        m_pScale.reset(GenMeterScale());
        if (!m_pScale)
            m_pScale = std::make_unique<CFOPMeterScale>();
        m_pScale->SetMeterShape(this);
        SyncRange();
    }
    return m_pScale.get();
}

CFOPIndicator* CFOPGaugeShapeBase::GetIndicator()
{
    if (!m_pIndicator)
    {
        m_pIndicator.reset(GenIndicator());
        if (!m_pIndicator)
            m_pIndicator = std::make_unique<CFOPIndicator>();
        const double v = CFODrawPortsShape::GetCurrentValue();
        if (v != FO_NO_VALUE)
            m_pIndicator->SetValue(v);
    }
    return m_pIndicator.get();
}

CFOPIndicator* CFOPGaugeShapeBase::GetNumber()
{
    if (!m_bNumberMade)
    {
        m_bNumberMade = TRUE;
        m_pNumber.reset(GenNumber());
    }
    if (m_pNumber)
        m_pNumber->SetValue(GetIndicator()->GetValue());
    return m_pNumber.get();
}

void CFOPGaugeShapeBase::SyncRange()
{
    if (!m_pScale)
        return;
    m_pScale->SetMinimum(ToInt(GetMinValue()));
    m_pScale->SetMaximum(ToInt(GetMaxValue()));
}

void CFOPGaugeShapeBase::SetCurrentValue(double dValue)
{
    CFODrawPortsShape::SetCurrentValue(dValue);
    if (dValue != FO_NO_VALUE)
        GetIndicator()->SetValue(dValue);
}

void CFOPGaugeShapeBase::OnPropertyChange(int nPropId, CFOBaseProperties* pProps)
{
    CFODrawPortsShape::OnPropertyChange(nPropId, pProps);
    if (nPropId == FO_PROP_MIN_VALUE || nPropId == FO_PROP_MAX_VALUE)
        SyncRange();
}

CPoint CFOPGaugeShapeBase::GetMeterStartPoint() const
{
    const CRect d = GetDrawRect();
    return CPoint(CFODrawHelper::RoundValue((d.left + d.right) / 2.0), d.bottom - d.Height() / 10);
}

CPoint CFOPGaugeShapeBase::GetMeterEndPoint() const
{
    const CRect d = GetDrawRect();
    return CPoint(CFODrawHelper::RoundValue((d.left + d.right) / 2.0), d.top + d.Height() / 10);
}

CRect CFOPGaugeShapeBase::GetMeterRect() const
{
    CRect d = GetDrawRect();
    d.DeflateRect(d.Width() / 16, d.Height() / 16);
    return d;
}

void CFOPGaugeShapeBase::Serialize(CArchive& ar)
{
    CFODrawPortsShape::Serialize(ar);
    const int version = FOSerializeVersion(ar, kVersion);
    if (ar.IsStoring())
    {
        GetMeterScale()->Serialize(ar);
        GetIndicator()->Serialize(ar);
        CFOPIndicator* number = GetNumber();
        ar << LONG(number ? 1 : 0);
        if (number)
            number->Serialize(ar);
        return;
    }
    m_pScale.reset();
    m_pIndicator.reset();
    m_pNumber.reset();
    m_bNumberMade = FALSE;
    m_bDragging = FALSE;
    if (version < 2)
        return;
    GetMeterScale()->Serialize(ar);
    GetIndicator()->Serialize(ar);
    LONG hasNumber;
    ar >> hasNumber;
    if (hasNumber != 0 && hasNumber != 1)
        AfxThrowArchiveException(CArchiveException::badSchema, ar.m_strFileName);
    m_bNumberMade = TRUE;
    if (hasNumber)
    {
        m_pNumber.reset(GenNumber());
        if (!m_pNumber)
            m_pNumber = std::make_unique<CFOPIndicatorNumber>();
        m_pNumber->Serialize(ar);
    }
    // The shape's range wins over the one stored with the scale.
    SyncRange();
}

void CFOPGaugeShapeBase::DrawFace(CDC* pDC)
{
    CFODrawPortsShape::OnDrawFlat(pDC);
}

void CFOPGaugeShapeBase::OnDrawFlat(CDC* pDC)
{
    DrawFace(pDC);
    CFOPMeterScale* scale = GetMeterScale();
    SyncRange();
    scale->Draw(pDC);
    GetIndicator()->Draw(pDC, scale);
    if (CFOPIndicator* number = GetNumber())
        number->Draw(pDC, scale);
}

void CFOPGaugeShapeBase::SetValueFromPoint(CPoint point)
{
    CFOPMeterScale* scale = GetMeterScale();
    SyncRange();
    double v = GetIndicator()->Quantize(scale->PointToValue(point));
    const double lo = std::min(GetMinValue(), GetMaxValue()), hi = std::max(GetMinValue(), GetMaxValue());
    v = std::clamp(v, lo, hi);
    SetCurrentValue(v);
    UpdateControl();
}

BOOL CFOPGaugeShapeBase::OnLButtonDown(UINT nFlags, CPoint point)
{
    CFODrawPortsShape::OnLButtonDown(nFlags, point);
    CFODataModel* model = GetModel();
    m_bDragging = model && !model->IsDesignMode() && GetDrawRect().PtInRect(point);
    if (m_bDragging)
        SetValueFromPoint(point);
    return m_bDragging;
}

BOOL CFOPGaugeShapeBase::OnMouseMove(UINT nFlags, CPoint point)
{
    CFODrawPortsShape::OnMouseMove(nFlags, point);
    if (!m_bDragging)
        return FALSE;
    SetValueFromPoint(point);
    return TRUE;
}

BOOL CFOPGaugeShapeBase::OnLButtonUp(UINT nFlags, CPoint point)
{
    CFODrawPortsShape::OnLButtonUp(nFlags, point);
    if (m_bDragging)
        SetValueFromPoint(point);
    m_bDragging = FALSE;
    return FALSE;
}

void CFOPGaugeShapeBase::OnCancelMode()
{
    if (!m_bDragging)
        return;
    m_bDragging = FALSE;
    UpdateControl();
}
