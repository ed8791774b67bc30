#include "figkit/FOMatrix.h"

#include "figkit/FODrawHelper.h"
#include "mfc/Archive.h"

#include <cmath>
#include <numbers>

CFOMatrix CFOMatrix::Rotation(double angle, double cx, double cy)
{
    const double rad = angle * std::numbers::pi / 180.0;
    double c = std::cos(rad);
    double s = std::sin(rad);
    // Exact quarter turns keep integer points integer.
    if (std::fabs(c) < 1e-12)
        c = 0.0;
    if (std::fabs(s) < 1e-12)
        s = 0.0;
    CFOMatrix m(c, s, -s, c, 0.0, 0.0);
    m.m_dx = cx - (c * cx - s * cy);
    m.m_dy = cy - (s * cx + c * cy);
    return m;
}

BOOL CFOMatrix::IsIdentity() const
{
    return m_11 == 1.0 && m_12 == 0.0 && m_21 == 0.0 && m_22 == 1.0 && m_dx == 0.0 && m_dy == 0.0;
}

void CFOMatrix::ChangeValue(double& x, double& y) const
{
    const double nx = m_11 * x + m_21 * y + m_dx;
    const double ny = m_12 * x + m_22 * y + m_dy;
    x = nx;
    y = ny;
}

FOPPoint CFOMatrix::ChangeValue(const POINT& pt) const
{
    double x = pt.x;
    double y = pt.y;
    ChangeValue(x, y);
    return FOPPoint(CFODrawHelper::RoundValue(x), CFODrawHelper::RoundValue(y));
}

CFOMatrix CFOMatrix::Inverted() const
{
    const double det = m_11 * m_22 - m_12 * m_21;
    if (det == 0.0 || !std::isfinite(det))
        return CFOMatrix();
    CFOMatrix inv(m_22 / det, -m_12 / det, -m_21 / det, m_11 / det, 0.0, 0.0);
    inv.m_dx = -(inv.m_11 * m_dx + inv.m_21 * m_dy);
    inv.m_dy = -(inv.m_12 * m_dx + inv.m_22 * m_dy);
    return inv;
}

void CFOMatrix::ChangeValueBack(double& x, double& y) const
{
    const double det = m_11 * m_22 - m_12 * m_21;
    if (det == 0.0 || !std::isfinite(det))
        return;
    Inverted().ChangeValue(x, y);
}

FOPPoint CFOMatrix::ChangeValueBack(const POINT& pt) const
{
    double x = pt.x;
    double y = pt.y;
    ChangeValueBack(x, y);
    return FOPPoint(CFODrawHelper::RoundValue(x), CFODrawHelper::RoundValue(y));
}

CFOMatrix CFOMatrix::Then(const CFOMatrix& n) const
{
    CFOMatrix r;
    r.m_11 = m_11 * n.m_11 + m_12 * n.m_21;
    r.m_12 = m_11 * n.m_12 + m_12 * n.m_22;
    r.m_21 = m_21 * n.m_11 + m_22 * n.m_21;
    r.m_22 = m_21 * n.m_12 + m_22 * n.m_22;
    r.m_dx = m_dx * n.m_11 + m_dy * n.m_21 + n.m_dx;
    r.m_dy = m_dx * n.m_12 + m_dy * n.m_22 + n.m_dy;
    return r;
}

void CFOMatrix::Serialize(CArchive& ar)
{
    if (ar.IsStoring())
    {
        ar << m_11 << m_12 << m_21 << m_22 << m_dx << m_dy;
        return;
    }
    ar >> m_11 >> m_12 >> m_21 >> m_22 >> m_dx >> m_dy;
    // A matrix from a file must be finite, or drawing and hit tests would fail strangely.
    for (double v : {m_11, m_12, m_21, m_22, m_dx, m_dy})
        if (!std::isfinite(v))
            AfxThrowArchiveException(CArchiveException::badSchema, ar.m_strFileName);
    // Shapes turn and stretch moderately; larger factors only come from damaged files.
    for (double v : {m_11, m_12, m_21, m_22})
        if (std::fabs(v) > 1000.0)
            AfxThrowArchiveException(CArchiveException::badSchema, ar.m_strFileName);
    if (std::fabs(m_dx) > 1e8 || std::fabs(m_dy) > 1e8)
        AfxThrowArchiveException(CArchiveException::badSchema, ar.m_strFileName);
}
